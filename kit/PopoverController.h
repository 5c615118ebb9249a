#pragma once

#include "kit/PopoverArrowDirection.h"
#include "kit/Rect.h"
#include "kit/Size.h"

#include <memory>
#include <vector>

class BarButtonItem;
class DimmingView;
class ViewController;
class PopoverControllerDelegate;
class PopoverView;
class View;

// The tablet's popover: content in a navy frame floating over the window, its arrow pointing at
// a rectangle of some view. A touch outside it asks the delegate and takes it away; the
// passthrough views keep taking their touches while it is shown.
//
// Make it with std::make_shared; while shown it keeps itself alive. The delegate is held weakly.
// Main thread only.
class PopoverController : public std::enable_shared_from_this<PopoverController> {
public:
    // The space kept free between a popover and the window's edges.
    static constexpr double screenMargin = 10.0;

    // The content is a screen: its view fills the popover, and it hears when the popover
    // appears and disappears. Once presented or set as the content, the screen knows the
    // popover (ViewController::popoverController), and a size it sets for popovers applies.
    explicit PopoverController(std::shared_ptr<ViewController> contentViewController);
    // The content is a plain view (the action sheet's buttons, for one).
    explicit PopoverController(std::shared_ptr<View> contentView);
    ~PopoverController();
    PopoverController(const PopoverController&) = delete;
    PopoverController& operator=(const PopoverController&) = delete;

    const std::shared_ptr<ViewController>& contentViewController() const { return m_contentViewController; }
    // Replaces the content, also while shown; the new screen's size for popovers applies until
    // a content size is set again.
    void setContentViewController(std::shared_ptr<ViewController> contentViewController,
                                  bool animated = false);
    // The view shown: the content screen's view, or the plain content view.
    std::shared_ptr<View> contentView() const;
    void setContentView(std::shared_ptr<View> contentView);
    std::shared_ptr<PopoverControllerDelegate> delegate() const { return m_delegate.lock(); }
    // Not owned.
    void setDelegate(std::weak_ptr<PopoverControllerDelegate> delegate) { m_delegate = std::move(delegate); }

    // The size of the content: the size set, else the content screen's size for popovers (the
    // plain content view's own size). A popover shown never reaches past the screen's margins:
    // taller or wider content is shown cut to the room there is.
    Size popoverContentSize() const;
    void setPopoverContentSize(Size size, bool animated = false);

    // Shows the popover pointing at `rect` of `view`, its arrow in the permitted direction with
    // the most room on screen. Without any permitted direction it has no arrow and stands
    // centred on the rectangle.
    void presentPopoverFromRect(const Rect& rect, View& view, PopoverArrowDirections permittedArrowDirections,
                                bool animated);
    // Shows it pointing at a bar button item: its frame in `bar`, the bar that holds it. The bar
    // keeps taking touches while the popover is shown, so that its buttons still work.
    void presentPopoverFromBarButtonItem(const Rect& itemFrame, View& bar,
                                         PopoverArrowDirections permittedArrowDirections, bool animated);
    // The same for an item shown in a bar.
    void presentPopoverFromBarButtonItem(BarButtonItem& item, PopoverArrowDirections permittedArrowDirections,
                                         bool animated);
    // Points the popover shown at `rect` of `view` again (what it points at moved), keeping its
    // arrow's direction, and keeps it above the lowest `bottomInset` points of the window (a
    // keyboard there).
    void repositionPopoverFromRect(const Rect& rect, View& view, double bottomInset, bool animated);
    // Takes the popover away without telling the delegate.
    void dismissPopoverAnimated(bool animated);
    bool isPopoverVisible() const { return m_visible; }
    // The direction chosen when it was presented.
    PopoverArrowDirection popoverArrowDirection() const { return m_arrowDirection; }

    // Not owned: the popover forgets views that go away.
    void setPassthroughViews(const std::vector<std::shared_ptr<View>>& views);
    std::vector<std::shared_ptr<View>> passthroughViews() const;

    // The frame view on screen, or none.
    std::shared_ptr<PopoverView> popoverView() const { return m_popoverView; }

    // The arrow direction for a popover of `contentSize` pointing at `anchor` within `area`
    // (both in window coordinates): of the permitted directions whose side of the anchor holds
    // the whole popover, the one with the most room; when none does, the one with the most
    // room. Ties go to up, down, left, right in this order; unknown when none is permitted.
    static PopoverArrowDirection arrowDirectionFor(const Rect& anchor, Size contentSize, const Rect& area,
                                                   PopoverArrowDirections permitted);
    // The frame of the popover (arrow included) and the offset of the arrow from the middle of
    // its side, placed for the direction and kept within the area; without a direction, centred
    // on the anchor.
    static Rect popoverFrameFor(const Rect& anchor, Size contentSize, const Rect& area,
                                PopoverArrowDirection direction, double* arrowOffset);

private:
    // Where a popover may stand in a window of these bounds: within the margins, below the status
    // bar and above the lowest `bottomInset` points.
    static Rect areaIn(const Rect& windowBounds, double bottomInset);
    void present(const Rect& anchorInWindow, View& window, PopoverArrowDirections permitted, bool animated);
    void placePopover(bool animated);
    void touchedOutside();
    void removeFromScreen();

    void replaceShownContent(const std::shared_ptr<View>& oldView, bool animated);
    // The content size limited to the room on the popover's side of the anchor.
    Size displayedContentSize() const;

    std::shared_ptr<ViewController> m_contentViewController;
    std::shared_ptr<View> m_contentView;
    std::weak_ptr<PopoverControllerDelegate> m_delegate;
    Size m_popoverContentSize;
    bool m_contentSizeSet = false;
    std::vector<std::weak_ptr<View>> m_passthroughViews;
    std::vector<std::weak_ptr<View>> m_barPassthrough;
    std::shared_ptr<DimmingView> m_dimmingView;
    std::shared_ptr<PopoverView> m_popoverView;
    // Keeps the controller alive while the popover is on screen.
    std::shared_ptr<PopoverController> m_retainedWhileVisible;
    Rect m_anchor;
    Rect m_area;
    PopoverArrowDirection m_arrowDirection = PopoverArrowDirection::unknown;
    bool m_visible = false;
    // Counts presentations, so that the end of an old fade-out does not remove a new one.
    int m_generation = 0;
};
