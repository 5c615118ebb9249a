#pragma once

#include "foundation/Color.h"
#include "ui/common/HsbColor.h"

// Colours a colour slider's track: the colour each slider value would give, the other two
// components held at `hsbColor`.
class ColorRenderer {
public:
    virtual ~ColorRenderer() = default;

    // The colour with this renderer's component set to `value` (0 to 1).
    virtual Color colorForValue(float value) const = 0;
    // True when a gradient between the two ends draws the track exactly.
    virtual bool isLinearGradient() const = 0;

    HsbColor hsbColor;
};

class HueColorRenderer final : public ColorRenderer {
public:
    Color colorForValue(float value) const override;
    bool isLinearGradient() const override { return false; }
};

class SaturationColorRenderer final : public ColorRenderer {
public:
    Color colorForValue(float value) const override;
    bool isLinearGradient() const override { return true; }
};

class BrightnessColorRenderer final : public ColorRenderer {
public:
    Color colorForValue(float value) const override;
    bool isLinearGradient() const override { return true; }
};
