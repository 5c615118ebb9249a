#include "kit/ImageView.h"

#include "kit/GraphicsContext.h"

#include <algorithm>

ImageView::ImageView() {
    setUserInteractionEnabled(false);
}

ImageView::ImageView(const Rect& frame) : View(frame) {
    setUserInteractionEnabled(false);
}

ImageView::ImageView(const Image& image, const Image& highlightedImage)
    : View(Rect(Point(), image.size())), m_image(image), m_highlightedImage(highlightedImage) {
    setUserInteractionEnabled(false);
}

void ImageView::setImage(const Image& image) {
    m_image = image;
    setNeedsDisplay();
}

void ImageView::setHighlightedImage(const Image& image) {
    m_highlightedImage = image;
    setNeedsDisplay();
}

void ImageView::setHighlighted(bool highlighted) {
    if (m_highlighted != highlighted) {
        m_highlighted = highlighted;
        setNeedsDisplay();
    }
}

void ImageView::setContentMode(ContentMode mode) {
    m_contentMode = mode;
    setNeedsDisplay();
}

const Image& ImageView::displayedImage() const {
    return m_highlighted && !m_highlightedImage.isNull() ? m_highlightedImage : m_image;
}

Rect ImageView::imageRectForBounds(const Rect& area) const {
    const Size size = displayedImage().size();
    switch (m_contentMode) {
    case ContentMode::ScaleToFill:
        return area;
    case ContentMode::ScaleAspectFit:
    case ContentMode::ScaleAspectFill: {
        if (size.isEmpty()) {
            return area;
        }
        const double horizontal = area.width() / size.width();
        const double vertical = area.height() / size.height();
        const double factor = m_contentMode == ContentMode::ScaleAspectFit ? std::min(horizontal, vertical)
                                                                           : std::max(horizontal, vertical);
        const Size scaled = size * factor;
        return {area.midX() - scaled.width() / 2.0, area.midY() - scaled.height() / 2.0, scaled.width(),
                scaled.height()};
    }
    case ContentMode::Center:
        return {area.midX() - size.width() / 2.0, area.midY() - size.height() / 2.0, size.width(),
                size.height()};
    case ContentMode::TopLeft:
        return {area.origin(), size};
    }
    return area;
}

void ImageView::drawRect(GraphicsContext& context, const Rect& /*rect*/) {
    const Image& image = displayedImage();
    if (!image.isNull()) {
        context.drawImage(image, imageRectForBounds(bounds()));
    }
}

Size ImageView::fittingSize(Size /*size*/) const {
    return displayedImage().size();
}
