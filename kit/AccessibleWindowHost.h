#pragma once

#include <QAccessibleWidget>

#include <memory>

class AccessibilityBridge;

// The screen reader's view of the desktop window that shows the kit's window: a top-level
// window named by its title whose children are the elements of the view tree.
class AccessibleWindowHost final : public QAccessibleWidget {
public:
    AccessibleWindowHost(QWidget* widget, std::weak_ptr<AccessibilityBridge> bridge);

    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

private:
    std::weak_ptr<AccessibilityBridge> m_bridge;
};
