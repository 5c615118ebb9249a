#include "kit/ViewRenderer.h"

#include "kit/GraphicsContext.h"
#include "kit/View.h"

#include <QImage>
#include <QPainter>

#include <cmath>

Image ViewRenderer::render(View& view, double scale) {
    view.layoutIfNeeded();
    const Rect bounds = view.bounds();
    const int width = static_cast<int>(std::ceil(bounds.width() * scale));
    const int height = static_cast<int>(std::ceil(bounds.height() * scale));
    QImage pixels(std::max(width, 0), std::max(height, 0), QImage::Format_ARGB32_Premultiplied);
    if (pixels.isNull()) {
        return {};
    }
    pixels.fill(Qt::transparent);
    {
        QPainter painter(&pixels);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        GraphicsContext context(painter);
        context.scaleCTM(scale, scale);
        context.translateCTM(-bounds.x(), -bounds.y());
        view.drawHierarchy(context);
    }
    return Image(pixels, scale);
}
