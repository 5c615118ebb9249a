#include "ui/search/SearchProgressView.h"

#include "foundation/RunLoop.h"
#include "kit/Application.h"
#include "kit/Font.h"
#include "kit/GraphicsContext.h"
#include "kit/Label.h"
#include "kit/LoadingIndicator.h"
#include "kit/RoundedRectangle.h"
#include "kit/Window.h"

#include <algorithm>

namespace {

constexpr double progressBoxCornerRadius = 15.0;
constexpr double spinnerGap = 4.0;

} // namespace

std::shared_ptr<SearchProgressView> SearchProgressView::create() {
    auto box = std::make_shared<SearchProgressView>();
    box->addSubview(box->m_textLabel);
    box->addSubview(box->m_activityIndicatorView);
    return box;
}

SearchProgressView::SearchProgressView()
    : m_textLabel(std::make_shared<Label>(Rect(HORIZONTAL_PADDING, VERTICAL_PADDING, 0, 0))),
      m_activityIndicatorView(std::make_shared<LoadingIndicator>(LoadingIndicator::Style::WhiteLarge)) {
    setBackgroundColor(std::nullopt);
    m_textLabel->setTextColor(Color(1, 1, 1));
    m_textLabel->setFont(Font::boldSystemFontOfSize(18));
    m_textLabel->setBackgroundColor(Color(0, 0, 0, 0));
    m_activityIndicatorView->setHidesWhenStopped(true);
}

void SearchProgressView::setMessage(const QString& text, bool progressIndicator) {
    m_textLabel->setText(text);
    m_textLabel->sizeToFit();
    const Size textSize = m_textLabel->frame().size();
    const Size spinner = m_activityIndicatorView->frame().size();
    const double width =
        std::max(textSize.width() + 2 * HORIZONTAL_PADDING, 2 * HORIZONTAL_PADDING + spinner.width());
    double height = textSize.height() + 2 * VERTICAL_PADDING;
    m_textLabel->setFrameY(VERTICAL_PADDING);
    if (!progressIndicator) {
        m_activityIndicatorView->stopAnimating();
    } else {
        m_activityIndicatorView->startAnimating();
        m_activityIndicatorView->setFrameOrigin(Point(width / 2 - spinner.width() / 2, VERTICAL_PADDING));
        const double drop =
            text.isEmpty() ? spinner.height() - textSize.height() : spinner.height() + spinnerGap;
        m_textLabel->moveFrameY(drop);
        height += drop;
    }
    setFrame(Rect(centreX - width / 2, centreY - height / 2, width, height));
    setNeedsDisplay();
}

void SearchProgressView::drawRect(GraphicsContext& context, const Rect&) {
    const Rect box = bounds();
    context.setFillColor(Color(80.0 / 255, 80.0 / 255, 80.0 / 255, 0.85));
    context.beginPath();
    RoundedRectangle(Rect(box.x() + 1, box.y() + 1, box.width() - 2, box.height() - 2),
                     progressBoxCornerRadius)
        .drawRoundedRectPath(context);
    context.fillPath();
}

void SearchProgressView::show() {
    cancelHideTimer();
    const Application* application = Application::shared();
    if (Window* window = application ? application->keyWindow() : nullptr) {
        window->addSubview(shared_from_this());
    }
    View::performWithoutAnimation([this] { setAlpha(0); });
    View::animate(fadeDuration, [this] { setAlpha(1); });
}

void SearchProgressView::hide() {
    cancelHideTimer();
    const std::weak_ptr<View> weakSelf = weak_from_this();
    View::animate(
        fadeDuration, [this] { setAlpha(0); },
        [weakSelf](bool finished) {
            // A show meanwhile takes the box back.
            const std::shared_ptr<View> box = weakSelf.lock();
            if (box && finished && box->alpha() == 0) {
                box->removeFromSuperview();
            }
        });
}

void SearchProgressView::hideDelayed() {
    cancelHideTimer();
    const std::weak_ptr<SearchProgressView> weakSelf =
        std::static_pointer_cast<SearchProgressView>(shared_from_this());
    m_hideTimer = RunLoop::main().scheduleTimer(hideDelay, false, [weakSelf] {
        if (const auto box = weakSelf.lock()) {
            box->hide();
        }
    });
}

void SearchProgressView::cancelHideTimer() {
    if (m_hideTimer) {
        m_hideTimer->invalidate();
        m_hideTimer.reset();
    }
}
