// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/printing/printdialog.h"

#include <QEvent>
#include <QWidget>

OnePagePrintDialog::OnePagePrintDialog(QPrinter* printer, QWidget* parent)
    : QPrintDialog(printer, parent) {
    setOption(QAbstractPrintDialog::PrintPageRange, false);
    setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    setOption(QAbstractPrintDialog::PrintSelection, false);
}

const QStringList& OnePagePrintDialog::pageRangeControls() {
    static const QStringList names = {
        QStringLiteral("printRange"),       QStringLiteral("from"),          QStringLiteral("to"),
        QStringLiteral("pagesRadioButton"), QStringLiteral("pagesLineEdit"),
    };
    return names;
}

void OnePagePrintDialog::setVisible(bool visible) {
    QPrintDialog::setVisible(visible);
    if (!visible) {
        return;
    }
    // The dialog sets its controls up as it is shown, so they are locked
    // only now, and kept locked whenever it enables them again.
    for (QWidget* control : findChildren<QWidget*>()) {
        if (pageRangeControls().contains(control->objectName())) {
            control->setEnabled(false);
            control->removeEventFilter(this);
            control->installEventFilter(this);
        }
    }
}

bool OnePagePrintDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        auto* control = static_cast<QWidget*>(watched);
        if (control->isEnabled()) {
            control->setEnabled(false);
        }
    }
    return QPrintDialog::eventFilter(watched, event);
}
