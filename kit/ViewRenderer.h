#pragma once

#include "kit/Image.h"

class View;

// Draws a view tree into an off-screen image, as the screen would show it.
class ViewRenderer {
public:
    // Lays out the tree, then draws it into a transparent image of the view's bounds size
    // times the scale; the view's own position and transform are not applied.
    static Image render(View& view, double scale = 2.0);
};
