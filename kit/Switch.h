#pragma once

#include "kit/Control.h"

// The platform's on/off switch: a 94 × 27 pill whose blue "ON" half and grey "OFF" half slide
// under a round knob. A tap toggles it; a drag carries the knob along and, on release, the
// switch takes the side the knob is nearer to. Either way the knob slides home over 0.2
// seconds and a change of the value is reported through `onValueChanged`.
class Switch : public Control {
public:
    static constexpr double switchWidth = 94.0;
    static constexpr double switchHeight = 27.0;
    static constexpr double slideDuration = 0.2;
    // How far a finger may stray from the switch and still toggle it on release.
    static constexpr double trackingSlack = 70.0;

    Switch();
    // Keeps the frame's origin; the size is always the switch's own.
    explicit Switch(const Rect& frame);
    ~Switch() override;

    bool on() const { return m_on; }
    void setOn(bool on, bool animated = false);

    // Where the knob stands: 0 at the off end, 1 at the on end (the model value, which an
    // animation heads for).
    double knobPosition() const;
    // The knob's position as drawn now.
    double presentedKnobPosition() const;
    bool isTracking() const { return m_tracking; }

protected:
    // Tab reaches the switch; Space or Return flip it as a tap does.
    bool acceptsKeyboardFocus() const override { return true; }
    bool performKeyboardAction() override;
    AccessibilityDescription describeAccessibility() const override;
    void drawRect(GraphicsContext& context, const Rect& rect) final;
    Size fittingSize(Size size) const override;
    void touchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    void touchesMoved(const TouchSet& touches, const TouchEvent& event) override;
    void touchesEnded(const TouchSet& touches, const TouchEvent& event) override;
    void touchesCancelled(const TouchSet& touches, const TouchEvent& event) override;

private:
    void moveKnob(double position, bool animated);
    // Ends the tracking with the switch on the given side.
    void finishTracking(bool on, bool report);

    bool m_on = false;
    bool m_tracking = false;
    bool m_dragged = false;
    double m_touchStartX = 0.0;
    double m_knobStartPosition = 0.0;
};
