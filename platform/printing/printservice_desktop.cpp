// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/printing/printservice.h"

#include "platform/printing/moduleprinting.h"

std::unique_ptr<Printing> makePrinting(const QString& folder) {
    return std::make_unique<ModulePrinting>(folder);
}
