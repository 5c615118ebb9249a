#pragma once

#include "kit/Control.h"
#include "kit/Image.h"

#include <map>

// The platform's horizontal slider: a track with the part left of the thumb in the minimum track
// image and the part right of it in the maximum track image, and a thumb that a finger moves.
// Each image may be set per state (a state without its own shows the normal one); without
// images the slider draws its own look: a blue minimum track, a white maximum track and a white
// round thumb.
//
// Each track image is laid over the whole track and shows only on its side of the thumb's
// centre, so one image as wide as the track, set as both, shows unsqueezed whatever the value.
//
// A touch has to begin on the thumb; dragging then moves the value by the horizontal movement,
// reported during the drag when `continuous` is set, else once on release.
class Slider : public Control {
public:
    static constexpr double defaultHeight = 23.0;
    // How far around the thumb a touch still takes it.
    static constexpr double thumbTouchSlack = 10.0;

    Slider();
    explicit Slider(const Rect& frame);
    ~Slider() override;

    double value() const { return m_value; }
    // Clamped to the range; animated, the thumb slides there over 0.2 seconds.
    void setValue(double value, bool animated = false);
    double minimumValue() const { return m_minimumValue; }
    // Moves the maximum (and the value) along when needed to keep the range in order.
    void setMinimumValue(double minimumValue);
    double maximumValue() const { return m_maximumValue; }
    void setMaximumValue(double maximumValue);
    bool continuous() const { return m_continuous; }
    void setContinuous(bool continuous) { m_continuous = continuous; }

    void setMinimumTrackImage(const Image& image, ControlState state = ControlState::Normal);
    Image minimumTrackImageForState(ControlState state) const;
    void setMaximumTrackImage(const Image& image, ControlState state = ControlState::Normal);
    Image maximumTrackImageForState(ControlState state) const;
    void setThumbImage(const Image& image, ControlState state = ControlState::Normal);
    Image thumbImageForState(ControlState state) const;
    Image currentMinimumTrackImage() const { return minimumTrackImageForState(state()); }
    Image currentMaximumTrackImage() const { return maximumTrackImageForState(state()); }
    Image currentThumbImage() const { return thumbImageForState(state()); }

    // Geometry in bounds coordinates, as the slider lays itself out.
    Rect trackRectForBounds(const Rect& bounds) const;
    Rect thumbRectForBounds(const Rect& bounds, const Rect& trackRect, double value) const;
    // The value the thumb shows now (it differs from `value` while sliding).
    double presentedValue() const;
    bool isTracking() const { return m_tracking; }

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) final;
    Size fittingSize(Size size) const override;
    void touchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    void touchesMoved(const TouchSet& touches, const TouchEvent& event) override;
    void touchesEnded(const TouchSet& touches, const TouchEvent& event) override;
    void touchesCancelled(const TouchSet& touches, const TouchEvent& event) override;
    // Runs after every change of the value, by the user or by a setter, before any report.
    virtual void valueDidChange();

private:
    static Image imageForState(const std::map<ControlState, Image>& images, ControlState state);
    Size thumbSize() const;
    // Stores a clamped value and shows it; true when it changed.
    bool applyValue(double value, bool animated);

    double m_value = 0.0;
    double m_minimumValue = 0.0;
    double m_maximumValue = 1.0;
    bool m_continuous = true;
    std::map<ControlState, Image> m_minimumTrackImages;
    std::map<ControlState, Image> m_maximumTrackImages;
    std::map<ControlState, Image> m_thumbImages;
    bool m_tracking = false;
    double m_touchStartX = 0.0;
    double m_valueAtTouchStart = 0.0;
};
