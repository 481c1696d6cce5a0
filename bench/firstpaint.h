// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

// Ends the program once a window has been painted for the first time: the
// moment a student sees it. The rest of that paint pass (the window's
// children) runs before the queued quit is delivered. A window that is
// never painted ends the program with an error instead of hanging.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QWidget* window) : QObject(window) {
        window->installEventFilter(this);
        QTimer::singleShot(timeoutMs, this, [] {
            std::fputs("the window was never painted\n", stderr);
            std::exit(EXIT_FAILURE);
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                      Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static constexpr int timeoutMs = 30000;
    bool m_painted = false;
};
