#include "ui/editing/BalloonView.h"

#include "kit/Artwork.h"
#include "kit/Font.h"
#include "kit/GraphicsContext.h"
#include "kit/Label.h"
#include "kit/Screen.h"
#include "kit/StringDrawing.h"
#include "kit/Window.h"
#include "ui/editing/EditingArtwork.h"

namespace {

constexpr double balloonLeftCap = 9.0;
// The balloon stands this far above the view it names.
constexpr double gapAboveView = 5.0;
// The balloon's left edge lies this far left of the view's.
constexpr double offsetLeftOfView = 8.0;
// A cut name keeps this much room on either side.
constexpr double cutLabelInset = 8.0;
const Rect arrowRect(10, 37, 21, 15);

} // namespace

BalloonView::BalloonView() : View(Rect(0, 0, horizontalPadding, height)) {}

BalloonView::~BalloonView() = default;

std::shared_ptr<BalloonView> BalloonView::create() {
    EditingArtwork::registerImages();
    auto balloon = std::make_shared<BalloonView>();
    balloon->m_balloon =
        Artwork::imageNamed(QStringLiteral("balloon")).stretchableImage(static_cast<int>(balloonLeftCap), 0);
    balloon->m_balloonArrow = Artwork::imageNamed(QStringLiteral("balloon-arrow"));
    // Only shows; touches go to what lies beneath.
    balloon->setUserInteractionEnabled(false);
    auto label = std::make_shared<Label>(Rect(0, 0, horizontalPadding, labelHeight));
    label->setFont(Font::boldSystemFontOfSize(15));
    label->setTextColor(Color(1, 1, 1));
    label->setBackgroundColor(std::nullopt);
    label->setTextAlignment(TextAlignment::Center);
    label->setShadowColor(Color::fromRgb255(53, 53, 53));
    label->setShadowOffset(Size(0, -1));
    balloon->m_label = label;
    balloon->addSubview(label);
    return balloon;
}

void BalloonView::setTitle(const QString& title) {
    m_title = title;
    const double width = StringDrawing::sizeWithFont(title, m_label->font()).width() + horizontalPadding;
    m_label->setFrame(Rect(0, 0, width, labelHeight));
    setFrame(Rect(0, 0, width, height));
    m_label->setText(title);
    redraw();
}

void BalloonView::positionRelativeToView(const View& view) {
    Window* window = view.window();
    const std::shared_ptr<View> superview = view.superview();
    if (!window || !superview) {
        return;
    }
    setAlpha(1.0);
    m_cancelDisappear = true;
    const Point origin = superview->convertPointToView(view.frame().origin(), window);
    const double windowWidth = window->bounds().width();
    double width = frame().width();
    double x = origin.x() - offsetLeftOfView;
    const double y = origin.y() - (height + gapAboveView);
    const double widest = windowWidth - 2 * windowMargin;
    if (width <= widest) {
        const double overflow = x + width + windowMargin - windowWidth;
        m_arrowCorrection = overflow > 0 ? overflow : 0.0;
        x -= m_arrowCorrection;
    } else {
        const Rect label = m_label->frame();
        m_label->setFrame(Rect(label.x() + cutLabelInset, label.y(),
                               label.width() - (width - widest + 2 * cutLabelInset), label.height()));
        width = widest;
        m_arrowCorrection = x - windowMargin;
        x = windowMargin;
    }
    setFrame(Rect(x, y, width, height));
    redraw();
    if (this->superview().get() != window) {
        window->addSubview(shared_from_this());
    }
}

void BalloonView::disappear() {
    disappearAnimated(true);
}

void BalloonView::disappearAnimated(bool animated) {
    if (m_disappearing) {
        return;
    }
    m_cancelDisappear = false;
    m_disappearing = true;
    const std::weak_ptr<View> weakSelf = weak_from_this();
    const auto fade = [weakSelf] {
        if (const std::shared_ptr<View> self = weakSelf.lock()) {
            self->setAlpha(0.0);
        }
    };
    const auto done = [weakSelf](bool) {
        if (const auto self = std::static_pointer_cast<BalloonView>(weakSelf.lock())) {
            self->finishDisappearing();
        }
    };
    animate(animated ? fadeDuration : 0.0, 0.0, AnimationCurve::easeInOut,
            AnimationOption::allowUserInteraction, fade, done);
}

void BalloonView::finishDisappearing() {
    if (!m_cancelDisappear) {
        removeFromSuperview();
    }
    m_disappearing = false;
    setAlpha(1.0);
}

void BalloonView::redraw() {
    m_composedBalloon = Image();
    setNeedsDisplay();
}

void BalloonView::drawRect(GraphicsContext& context, const Rect&) {
    // Composed in a picture of its own, so that the arrow's copying replaces the balloon's
    // lower edge but not what the balloon floats over.
    if (m_composedBalloon.isNull()) {
        const Rect whole(Point(), bounds().size());
        m_composedBalloon =
            Image::draw(whole.size(), Screen::main().scale(), [&](GraphicsContext& composing) {
                composing.drawImage(m_balloon, whole);
                composing.setBlendMode(BlendMode::Copy);
                composing.drawImage(m_balloonArrow, arrowRect.offset(m_arrowCorrection, 0));
            });
    }
    context.drawImage(m_composedBalloon, bounds());
}
