#pragma once

// Line widths and offsets that draw a line exactly one pixel wide on the main screen: half a
// point on a screen of scale exactly 2, one point on any other. Process-wide, set on the main
// thread before any view is drawn.
class DeviceDependentValues {
public:
    // Sets the values from the main screen's scale.
    static void initValues();
    static void initValuesForScale(double scale);

    static double singlePixelLineWidth() { return s_singlePixelLineWidth; }
    static double singlePixelLineOffset() { return s_singlePixelLineOffset; }
    static double singlePixelLineOffsetX2() { return s_singlePixelLineOffsetX2; }
    static bool deviceHasRetinaScreen() { return s_deviceHasRetinaScreen; }

private:
    static inline double s_singlePixelLineWidth = 1.0;
    static inline double s_singlePixelLineOffset = 0.5;
    static inline double s_singlePixelLineOffsetX2 = 1.0;
    static inline bool s_deviceHasRetinaScreen = false;
};
