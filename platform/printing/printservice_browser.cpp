// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/printing/printservice.h"

#include "platform/printing/browserprinting.h"

// A static program loads no module; the browser has its own print path.
std::unique_ptr<Printing> makePrinting(const QString&) {
    return std::make_unique<BrowserPrinting>();
}
