#include "kit/AccessibilityBridge.h"

#include "kit/AccessibleView.h"
#include "kit/View.h"
#include "kit/Window.h"

#include <QAccessibleEvent>
#include <QWidget>

#include <algorithm>

namespace {

// The finger number a tap made for the screen reader uses, apart from the mouse and touch screen.
constexpr int accessibilityFinger = 3000;
// How many elements may be made before the interfaces of gone views are looked for again.
constexpr std::size_t entriesBeforeCleanUp = 64;

bool isTransparent(const View& view) {
    return view.hidden() || view.alpha() < 0.01;
}

} // namespace

AccessibilityBridge::AccessibilityBridge(QWidget& widget, std::shared_ptr<Window> window)
    : m_widget(widget), m_window(std::move(window)) {}

AccessibilityBridge::~AccessibilityBridge() {
    for (const auto& [view, entry] : m_entries) {
        QAccessible::deleteAccessibleInterface(entry.id);
    }
}

void AccessibilityBridge::setPlacement(double zoom, Point origin) {
    m_zoom = zoom;
    m_origin = origin;
}

bool AccessibilityBridge::isElement(const AccessibilityDescription& description) {
    switch (description.role) {
    case AccessibilityRole::None:
        return !description.label.isEmpty();
    case AccessibilityRole::Pane:
    case AccessibilityRole::StaticText:
        return !description.label.isEmpty() || !description.value.isEmpty();
    default:
        return true;
    }
}

std::vector<std::shared_ptr<View>> AccessibilityBridge::elementsIn(const View& view) const {
    std::vector<std::shared_ptr<View>> elements;
    if (view.accessibilityDescription().subviewsAreElements) {
        appendElements(view, elements);
    }
    return elements;
}

std::vector<std::shared_ptr<View>> AccessibilityBridge::rootElements() const {
    std::vector<std::shared_ptr<View>> elements;
    appendElements(*m_window, elements);
    // A dialog is modal: what it covers cannot be reached until it goes.
    const auto isDialog = [](const std::shared_ptr<View>& element) {
        return element->accessibilityDescription().role == AccessibilityRole::Dialog;
    };
    if (std::any_of(elements.begin(), elements.end(), isDialog)) {
        std::erase_if(elements,
                      [&isDialog](const std::shared_ptr<View>& element) { return !isDialog(element); });
    }
    return elements;
}

void AccessibilityBridge::appendElements(const View& view,
                                         std::vector<std::shared_ptr<View>>& elements) const {
    for (const std::shared_ptr<View>& subview : view.subviews()) {
        if (isTransparent(*subview) || subview->accessibilityElementsHidden()) {
            continue;
        }
        if (isElement(subview->accessibilityDescription())) {
            if (isWithinSight(*subview)) {
                elements.push_back(subview);
            }
        } else {
            appendElements(*subview, elements);
        }
    }
}

bool AccessibilityBridge::isWithinSight(const View& view) const {
    Rect visible = view.convertRectToView(view.bounds(), nullptr).intersection(m_window->bounds());
    for (auto ancestor = view.superview(); ancestor && !visible.isEmpty(); ancestor = ancestor->superview()) {
        if (ancestor->clipsToBounds()) {
            visible = visible.intersection(ancestor->convertRectToView(ancestor->bounds(), nullptr));
        }
    }
    return !visible.isEmpty();
}

bool AccessibilityBridge::isShowing(const View& view) const {
    return view.window() == m_window.get() && view.isShowing();
}

QAccessibleInterface* AccessibilityBridge::rootInterface() const {
    return QAccessible::queryAccessibleInterface(&m_widget);
}

QAccessibleInterface* AccessibilityBridge::interfaceFor(const std::shared_ptr<View>& view) {
    if (!view) {
        return nullptr;
    }
    const auto found = m_entries.find(view.get());
    if (found != m_entries.end()) {
        if (found->second.view.lock() == view) {
            return QAccessible::accessibleInterface(found->second.id);
        }
        // A new view where a gone one was.
        QAccessible::deleteAccessibleInterface(found->second.id);
        m_entries.erase(found);
    }
    if (m_entries.size() >= 2 * m_entriesAfterCleanUp + entriesBeforeCleanUp) {
        dropGoneViews();
    }
    auto* accessible = new AccessibleView(*this, view);
    m_entries.emplace(view.get(), Entry{view, QAccessible::registerAccessibleInterface(accessible)});
    return accessible;
}

