#include "kit/SegmentedControl.h"

#include "kit/Font.h"
#include "kit/GraphicsContext.h"
#include "kit/RoundedRectangle.h"
#include "kit/StringDrawing.h"

#include <algorithm>

namespace {

constexpr double borderedRadius = 8.0;
constexpr double barRadius = 5.0;

const Color borderedTop = Color::fromRgb255(254, 254, 254);
const Color borderedBottom = Color::fromRgb255(216, 216, 216);
const Color borderedSelectedTop = Color::fromRgb255(42, 114, 216);
const Color borderedSelectedBottom = Color::fromRgb255(20, 74, 168);
const Color borderedBorder = Color::fromRgb255(140, 140, 140);
const Color borderedTitle = Color::fromRgb255(76, 86, 108);

} // namespace

SegmentedControl::SegmentedControl() : SegmentedControl(QStringList()) {}

SegmentedControl::SegmentedControl(const QStringList& items) : Control(Rect(0, 0, 0, borderedHeight)) {
    for (const QString& item : items) {
        m_segments.push_back(Segment{item, Image(), true});
    }
    setFrameWidth(std::max(1, numberOfSegments()) * 80.0);
}

SegmentedControl::~SegmentedControl() = default;

void SegmentedControl::setSegmentedControlStyle(Style style) {
    m_style = style;
    setNeedsDisplay();
}

void SegmentedControl::setTintColor(const Color& color) {
    m_tintColor = color;
    setNeedsDisplay();
}

void SegmentedControl::insertSegmentWithTitle(const QString& title, int segment) {
    const auto index = static_cast<std::size_t>(std::clamp(segment, 0, numberOfSegments()));
    m_segments.insert(m_segments.begin() + static_cast<std::ptrdiff_t>(index), Segment{title, Image(), true});
    if (m_selectedSegmentIndex >= static_cast<int>(index)) {
        ++m_selectedSegmentIndex;
    }
    setNeedsDisplay();
}

void SegmentedControl::insertSegmentWithImage(const Image& image, int segment) {
    insertSegmentWithTitle(QString(), segment);
    setImage(image, std::clamp(segment, 0, numberOfSegments() - 1));
}

void SegmentedControl::removeSegment(int segment) {
    if (!isValidSegment(segment)) {
        return;
    }
    m_segments.erase(m_segments.begin() + segment);
    if (m_selectedSegmentIndex == segment) {
        m_selectedSegmentIndex = noSegment;
    } else if (m_selectedSegmentIndex > segment) {
        --m_selectedSegmentIndex;
    }
    m_trackedSegment = noSegment;
    setNeedsDisplay();
}

void SegmentedControl::removeAllSegments() {
    m_segments.clear();
    m_selectedSegmentIndex = noSegment;
    m_trackedSegment = noSegment;
    setNeedsDisplay();
}

void SegmentedControl::setTitle(const QString& title, int segment) {
    if (isValidSegment(segment)) {
        m_segments[static_cast<std::size_t>(segment)].title = title;
        m_segments[static_cast<std::size_t>(segment)].image = Image();
        setNeedsDisplay();
    }
}

QString SegmentedControl::titleForSegmentAtIndex(int segment) const {
    return isValidSegment(segment) ? m_segments[static_cast<std::size_t>(segment)].title : QString();
}

void SegmentedControl::setImage(const Image& image, int segment) {
    if (isValidSegment(segment)) {
        m_segments[static_cast<std::size_t>(segment)].image = image;
        m_segments[static_cast<std::size_t>(segment)].title.clear();
        setNeedsDisplay();
    }
}

Image SegmentedControl::imageForSegmentAtIndex(int segment) const {
    return isValidSegment(segment) ? m_segments[static_cast<std::size_t>(segment)].image : Image();
}

void SegmentedControl::setEnabled(bool enabled, int segment) {
    if (isValidSegment(segment)) {
        m_segments[static_cast<std::size_t>(segment)].enabled = enabled;
        setNeedsDisplay();
    }
}

bool SegmentedControl::isEnabledForSegmentAtIndex(int segment) const {
    return isValidSegment(segment) && m_segments[static_cast<std::size_t>(segment)].enabled;
}

void SegmentedControl::setSelectedSegmentIndex(int index) {
    m_selectedSegmentIndex = isValidSegment(index) ? index : noSegment;
    setNeedsDisplay();
}

void SegmentedControl::setMomentary(bool momentary) {
    m_momentary = momentary;
    setNeedsDisplay();
}

Rect SegmentedControl::rectForSegment(int segment) const {
    if (!isValidSegment(segment)) {
        return {};
    }
    const double width = bounds().width() / numberOfSegments();
    return {bounds().x() + width * segment, bounds().y(), width, bounds().height()};
}

int SegmentedControl::segmentAtPoint(Point point) const {
    if (m_segments.empty() || !bounds().contains(point)) {
        return noSegment;
    }
    const double width = bounds().width() / numberOfSegments();
    return std::clamp(static_cast<int>((point.x() - bounds().x()) / width), 0, numberOfSegments() - 1);
}

Size SegmentedControl::fittingSize(Size /*size*/) const {
    const Font font = Font::boldSystemFontOfSize(m_style == Style::Bar ? 12 : 13);
    double widest = 0.0;
    for (const Segment& segment : m_segments) {
        widest =
            std::max(widest, segment.image.isNull() ? StringDrawing::sizeWithFont(segment.title, font).width()
                                                    : segment.image.size().width());
    }
    return {(widest + 20.0) * std::max(1, numberOfSegments()),
            m_style == Style::Bar ? barHeight : borderedHeight};
}

