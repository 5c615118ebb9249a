#include "kit/Image.h"

#include "kit/GraphicsContext.h"

#include <QImage>
#include <QPainter>

#include <algorithm>

#include <cmath>

Image::Image() : m_pixels(std::make_shared<const QImage>()) {}

Image::Image(const QImage& pixels, double scale)
    : m_pixels(std::make_shared<const QImage>(pixels)), m_scale(scale) {}

Image Image::draw(Size size, double scale, const std::function<void(GraphicsContext&)>& draw) {
    const int width = static_cast<int>(std::ceil(size.width() * scale));
    const int height = static_cast<int>(std::ceil(size.height() * scale));
    if (width <= 0 || height <= 0) {
        return {};
    }
    QImage pixels(width, height, QImage::Format_ARGB32_Premultiplied);
    pixels.fill(Qt::transparent);
    {
        QPainter painter(&pixels);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        GraphicsContext context(painter);
        context.scaleCTM(scale, scale);
        draw(context);
    }
    return {pixels, scale};
}

Image Image::stretchableImage(int leftCapWidth, int topCapHeight) const {
    Image result = *this;
    result.m_leftCapWidth = std::max(leftCapWidth, 0);
    result.m_topCapHeight = std::max(topCapHeight, 0);
    return result;
}

Image Image::named(const QString& name) const {
    Image result = *this;
    result.m_name = name;
    return result;
}

double Image::rightCapWidth() const {
    return m_leftCapWidth > 0 ? std::max(size().width() - m_leftCapWidth - 1.0, 0.0) : 0.0;
}

double Image::bottomCapHeight() const {
    return m_topCapHeight > 0 ? std::max(size().height() - m_topCapHeight - 1.0, 0.0) : 0.0;
}

bool Image::isSameImage(const Image& other) const {
    return m_pixels == other.m_pixels && m_scale == other.m_scale && m_leftCapWidth == other.m_leftCapWidth &&
           m_topCapHeight == other.m_topCapHeight;
}

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
