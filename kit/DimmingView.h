#pragma once

#include "kit/View.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

// The layer laid over a window behind an alert, a sheet or a popover: it takes every touch that
// reaches it, so that the screen behind does not react, and draws the dimming of its style.
class DimmingView : public View {
public:
    enum class Style {
        // Nothing drawn: the screen behind only stops taking touches.
        Clear,
        // An even veil of black.
        Uniform,
        // Lighter in the middle and darker towards the edges, as behind an alert.
        Radial,
    };

    DimmingView(const Rect& frame, Style style);

    Style style() const { return m_style; }

    // Views outside the layer that keep taking touches through it: a touch on one of them
    // goes to it as if the layer were not there.
    void setPassthroughViews(std::vector<std::weak_ptr<View>> views) {
        m_passthroughViews = std::move(views);
    }

    // Called when a touch begins on the layer itself (not on one of its subviews).
    std::function<void()> onTouchDown;

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override;
    std::shared_ptr<View> hitTestView(Point point) override;
    void touchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    void touchesMoved(const TouchSet& touches, const TouchEvent& event) override;
    void touchesEnded(const TouchSet& touches, const TouchEvent& event) override;
    void touchesCancelled(const TouchSet& touches, const TouchEvent& event) override;

private:
    static void drawRadialVeil(GraphicsContext& context, const Rect& area);

    Style m_style;
    std::optional<Image> m_veil;
    Size m_veilSize;
    std::vector<std::weak_ptr<View>> m_passthroughViews;
};
