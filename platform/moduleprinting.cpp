// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/moduleprinting.h"

#include "platform/moduleentries.h"

ModulePrinting::ModulePrinting(const QString& folder)
    : m_module(folder, QString::fromLatin1(modules::printName)) {}

ModulePrinting::~ModulePrinting() = default;

QString ModulePrinting::print(QWidget& widget, QWidget* dialogParent) {
    if (!m_printing) {
        const auto create =
            reinterpret_cast<modules::CreatePrinting>(m_module.resolve(modules::printEntry));
        if (!create) {
            return QStringLiteral("Печать недоступна: не удалось загрузить модуль печати "
                                  "программы. Переустановите программу.\n\n%1")
                .arg(m_module.error());
        }
        m_printing.reset(create());
    }
    return m_printing->print(widget, dialogParent);
}
