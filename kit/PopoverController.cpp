#include "kit/PopoverController.h"

#include "kit/BarButtonItem.h"
#include "kit/DimmingView.h"
#include "kit/PopoverControllerDelegate.h"
#include "kit/PopoverView.h"
#include "kit/Screen.h"
#include "kit/View.h"
#include "kit/ViewController.h"

#include <algorithm>
#include <array>

bool PopoverControllerDelegate::popoverControllerShouldDismissPopover(PopoverController&) {
    return true;
}
void PopoverControllerDelegate::popoverControllerDidDismissPopover(PopoverController&) {}

PopoverController::PopoverController(std::shared_ptr<ViewController> contentViewController)
    : m_contentViewController(std::move(contentViewController)) {}

PopoverController::PopoverController(std::shared_ptr<View> contentView)
    : m_contentView(std::move(contentView)) {}

PopoverController::~PopoverController() = default;

std::shared_ptr<View> PopoverController::contentView() const {
    return m_contentViewController ? m_contentViewController->view() : m_contentView;
}

void PopoverController::setContentViewController(std::shared_ptr<ViewController> contentViewController,
                                                 bool animated) {
    if (contentViewController == m_contentViewController) {
        return;
    }
    const auto oldView = contentView();
    const auto oldController = m_contentViewController;
    if (m_visible && oldController) {
        oldController->beginAppearanceTransition(false, animated);
    }
    if (oldController && oldController->m_popoverController.lock().get() == this) {
        oldController->m_popoverController.reset();
    }
    m_contentViewController = std::move(contentViewController);
    m_contentView.reset();
    m_contentSizeSet = false;
    if (m_contentViewController) {
        m_contentViewController->m_popoverController = weak_from_this();
    }
    replaceShownContent(oldView, animated);
    if (m_visible && oldController) {
        oldController->endAppearanceTransition();
    }
}

void PopoverController::setContentView(std::shared_ptr<View> contentView) {
    const auto oldView = this->contentView();
    m_contentViewController.reset();
    m_contentView = std::move(contentView);
    replaceShownContent(oldView, false);
}

void PopoverController::replaceShownContent(const std::shared_ptr<View>& oldView, bool animated) {
    if (!m_popoverView) {
        return;
    }
    if (oldView && oldView->superview() == m_popoverView) {
        oldView->removeFromSuperview();
    }
    if (m_contentViewController && m_visible) {
        m_contentViewController->beginAppearanceTransition(true, animated);
    }
    m_popoverView->setContentView(contentView());
    placePopover(animated);
    if (m_contentViewController && m_visible) {
        m_contentViewController->endAppearanceTransition();
    }
}

Size PopoverController::popoverContentSize() const {
    if (m_contentSizeSet) {
        return m_popoverContentSize;
    }
    if (m_contentViewController) {
        return m_contentViewController->contentSizeForViewInPopover();
    }
    return m_contentView ? m_contentView->bounds().size() : Size();
}

Size PopoverController::displayedContentSize() const {
    Size size = popoverContentSize();
    const Size frame = PopoverView::frameSizeForContentSize(Size(), m_arrowDirection);
    double maxWidth = m_area.width() - frame.width();
    double maxHeight = m_area.height() - frame.height();
    switch (m_arrowDirection) {
    case PopoverArrowDirection::up:
        maxHeight = m_area.maxY() - m_anchor.maxY() - frame.height();
        break;
    case PopoverArrowDirection::down:
        maxHeight = m_anchor.minY() - m_area.minY() - frame.height();
        break;
    case PopoverArrowDirection::left:
        maxWidth = m_area.maxX() - m_anchor.maxX() - frame.width();
        break;
    case PopoverArrowDirection::right:
        maxWidth = m_anchor.minX() - m_area.minX() - frame.width();
        break;
    default:
        break;
    }
    size.setWidth(std::max(0.0, std::min(size.width(), maxWidth)));
    size.setHeight(std::max(0.0, std::min(size.height(), maxHeight)));
    return size;
}

