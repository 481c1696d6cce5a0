// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/browser/keyboardexit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace {

// A control Tab stops at, as Qt's own focus chain walk decides it.
bool tabStop(const QWidget& widget, const QWidget& window) {
    return (widget.focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !widget.focusProxy() &&
           widget.isEnabled() && widget.isVisibleTo(&window) && widget.window() == &window;
}

} // namespace

KeyboardExit::KeyboardExit(QObject* parent) : QObject(parent) {
    QApplication::instance()->installEventFilter(this);
}

bool KeyboardExit::wrapsRound(const QWidget& focus, bool forward) {
    const QWidget& window = *focus.window();
    if (!tabStop(focus, window)) {
        return false;
    }
    // The window's chain runs round from the window itself.
    for (QWidget* widget = forward ? focus.nextInFocusChain() : focus.previousInFocusChain();
         widget && widget != &focus;
         widget = forward ? widget->nextInFocusChain() : widget->previousInFocusChain()) {
        if (widget == &window) {
            return true;
        }
        if (tabStop(*widget, window)) {
            return false;
        }
    }
    return true;
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
    // A modal box keeps the keyboard until it is closed, as on the desktop.
    if (!tab || others || watched != focus || !focus || QApplication::activeModalWidget()) {
        return false;
    }
    const bool forward = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
    if (!wrapsRound(*focus, forward)) {
        return false;
    }
    // Not accepted: the browser takes the key and moves its focus.
    key->ignore();
    return true;
}
