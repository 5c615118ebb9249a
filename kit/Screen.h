#pragma once

#include "kit/Rect.h"
#include "kit/Size.h"

// The device screen this program shows: a phone of 320 × 480 points or, with the tablet
// layouts, a tablet of 768 × 1024 points, at a scale of pixels per point. Process-wide; set
// once at start on the main thread, before any view is drawn.
class Screen {
public:
    enum class Idiom { Phone, Tablet };

    static Screen& main();

    double scale() const { return m_scale; }
    // Scales other than 1, 2 and 3 are refused (the scale stays as it was); returns whether the
    // scale was taken.
    bool setScale(double scale);
    Idiom idiom() const { return m_idiom; }
    void setIdiom(Idiom idiom) { m_idiom = idiom; }
    bool isTablet() const { return m_idiom == Idiom::Tablet; }

    // The screen in portrait, as the platform reports it whatever the orientation.
    Rect bounds() const;
    // The screen turned to the orientation: width and height swap in landscape.
    Size sizeForLandscape(bool landscape) const;

    static constexpr double statusBarHeight = 20.0;

private:
    double m_scale = 2.0;
    Idiom m_idiom = Idiom::Phone;
};