void PopoverController::setPopoverContentSize(Size size, bool animated) {
    m_popoverContentSize = size;
    m_contentSizeSet = true;
    if (m_visible) {
        placePopover(animated);
    }
}

void PopoverController::setPassthroughViews(const std::vector<std::shared_ptr<View>>& views) {
    m_passthroughViews.assign(views.begin(), views.end());
    if (m_dimmingView) {
        std::vector<std::weak_ptr<View>> all = m_passthroughViews;
        all.insert(all.end(), m_barPassthrough.begin(), m_barPassthrough.end());
        m_dimmingView->setPassthroughViews(all);
    }
}

std::vector<std::shared_ptr<View>> PopoverController::passthroughViews() const {
    std::vector<std::shared_ptr<View>> views;
    for (const auto& weak : m_passthroughViews) {
        if (auto view = weak.lock()) {
            views.push_back(view);
        }
    }
    return views;
}

namespace {

constexpr std::array<PopoverArrowDirection, 4> directionOrder = {
    PopoverArrowDirection::up, PopoverArrowDirection::down, PopoverArrowDirection::left,
    PopoverArrowDirection::right};

// The room on the side of the anchor where a popover with this arrow goes.
double roomFor(PopoverArrowDirection direction, const Rect& anchor, const Rect& area) {
    switch (direction) {
    case PopoverArrowDirection::up:
        return area.maxY() - anchor.maxY();
    case PopoverArrowDirection::down:
        return anchor.minY() - area.minY();
    case PopoverArrowDirection::left:
        return area.maxX() - anchor.maxX();
    case PopoverArrowDirection::right:
        return anchor.minX() - area.minX();
    default:
        return 0.0;
    }
}

bool isVertical(PopoverArrowDirection direction) {
    return direction == PopoverArrowDirection::up || direction == PopoverArrowDirection::down;
}

} // namespace

PopoverArrowDirection PopoverController::arrowDirectionFor(const Rect& anchor, Size contentSize,
                                                           const Rect& area,
                                                           PopoverArrowDirections permitted) {
    PopoverArrowDirection best = PopoverArrowDirection::unknown;
    bool bestFits = false;
    double bestRoom = 0.0;
    for (const PopoverArrowDirection direction : directionOrder) {
        if (!permitted.testFlag(direction)) {
            continue;
        }
        const Size needed = PopoverView::frameSizeForContentSize(contentSize, direction);
        const double room = roomFor(direction, anchor, area);
        const bool fits = isVertical(direction) ? needed.height() <= room : needed.width() <= room;
        if (best == PopoverArrowDirection::unknown || (fits && !bestFits) ||
            (fits == bestFits && room > bestRoom)) {
            best = direction;
            bestFits = fits;
            bestRoom = room;
        }
    }
    return best;
}

Rect PopoverController::popoverFrameFor(const Rect& anchor, Size contentSize, const Rect& area,
                                        PopoverArrowDirection direction, double* arrowOffset) {
    const Size size = PopoverView::frameSizeForContentSize(contentSize, direction);
    auto clampTo = [](double value, double low, double high) {
        return high < low ? low : std::clamp(value, low, high);
    };
    Rect frame(Point(), size);
    double offset = 0.0;
    if (direction == PopoverArrowDirection::unknown) {
        const double x = clampTo(anchor.midX() - size.width() / 2, area.minX(), area.maxX() - size.width());
        const double y = clampTo(anchor.midY() - size.height() / 2, area.minY(), area.maxY() - size.height());
        frame.setOrigin(Point(x, y));
    } else if (isVertical(direction)) {
        const double tipX = anchor.midX();
        const double x = clampTo(tipX - size.width() / 2, area.minX(), area.maxX() - size.width());
        const double y =
            direction == PopoverArrowDirection::up ? anchor.maxY() : anchor.minY() - size.height();
        frame.setOrigin(Point(x, y));
        offset = tipX - (x + size.width() / 2);
    } else {
        const double tipY = anchor.midY();
        const double y = clampTo(tipY - size.height() / 2, area.minY(), area.maxY() - size.height());
        const double x =
            direction == PopoverArrowDirection::left ? anchor.maxX() : anchor.minX() - size.width();
        frame.setOrigin(Point(x, y));
        offset = tipY - (y + size.height() / 2);
    }
    if (arrowOffset != nullptr) {
        *arrowOffset = offset;
    }
    return frame;
}

