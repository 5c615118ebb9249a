#include "kit/AccessibleView.h"

#include "kit/AccessibilityBridge.h"
#include "kit/View.h"

#include <QWidget>

namespace {

QAccessible::Role qtRole(AccessibilityRole role) {
    switch (role) {
    case AccessibilityRole::Button:
        return QAccessible::Button;
    case AccessibilityRole::StaticText:
        return QAccessible::StaticText;
    case AccessibilityRole::EditableText:
        return QAccessible::EditableText;
    case AccessibilityRole::Switch:
        return QAccessible::CheckBox;
    case AccessibilityRole::List:
        return QAccessible::List;
    case AccessibilityRole::Row:
        return QAccessible::ListItem;
    case AccessibilityRole::Dialog:
        return QAccessible::Dialog;
    case AccessibilityRole::None:
    case AccessibilityRole::Pane:
        break;
    }
    return QAccessible::Pane;
}

// What pressing the element does: a tap for the pressable roles, toggling for a switch.
QString actionOfRole(AccessibilityRole role) {
    switch (role) {
    case AccessibilityRole::Button:
    case AccessibilityRole::Row:
        return QAccessibleActionInterface::pressAction();
    case AccessibilityRole::Switch:
        return QAccessibleActionInterface::toggleAction();
    case AccessibilityRole::EditableText:
        return QAccessibleActionInterface::setFocusAction();
    default:
        return {};
    }
}

} // namespace

AccessibleView::AccessibleView(AccessibilityBridge& bridge, std::weak_ptr<View> view)
    : m_bridge(bridge), m_view(std::move(view)) {}

bool AccessibleView::isValid() const {
    return !m_view.expired();
}

QObject* AccessibleView::object() const {
    return nullptr;
}

QWindow* AccessibleView::window() const {
    return m_bridge.widget().windowHandle();
}

QAccessibleInterface* AccessibleView::parent() const {
    const std::shared_ptr<View> view = m_view.lock();
    return view ? m_bridge.parentOf(*view) : nullptr;
}

QAccessibleInterface* AccessibleView::child(int index) const {
    const std::shared_ptr<View> view = m_view.lock();
    if (!view || index < 0) {
        return nullptr;
    }
    const auto elements = m_bridge.elementsIn(*view);
    return std::size_t(index) < elements.size() ? m_bridge.interfaceFor(elements[std::size_t(index)])
                                                : nullptr;
}

int AccessibleView::childCount() const {
    const std::shared_ptr<View> view = m_view.lock();
    return view ? int(m_bridge.elementsIn(*view).size()) : 0;
}

int AccessibleView::indexOfChild(const QAccessibleInterface* child) const {
    const std::shared_ptr<View> view = m_view.lock();
    if (!view || child == nullptr) {
        return -1;
    }
    const auto elements = m_bridge.elementsIn(*view);
    for (std::size_t i = 0; i < elements.size(); ++i) {
        if (m_bridge.interfaceFor(elements[i]) == child) {
            return int(i);
        }
    }
    return -1;
}

QAccessibleInterface* AccessibleView::childAt(int x, int y) const {
    const std::shared_ptr<View> view = m_view.lock();
    if (!view) {
        return nullptr;
    }
    // The front-most element first, as a touch would find it.
    const auto elements = m_bridge.elementsIn(*view);
    for (auto element = elements.rbegin(); element != elements.rend(); ++element) {
        if (m_bridge.screenRect(**element).contains(x, y)) {
            return m_bridge.interfaceFor(*element);
        }
    }
    return nullptr;
}

QAccessibleInterface* AccessibleView::focusChild() const {
    const std::shared_ptr<View> view = m_view.lock();
    const std::shared_ptr<View> focused = m_bridge.focusedElement();
    if (!view || !focused || focused == view || !focused->isDescendantOfView(*view)) {
        return nullptr;
    }
    return m_bridge.interfaceFor(focused);
}

QString AccessibleView::text(QAccessible::Text type) const {
    const std::shared_ptr<View> view = m_view.lock();
    if (!view) {
        return {};
    }
    const AccessibilityDescription description = view->accessibilityDescription();
    switch (type) {
    case QAccessible::Name:
        return description.label;
    case QAccessible::Value:
        return description.value;
    default:
        return {};
    }
}

void AccessibleView::setText(QAccessible::Text, const QString&) {}

QRect AccessibleView::rect() const {
    const std::shared_ptr<View> view = m_view.lock();
    return view ? m_bridge.screenRect(*view) : QRect();
}

