// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPrintDialog>

// Qt's printer dialog without the choice of a page range: the window is
// always printed on one page. Qt's own dialog on Linux offers «Страницы с …
// по» even with the option cleared and enables it again as the user changes
// printers, so its page-range controls are kept disabled while it is shown;
// the system's native dialogs follow the option.
class OnePagePrintDialog : public QPrintDialog {
    Q_OBJECT

public:
    explicit OnePagePrintDialog(QPrinter* printer, QWidget* parent = nullptr);

    void setVisible(bool visible) override;

    // Object names of the page-range controls in Qt's own dialog.
    static const QStringList& pageRangeControls();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
