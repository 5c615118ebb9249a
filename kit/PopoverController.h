#pragma once

#include "kit/PopoverArrowDirection.h"
#include "kit/Rect.h"
#include "kit/Size.h"

#include <memory>
#include <vector>

class DimmingView;
class PopoverControllerDelegate;
class PopoverView;
class View;

// The tablet's popover: content in a navy frame floating over the window, its arrow pointing at
// a rectangle of some view. A touch outside it asks the delegate and takes it away; the
// passthrough views keep taking their touches while it is shown.
//
// Make it with std::make_shared; while shown it keeps itself alive. The delegate is not owned.
// Main thread only.
class PopoverController : public std::enable_shared_from_this<PopoverController> {
public:
    // The space kept free between a popover and the window's edges.
    static constexpr double screenMargin = 10.0;

    explicit PopoverController(std::shared_ptr<View> contentView);
    ~PopoverController();
    PopoverController(const PopoverController&) = delete;
    PopoverController& operator=(const PopoverController&) = delete;

    const std::shared_ptr<View>& contentView() const { return m_contentView; }
    void setContentView(std::shared_ptr<View> contentView);
    PopoverControllerDelegate* delegate() const { return m_delegate; }
    void setDelegate(PopoverControllerDelegate* delegate) { m_delegate = delegate; }

    // The size of the content; by default the content view's size when it is first presented.
    Size popoverContentSize() const { return m_popoverContentSize; }
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
    void present(const Rect& anchorInWindow, View& window, PopoverArrowDirections permitted, bool animated);
    void placePopover(bool animated);
    void touchedOutside();
    void removeFromScreen();

    std::shared_ptr<View> m_contentView;
    PopoverControllerDelegate* m_delegate = nullptr;
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
