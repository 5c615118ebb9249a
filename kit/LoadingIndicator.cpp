#include "kit/LoadingIndicator.h"

#include "foundation/RunLoop.h"
#include "kit/Animator.h"
#include "kit/GraphicsContext.h"
#include "kit/RoundedRectangle.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

Color colorForStyle(LoadingIndicator::Style style) {
    return style == LoadingIndicator::Style::Gray ? Color(0.5, 0.5, 0.5) : Color(1, 1, 1);
}

} // namespace

LoadingIndicator::LoadingIndicator(Style style)
    : View(Rect(Point(), sizeForStyle(style))), m_style(style), m_color(colorForStyle(style)) {
    setUserInteractionEnabled(false);
    setHidden(true);
}

LoadingIndicator::~LoadingIndicator() {
    if (m_timer) {
        m_timer->invalidate();
    }
}

Size LoadingIndicator::sizeForStyle(Style style) {
    return style == Style::WhiteLarge ? Size(37, 37) : Size(20, 20);
}

void LoadingIndicator::setStyle(Style style) {
    m_style = style;
    m_color = colorForStyle(style);
    const Point centre = center();
    setBounds(Rect(bounds().origin(), sizeForStyle(style)));
    setCenter(centre);
    setNeedsDisplay();
}

void LoadingIndicator::setColor(const Color& color) {
    m_color = color;
    setNeedsDisplay();
}

void LoadingIndicator::startAnimating() {
    setHidden(false);
    if (isAnimating()) {
        return;
    }
    // The timer holds the indicator weakly, so a forgotten spinning indicator still goes away.
    const std::weak_ptr<View> weak = weak_from_this();
    m_timer = Animator::instance().scheduleFrames(1.0 / stepsPerSecond, [weak] {
        if (const std::shared_ptr<View> view = weak.lock()) {
            static_cast<LoadingIndicator&>(*view).advance();
        }
    });
}

void LoadingIndicator::stopAnimating() {
    if (m_timer) {
        m_timer->invalidate();
        m_timer.reset();
    }
    if (m_hidesWhenStopped) {
        setHidden(true);
    }
}

void LoadingIndicator::setHidesWhenStopped(bool hides) {
    m_hidesWhenStopped = hides;
    if (hides && !isAnimating()) {
        setHidden(true);
    }
}

void LoadingIndicator::advance() {
    m_step = (m_step + 1) % stepCount;
    setNeedsDisplay();
}

void LoadingIndicator::drawRect(GraphicsContext& context, const Rect& /*rect*/) {
    const Rect area = bounds();
    const double radius = std::min(area.width(), area.height()) / 2.0;
    const double spokeWidth = radius * (m_style == Style::WhiteLarge ? 0.16 : 0.18);
    const double inner = radius * 0.45;
    const double outer = radius * 0.95;
    for (int i = 0; i < stepCount; ++i) {
        // The brightest spoke is the current step; those behind it fade out.
        const int behind = (m_step - i + stepCount) % stepCount;
        const double opacity = std::max(1.0 - behind / static_cast<double>(stepCount) * 1.1, 0.2);
        context.saveGState();
        context.translateCTM(area.midX(), area.midY());
        context.rotateCTM(i * 2.0 * std::numbers::pi / stepCount);
        context.setFillColor(
            Color(m_color.red(), m_color.green(), m_color.blue(), m_color.alpha() * opacity));
        const Rect spoke(-spokeWidth / 2.0, -outer, spokeWidth, outer - inner);
        RoundedRectangle(spoke, spokeWidth / 2.0).drawRoundedRectPath(context);
        context.fillPath();
        context.restoreGState();
    }
}

Size LoadingIndicator::fittingSize(Size /*size*/) const {
    return sizeForStyle(m_style);
}
