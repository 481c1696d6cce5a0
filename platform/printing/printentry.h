// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class Printing;

// The print module and its one entry point, which makes the printing it
// holds. The caller owns what it gets.
namespace modules {

inline constexpr char printName[] = "virtalab-print";
inline constexpr char printEntry[] = "virtalabCreatePrinting";
using CreatePrinting = Printing* (*)();

} // namespace modules
