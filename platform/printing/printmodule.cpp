// SPDX-License-Identifier: GPL-3.0-or-later
// The print module: Qt PrintSupport and everything that uses it.

#include "platform/moduleentries.h"
#include "platform/printerprinting.h"

#include <type_traits>

extern "C" Q_DECL_EXPORT Printing* virtalabCreatePrinting() {
    return new PrinterPrinting();
}

static_assert(std::is_same_v<decltype(&virtalabCreatePrinting), modules::CreatePrinting>);
