// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/printservice.h"

#include <QtGlobal>

#ifdef Q_OS_WASM
#include "platform/browserprinting.h"
#else
#include "platform/moduleprinting.h"
#endif

std::unique_ptr<Printing> makePrinting(const QString& folder) {
#ifdef Q_OS_WASM
    // A static program loads no module; the browser has its own print path.
    Q_UNUSED(folder)
    return std::make_unique<BrowserPrinting>();
#else
    return std::make_unique<ModulePrinting>(folder);
#endif
}
