// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/browser/keyboardexit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>
// Qt's own walk of the focus chain, which also says when it wraps round.
#include <QtWidgets/private/qapplication_p.h>

KeyboardExit::KeyboardExit(QObject* parent) : QObject(parent) {
    QApplication::instance()->installEventFilter(this);
}

bool KeyboardExit::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers others =
        key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
    QWidget* focus = QApplication::focusWidget();
    // Taken as the window gets it, before Qt hands it to the focused control
    // and then to each of its parents, any of which would move the focus.
    // A modal box keeps the keyboard until it is closed, as on the desktop.
    if (!tab || others || !focus || watched != QGuiApplication::focusWindow() ||
        QApplication::activeModalWidget()) {
        return false;
    }
    const bool forward = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
    bool wraps = false;
    QApplicationPrivate::focusNextPrevChild_helper(focus->window(), forward, &wraps);
    if (!wraps) {
        return false;
    }
    // Not accepted: the browser takes the key and moves its focus on.
    key->ignore();
    return true;
}
