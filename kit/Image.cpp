#include "kit/Image.h"

#include <QImage>

#include <cmath>

Image::Image() : m_pixels(std::make_shared<const QImage>()) {}

Image::Image(const QImage& pixels, double scale)
    : m_pixels(std::make_shared<const QImage>(pixels)), m_scale(scale) {}

bool Image::isNull() const {
    return m_pixels->isNull();
}

Size Image::size() const {
    return {m_pixels->width() / m_scale, m_pixels->height() / m_scale};
}

int Image::pixelWidth() const {
    return m_pixels->width();
}

int Image::pixelHeight() const {
    return m_pixels->height();
}

Color Image::pixelColor(int x, int y) const {
    if (!m_pixels->valid(x, y)) {
        return {};
    }
    const QColor color = m_pixels->pixelColor(x, y);
    return {color.redF(), color.greenF(), color.blueF(), color.alphaF()};
}

Color Image::colorAtPoint(Point point) const {
    return pixelColor(static_cast<int>(std::floor(point.x() * m_scale)),
                      static_cast<int>(std::floor(point.y() * m_scale)));
}

bool Image::savePng(const QString& path) const {
    return m_pixels->save(path, "PNG");
}

Image Image::loadPng(const QString& path, double scale) {
    QImage pixels;
    if (!pixels.load(path, "PNG")) {
        return {};
    }
    return {pixels.convertToFormat(QImage::Format_ARGB32_Premultiplied), scale};
}

const QImage& Image::pixels() const {
    return *m_pixels;
}
