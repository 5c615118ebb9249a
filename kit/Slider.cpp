#include "kit/Slider.h"

#include "kit/GraphicsContext.h"
#include "kit/Layer.h"
#include "kit/RoundedRectangle.h"

#include <algorithm>

namespace {

const QString presentedValueKey = QStringLiteral("sliderValue");
constexpr double slideDuration = 0.2;
constexpr double defaultTrackHeight = 9.0;
constexpr double defaultThumbDiameter = 23.0;
// The track stops short of the bounds so that its rounded ends hide under the thumb.
constexpr double trackInset = 2.0;

const Color minimumTrackTop = Color::fromRgb255(38, 94, 198);
const Color minimumTrackBottom = Color::fromRgb255(110, 168, 242);
const Color maximumTrackTop = Color::fromRgb255(200, 200, 200);
const Color maximumTrackBottom = Color::fromRgb255(255, 255, 255);
const Color trackBorder = Color::fromRgb255(96, 96, 96);

void drawDefaultTrack(GraphicsContext& context, const Rect& track, const Color& top, const Color& bottom) {
    const double radius = track.height() / 2.0;
    context.saveGState();
    RoundedRectangle(track, radius).drawRoundedRectPath(context);
    context.clip();
    context.drawLinearGradient({{0.0, top}, {1.0, bottom}}, track.origin(), Point(track.x(), track.maxY()));
    context.restoreGState();
    context.setStrokeColor(trackBorder);
    context.setLineWidth(1.0);
    RoundedRectangle(track.inset(0.5, 0.5), radius - 0.5).drawRoundedRectPath(context);
    context.strokePath();
}

void drawDefaultThumb(GraphicsContext& context, const Rect& thumb, bool highlighted) {
    const Rect circle = thumb.inset(1.0, 1.0);
    context.saveGState();
    context.setShadow(Size(0, 1), 2.0, Color(0, 0, 0, 0.45));
    context.setFillColor(Color::fromRgb255(150, 150, 150));
    context.addEllipseInRect(circle);
    context.fillPath();
    context.restoreGState();
    context.saveGState();
    context.addEllipseInRect(circle.inset(0.5, 0.5));
    context.clip();
    const double shade = highlighted ? 0.85 : 1.0;
    context.drawLinearGradient({{0.0, Color(0.99 * shade, 0.99 * shade, 0.99 * shade)},
                                {1.0, Color(0.82 * shade, 0.82 * shade, 0.82 * shade)}},
                               circle.origin(), Point(circle.x(), circle.maxY()));
    context.restoreGState();
}

} // namespace

Slider::Slider() : Slider(Rect(0, 0, 118, defaultHeight)) {}

Slider::Slider(const Rect& frame) : Control(frame) {
    layer().setValue(presentedValueKey, 0.0);
}

Slider::~Slider() = default;

void Slider::setValue(double value, bool animated) {
    applyValue(value, animated);
}

bool Slider::applyValue(double value, bool animated) {
    const double clamped = std::clamp(value, m_minimumValue, m_maximumValue);
    const bool changed = clamped != m_value;
    m_value = clamped;
    if (animated) {
        View::animate(slideDuration, 0.0, AnimationCurve::easeInOut,
                      AnimationOption::allowUserInteraction | AnimationOption::beginFromCurrentState,
                      [&] { layer().setValue(presentedValueKey, clamped); });
    } else {
        performWithoutAnimation([&] { layer().setValue(presentedValueKey, clamped); });
    }
    if (changed) {
        valueDidChange();
    }
    return changed;
}

void Slider::setMinimumValue(double minimumValue) {
    m_minimumValue = minimumValue;
    m_maximumValue = std::max(m_maximumValue, minimumValue);
    applyValue(m_value, false);
}

void Slider::setMaximumValue(double maximumValue) {
    m_maximumValue = maximumValue;
    m_minimumValue = std::min(m_minimumValue, maximumValue);
    applyValue(m_value, false);
}

double Slider::presentedValue() const {
    return layer().presentationValue(presentedValueKey);
}

void Slider::valueDidChange() {}

Image Slider::imageForState(const std::map<ControlState, Image>& images, ControlState state) {
    auto it = images.find(state);
    if (it == images.end()) {
        it = images.find(ControlState::Normal);
    }
    return it == images.end() ? Image() : it->second;
}

void Slider::setMinimumTrackImage(const Image& image, ControlState state) {
    m_minimumTrackImages[state] = image;
    setNeedsDisplay();
}

Image Slider::minimumTrackImageForState(ControlState state) const {
    return imageForState(m_minimumTrackImages, state);
}

void Slider::setMaximumTrackImage(const Image& image, ControlState state) {
    m_maximumTrackImages[state] = image;
    setNeedsDisplay();
}

Image Slider::maximumTrackImageForState(ControlState state) const {
    return imageForState(m_maximumTrackImages, state);
}

void Slider::setThumbImage(const Image& image, ControlState state) {
    m_thumbImages[state] = image;
    setNeedsDisplay();
}

Image Slider::thumbImageForState(ControlState state) const {
    return imageForState(m_thumbImages, state);
}

