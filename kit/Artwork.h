#pragma once

#include "kit/Image.h"
#include "kit/Rect.h"
#include "kit/Size.h"

#include <QString>

#include <functional>

class GraphicsContext;

// The named images of the program, drawn by our own code: a screen registers a drawing
// function under a name with the image's size in points, and `imageNamed` gives the image drawn
// at the screen's scale, drawn once per scale and then kept. Unknown names give a null image
// and a warning, once per name.
class Artwork {
public:
    // Draws into a transparent context of the registered size in points.
    using DrawFunction = std::function<void(GraphicsContext& context, Size size)>;

    // Replaces any earlier drawing of the name and forgets its drawn images.
    static void registerImage(const QString& name, Size size, DrawFunction draw);
    static bool isRegistered(const QString& name);
    static Image imageNamed(const QString& name);
    // Draws over `rect` what `draw` draws into a rectangle of its size: through the image kept
    // under `name` (registered at the first call) where that lands pixel for pixel, else directly.
    // For drawings that many views repeat unchanged.
    static void drawThrough(GraphicsContext& context, const QString& name, const Rect& rect,
                            const std::function<void(GraphicsContext& context, const Rect& rect)>& draw);

    // The scale images are drawn at, 2.0 unless set.
    static double screenScale();
    static void setScreenScale(double scale);
};
