// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/accessibletree.h"

#include <QAccessibleValueInterface>
#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QWidget>

namespace accessibletree {

namespace {

// The roles a student meets, in the words of the page's roles; the rest
// (the window, its client, layouts) are passed through to their children.
QString roleName(QAccessible::Role role) {
    switch (role) {
    case QAccessible::PushButton:
        return QStringLiteral("button");
    case QAccessible::RadioButton:
        return QStringLiteral("radio");
    case QAccessible::Slider:
        return QStringLiteral("slider");
    case QAccessible::MenuBar:
        return QStringLiteral("menubar");
    case QAccessible::PopupMenu:
        return QStringLiteral("menu");
    case QAccessible::MenuItem:
        return QStringLiteral("menuitem");
    case QAccessible::StaticText:
        return QStringLiteral("text");
    case QAccessible::EditableText:
        return QStringLiteral("textbox");
    case QAccessible::Grouping:
        return QStringLiteral("group");
    case QAccessible::Dialog:
        return QStringLiteral("dialog");
    // The oscilloscope's screen (a frame), and controls of the program's own
    // drawing; listed when they have a name.
    case QAccessible::Graphic:
    case QAccessible::Border:
    case QAccessible::Client:
        return QStringLiteral("image");
    default:
        return {};
    }
}

void visit(QAccessibleInterface* iface, QAccessible::Id parent, QList<Node>& out) {
    if (!iface || !iface->isValid() || iface->state().invisible) {
        return;
    }
    if (const std::optional<Node> node = describe(iface)) {
        out << *node;
        out.last().parent = parent;
        parent = node->id;
    }
    for (int i = 0; i < iface->childCount(); ++i) {
        visit(iface->child(i), parent, out);
    }
}

} // namespace

std::optional<Node> describe(QAccessibleInterface* iface) {
    if (!iface || !iface->isValid()) {
        return std::nullopt;
    }
    const QString role = roleName(iface->role());
    const QString name = iface->text(QAccessible::Name);
    // A separator, a frame without a caption, or a picture or text with
    // nothing to say is not listed.
    if (role.isEmpty() || (name.isEmpty() && (role == "text" || role == "image" ||
                                              role == "menuitem" || role == "group"))) {
        return std::nullopt;
    }
    Node node;
    node.id = QAccessible::uniqueId(iface);
    node.role = role;
    node.name = name;
    node.description = iface->text(QAccessible::Description);
    const QAccessible::State state = iface->state();
    node.disabled = state.disabled;
    node.checked = state.checked;
    node.pressed = state.pressed;
    node.focused = state.focused;
    node.rect = iface->rect();
    if (QAccessibleValueInterface* value = iface->valueInterface()) {
        node.value = value->currentValue().toString();
        node.minimum = value->minimumValue().toDouble();
        node.maximum = value->maximumValue().toDouble();
    } else if (role == "textbox") {
        node.value = iface->text(QAccessible::Value);
    }
    return node;
}

QList<Node> nodes() {
    QList<Node> out;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) {
            visit(QAccessible::queryAccessibleInterface(window), 0, out);
        }
    }
    return out;
}

QByteArray json(const QList<Node>& nodes) {
    QJsonArray array;
    for (const Node& node : nodes) {
        QJsonObject object{
            {"id", qint64(node.id)},      {"parent", qint64(node.parent)},
            {"role", node.role},          {"name", node.name},
            {"x", node.rect.x()},         {"y", node.rect.y()},
            {"width", node.rect.width()}, {"height", node.rect.height()},
        };
        for (const auto& [key, on] :
             {std::pair{"disabled", node.disabled}, std::pair{"checked", node.checked},
              std::pair{"pressed", node.pressed}, std::pair{"focused", node.focused}}) {
            if (on) {
                object.insert(QLatin1String(key), true);
            }
        }
        if (!node.description.isEmpty()) {
            object.insert("description", node.description);
        }
        if (node.role == "slider" || node.role == "textbox") {
            object.insert("value", node.value);
        }
        if (node.role == "slider") {
            object.insert("minimum", node.minimum);
            object.insert("maximum", node.maximum);
        }
        array.append(object);
    }
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

} // namespace accessibletree