void AccessibilityBridge::dropGoneViews() {
    for (auto entry = m_entries.begin(); entry != m_entries.end();) {
        if (entry->second.view.expired()) {
            QAccessible::deleteAccessibleInterface(entry->second.id);
            entry = m_entries.erase(entry);
        } else {
            ++entry;
        }
    }
    m_entriesAfterCleanUp = m_entries.size();
}

QAccessibleInterface* AccessibilityBridge::parentOf(const View& view) {
    for (auto ancestor = view.superview(); ancestor; ancestor = ancestor->superview()) {
        if (ancestor == m_window) {
            return rootInterface();
        }
        if (isElement(ancestor->accessibilityDescription())) {
            return interfaceFor(ancestor);
        }
    }
    return nullptr;
}

std::shared_ptr<View> AccessibilityBridge::focusedElement() const {
    const std::shared_ptr<View>& firstResponder = m_window->firstResponder();
    if (firstResponder && isElement(firstResponder->accessibilityDescription())) {
        return firstResponder;
    }
    std::shared_ptr<View> reported = m_reportedFocus.lock();
    if (reported && isShowing(*reported)) {
        return reported;
    }
    return nullptr;
}

QRect AccessibilityBridge::screenRect(const View& view) const {
    const Rect inWindow = view.convertRectToView(view.bounds(), nullptr);
    const QRectF inWidget(m_origin.x() + inWindow.x() * m_zoom, m_origin.y() + inWindow.y() * m_zoom,
                          inWindow.width() * m_zoom, inWindow.height() * m_zoom);
    const QRect aligned = inWidget.toAlignedRect();
    return QRect(m_widget.mapToGlobal(aligned.topLeft()), aligned.size());
}

const View* AccessibilityBridge::elementOwning(const View& view) const {
    std::vector<const View*> path;
    for (const View* current = &view; current != nullptr; current = current->superview().get()) {
        path.push_back(current);
    }
    // From the window down: the last element on the way, unless an element on the way speaks
    // for everything inside it.
    const View* owner = nullptr;
    for (auto current = path.rbegin(); current != path.rend(); ++current) {
        if ((*current)->accessibilityElementsHidden()) {
            break;
        }
        const AccessibilityDescription description = (*current)->accessibilityDescription();
        if (isElement(description) && *current != m_window.get()) {
            owner = *current;
        }
        if (!description.subviewsAreElements) {
            break;
        }
    }
    return owner;
}

bool AccessibilityBridge::activate(const View& view) {
    const Rect bounds = view.bounds();
    std::vector<Point> candidates{bounds.center()};
    // A 5 × 5 grid over the view, for an element whose centre another element covers.
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 5; ++column) {
            candidates.emplace_back(bounds.x() + bounds.width() * (column + 0.5) / 5.0,
                                    bounds.y() + bounds.height() * (row + 0.5) / 5.0);
        }
    }
    for (const Point candidate : candidates) {
        const Point location = view.convertPointToView(candidate, nullptr);
        if (!m_window->bounds().contains(location)) {
            continue;
        }
        const std::shared_ptr<View> hit = m_window->hitTest(location);
        if (hit && elementOwning(*hit) == &view) {
            m_window->fingerDown(accessibilityFinger, location);
            m_window->fingerUp(accessibilityFinger, location);
            return true;
        }
    }
    return false;
}

void AccessibilityBridge::notify(View& view, AccessibilityNotification notification) {
    if (notification == AccessibilityNotification::FocusChanged) {
        m_reportedFocus = view.weak_from_this();
    }
    if (!QAccessible::isActive() || !isElement(view.accessibilityDescription()) || !isShowing(view)) {
        return;
    }
    QAccessibleInterface* accessible = interfaceFor(view.shared_from_this());
    switch (notification) {
    case AccessibilityNotification::FocusChanged: {
        QAccessibleEvent event(accessible, QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
        break;
    }
    case AccessibilityNotification::LabelChanged: {
        QAccessibleEvent event(accessible, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
        break;
    }
    case AccessibilityNotification::ValueChanged: {
        QAccessibleValueChangeEvent event(accessible, view.accessibilityDescription().value);
        QAccessible::updateAccessibility(&event);
        break;
    }
    case AccessibilityNotification::AlertShown: {
        // The alert joins the tree, then is announced.
        QAccessibleEvent created(accessible, QAccessible::ObjectCreated);
        QAccessible::updateAccessibility(&created);
        QAccessibleEvent alert(accessible, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
        break;
    }
    }
}
