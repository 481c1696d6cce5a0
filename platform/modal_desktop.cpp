// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/modal.h"

#include <QDialog>

#include <cstdlib>
#include <memory>

namespace modal {

void show(QDialog* dialog) {
    const std::unique_ptr<QDialog> owned(dialog);
    dialog->exec();
}

void message(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

void stop(const QString& message) {
    QMessageBox::critical(nullptr, QStringLiteral("Вирталаб"), message);
    std::exit(EXIT_FAILURE);
}

} // namespace modal
