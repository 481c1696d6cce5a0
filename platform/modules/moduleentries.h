// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

class Printing;
class SoundPlayer;

// The program's modules and their one entry point each, which makes the
// service the module holds. The caller owns what it gets.
namespace modules {

inline constexpr char printName[] = "virtalab-print";
inline constexpr char printEntry[] = "virtalabCreatePrinting";
using CreatePrinting = Printing* (*)();

inline constexpr char soundName[] = "virtalab-sound";
inline constexpr char soundEntry[] = "virtalabCreateSoundPlayer";
using CreateSoundPlayer = SoundPlayer* (*)(const QString& folder,
                                           const std::function<void()>& beep);

} // namespace modules
