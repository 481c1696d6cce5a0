// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessible>
#include <QObject>
#include <QSet>

class QAccessibleEvent;

// Lets a screen reader read and work the program in the browser. Qt for
// WebAssembly draws every control into one canvas, which a screen reader
// sees as a picture; this keeps an accessible element in the page for each
// control Qt's accessibility knows, laid over its place, with its role,
// name, value and state (access.js), in step with every change. What a
// screen reader does to an element (press it, set a slider) reaches the
// program as a student's click or the slider's own change would, and the
// keyboard's focus and the reader's move together.
class AccessBridge : public QObject {
public:
    explicit AccessBridge(QObject* parent);
    ~AccessBridge() override;

    // Sends the page the controls as they are now.
    void sync();

private:
    static void update(QAccessibleEvent* event);
    void schedule();
    void flush();

    bool m_scheduled = false;
    // A window or control shown, hidden, made or removed: the whole tree
    // again. Otherwise only the controls whose value, state or name
    // changed: a slider's step sends one.
    bool m_whole = true;
    QSet<QAccessible::Id> m_changed;
};
