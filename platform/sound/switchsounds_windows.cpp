// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/switchsounds.h"

#include "platform/sound/systemsoundplayer.h"

// winmm is part of the system: nothing to load, no Qt Multimedia.
std::unique_ptr<SoundPlayer> makeSwitchSounds(const QString& folder, std::function<void()> beep) {
    return std::make_unique<SystemSoundPlayer>(folder, std::move(beep));
}
