#pragma once

#include "kit/Accessibility.h"
#include "kit/Point.h"
#include "kit/Rect.h"

#include <QAccessible>
#include <QRect>

#include <memory>
#include <unordered_map>
#include <vector>

class QAccessibleInterface;
class QWidget;
class View;
class Window;

// Shows a window's view tree to assistive technology through Qt's accessibility (and so AT-SPI):
// one interface per view that is an element, made when the screen reader first asks for it and
// dropped once its view is gone. The desktop window's own interface is the root; the elements
// below it follow the view tree, leaving out hidden views, views scrolled or clipped out of
// sight, parts an element already names, and views that carry nothing (their subviews take
// their place). Main thread only.
class AccessibilityBridge {
public:
    AccessibilityBridge(QWidget& widget, std::shared_ptr<Window> window);
    ~AccessibilityBridge();
    AccessibilityBridge(const AccessibilityBridge&) = delete;
    AccessibilityBridge& operator=(const AccessibilityBridge&) = delete;

    // Where the window is drawn in the widget: zoomed by `zoom`, its origin at `origin`.
    void setPlacement(double zoom, Point origin);

    // The tree. `elementsIn` gives the elements directly below a view (the window for the root),
    // in the order of the subviews.
    std::vector<std::shared_ptr<View>> elementsIn(const View& view) const;
    std::vector<std::shared_ptr<View>> rootElements() const;
    QAccessibleInterface* interfaceFor(const std::shared_ptr<View>& view);
    // The interface of the nearest element above the view, or the root's.
    QAccessibleInterface* parentOf(const View& view);
    QAccessibleInterface* rootInterface() const;
    // The element that has the keyboard: the first responder, or the view last reported focused.
    std::shared_ptr<View> focusedElement() const;

    static bool isElement(const AccessibilityDescription& description);
    // Whether the view shows: in the window, not hidden nor transparent, itself or above.
    bool isShowing(const View& view) const;
    // The view's bounds on the desktop screen, through the window's zoom.
    QRect screenRect(const View& view) const;
    QWidget& widget() const { return m_widget; }

    // Performs what a tap on the view does: a finger down and up on a point of the view that
    // no other element covers. Returns false when no such point shows.
    bool activate(const View& view);
    // Passes a view's notification on to the screen reader.
    void notify(View& view, AccessibilityNotification notification);

private:
    struct Entry {
        std::weak_ptr<View> view;
        QAccessible::Id id = 0;
    };

    void appendElements(const View& view, std::vector<std::shared_ptr<View>>& elements) const;
    // Whether any part of the view is within the window and the clipping views above it.
    bool isWithinSight(const View& view) const;
    // The element a hit view belongs to: itself or the nearest element above it.
    const View* elementOwning(const View& view) const;
    void dropGoneViews();

    QWidget& m_widget;
    std::shared_ptr<Window> m_window;
    double m_zoom = 1.0;
    Point m_origin;
    std::weak_ptr<View> m_reportedFocus;
    std::unordered_map<const View*, Entry> m_entries;
    std::size_t m_entriesAfterCleanUp = 0;
};
