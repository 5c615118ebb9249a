#pragma once

#include "foundation/Color.h"
#include "kit/Point.h"
#include "kit/Size.h"

#include <QString>

#include <memory>

class QImage;

// A bitmap with a screen scale: its size in points is its pixel size divided by the scale.
// Copies share the pixels, which are never changed after creation.
class Image {
public:
    Image();
    // Kit-internal: takes over a bitmap drawn by the kit.
    Image(const QImage& pixels, double scale);

    bool isNull() const;
    Size size() const;
    double scale() const { return m_scale; }
    int pixelWidth() const;
    int pixelHeight() const;

    // Transparent black outside the bitmap.
    Color pixelColor(int x, int y) const;
    // The colour of the pixel covering the point.
    Color colorAtPoint(Point point) const;

    bool savePng(const QString& path) const;
    // A null image when the file cannot be read.
    static Image loadPng(const QString& path, double scale = 1.0);

    // Kit-internal access to the pixels.
    const QImage& pixels() const;

private:
    std::shared_ptr<const QImage> m_pixels;
    double m_scale = 1.0;
};
