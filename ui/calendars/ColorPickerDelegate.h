#pragma once

class Color;

// Told the colour the user built in the colour picker.
class ColorPickerDelegate {
public:
    virtual ~ColorPickerDelegate() = default;
    virtual void colorPicked(const Color& color) = 0;
};
