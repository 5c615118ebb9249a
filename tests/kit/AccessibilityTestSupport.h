#pragma once

#include <QAccessible>
#include <QString>

// The accessible tree as a screen reader walks it, through Qt's accessibility interfaces.

inline QString accessibleRoleWord(QAccessible::Role role) {
    switch (role) {
    case QAccessible::Window:
        return QStringLiteral("Window");
    case QAccessible::Pane:
        return QStringLiteral("Pane");
    case QAccessible::Button:
        return QStringLiteral("Button");
    case QAccessible::StaticText:
        return QStringLiteral("Text");
    case QAccessible::EditableText:
        return QStringLiteral("Field");
    case QAccessible::CheckBox:
        return QStringLiteral("Switch");
    case QAccessible::List:
        return QStringLiteral("List");
    case QAccessible::ListItem:
        return QStringLiteral("Row");
    case QAccessible::Dialog:
        return QStringLiteral("Dialog");
    default:
        return QString::number(role);
    }
}

// One line per element, indented by depth: role, name, value and the states that matter here.
inline void describeAccessibleTree(QAccessibleInterface& element, int depth, QString& out) {
    out += QString(depth * 2, QLatin1Char(' ')) + accessibleRoleWord(element.role());
    if (!element.text(QAccessible::Name).isEmpty()) {
        out += QLatin1Char(' ') + element.text(QAccessible::Name);
    }
    if (!element.text(QAccessible::Value).isEmpty()) {
        out += QStringLiteral(" = ") + element.text(QAccessible::Value);
    }
    const QAccessible::State state = element.state();
    if (state.checked) {
        out += QStringLiteral(" (on)");
    }
    if (state.disabled) {
        out += QStringLiteral(" (disabled)");
    }
    if (state.focused && depth > 0) {
        out += QStringLiteral(" (focused)");
    }
    out += QLatin1Char('\n');
    for (int i = 0; i < element.childCount(); ++i) {
        QAccessibleInterface* child = element.child(i);
        if (child->parent() != &element || element.indexOfChild(child) != i) {
            out += QStringLiteral("(child %1 does not lead back)\n").arg(i);
        }
        describeAccessibleTree(*child, depth + 1, out);
    }
}
