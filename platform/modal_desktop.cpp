// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/modal.h"

#include <QApplication>
#include <QDialog>

#include <cstdlib>
#include <memory>

#ifdef Q_OS_WASM
#include "platform/browserpage.h"
#endif

namespace modal {

void show(QDialog* dialog) {
#ifdef Q_OS_WASM
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
#else
    const std::unique_ptr<QDialog> owned(dialog);
    dialog->exec();
#endif
}

void message(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text) {
#ifdef Q_OS_WASM
    auto* box = new QMessageBox(icon, title, text, QMessageBox::Ok, parent);
    box->setWindowModality(Qt::ApplicationModal);
    show(box);
#else
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.exec();
#endif
}

void stop(const QString& message) {
    const QString title = QStringLiteral("Вирталаб");
#ifdef Q_OS_WASM
    // Only the first error is shown; the program is stopped from then on.
    // The box is application-modal, so nothing else takes input meanwhile.
    QCoreApplication* application = QCoreApplication::instance();
    if (application->property("virtalabStopping").toBool()) {
        return;
    }
    application->setProperty("virtalabStopping", true);
    auto* box = new QMessageBox(QMessageBox::Critical, title, message, QMessageBox::Ok);
    box->setWindowModality(Qt::ApplicationModal);
    QObject::connect(box, &QDialog::finished, box, [message] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            window->hide();
        }
        browserpage::showStopped(message);
    });
    show(box);
#else
    QMessageBox::critical(nullptr, title, message);
    std::exit(EXIT_FAILURE);
#endif
}

} // namespace modal
