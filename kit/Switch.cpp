#include "kit/Switch.h"

#include "kit/Font.h"
#include "kit/GraphicsContext.h"
#include "kit/Layer.h"
#include "kit/RoundedRectangle.h"
#include "kit/StringDrawing.h"

#include <algorithm>
#include <cmath>

namespace {

const QString knobPositionKey = QStringLiteral("knobPosition");

// The knob is as high as the switch; it travels the rest of the width.
constexpr double knobDiameter = Switch::switchHeight;
constexpr double knobTravel = Switch::switchWidth - knobDiameter;
// A finger has to move this far before a touch counts as a drag rather than a tap.
constexpr double dragThreshold = 4.0;

const Color onTop = Color::fromRgb255(18, 86, 196);
const Color onBottom = Color::fromRgb255(74, 144, 240);
const Color offTop = Color::fromRgb255(226, 226, 226);
const Color offBottom = Color::fromRgb255(252, 252, 252);
const Color borderColor = Color::fromRgb255(142, 142, 142);
const Color offTextColor = Color::fromRgb255(122, 122, 122);

void drawCentredText(GraphicsContext& context, const QString& text, const Font& font, double centerX,
                     double centerY) {
    const Size size = StringDrawing::sizeWithFont(text, font);
    context.drawText(text, Point(centerX - size.width() / 2.0, centerY - size.height() / 2.0), font);
}

} // namespace

Switch::Switch() : Switch(Rect(0, 0, switchWidth, switchHeight)) {}

Switch::Switch(const Rect& frame) : Control(Rect(frame.origin(), Size(switchWidth, switchHeight))) {
    layer().setValue(knobPositionKey, 0.0);
}

Switch::~Switch() = default;

void Switch::setOn(bool on, bool animated) {
    m_on = on;
    if (!m_tracking) {
        moveKnob(on ? 1.0 : 0.0, animated);
    }
}

double Switch::knobPosition() const {
    return layer().value(knobPositionKey);
}

double Switch::presentedKnobPosition() const {
    return layer().presentationValue(knobPositionKey);
}

void Switch::moveKnob(double position, bool animated) {
    if (animated) {
        View::animate(slideDuration, 0.0, AnimationCurve::easeInOut,
                      AnimationOption::allowUserInteraction | AnimationOption::beginFromCurrentState,
                      [&] { layer().setValue(knobPositionKey, position); });
    } else {
        performWithoutAnimation([&] { layer().setValue(knobPositionKey, position); });
    }
}

Size Switch::fittingSize(Size /*size*/) const {
    return {switchWidth, switchHeight};
}