Size Slider::thumbSize() const {
    const Image thumb = currentThumbImage();
    return thumb.isNull() ? Size(defaultThumbDiameter, defaultThumbDiameter) : thumb.size();
}

Rect Slider::trackRectForBounds(const Rect& bounds) const {
    const Image minimumTrack = currentMinimumTrackImage();
    const Image maximumTrack = currentMaximumTrackImage();
    double height = defaultTrackHeight;
    if (!minimumTrack.isNull() || !maximumTrack.isNull()) {
        height = std::max(minimumTrack.isNull() ? 0.0 : minimumTrack.size().height(),
                          maximumTrack.isNull() ? 0.0 : maximumTrack.size().height());
    }
    return {bounds.x() + trackInset, bounds.y() + (bounds.height() - height) / 2.0,
            std::max(0.0, bounds.width() - 2.0 * trackInset), height};
}

Rect Slider::thumbRectForBounds(const Rect& bounds, const Rect& trackRect, double value) const {
    const Size size = thumbSize();
    const double range = m_maximumValue - m_minimumValue;
    const double fraction = range > 0.0 ? std::clamp((value - m_minimumValue) / range, 0.0, 1.0) : 0.0;
    // The thumb's edges meet the ends of the bounds at the ends of the range.
    const double left = trackRect.x() - trackInset;
    const double travel = std::max(0.0, trackRect.width() + 2.0 * trackInset - size.width());
    return {left + travel * fraction, bounds.y() + (bounds.height() - size.height()) / 2.0, size.width(),
            size.height()};
}

Size Slider::fittingSize(Size size) const {
    return {size.width() > 0.0 ? size.width() : bounds().width(), defaultHeight};
}

void Slider::drawRect(GraphicsContext& context, const Rect& /*rect*/) {
    const Rect track = trackRectForBounds(bounds());
    const Rect thumb = thumbRectForBounds(bounds(), track, presentedValue());
    const double split = thumb.midX();
    context.saveGState();
    if (!enabled()) {
        context.setAlpha(0.5);
    }
    const Image minimumTrack = currentMinimumTrackImage();
    context.saveGState();
    context.clipToRect(Rect(track.x(), bounds().y(), std::max(0.0, split - track.x()), bounds().height()));
    if (minimumTrack.isNull()) {
        drawDefaultTrack(context, track, minimumTrackTop, minimumTrackBottom);
    } else {
        context.drawImage(minimumTrack, track);
    }
    context.restoreGState();
    const Image maximumTrack = currentMaximumTrackImage();
    context.saveGState();
    context.clipToRect(Rect(split, bounds().y(), std::max(0.0, track.maxX() - split), bounds().height()));
    if (maximumTrack.isNull()) {
        drawDefaultTrack(context, track, maximumTrackTop, maximumTrackBottom);
    } else {
        context.drawImage(maximumTrack, track);
    }
    context.restoreGState();
    const Image thumbImage = currentThumbImage();
    if (thumbImage.isNull()) {
        drawDefaultThumb(context, thumb, highlighted());
    } else {
        context.drawImage(thumbImage, thumb);
    }
    context.restoreGState();
}

void Slider::touchesBegan(const TouchSet& touches, const TouchEvent& event) {
    if (touches.empty() || !enabled()) {
        View::touchesBegan(touches, event);
        return;
    }
    const Point point = touches.front()->locationInView(this);
    const Rect thumb = thumbRectForBounds(bounds(), trackRectForBounds(bounds()), m_value);
    if (!thumb.inset(-thumbTouchSlack, -thumbTouchSlack).contains(point)) {
        View::touchesBegan(touches, event);
        return;
    }
    m_tracking = true;
    m_touchStartX = point.x();
    m_valueAtTouchStart = m_value;
    applyValue(m_value, false);
    setHighlighted(true);
}

void Slider::touchesMoved(const TouchSet& touches, const TouchEvent& event) {
    if (touches.empty() || !m_tracking) {
        View::touchesMoved(touches, event);
        return;
    }
    const Rect track = trackRectForBounds(bounds());
    const double travel = std::max(1.0, track.width() + 2.0 * trackInset - thumbSize().width());
    const double dx = touches.front()->locationInView(this).x() - m_touchStartX;
    const double target = m_valueAtTouchStart + dx / travel * (m_maximumValue - m_minimumValue);
    if (applyValue(target, false) && m_continuous) {
        sendValueChanged();
    }
}

void Slider::touchesEnded(const TouchSet& touches, const TouchEvent& event) {
    if (!m_tracking) {
        View::touchesEnded(touches, event);
        return;
    }
    m_tracking = false;
    setHighlighted(false);
    if (!m_continuous && m_value != m_valueAtTouchStart) {
        sendValueChanged();
    }
}

void Slider::touchesCancelled(const TouchSet& touches, const TouchEvent& event) {
    if (!m_tracking) {
        View::touchesCancelled(touches, event);
        return;
    }
    m_tracking = false;
    setHighlighted(false);
    if (!m_continuous && m_value != m_valueAtTouchStart) {
        sendValueChanged();
    }
}
