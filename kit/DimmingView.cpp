#include "kit/DimmingView.h"

#include "kit/GraphicsContext.h"
#include "kit/Screen.h"

#include <algorithm>
#include <cmath>
#include <numbers>

DimmingView::DimmingView(const Rect& frame, Style style) : View(frame), m_style(style) {}

void DimmingView::drawRect(GraphicsContext& context, const Rect&) {
    const Rect area = bounds();
    switch (m_style) {
    case Style::Clear:
        return;
    case Style::Uniform:
        context.setFillColor(Color(0, 0, 0, 0.4));
        context.fillRect(area);
        return;
    case Style::Radial:
        break;
    }
    // Drawn once per size: the rings below are too many fills for every frame of a fade.
    if (!m_veil || m_veilSize != area.size()) {
        m_veil = Image::draw(area.size(), Screen::main().scale(), [&](GraphicsContext& veil) {
            drawRadialVeil(veil, Rect(Point(), area.size()));
        });
        m_veilSize = area.size();
    }
    context.drawImage(*m_veil, area);
}

void DimmingView::drawRadialVeil(GraphicsContext& context, const Rect& area) {
    // The context has no radial gradient, so the veil is built from rings: a light veil over
    // everything, then thin layers that each leave out a growing circle around the centre.
    // Where they overlap, the edges end up darker than the middle.
    context.setFillColor(Color(0, 0, 0, 0.3));
    context.fillRect(area);
    const Point centre = area.center();
    const double reach = std::hypot(area.width(), area.height()) / 2.0;
    constexpr int rings = 64;
    const double start = reach * 0.2;
    for (int ring = 0; ring < rings; ++ring) {
        const double radius = start + (reach - start) * ring / rings;
        context.setFillColor(Color(0, 0, 0, 0.01));
        context.beginPath();
        context.moveTo(Point(area.minX(), area.minY()));
        context.addLineTo(Point(area.maxX(), area.minY()));
        context.addLineTo(Point(area.maxX(), area.maxY()));
        context.addLineTo(Point(area.minX(), area.maxY()));
        context.closePath();
        // The circle runs the other way round, which makes it a hole under the non-zero rule.
        context.moveTo(Point(centre.x() + radius, centre.y()));
        context.addArc(centre, radius, 0.0, -2.0 * std::numbers::pi, true);
        context.closePath();
        context.fillPath();
    }
}

std::shared_ptr<View> DimmingView::hitTestView(Point point) {
    if (!pointInside(point)) {
        return nullptr;
    }
    const auto& children = subviews();
    for (auto child = children.rbegin(); child != children.rend(); ++child) {
        if (auto hit = (*child)->hitTest((*child)->convertPointFromView(point, this))) {
            return hit;
        }
    }
    for (auto weak = m_passthroughViews.rbegin(); weak != m_passthroughViews.rend(); ++weak) {
        const auto view = weak->lock();
        if (!view || view.get() == this || view->rootView() != rootView()) {
            continue;
        }
        if (auto hit = view->hitTest(view->convertPointFromView(point, this))) {
            return hit;
        }
    }
    return shared_from_this();
}

void DimmingView::touchesBegan(const TouchSet& touches, const TouchEvent&) {
    // Touches that views above pass on stop here without counting as touches on the layer.
    const bool onLayer =
        std::any_of(touches.begin(), touches.end(),
                    [this](const std::shared_ptr<Touch>& touch) { return touch->view().get() == this; });
    if (onLayer && onTouchDown) {
        onTouchDown();
    }
}

void DimmingView::touchesMoved(const TouchSet&, const TouchEvent&) {}
void DimmingView::touchesEnded(const TouchSet&, const TouchEvent&) {}
void DimmingView::touchesCancelled(const TouchSet&, const TouchEvent&) {}