QAccessible::Role AccessibleView::role() const {
    const std::shared_ptr<View> view = m_view.lock();
    return view ? qtRole(view->accessibilityDescription().role) : QAccessible::NoRole;
}

QAccessible::State AccessibleView::state() const {
    QAccessible::State state;
    const std::shared_ptr<View> view = m_view.lock();
    if (!view) {
        state.invalid = true;
        return state;
    }
    const AccessibilityDescription description = view->accessibilityDescription();
    state.invisible = !m_bridge.isShowing(*view);
    state.disabled = !description.enabled;
    state.focused = m_bridge.focusedElement() == view;
    state.focusable = view->canBecomeFirstResponder();
    state.selected = description.selected;
    switch (description.role) {
    case AccessibilityRole::Switch:
        state.checkable = true;
        state.checked = description.checked;
        break;
    case AccessibilityRole::EditableText:
        state.editable = true;
        break;
    case AccessibilityRole::Row:
        state.selectable = true;
        break;
    case AccessibilityRole::Dialog:
        state.modal = true;
        break;
    default:
        break;
    }
    return state;
}

void* AccessibleView::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ActionInterface) {
        return static_cast<QAccessibleActionInterface*>(this);
    }
    if (type == QAccessible::TextInterface && role() == QAccessible::EditableText) {
        return static_cast<QAccessibleTextInterface*>(this);
    }
    return nullptr;
}

QStringList AccessibleView::actionNames() const {
    const std::shared_ptr<View> view = m_view.lock();
    if (!view) {
        return {};
    }
    const AccessibilityDescription description = view->accessibilityDescription();
    const QString action = actionOfRole(description.role);
    if (action.isEmpty() || !description.enabled) {
        return {};
    }
    return {action};
}

void AccessibleView::doAction(const QString& actionName) {
    const std::shared_ptr<View> view = m_view.lock();
    if (!view || !actionNames().contains(actionName)) {
        return;
    }
    if (actionName == setFocusAction()) {
        view->becomeFirstResponder();
    } else {
        m_bridge.activate(*view);
    }
}

QStringList AccessibleView::keyBindingsForAction(const QString&) const {
    return {};
}

QString AccessibleView::fieldText() const {
    const std::shared_ptr<View> view = m_view.lock();
    return view ? view->accessibilityDescription().value : QString();
}

void AccessibleView::selection(int, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = 0;
}

int AccessibleView::selectionCount() const {
    return 0;
}

void AccessibleView::addSelection(int, int) {}

void AccessibleView::removeSelection(int) {}

void AccessibleView::setSelection(int, int, int) {}

int AccessibleView::cursorPosition() const {
    return characterCount();
}

void AccessibleView::setCursorPosition(int) {}

QString AccessibleView::text(int startOffset, int endOffset) const {
    return fieldText().mid(startOffset, endOffset - startOffset);
}

QString AccessibleView::piece(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                              int* endOffset) const {
    const QString all = fieldText();
    if (offset < 0 || offset > all.size() ||
        (boundaryType == QAccessible::CharBoundary && offset == all.size())) {
        *startOffset = -1;
        *endOffset = -1;
        return {};
    }
    if (boundaryType == QAccessible::CharBoundary) {
        *startOffset = offset;
        *endOffset = offset + 1;
        return all.mid(offset, 1);
    }
    *startOffset = 0;
    *endOffset = int(all.size());
    return all;
}

QString AccessibleView::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                         int* startOffset, int* endOffset) const {
    if (boundaryType == QAccessible::CharBoundary) {
        return piece(offset - 1, boundaryType, startOffset, endOffset);
    }
    *startOffset = -1;
    *endOffset = -1;
    return {};
}

QString AccessibleView::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                        int* startOffset, int* endOffset) const {
    if (boundaryType == QAccessible::CharBoundary) {
        return piece(offset + 1, boundaryType, startOffset, endOffset);
    }
    *startOffset = -1;
    *endOffset = -1;
    return {};
}

QString AccessibleView::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                     int* endOffset) const {
    return piece(offset, boundaryType, startOffset, endOffset);
}

int AccessibleView::characterCount() const {
    return int(fieldText().size());
}

QRect AccessibleView::characterRect(int) const {
    return {};
}

int AccessibleView::offsetAtPoint(const QPoint&) const {
    return -1;
}

void AccessibleView::scrollToSubstring(int, int) {}

QString AccessibleView::attributes(int offset, int* startOffset, int* endOffset) const {
    *startOffset = offset;
    *endOffset = offset;
    return {};
}
