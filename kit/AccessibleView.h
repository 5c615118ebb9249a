#pragma once

#include <QAccessibleActionInterface>
#include <QAccessibleInterface>

#include <memory>

class AccessibilityBridge;
class View;

// The screen reader's view of one kit view that is an element: its role, name, value, state
// and place on the screen come from the view's accessibility description, its parent and
// children from the bridge. It outlives its view only until the bridge drops it; meanwhile it
// answers as invalid.
class AccessibleView final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    AccessibleView(AccessibilityBridge& bridge, std::weak_ptr<View> view);

    bool isValid() const override;
    QObject* object() const override;
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    QString text(QAccessible::Text type) const override;
    void setText(QAccessible::Text type, const QString& text) override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    AccessibilityBridge& m_bridge;
    std::weak_ptr<View> m_view;
};
