// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/modal.h"

#include "platform/browser/browserpage.h"

#include <QApplication>
#include <QDialog>
#include <QWindow>

namespace modal {

void show(QDialog* dialog) {
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // Not open(): it makes the dialog window-modal, and for a window-modal
    // dialog Qt 6.4 names the blocked window itself as the blocker, which
    // the browser's window stack then raises without end (a stack overflow
    // on the first press outside the dialog). Application-modal names the
    // dialog, which is raised once.
    dialog->setWindowModality(Qt::ApplicationModal);
    // A press on a window behind still makes that window the active one,
    // though it takes no input: keys would reach nothing until the dialog
    // is clicked. So the dialog takes the keyboard back, once the press has
    // been handled.
    QObject::connect(
        qApp, &QGuiApplication::focusWindowChanged, dialog,
        [dialog] {
            QWindow* own = dialog->windowHandle();
            QWindow* focus = QGuiApplication::focusWindow();
            if (own && focus && focus != own &&
                !own->isAncestorOf(focus, QWindow::IncludeTransients) &&
                QApplication::activeModalWidget() == dialog) {
                dialog->activateWindow();
            }
        },
        Qt::QueuedConnection);
    dialog->show();
}

void message(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text) {
    show(new QMessageBox(icon, title, text, QMessageBox::Ok, parent));
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
    QObject::connect(box, &QDialog::finished, box, [message] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            window->hide();
        }
        browserpage::showStopped(message);
    });
    show(box);
}

} // namespace modal