void PopoverController::presentPopoverFromRect(const Rect& rect, View& view,
                                               PopoverArrowDirections permittedArrowDirections,
                                               bool animated) {
    m_barPassthrough.clear();
    const auto window = view.rootView();
    present(view.convertRectToView(rect, window.get()), *window, permittedArrowDirections, animated);
}

void PopoverController::presentPopoverFromBarButtonItem(const Rect& itemFrame, View& bar,
                                                        PopoverArrowDirections permittedArrowDirections,
                                                        bool animated) {
    m_barPassthrough = {bar.weak_from_this()};
    const auto window = bar.rootView();
    present(bar.convertRectToView(itemFrame, window.get()), *window, permittedArrowDirections, animated);
}

void PopoverController::presentPopoverFromBarButtonItem(BarButtonItem& item,
                                                        PopoverArrowDirections permittedArrowDirections,
                                                        bool animated) {
    const auto view = item.view();
    const auto bar = view->superview();
    if (!bar) {
        return;
    }
    presentPopoverFromBarButtonItem(view->frame(), *bar, permittedArrowDirections, animated);
}

void PopoverController::present(const Rect& anchorInWindow, View& window, PopoverArrowDirections permitted,
                                bool animated) {
    const auto keepAlive = shared_from_this();
    if (m_popoverView || m_dimmingView) {
        removeFromScreen();
    }
    ++m_generation;
    m_anchor = anchorInWindow;
    const Rect bounds = window.bounds();
    m_area = areaIn(bounds, 0.0);
    m_arrowDirection = arrowDirectionFor(m_anchor, popoverContentSize(), m_area, permitted);

    m_dimmingView = std::make_shared<DimmingView>(bounds, DimmingView::Style::Clear);
    setPassthroughViews(passthroughViews());
    // The popover keeps itself alive while shown, so the layer's callback holds it strongly;
    // the link goes when the popover leaves the screen.
    m_retainedWhileVisible = shared_from_this();
    const std::weak_ptr<PopoverController> weakSelf = weak_from_this();
    m_dimmingView->onTouchDown = [weakSelf] {
        if (auto popover = weakSelf.lock()) {
            popover->touchedOutside();
        }
    };
    m_popoverView = std::make_shared<PopoverView>();
    if (m_contentViewController) {
        m_contentViewController->m_popoverController = weak_from_this();
        m_contentViewController->beginAppearanceTransition(true, animated);
    }
    m_popoverView->setContentView(contentView());
    m_dimmingView->addSubview(m_popoverView);
    window.addSubview(m_dimmingView);
    m_visible = true;
    placePopover(false);
    if (!animated) {
        if (m_contentViewController) {
            m_contentViewController->endAppearanceTransition();
        }
        return;
    }
    m_popoverView->setAlpha(0.0);
    const int generation = m_generation;
    View::animate(
        0.2, [popoverView = m_popoverView] { popoverView->setAlpha(1.0); },
        [weakSelf, generation](bool) {
            auto popover = weakSelf.lock();
            if (popover && popover->m_generation == generation && popover->m_visible &&
                popover->m_contentViewController) {
                popover->m_contentViewController->endAppearanceTransition();
            }
        });
}

void PopoverController::repositionPopoverFromRect(const Rect& rect, View& view, double bottomInset,
                                                  bool animated) {
    if (!m_visible || !m_popoverView) {
        return;
    }
    const auto window = view.rootView();
    m_anchor = view.convertRectToView(rect, window.get());
    m_area = areaIn(window->bounds(), bottomInset);
    placePopover(animated);
}

