// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessible>
#include <QList>
#include <QRect>
#include <QString>

#include <optional>

// What a screen reader can reach of the program's windows, read from Qt's
// own accessibility interfaces: each control with its role, name, value and
// state, and where it stands on the screen. The browser's page mirrors it;
// the tests compare the desktop's with the page's.
namespace accessibletree {

struct Node {
    QAccessible::Id id = 0;
    QAccessible::Id parent = 0; // the nearest ancestor listed, or 0
    QString role;               // "button", "radio", "slider", "menubar", "menu", "menuitem",
                                // "text", "textbox", "group", "dialog", "image"
    QString name;
    QString description;
    QString value; // a slider's or a readout's
    double minimum = 0;
    double maximum = 0;
    bool disabled = false;
    bool checked = false;
    bool pressed = false;
    bool focused = false;
    QRect rect; // on the screen
};

// The visible windows' controls, parents before children, in Qt's order.
QList<Node> nodes();

// One control as it is now, its parent left 0; none for what is not
// listed (see nodes()).
std::optional<Node> describe(QAccessibleInterface* iface);

// The same as JSON: an array of objects with the fields above.
QByteArray json(const QList<Node>& nodes);

} // namespace accessibletree
