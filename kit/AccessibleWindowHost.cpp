#include "kit/AccessibleWindowHost.h"

#include "kit/AccessibilityBridge.h"
#include "kit/View.h"

AccessibleWindowHost::AccessibleWindowHost(QWidget* widget, std::weak_ptr<AccessibilityBridge> bridge)
    : QAccessibleWidget(widget, QAccessible::Window), m_bridge(std::move(bridge)) {}

QAccessibleInterface* AccessibleWindowHost::child(int index) const {
    const std::shared_ptr<AccessibilityBridge> bridge = m_bridge.lock();
    if (!bridge || index < 0) {
        return nullptr;
    }
    const auto elements = bridge->rootElements();
    return std::size_t(index) < elements.size() ? bridge->interfaceFor(elements[std::size_t(index)])
                                                : nullptr;
}

int AccessibleWindowHost::childCount() const {
    const std::shared_ptr<AccessibilityBridge> bridge = m_bridge.lock();
    return bridge ? int(bridge->rootElements().size()) : 0;
}

int AccessibleWindowHost::indexOfChild(const QAccessibleInterface* child) const {
    const std::shared_ptr<AccessibilityBridge> bridge = m_bridge.lock();
    if (!bridge || child == nullptr) {
        return -1;
    }
    const auto elements = bridge->rootElements();
    for (std::size_t i = 0; i < elements.size(); ++i) {
        if (bridge->interfaceFor(elements[i]) == child) {
            return int(i);
        }
    }
    return -1;
}

QAccessibleInterface* AccessibleWindowHost::childAt(int x, int y) const {
    const std::shared_ptr<AccessibilityBridge> bridge = m_bridge.lock();
    if (!bridge) {
        return nullptr;
    }
    const auto elements = bridge->rootElements();
    for (auto element = elements.rbegin(); element != elements.rend(); ++element) {
        if (bridge->screenRect(**element).contains(x, y)) {
            return bridge->interfaceFor(*element);
        }
    }
    return nullptr;
}

QAccessibleInterface* AccessibleWindowHost::focusChild() const {
    const std::shared_ptr<AccessibilityBridge> bridge = m_bridge.lock();
    if (!bridge) {
        return nullptr;
    }
    const std::shared_ptr<View> focused = bridge->focusedElement();
    return focused ? bridge->interfaceFor(focused) : nullptr;
}