Rect PopoverController::areaIn(const Rect& windowBounds, double bottomInset) {
    return Rect(windowBounds.minX() + screenMargin,
                windowBounds.minY() + Screen::statusBarHeight + screenMargin,
                windowBounds.width() - 2 * screenMargin,
                windowBounds.height() - Screen::statusBarHeight - 2 * screenMargin - bottomInset);
}

void PopoverController::placePopover(bool animated) {
    if (!m_popoverView) {
        return;
    }
    double offset = 0.0;
    const Rect frame = popoverFrameFor(m_anchor, displayedContentSize(), m_area, m_arrowDirection, &offset);
    auto apply = [&] {
        m_popoverView->setArrowDirection(m_arrowDirection);
        m_popoverView->setArrowOffset(offset);
        m_popoverView->setFrame(frame);
        m_popoverView->layoutIfNeeded();
    };
    if (animated) {
        View::animate(0.25, 0.0, AnimationCurve::easeInOut, AnimationOption::layoutSubviews, apply);
    } else {
        apply();
    }
}

void PopoverController::touchedOutside() {
    if (!m_visible) {
        return;
    }
    const auto keepAlive = shared_from_this();
    if (const std::shared_ptr<PopoverControllerDelegate> reportTo = delegate();
        reportTo && !reportTo->popoverControllerShouldDismissPopover(*this)) {
        return;
    }
    m_visible = false;
    if (m_contentViewController) {
        m_contentViewController->beginAppearanceTransition(false, true);
    }
    const int generation = m_generation;
    const std::weak_ptr<PopoverController> weakSelf = weak_from_this();
    // Touches stop at once; the delegate hears of it when the popover is gone.
    m_dimmingView->setUserInteractionEnabled(false);
    View::animate(
        0.2, 0.0, AnimationCurve::easeIn, AnimationOption::none, [this] { m_popoverView->setAlpha(0.0); },
        [weakSelf, generation](bool) {
            auto popover = weakSelf.lock();
            if (!popover || popover->m_generation != generation) {
                return;
            }
            popover->removeFromScreen();
            if (const std::shared_ptr<PopoverControllerDelegate> reportTo = popover->delegate()) {
                reportTo->popoverControllerDidDismissPopover(*popover);
            }
        });
}

void PopoverController::dismissPopoverAnimated(bool animated) {
    if (!m_visible) {
        return;
    }
    m_visible = false;
    const auto keepAlive = shared_from_this();
    if (m_contentViewController) {
        m_contentViewController->beginAppearanceTransition(false, animated);
    }
    if (!animated) {
        removeFromScreen();
        return;
    }
    m_dimmingView->setUserInteractionEnabled(false);
    const int generation = m_generation;
    const std::weak_ptr<PopoverController> weakSelf = weak_from_this();
    View::animate(
        0.2, 0.0, AnimationCurve::easeIn, AnimationOption::none, [this] { m_popoverView->setAlpha(0.0); },
        [weakSelf, generation](bool) {
            auto popover = weakSelf.lock();
            if (popover && popover->m_generation == generation) {
                popover->removeFromScreen();
            }
        });
}

void PopoverController::removeFromScreen() {
    m_visible = false;
    if (m_contentViewController && m_popoverView) {
        // Begins the disappearance when none is under way, then ends it.
        m_contentViewController->beginAppearanceTransition(false, false);
        m_contentViewController->endAppearanceTransition();
    }
    if (m_popoverView) {
        m_popoverView->removeAllAnimations();
        const auto content = contentView();
        if (content && content->superview() == m_popoverView) {
            content->removeFromSuperview();
        }
        m_popoverView->removeFromSuperview();
        m_popoverView.reset();
    }
    if (m_dimmingView) {
        m_dimmingView->onTouchDown = nullptr;
        m_dimmingView->removeFromSuperview();
        m_dimmingView.reset();
    }
    // Last: this may drop the final reference to the controller.
    auto retained = std::move(m_retainedWhileVisible);
    m_retainedWhileVisible.reset();
}