void SegmentedControl::drawSegment(GraphicsContext& context, int segment, bool selected) const {
    const Segment& item = m_segments[static_cast<std::size_t>(segment)];
    const Rect area = rectForSegment(segment);
    const bool bar = m_style == Style::Bar;
    Color top = bar ? m_tintColor.scaledBy(1.25) : borderedTop;
    Color bottom = bar ? m_tintColor.scaledBy(0.9) : borderedBottom;
    if (selected) {
        top = bar ? m_tintColor.scaledBy(0.7) : borderedSelectedTop;
        bottom = bar ? m_tintColor.scaledBy(0.85) : borderedSelectedBottom;
    }
    context.saveGState();
    context.clipToRect(area);
    context.drawLinearGradient({{0.0, top}, {1.0, bottom}}, area.origin(), Point(area.x(), area.maxY()));
    if (bar) {
        // The gloss over the upper half of the bar style.
        context.setFillColor(Color(1, 1, 1, selected ? 0.08 : 0.18));
        context.fillRect(Rect(area.x(), area.y(), area.width(), area.height() / 2.0));
    }
    context.restoreGState();

    context.saveGState();
    if (!item.enabled) {
        context.setAlpha(0.4);
    }
    if (!item.image.isNull()) {
        const Size size = item.image.size();
        context.drawImage(item.image,
                          Point(area.midX() - size.width() / 2.0, area.midY() - size.height() / 2.0));
    } else {
        const Font font = Font::boldSystemFontOfSize(bar ? 12 : 13);
        const Size size =
            StringDrawing::sizeWithFont(item.title, font, area.width() - 8.0, LineBreakMode::TailTruncation);
        const Point origin(area.midX() - size.width() / 2.0, area.midY() - size.height() / 2.0);
        const bool lightText = bar || selected;
        if (lightText) {
            context.setShadow(Size(0, -1), 0.0, Color(0, 0, 0, 0.5));
            context.setFillColor(Color(1, 1, 1));
        } else {
            context.setShadow(Size(0, 1), 0.0, Color(1, 1, 1, 0.9));
            context.setFillColor(borderedTitle);
        }
        context.drawText(item.title, origin, area.width() - 8.0, font, LineBreakMode::TailTruncation);
    }
    context.restoreGState();
}

void SegmentedControl::drawRect(GraphicsContext& context, const Rect& /*rect*/) {
    const bool bar = m_style == Style::Bar;
    const double radius = bar ? barRadius : borderedRadius;
    const Rect outline = bounds().inset(0.5, 0.5);
    context.saveGState();
    if (!enabled()) {
        context.setAlpha(0.5);
    }
    context.saveGState();
    RoundedRectangle(outline, radius).drawRoundedRectPath(context);
    context.clip();
    for (int segment = 0; segment < numberOfSegments(); ++segment) {
        const bool shownSelected =
            segment == highlightedSegment() || (!m_momentary && segment == m_selectedSegmentIndex);
        drawSegment(context, segment, shownSelected);
    }
    const Color lineColor = bar ? m_tintColor.scaledBy(0.55) : borderedBorder;
    context.setFillColor(lineColor);
    for (int segment = 1; segment < numberOfSegments(); ++segment) {
        const Rect area = rectForSegment(segment);
        context.fillRect(Rect(area.x() - 0.5, area.y(), 1.0, area.height()));
    }
    context.restoreGState();
    context.setStrokeColor(lineColor);
    context.setLineWidth(1.0);
    RoundedRectangle(outline, radius).drawRoundedRectPath(context);
    context.strokePath();
    context.restoreGState();
}

void SegmentedControl::touchesBegan(const TouchSet& touches, const TouchEvent& event) {
    const int segment = touches.empty() ? noSegment : segmentAtPoint(touches.front()->locationInView(this));
    if (!enabled() || !isEnabledForSegmentAtIndex(segment)) {
        View::touchesBegan(touches, event);
        return;
    }
    m_trackedSegment = segment;
    m_touchInside = true;
    setHighlighted(true);
}

void SegmentedControl::touchesMoved(const TouchSet& touches, const TouchEvent& event) {
    if (touches.empty() || m_trackedSegment == noSegment) {
        View::touchesMoved(touches, event);
        return;
    }
    const bool inside = segmentAtPoint(touches.front()->locationInView(this)) == m_trackedSegment;
    if (inside != m_touchInside) {
        m_touchInside = inside;
        setNeedsDisplay();
    }
}

void SegmentedControl::touchesEnded(const TouchSet& touches, const TouchEvent& event) {
    if (touches.empty() || m_trackedSegment == noSegment) {
        View::touchesEnded(touches, event);
        return;
    }
    const int segment = m_trackedSegment;
    const bool inside = segmentAtPoint(touches.front()->locationInView(this)) == segment;
    m_trackedSegment = noSegment;
    m_touchInside = false;
    setHighlighted(false);
    if (inside && (m_momentary || segment != m_selectedSegmentIndex)) {
        m_selectedSegmentIndex = segment;
        setNeedsDisplay();
        sendValueChanged();
    }
}

void SegmentedControl::touchesCancelled(const TouchSet& touches, const TouchEvent& event) {
    if (m_trackedSegment == noSegment) {
        View::touchesCancelled(touches, event);
        return;
    }
    m_trackedSegment = noSegment;
    m_touchInside = false;
    setHighlighted(false);
}
