// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/systemsoundplayer.h"

#include "platform/sound/wavefile.h"

#include <QDir>

#include <string>

#include <windows.h>
// After windows.h, which it relies on.
#include <mmsystem.h>

SystemSoundPlayer::SystemSoundPlayer(QString folder, std::function<void()> beep)
    : m_folder(std::move(folder)), m_beep(std::move(beep)) {}

void SystemSoundPlayer::play(const QString& name) {
    const QString path = m_folder + name;
    // Checked, then closed again before the system opens it.
    if (readPlayableWave(path, WavePlayer::Windows).isEmpty()) {
        m_beep();
        return;
    }
    // The wide variant: an ANSI path cannot name every folder the program
    // may be installed in. Asynchronous, and the result is not looked at.
    const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    sndPlaySoundW(native.c_str(), SND_ASYNC);
}
