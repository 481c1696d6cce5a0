// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/modal.h"

#include "platform/browser/browserpage.h"

#include <QApplication>
#include <QDialog>

namespace modal {

void show(QDialog* dialog) {
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void message(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text) {
    auto* box = new QMessageBox(icon, title, text, QMessageBox::Ok, parent);
    box->setWindowModality(Qt::ApplicationModal);
    show(box);
}

void stop(const QString& message) {
    // Only the first error is shown; the program is stopped from then on.
    // The box is application-modal, so nothing else takes input meanwhile.
    QCoreApplication* application = QCoreApplication::instance();
    if (application->property("virtalabStopping").toBool()) {
        return;
    }
    application->setProperty("virtalabStopping", true);
    auto* box = new QMessageBox(QMessageBox::Critical, QStringLiteral("Вирталаб"), message,
                                QMessageBox::Ok);
    box->setWindowModality(Qt::ApplicationModal);
    QObject::connect(box, &QDialog::finished, box, [message] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            window->hide();
        }
        browserpage::showStopped(message);
    });
    show(box);
}

} // namespace modal
