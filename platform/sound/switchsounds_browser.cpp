// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/switchsounds.h"

#include "platform/sound/websoundplayer.h"

// The browser has no system beep; the player sounds its own.
std::unique_ptr<SoundPlayer> makeSwitchSounds(const QString& folder, std::function<void()>) {
    return std::make_unique<WebSoundPlayer>(folder);
}
