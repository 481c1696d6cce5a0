// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/sound/soundplayer.h"

#include <QString>
#include <functional>
#include <memory>

// The switch-sound player of this system: Windows' own player there, the
// browser's audio in the browser, the sound module elsewhere. folder: where the sounds (and the
// module) are; beep: the fallback signal.
std::unique_ptr<SoundPlayer> makeSwitchSounds(const QString& folder, std::function<void()> beep);
