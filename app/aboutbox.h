// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/pictures/picture.h"

#include <QDialog>
#include <functional>

class QIcon;
class QLabel;
class ImageControl;
class LineControl;
class ShapeControl;

// The about box: name, version, purpose, authors, rights and link, closed by
// its "OK" label after a short pressed look, or by the title bar.
//
// A box is built in its designed state and is good for one showing: create a
// fresh one every time it is opened, so the next showing never inherits
// anything from the last. The box is application-modal and centres itself
// over its parent when shown. A null title picture leaves its place empty.
class AboutBox : public QDialog {
    Q_OBJECT

public:
    explicit AboutBox(PicturePtr title, const QIcon& icon, QWidget* parent = nullptr);

    // How the pressed "OK" waits before the box closes. The default waits
    // just over an eighth of a second without handling any input (see
    // waitPressed); tests put in their own to look at the label in
    // mid-press.
    void setPressWait(std::function<void()> wait);

    // Controls from front to back, as they are stacked. The box owns them.
    QLabel* Label5 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Метка12 = nullptr;
    LineControl* Строка1 = nullptr;
    ImageControl* Изображение1 = nullptr;
    QLabel* Метка4 = nullptr;
    QLabel* Метка3 = nullptr;
    QLabel* Метка2 = nullptr;
    QLabel* Метка7 = nullptr;
    QLabel* ok = nullptr;
    ShapeControl* Форма1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void okClick();

    std::function<void()> m_pressWait;
    bool m_okDown = false;
};
