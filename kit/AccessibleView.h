#pragma once

#include <QAccessibleActionInterface>
#include <QAccessibleInterface>
#include <QAccessibleTextInterface>

#include <memory>

class AccessibilityBridge;
class View;

// The screen reader's view of one kit view that is an element: its role, name, value, state
// and place on the screen come from the view's accessibility description, its parent and
// children from the bridge. It outlives its view only until the bridge drops it; meanwhile it
// answers as invalid. A field's text is offered read-only, one line, without a selection.
class AccessibleView final : public QAccessibleInterface,
                             public QAccessibleActionInterface,
                             public QAccessibleTextInterface {
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

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                             int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                            int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

private:
    // The field's text; empty for other elements.
    QString fieldText() const;
    // The text of one piece around `offset`: a character, or else the whole line.
    QString piece(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                  int* endOffset) const;

    AccessibilityBridge& m_bridge;
    std::weak_ptr<View> m_view;
};
