// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/modules/programmodule.h"
#include "platform/printing/printing.h"

#include <memory>

// Printing from the print module, loaded on the first print. A module that
// cannot be loaded is reported like any other failure to print.
class ModulePrinting : public Printing {
public:
    // folder: where the module lies, normally the executable's folder.
    explicit ModulePrinting(const QString& folder);
    ~ModulePrinting() override;

    QString print(QWidget& widget, QWidget* dialogParent) override;

private:
    ProgramModule m_module;
    std::unique_ptr<Printing> m_printing;
};
