#include "kit/BarButtonView.h"

#include "foundation/Localization.h"
#include "kit/Font.h"
#include "kit/GraphicsContext.h"
#include "kit/RoundedRectangle.h"
#include "kit/StringDrawing.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double cornerRadius = 5.0;
// How far the back button's point reaches left of its body.
constexpr double arrowDepth = 10.0;
constexpr double titlePadding = 10.0;
constexpr double minimumWidth = 34.0;

Font titleFont() {
    return Font::boldSystemFontOfSize(12.0);
}

Color mixed(const Color& color, const Color& other, double amount) {
    return Color(color.red() + (other.red() - color.red()) * amount,
                 color.green() + (other.green() - color.green()) * amount,
                 color.blue() + (other.blue() - color.blue()) * amount, 1.0);
}

} // namespace

BarButtonView::BarButtonView() : Control(Rect(0, 0, 50, height)) {
    setBackgroundColor(std::nullopt);
}

Color BarButtonView::defaultTintColor() {
    return Color::fromRgb255(109, 132, 162);
}

void BarButtonView::setKind(Kind kind) {
    if (m_kind != kind) {
        m_kind = kind;
        setNeedsDisplay();
    }
}

void BarButtonView::setTitle(const QString& title) {
    if (m_title != title) {
        m_title = title;
        setNeedsDisplay();
    }
}

void BarButtonView::setImage(std::optional<Image> image) {
    m_image = std::move(image);
    setNeedsDisplay();
}

void BarButtonView::setShowsAddSign(bool shows) {
    if (m_showsAddSign != shows) {
        m_showsAddSign = shows;
        setNeedsDisplay();
    }
}

void BarButtonView::stateDidChange() {
    setUserInteractionEnabled(enabled());
    if (!enabled()) {
        m_tracking = false;
        setHighlighted(false);
    }
}

void BarButtonView::setTintColor(const Color& color) {
    m_tintColor = color;
    setNeedsDisplay();
}

Size BarButtonView::fittingSize(Size) const {
    double contentWidth = 0.0;
    if (m_showsAddSign) {
        contentWidth = 14.0;
    } else if (m_image) {
        contentWidth = m_image->size().width();
    } else {
        contentWidth = StringDrawing::sizeWithFont(m_title, titleFont()).width();
    }
    double width = std::max(std::ceil(contentWidth) + 2.0 * titlePadding, minimumWidth);
    if (m_kind == Kind::Back) {
        width += arrowDepth - 4.0;
    }
    return Size(width, bounds().height());
}

void BarButtonView::addBezelPath(GraphicsContext& context, const Rect& rect) const {
    if (m_kind != Kind::Back) {
        RoundedRectangle(rect, cornerRadius).drawRoundedRectPath(context);
        return;
    }
    // A rounded body on the right and a point on the left, its two edges rounded into the body.
    const double midY = rect.midY();
    const double left = rect.minX();
    const double bodyLeft = left + arrowDepth;
    context.beginPath();
    context.moveTo(Point(left, midY));
    context.addArcToPoint(Point(bodyLeft, rect.minY()), Point(rect.maxX(), rect.minY()), 2.5);
    context.addArcToPoint(Point(rect.maxX(), rect.minY()), Point(rect.maxX(), rect.maxY()), cornerRadius);
    context.addArcToPoint(Point(rect.maxX(), rect.maxY()), Point(bodyLeft, rect.maxY()), cornerRadius);
    context.addArcToPoint(Point(bodyLeft, rect.maxY()), Point(left, midY), 2.5);
    context.closePath();
}

