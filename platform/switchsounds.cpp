// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/switchsounds.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include "platform/systemsoundplayer.h"
#else
#include "platform/modulesoundplayer.h"
#endif

std::unique_ptr<SoundPlayer> makeSwitchSounds(const QString& folder, std::function<void()> beep) {
#ifdef Q_OS_WIN
    // winmm is part of the system: nothing to load, no Qt Multimedia.
    return std::make_unique<SystemSoundPlayer>(folder, std::move(beep));
#else
    return std::make_unique<ModuleSoundPlayer>(folder, std::move(beep));
#endif
}
