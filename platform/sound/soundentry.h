// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

class SoundPlayer;

// The sound module and its one entry point, which makes the switch-sound
// player it holds. The caller owns what it gets.
namespace modules {

inline constexpr char soundName[] = "virtalab-sound";
inline constexpr char soundEntry[] = "virtalabCreateSoundPlayer";
using CreateSoundPlayer = SoundPlayer* (*)(const QString& folder,
                                           const std::function<void()>& beep);

} // namespace modules
