// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/systemsoundplayer.h"

#include "platform/wavefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <string>

#include <windows.h>
// After windows.h, which it relies on.
#include <mmsystem.h>

namespace {

// Far more than any switch sound; a larger file is not read at all.
constexpr qint64 largestSound = 16 << 20;

// Whether the file is one the system can play; it is closed again before
// the system opens it.
bool playable(const QString& path) {
    QFile file(path);
    return QFileInfo(file).isFile() && file.size() <= largestSound &&
           file.open(QIODevice::ReadOnly) && isPlayableWave(file.readAll(), WavePlayer::Windows);
}

} // namespace

SystemSoundPlayer::SystemSoundPlayer(QString folder, std::function<void()> beep)
    : m_folder(std::move(folder)), m_beep(std::move(beep)) {}

void SystemSoundPlayer::play(const QString& name) {
    const QString path = m_folder + name;
    if (!playable(path)) {
        m_beep();
        return;
    }
    // The wide variant: an ANSI path cannot name every folder the program
    // may be installed in. Asynchronous, and the result is not looked at.
    const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    sndPlaySoundW(native.c_str(), SND_ASYNC);
}
