// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/browser/accessbridge.h"

#include "platform/accessibletree.h"

#include <QAccessibleValueInterface>
#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <qpa/qwindowsysteminterface.h>

#include <emscripten.h>

namespace {

QPointer<AccessBridge> bridge;

// clang-format off
EM_JS(void, vl_access_update, (const char* json, bool whole), {
    if (window.virtalabAccess) {
        window.virtalabAccess.update(JSON.parse(UTF8ToString(json)), whole);
    }
});
// clang-format on

// The changes that leave the tree's shape as it was.
bool withinAControl(QAccessible::Event type) {
    switch (type) {
    case QAccessible::ValueChanged:
    case QAccessible::StateChanged:
    case QAccessible::NameChanged:
    case QAccessible::DescriptionChanged:
    case QAccessible::Focus:
    case QAccessible::TextUpdated:
    case QAccessible::TextInserted:
    case QAccessible::TextRemoved:
        return true;
    default:
        return false;
    }
}

// One press and release of the left button at a point of the screen, as
// the window there gets a student's: modal windows hold it back alike.
void click(QPoint at) {
    QWindow* window = QGuiApplication::topLevelAt(at);
    if (!window) {
        return;
    }
    const QPointF local = window->mapFromGlobal(QPointF(at));
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons buttons =
            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::SynchronousDelivery>(
            window, local, QPointF(at), buttons, Qt::LeftButton, type);
    }
}

} // namespace

AccessBridge::AccessBridge(QObject* parent) : QObject(parent) {
    bridge = this;
    QAccessible::installUpdateHandler(&AccessBridge::update);
    // Qt sends its controls' changes only while a reader is said to listen.
    QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
    schedule();
}

AccessBridge::~AccessBridge() {
    QAccessible::installUpdateHandler(nullptr);
}

void AccessBridge::update(QAccessibleEvent* event) {
    if (!bridge) {
        return;
    }
    QAccessibleInterface* iface = event->accessibleInterface();
    if (iface && withinAControl(event->type())) {
        bridge->m_changed.insert(QAccessible::uniqueId(iface));
    } else {
        bridge->m_whole = true;
    }
    bridge->schedule();
}

// A drag sends many changes in a row; the page follows once they have run.
void AccessBridge::schedule() {
    if (!m_scheduled) {
        m_scheduled = true;
        QTimer::singleShot(0, this, [this] {
            m_scheduled = false;
            flush();
        });
    }
}

void AccessBridge::flush() {
    if (m_whole) {
        sync();
        return;
    }
    QList<accessibletree::Node> changed;
    for (const QAccessible::Id id : std::as_const(m_changed)) {
        if (auto node = accessibletree::describe(QAccessible::accessibleInterface(id))) {
            changed << *node;
        }
    }
    m_changed.clear();
    vl_access_update(accessibletree::json(changed).constData(), false);
}

void AccessBridge::sync() {
    m_whole = false;
    m_changed.clear();
    vl_access_update(accessibletree::json(accessibletree::nodes()).constData(), true);
}

// A screen reader's "activate": a click in the middle of the control.
extern "C" EMSCRIPTEN_KEEPALIVE void virtalab_access_press(unsigned id) {
    if (QAccessibleInterface* iface = QAccessible::accessibleInterface(id)) {
        if (iface->isValid() && !iface->state().disabled) {
            click(iface->rect().center());
        }
    }
}

// A screen reader's new value for a slider, set as the slider sets it.
extern "C" EMSCRIPTEN_KEEPALIVE void virtalab_access_set_value(unsigned id, double value) {
    QAccessibleInterface* iface = QAccessible::accessibleInterface(id);
    if (iface && iface->isValid() && !iface->state().disabled && iface->valueInterface()) {
        iface->valueInterface()->setCurrentValue(value);
    }
}

// The screen reader has moved to a control: the keyboard goes with it.
extern "C" EMSCRIPTEN_KEEPALIVE void virtalab_access_focus(unsigned id) {
    QAccessibleInterface* iface = QAccessible::accessibleInterface(id);
    auto* widget = iface && iface->isValid() ? qobject_cast<QWidget*>(iface->object()) : nullptr;
    if (widget && widget->isEnabled() && widget->focusPolicy() != Qt::NoFocus &&
        !QApplication::activeModalWidget()) {
        widget->setFocus(Qt::OtherFocusReason);
    }
}
