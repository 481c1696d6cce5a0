// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/printing/moduleprinting.h"

#include "platform/printing/printentry.h"

namespace {

QString why(ProgramModule::Fault fault) {
    switch (fault) {
    case ProgramModule::Fault::missing:
        return QStringLiteral("Его нет в папке программы.");
    case ProgramModule::Fault::unreadable:
        return QStringLiteral("Его не удаётся прочитать.");
    case ProgramModule::Fault::different:
        return QStringLiteral("Он повреждён или заменён другим файлом.");
    case ProgramModule::Fault::unloadable:
    case ProgramModule::Fault::none:
        break;
    }
    return QStringLiteral("Система не смогла его загрузить.");
}

} // namespace

ModulePrinting::ModulePrinting(const QString& folder)
    : m_module(folder, QString::fromLatin1(modules::printName)) {}

ModulePrinting::~ModulePrinting() = default;

QString ModulePrinting::print(QWidget& widget, QWidget* dialogParent) {
    if (!m_printing) {
        const auto create =
            reinterpret_cast<modules::CreatePrinting>(m_module.resolve(modules::printEntry));
        if (!create) {
            // The user is told what to do; the path and the detail are for
            // whoever reads the program's output.
            qWarning("Printing unavailable: %s", qUtf8Printable(m_module.error()));
            return QStringLiteral("Печать недоступна: не удалось загрузить модуль печати "
                                  "программы. %1 Переустановите программу.")
                .arg(why(m_module.fault()));
        }
        m_printing.reset(create());
    }
    return m_printing->print(widget, dialogParent);
}
