#pragma once

#include "foundation/Color.h"
#include "kit/Point.h"
#include "kit/Size.h"

#include <QString>

#include <functional>
#include <memory>

class GraphicsContext;
class QImage;

// A bitmap with a screen scale: its size in points is its pixel size divided by the scale.
// Copies share the pixels, which are never changed after creation.
//
// A stretchable image keeps a left cap and a top cap (in points): drawn into a rectangle, the
// caps and the mirror caps on the right and bottom stay unscaled while the one-point band
// between them stretches. A cap of 0 stretches the whole image along that axis.
class Image {
public:
    Image();
    // Kit-internal: takes over a bitmap drawn by the kit.
    Image(const QImage& pixels, double scale);

    // A new image of the size in points at the scale, drawn by `draw` into a transparent
    // context whose coordinates are points.
    static Image draw(Size size, double scale, const std::function<void(GraphicsContext&)>& draw);

    bool isNull() const;
    Size size() const;
    double scale() const { return m_scale; }
    int pixelWidth() const;
    int pixelHeight() const;

    // The same pixels with caps.
    Image stretchableImage(int leftCapWidth, int topCapHeight) const;
    int leftCapWidth() const { return m_leftCapWidth; }
    int topCapHeight() const { return m_topCapHeight; }
    // The caps the platform derives: what is left of the width (height) after the left (top)
    // cap and the one-point band, or 0 without a left (top) cap.
    double rightCapWidth() const;
    double bottomCapHeight() const;

    // Transparent black outside the bitmap.
    Color pixelColor(int x, int y) const;
    // The colour of the pixel covering the point.
    Color colorAtPoint(Point point) const;

    bool savePng(const QString& path) const;
    // A null image when the file cannot be read.
    static Image loadPng(const QString& path, double scale = 1.0);

    // Kit-internal access to the pixels.
    const QImage& pixels() const;

    // The artwork name the image was made under, or empty; a button without a title is read out
    // by it.
    const QString& name() const { return m_name; }
    Image named(const QString& name) const;

    // Whether both share the same pixels (and caps).
    bool isSameImage(const Image& other) const;

private:
    std::shared_ptr<const QImage> m_pixels;
    double m_scale = 1.0;
    int m_leftCapWidth = 0;
    int m_topCapHeight = 0;
    QString m_name;
};
