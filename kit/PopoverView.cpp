#include "kit/PopoverView.h"

#include "kit/GraphicsContext.h"
#include "kit/Image.h"
#include "kit/RoundedRectangle.h"

#include <algorithm>

namespace {

// The popover's shadow is blurred at an eighth of a point's resolution and drawn enlarged: a blur
// over the popover's whole area at the screen's scale costs far more than a frame, and a shadow
// this soft loses nothing at the lower resolution.
constexpr double shadowScale = 0.125;
constexpr double shadowBlur = 16.0;
constexpr double shadowReach = 32.0;
constexpr double shadowDrop = 4.0;
const Color shadowColor(0, 0, 0, 0.55);

} // namespace

PopoverView::PopoverView() {
    setClipsToBounds(false);
    // It fades in and out as one piece, its content not showing the frame through.
    setAllowsGroupOpacity(true);
}

Size PopoverView::frameSizeForContentSize(Size contentSize, PopoverArrowDirection direction) {
    Size size(contentSize.width() + 2 * borderWidth, contentSize.height() + 2 * borderWidth);
    if (direction == PopoverArrowDirection::up || direction == PopoverArrowDirection::down) {
        size.setHeight(size.height() + arrowHeight);
    } else if (direction == PopoverArrowDirection::left || direction == PopoverArrowDirection::right) {
        size.setWidth(size.width() + arrowHeight);
    }
    return size;
}

void PopoverView::setContentView(const std::shared_ptr<View>& contentView) {
    if (m_contentView == contentView) {
        return;
    }
    if (m_contentView && m_contentView->superview().get() == this) {
        m_contentView->removeFromSuperview();
    }
    m_contentView = contentView;
    if (m_contentView) {
        addSubview(m_contentView);
        m_contentView->setClipsToBounds(true);
    }
    setNeedsLayout();
}

void PopoverView::setArrowDirection(PopoverArrowDirection direction) {
    m_arrowDirection = direction;
    setNeedsLayout();
    setNeedsDisplay();
}

void PopoverView::setArrowOffset(double offset) {
    m_arrowOffset = offset;
    setNeedsDisplay();
}

Rect PopoverView::bodyRect() const {
    const Rect all = bounds();
    switch (m_arrowDirection) {
    case PopoverArrowDirection::up:
        return Rect(all.x(), all.y() + arrowHeight, all.width(), all.height() - arrowHeight);
    case PopoverArrowDirection::down:
        return Rect(all.x(), all.y(), all.width(), all.height() - arrowHeight);
    case PopoverArrowDirection::left:
        return Rect(all.x() + arrowHeight, all.y(), all.width() - arrowHeight, all.height());
    case PopoverArrowDirection::right:
        return Rect(all.x(), all.y(), all.width() - arrowHeight, all.height());
    default:
        return all;
    }
}

double PopoverView::clampedArrowOffset() const {
    const Rect body = bodyRect();
    const bool vertical =
        m_arrowDirection == PopoverArrowDirection::up || m_arrowDirection == PopoverArrowDirection::down;
    const double half = (vertical ? body.width() : body.height()) / 2 - cornerRadius - arrowBase / 2;
    return half <= 0 ? 0.0 : std::clamp(m_arrowOffset, -half, half);
}

Point PopoverView::arrowTip() const {
    const Rect all = bounds();
    const double offset = clampedArrowOffset();
    switch (m_arrowDirection) {
    case PopoverArrowDirection::up:
        return Point(all.midX() + offset, all.minY());
    case PopoverArrowDirection::down:
        return Point(all.midX() + offset, all.maxY());
    case PopoverArrowDirection::left:
        return Point(all.minX(), all.midY() + offset);
    case PopoverArrowDirection::right:
        return Point(all.maxX(), all.midY() + offset);
    default:
        return all.center();
    }
}

void PopoverView::layoutSubviews() {
    if (m_contentView) {
        m_contentView->setFrame(bodyRect().inset(borderWidth, borderWidth));
    }
}

void PopoverView::addOutlinePath(GraphicsContext& context) const {
    const Rect body = bodyRect().inset(0.5, 0.5);
    const Point tip = arrowTip();
    const double half = arrowBase / 2;
    // The rounded body with the arrow's triangle joined to it.
    RoundedRectangle(body, cornerRadius).drawRoundedRectPath(context);
    switch (m_arrowDirection) {
    case PopoverArrowDirection::up:
        context.moveTo(Point(tip.x() - half, body.minY() + 1));
        context.addLineTo(tip);
        context.addLineTo(Point(tip.x() + half, body.minY() + 1));
        break;
    case PopoverArrowDirection::down:
        context.moveTo(Point(tip.x() + half, body.maxY() - 1));
        context.addLineTo(tip);
        context.addLineTo(Point(tip.x() - half, body.maxY() - 1));
        break;
    case PopoverArrowDirection::left:
        context.moveTo(Point(body.minX() + 1, tip.y() + half));
        context.addLineTo(tip);
        context.addLineTo(Point(body.minX() + 1, tip.y() - half));
        break;
    case PopoverArrowDirection::right:
        context.moveTo(Point(body.maxX() - 1, tip.y() - half));
        context.addLineTo(tip);
        context.addLineTo(Point(body.maxX() - 1, tip.y() + half));
        break;
    default:
        return;
    }
    context.closePath();
}

void PopoverView::drawShadow(GraphicsContext& context) {
    const Rect area = bounds().inset(-shadowReach, -shadowReach);
    const ShadowShape shape{bounds().size(), m_arrowDirection, clampedArrowOffset()};
    if (m_shadowShape != shape) {
        m_shadowImage = Image::draw(area.size(), shadowScale, [this, &area](GraphicsContext& shadowContext) {
            shadowContext.translateCTM(-area.x(), -area.y());
            shadowContext.setShadow(Size(0, shadowDrop), shadowBlur, shadowColor);
            shadowContext.setFillColor(shadowColor);
            addOutlinePath(shadowContext);
            shadowContext.fillPath();
        });
        m_shadowShape = shape;
    }
    context.drawImage(m_shadowImage, area);
}

Rect PopoverView::drawingBounds() const {
    return bounds().inset(-shadowReach, -shadowReach);
}

void PopoverView::drawRect(GraphicsContext& context, const Rect&) {
    drawShadow(context);
    // The navy gradient with a glossy band along the top, which shows in the border; it covers
    // the whole outline, the arrow too.
    context.saveGState();
    addOutlinePath(context);
    context.clip();
    const Rect all = bodyRect();
    context.drawLinearGradient({{0.0, Color::fromRgb255(104, 118, 146)},
                                {0.06, Color::fromRgb255(52, 66, 96)},
                                {0.12, Color::fromRgb255(22, 35, 64)},
                                {1.0, Color::fromRgb255(10, 20, 44)}},
                               Point(0, all.minY()), Point(0, all.minY() + std::min(all.height(), 400.0)));
    context.restoreGState();
    context.setLineWidth(1.0);
    context.setStrokeColor(Color(0, 0, 0, 0.7));
    addOutlinePath(context);
    context.strokePath();
    // A dark edge round the content so that light content stands off the border.
    if (m_contentView) {
        context.setStrokeColor(Color(0, 0, 0, 0.6));
        RoundedRectangle(m_contentView->frame().inset(-0.5, -0.5), 3.0).drawRoundedRectPath(context);
        context.strokePath();
    }
}
