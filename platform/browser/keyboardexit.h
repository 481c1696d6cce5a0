// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// Lets Tab leave the program for the page around it: from the last control
// of a window forwards, from the first backwards, the key goes to the
// browser, which moves the focus on (to a course page's next field, say).
// Inside Qt, Tab would wrap round, and the keyboard could never leave.
class KeyboardExit : public QObject {
public:
    explicit KeyboardExit(QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
