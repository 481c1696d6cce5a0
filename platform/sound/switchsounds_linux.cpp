// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/switchsounds.h"

#include "platform/sound/modulesoundplayer.h"

// Qt Multimedia is large; it comes with the sound module on the first switch.
std::unique_ptr<SoundPlayer> makeSwitchSounds(const QString& folder, std::function<void()> beep) {
    return std::make_unique<ModuleSoundPlayer>(folder, std::move(beep));
}
