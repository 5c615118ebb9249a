#pragma once

#include "kit/Image.h"

#include <memory>

class QImage;
class View;

// Draws a view tree into an off-screen image, as the screen would show it.
class ViewRenderer {
public:
    // Lays out the tree, then draws it into a transparent image of the view's bounds size
    // times the scale; the view's own position and transform are not applied.
    static Image render(View& view, double scale = 2.0);

    // A renderer that draws frame after frame into the same pixels, as a window draws into its
    // backing store.
    explicit ViewRenderer(double scale);
    ~ViewRenderer();
    ViewRenderer(const ViewRenderer&) = delete;
    ViewRenderer& operator=(const ViewRenderer&) = delete;
    // As `render`, reusing the last frame's pixels while the size stays the same.
    Image renderFrame(View& view);

private:
    static void draw(View& view, double scale, QImage& pixels);

    double m_scale;
    std::unique_ptr<QImage> m_pixels;
};
