#include "kit/ViewRenderer.h"

#include "kit/GraphicsContext.h"
#include "kit/View.h"

#include <QImage>
#include <QPainter>

#include <cmath>

namespace {

QSize pixelSize(const View& view, double scale) {
    const Rect bounds = view.bounds();
    return {std::max(static_cast<int>(std::ceil(bounds.width() * scale)), 0),
            std::max(static_cast<int>(std::ceil(bounds.height() * scale)), 0)};
}

} // namespace

Image ViewRenderer::render(View& view, double scale) {
    view.layoutIfNeeded();
    QImage pixels(pixelSize(view, scale), QImage::Format_ARGB32_Premultiplied);
    if (pixels.isNull()) {
        return {};
    }
    draw(view, scale, pixels);
    return Image(pixels, scale);
}

ViewRenderer::ViewRenderer(double scale) : m_scale(scale), m_pixels(std::make_unique<QImage>()) {}

ViewRenderer::~ViewRenderer() = default;

Image ViewRenderer::renderFrame(View& view) {
    view.layoutIfNeeded();
    const QSize size = pixelSize(view, m_scale);
    if (m_pixels->size() != size) {
        *m_pixels = QImage(size, QImage::Format_ARGB32_Premultiplied);
    }
    if (m_pixels->isNull()) {
        return {};
    }
    draw(view, m_scale, *m_pixels);
    return Image(*m_pixels, m_scale);
}

void ViewRenderer::draw(View& view, double scale, QImage& pixels) {
    pixels.fill(Qt::transparent);
    QPainter painter(&pixels);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    GraphicsContext context(painter);
    const Rect bounds = view.bounds();
    context.scaleCTM(scale, scale);
    context.translateCTM(-bounds.x(), -bounds.y());
    view.drawHierarchy(context);
}
