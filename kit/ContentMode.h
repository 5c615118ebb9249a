#pragma once

// How a view's content (an image) is placed in its bounds.
enum class ContentMode {
    // Stretched to the bounds, proportions lost.
    ScaleToFill,
    // As large as fits the bounds whole, centred, proportions kept.
    ScaleAspectFit,
    // As small as covers the bounds, centred, proportions kept (clip the view to cut it).
    ScaleAspectFill,
    // At its own size, centred.
    Center,
    // At its own size, in the top-left corner.
    TopLeft,
};
