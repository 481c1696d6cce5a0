// SPDX-License-Identifier: GPL-3.0-or-later
// The print module: Qt PrintSupport and everything that uses it.

#include "platform/printing/printentry.h"
#include "platform/printing/printerprinting.h"

#include <type_traits>

extern "C" Q_DECL_EXPORT Printing* virtalabCreatePrinting() {
    return new PrinterPrinting();
}

static_assert(std::is_same_v<decltype(&virtalabCreatePrinting), modules::CreatePrinting>);
