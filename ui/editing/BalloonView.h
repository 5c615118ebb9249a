#pragma once

#include "kit/Image.h"
#include "kit/View.h"

#include <QString>

#include <memory>

class Label;

// The dark balloon that names the calendar being chosen: it floats in the window above the
// chosen square, its arrow pointing down at it, and fades away when told to. A name too long
// for the window is cut, and the balloon then keeps 7 points from the window's left edge.
// Make it with `create`. Main thread only.
class BalloonView : public View {
public:
    // Extra width around the text.
    static constexpr double horizontalPadding = 25.0;
    static constexpr double height = 53.0;
    static constexpr double labelHeight = 36.0;
    // The least distance from the window's edges.
    static constexpr double windowMargin = 7.0;
    static constexpr double fadeDuration = 0.2;

    static std::shared_ptr<BalloonView> create();
    BalloonView();
    ~BalloonView() override;

    const QString& title() const { return m_title; }
    // Sizes the balloon to the title.
    void setTitle(const QString& title);
    // Shows the balloon, at full opacity, over `view`, which must be in a window.
    void positionRelativeToView(const View& view);
    // Fades out and leaves the window, unless it is positioned again meanwhile.
    void disappear();
    void disappearAnimated(bool animated);
    // How far the arrow sits right of its usual place, to keep pointing at the view when the
    // balloon had to move left.
    double arrowCorrection() const { return m_arrowCorrection; }
    const std::shared_ptr<Label>& label() const { return m_label; }

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override;

private:
    void finishDisappearing();
    void redraw();

    QString m_title;
    std::shared_ptr<Label> m_label;
    Image m_balloon;
    Image m_balloonArrow;
    // The balloon with its arrow, drawn anew after a change of size or arrow.
    Image m_composedBalloon;
    double m_arrowCorrection = 0.0;
    bool m_cancelDisappear = false;
    bool m_disappearing = false;
};