void BarButtonView::drawRect(GraphicsContext& context, const Rect&) {
    const Rect area = bounds().inset(0.5, 0.5);
    Color base = m_kind == Kind::Done ? Color::fromRgb255(41, 98, 204) : m_tintColor.scaledBy(0.86);
    if (highlighted()) {
        base = base.scaledBy(0.72);
    }
    const Color top = mixed(base, Color(1, 1, 1), 0.38);
    const Color middle = mixed(base, Color(1, 1, 1), 0.12);

    // The light edge below the bezel, as if cut into the bar.
    context.saveGState();
    context.setFillColor(Color(1, 1, 1, 0.28));
    addBezelPath(context, area.offset(0, 1));
    context.fillPath();
    context.restoreGState();

    context.saveGState();
    addBezelPath(context, area);
    context.clip();
    context.drawLinearGradient({{0.0, top}, {0.5, middle}, {0.5, base}, {1.0, base.scaledBy(0.96)}},
                               Point(0, area.minY()), Point(0, area.maxY()));
    context.restoreGState();

    context.saveGState();
    context.setLineWidth(1.0);
    context.setStrokeColor(Color(0, 0, 0, 0.55));
    addBezelPath(context, area);
    context.strokePath();
    context.restoreGState();

    Rect content = bounds();
    if (m_kind == Kind::Back) {
        content = Rect(content.x() + arrowDepth - 4.0, content.y(), content.width() - arrowDepth + 4.0,
                       content.height());
    }
    context.saveGState();
    if (!enabled()) {
        context.setAlpha(0.45);
    }
    context.setShadow(Size(0, -1), 0.0, Color(0, 0, 0, 0.5));
    context.setFillColor(Color(1, 1, 1));
    if (m_showsAddSign) {
        const Point c = content.center();
        context.fillRect(Rect(c.x() - 7.0, c.y() - 1.5, 14.0, 3.0));
        context.fillRect(Rect(c.x() - 1.5, c.y() - 7.0, 3.0, 14.0));
    } else if (m_image) {
        const Size size = m_image->size();
        context.drawImage(*m_image, Point(std::round(content.midX() - size.width() / 2.0),
                                          std::round(content.midY() - size.height() / 2.0)));
    } else {
        const Font font = titleFont();
        const double width = content.width() - 2.0 * titlePadding + 4.0;
        const Size size = StringDrawing::sizeWithFont(m_title, font, width, LineBreakMode::TailTruncation);
        context.drawText(m_title,
                         Point(std::round(content.midX() - size.width() / 2.0),
                               std::round(content.midY() - size.height() / 2.0)),
                         width, font, LineBreakMode::TailTruncation);
    }
    context.restoreGState();
}

bool BarButtonView::isWithinSlack(Point point) const {
    return bounds().inset(-trackingSlack, -trackingSlack).contains(point);
}

void BarButtonView::touchesBegan(const TouchSet& touches, const TouchEvent& event) {
    if (touches.empty() || !enabled()) {
        View::touchesBegan(touches, event);
        return;
    }
    m_tracking = true;
    setHighlighted(true);
}

void BarButtonView::touchesMoved(const TouchSet& touches, const TouchEvent& event) {
    if (touches.empty() || !m_tracking) {
        View::touchesMoved(touches, event);
        return;
    }
    setHighlighted(isWithinSlack(touches.front()->locationInView(this)));
}

void BarButtonView::touchesEnded(const TouchSet& touches, const TouchEvent& event) {
    if (touches.empty() || !m_tracking) {
        View::touchesEnded(touches, event);
        return;
    }
    m_tracking = false;
    setHighlighted(false);
    if (isWithinSlack(touches.front()->locationInView(this)) && onTap) {
        onTap();
    }
}

void BarButtonView::touchesCancelled(const TouchSet& touches, const TouchEvent& event) {
    if (!m_tracking) {
        View::touchesCancelled(touches, event);
        return;
    }
    m_tracking = false;
    setHighlighted(false);
}

AccessibilityDescription BarButtonView::describeAccessibility() const {
    AccessibilityDescription description;
    description.role = AccessibilityRole::Button;
    description.label = m_showsAddSign ? localizedString(QStringLiteral("Add")) : m_title;
    if (description.label.isEmpty() && m_image) {
        description.label = m_image->name();
    }
    description.enabled = enabled();
    return description;
}
