#include "ui/daylist/ListBoxView.h"

#include "kit/Gradient.h"
#include "kit/GraphicsContext.h"
#include "kit/RoundedRectangle.h"

namespace {

constexpr double listBoxCornerRadius = 6.0;
const Color listBoxOutline = Color::fromRgb255(92, 102, 118);

Color dimmedBlack(double alpha) {
    return Color(0, 0, 0, alpha);
}

} // namespace

ListBoxView::ListBoxView(const Rect& frame)
    : View(frame), m_topBoxView(std::make_shared<View>(Rect(0, 0, frame.width(), frame.height()))) {
    setBackgroundColor(std::nullopt);
    // While the box grows out of the day its content is revealed, not spilled around it.
    setClipsToBounds(true);
    m_topBoxView->setBackgroundColor(std::nullopt);
}

std::shared_ptr<ListBoxView> ListBoxView::create(const Rect& frame) {
    auto box = std::make_shared<ListBoxView>(frame);
    box->addSubview(box->m_topBoxView);
    return box;
}

void ListBoxView::drawRect(GraphicsContext& context, const Rect&) {
    const RoundedRectangle shape(bounds().inset(0.5, 0.5), listBoxCornerRadius);
    shape.applyGradient(context, Gradient(Color::fromRgb255(222, 227, 235), Color::fromRgb255(182, 192, 207)),
                        Point(0, 0), Point(0, bounds().height()));
    shape.stroke(context, listBoxOutline, 1);
}

void ListBoxView::touchesBegan(const TouchSet&, const TouchEvent&) {}

void ListBoxView::touchesMoved(const TouchSet&, const TouchEvent&) {}

void ListBoxView::touchesEnded(const TouchSet&, const TouchEvent&) {}

void ListBoxView::touchesCancelled(const TouchSet&, const TouchEvent&) {}

void ListBoxView::preparePopup(const std::shared_ptr<View>& view) {
    m_poppedUp = true;
    m_poppedUpInView = view;
    setAlpha(1);
}

void ListBoxView::popupFromView(const View& source, const std::shared_ptr<View>& view,
                                std::function<void()> completion) {
    if (m_poppedUp) {
        return;
    }
    preparePopup(view);
    const Rect boxFrame = frame();
    const std::shared_ptr<View> sourceParent = source.superview();
    const std::shared_ptr<View> boxParent = superview();
    m_sourceFrame = sourceParent && boxParent
                        ? sourceParent->convertRectToView(source.frame(), boxParent.get())
                        : source.frame();
    setFrame(m_sourceFrame);
    view->setBackgroundColor(dimmedBlack(0));
    const std::weak_ptr<View> weakBox = weak_from_this();
    const std::weak_ptr<View> weakView = view;
    // The dimmed view keeps taking touches while it darkens, so that none reaches the week below.
    View::animate(
        popupDuration, 0, AnimationCurve::easeOut, AnimationOption::allowUserInteraction,
        [weakBox, weakView, boxFrame] {
            if (const auto box = weakBox.lock()) {
                box->setFrame(boxFrame);
            }
            if (const auto dimmed = weakView.lock()) {
                dimmed->setBackgroundColor(dimmedBlack(dimmedAlpha));
            }
        },
        [completion = std::move(completion)](bool) {
            if (completion) {
                completion();
            }
        });
}

void ListBoxView::popupInView(const std::shared_ptr<View>& view) {
    if (m_poppedUp) {
        return;
    }
    preparePopup(view);
    view->setBackgroundColor(dimmedBlack(dimmedAlpha));
}

void ListBoxView::dismissPopupAnimated(bool animated) {
    if (!m_poppedUp) {
        return;
    }
    m_poppedUp = false;
    const std::shared_ptr<View> view = m_poppedUpInView.lock();
    if (!animated) {
        if (view) {
            view->setBackgroundColor(dimmedBlack(0));
        }
        setAlpha(0);
        finishDismissal(view);
        return;
    }
    const Rect boxFrame = frame();
    const Rect sourceFrame = m_sourceFrame;
    const std::weak_ptr<ListBoxView> weakBox = std::static_pointer_cast<ListBoxView>(shared_from_this());
    const std::weak_ptr<View> weakView = view;
    View::animate(
        popupDuration, 0, AnimationCurve::easeIn, AnimationOption::allowUserInteraction,
        [weakBox, weakView, sourceFrame] {
            if (const auto box = weakBox.lock()) {
                box->setFrame(sourceFrame);
                box->setAlpha(0);
            }
            if (const auto dimmed = weakView.lock()) {
                dimmed->setBackgroundColor(dimmedBlack(0));
            }
        },
        [weakBox, weakView, boxFrame](bool) {
            const auto box = weakBox.lock();
            // Popped up again while shrinking: the new popup owns the view and the frame now.
            if (!box || box->m_poppedUp) {
                return;
            }
            box->setFrame(boxFrame);
            box->finishDismissal(weakView.lock());
        });
}

void ListBoxView::finishDismissal(const std::shared_ptr<View>& view) {
    if (view) {
        view->removeFromSuperview();
    }
    m_poppedUpInView.reset();
}