void Switch::drawRect(GraphicsContext& context, const Rect& /*rect*/) {
    const double position = std::clamp(presentedKnobPosition(), 0.0, 1.0);
    const double knobX = position * knobTravel;
    const double radius = switchHeight / 2.0;
    const Rect track(0.5, 0.5, switchWidth - 1.0, switchHeight - 1.0);
    const Font font = Font::boldSystemFontOfSize(16);

    context.saveGState();
    // The sliding strip: the blue half up to the knob's centre, the grey half after it.
    context.saveGState();
    RoundedRectangle(track, radius).drawRoundedRectPath(context);
    context.clip();
    context.saveGState();
    context.clipToRect(Rect(0, 0, knobX + radius, switchHeight));
    context.drawLinearGradient({{0.0, onTop}, {1.0, onBottom}}, Point(0, 0), Point(0, switchHeight));
    context.setFillColor(Color(1, 1, 1));
    context.setShadow(Size(0, -1), 0.0, Color(0, 0, 0, 0.4));
    drawCentredText(context, QStringLiteral("ON"), font, knobX - knobTravel / 2.0, switchHeight / 2.0);
    context.restoreGState();
    context.saveGState();
    context.clipToRect(Rect(knobX + radius, 0, switchWidth, switchHeight));
    context.drawLinearGradient({{0.0, offTop}, {1.0, offBottom}}, Point(0, 0), Point(0, switchHeight));
    context.setFillColor(offTextColor);
    drawCentredText(context, QStringLiteral("OFF"), font, knobX + knobDiameter + knobTravel / 2.0,
                    switchHeight / 2.0);
    context.restoreGState();
    // The inner shadow along the top edge makes the strip look sunk into the switch.
    context.drawLinearGradient({{0.0, Color(0, 0, 0, 0.28)}, {0.3, Color(0, 0, 0, 0.0)}}, Point(0, 0),
                               Point(0, switchHeight));
    context.restoreGState();
    context.setStrokeColor(borderColor);
    context.setLineWidth(1.0);
    RoundedRectangle(track, radius).drawRoundedRectPath(context);
    context.strokePath();

    // The knob, darker while the finger holds it.
    const Rect knob(knobX + 0.5, 0.5, knobDiameter - 1.0, knobDiameter - 1.0);
    context.saveGState();
    context.setShadow(Size(0, 1), 2.0, Color(0, 0, 0, 0.35));
    context.setFillColor(borderColor);
    context.addEllipseInRect(knob);
    context.fillPath();
    context.restoreGState();
    context.saveGState();
    context.addEllipseInRect(knob.inset(1.0, 1.0));
    context.clip();
    const double shade = highlighted() ? 0.85 : 1.0;
    context.drawLinearGradient({{0.0, Color(0.99 * shade, 0.99 * shade, 0.99 * shade)},
                                {1.0, Color(0.8 * shade, 0.8 * shade, 0.8 * shade)}},
                               Point(0, 0), Point(0, switchHeight));
    context.restoreGState();
    if (!enabled()) {
        // Faded by a veil rather than by transparency, so that the strip does not show through
        // the knob.
        context.setFillColor(Color(1, 1, 1, 0.5));
        RoundedRectangle(Rect(0, 0, switchWidth, switchHeight), radius).drawRoundedRectPath(context);
        context.fillPath();
    }
    context.restoreGState();
}

void Switch::touchesBegan(const TouchSet& touches, const TouchEvent& event) {
    if (touches.empty() || !enabled()) {
        View::touchesBegan(touches, event);
        return;
    }
    m_tracking = true;
    m_dragged = false;
    m_touchStartX = touches.front()->locationInView(this).x();
    // A knob still sliding is caught where it is shown.
    m_knobStartPosition = std::clamp(presentedKnobPosition(), 0.0, 1.0);
    moveKnob(m_knobStartPosition, false);
    setHighlighted(true);
}

void Switch::touchesMoved(const TouchSet& touches, const TouchEvent& event) {
    if (touches.empty() || !m_tracking) {
        View::touchesMoved(touches, event);
        return;
    }
    const double dx = touches.front()->locationInView(this).x() - m_touchStartX;
    if (!m_dragged && std::abs(dx) < dragThreshold) {
        return;
    }
    m_dragged = true;
    moveKnob(std::clamp(m_knobStartPosition + dx / knobTravel, 0.0, 1.0), false);
}

void Switch::touchesEnded(const TouchSet& touches, const TouchEvent& event) {
    if (touches.empty() || !m_tracking) {
        View::touchesEnded(touches, event);
        return;
    }
    if (m_dragged) {
        finishTracking(knobPosition() >= 0.5, true);
        return;
    }
    const bool inside =
        bounds().inset(-trackingSlack, -trackingSlack).contains(touches.front()->locationInView(this));
    finishTracking(inside ? !m_on : m_on, true);
}

void Switch::touchesCancelled(const TouchSet& touches, const TouchEvent& event) {
    if (!m_tracking) {
        View::touchesCancelled(touches, event);
        return;
    }
    finishTracking(m_on, false);
}

void Switch::finishTracking(bool on, bool report) {
    m_tracking = false;
    m_dragged = false;
    setHighlighted(false);
    const bool changed = on != m_on;
    m_on = on;
    moveKnob(on ? 1.0 : 0.0, true);
    if (changed && report) {
        sendValueChanged();
    }
}

bool Switch::performKeyboardAction() {
    finishTracking(!m_on, true);
    return true;
}

AccessibilityDescription Switch::describeAccessibility() const {
    AccessibilityDescription description;
    description.role = AccessibilityRole::Switch;
    description.enabled = enabled();
    description.checked = m_on;
    description.subviewsAreElements = false;
    return description;
}
