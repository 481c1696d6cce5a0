// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/printing/printing.h"

#include <QString>
#include <memory>

// The printing of this system: the print module beside the program on the
// desktop, the browser's own print dialog in the browser. folder: where the
// module lies, normally the executable's folder.
std::unique_ptr<Printing> makePrinting(const QString& folder);
