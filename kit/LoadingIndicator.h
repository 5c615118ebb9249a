#pragma once

#include "foundation/Color.h"
#include "kit/View.h"

#include <memory>

class Timer;

// The platform's spinning activity indicator: twelve spokes around the centre, the brightest
// one stepping on twelve times a second while it animates. The steps come from the animator's
// frames, so a manual clock drives them in tests.
class LoadingIndicator : public View {
public:
    enum class Style {
        // White spokes on a 37-point square.
        WhiteLarge,
        // White spokes on a 20-point square.
        White,
        // Grey spokes on a 20-point square.
        Gray,
    };

    static constexpr int stepCount = 12;
    static constexpr double stepsPerSecond = 12.0;

    explicit LoadingIndicator(Style style = Style::White);
    ~LoadingIndicator() override;

    Style style() const { return m_style; }
    // Also resizes the view to the style's size, keeping its centre.
    void setStyle(Style style);
    // The spokes' colour; each style has its own.
    Color color() const { return m_color; }
    void setColor(const Color& color);

    // Starting shows the indicator; stopping hides it when `hidesWhenStopped` (the default).
    // Animating needs the indicator to be held by a std::shared_ptr.
    void startAnimating();
    void stopAnimating();
    bool isAnimating() const { return m_timer != nullptr; }
    bool hidesWhenStopped() const { return m_hidesWhenStopped; }
    void setHidesWhenStopped(bool hides);

    // The spoke drawn brightest, from 0 (pointing up) clockwise to 11.
    int step() const { return m_step; }

    static Size sizeForStyle(Style style);

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) final;
    Size fittingSize(Size size) const override;

private:
    void advance();

    Style m_style;
    Color m_color;
    bool m_hidesWhenStopped = true;
    int m_step = 0;
    std::shared_ptr<Timer> m_timer;
};
