#include "ui/calendars/ColorSlider.h"

#include "kit/Artwork.h"
#include "kit/Gradient.h"
#include "kit/GraphicsContext.h"
#include "kit/RoundedRectangle.h"
#include "ui/calendars/ColorPickerArtwork.h"
#include "ui/calendars/ColorRenderer.h"

namespace {

constexpr double colorTrackRadius = 8.0;
constexpr double hueStripeWidth = 4.0;
constexpr int trackShadeLeftCap = 4;

} // namespace

ColorSlider::ColorSlider(const Rect& frame) : Slider(frame) {
    ColorPickerArtwork::registerImages();
    m_shadowImage = Artwork::imageNamed(QStringLiteral("colorpicker-trackerbackground"))
                        .stretchableImage(trackShadeLeftCap, 0);
}

ColorSlider::~ColorSlider() = default;

void ColorSlider::setColorRenderer(std::shared_ptr<ColorRenderer> renderer) {
    m_colorRenderer = std::move(renderer);
    reloadTrackImage();
}

Image ColorSlider::getTrackImage() {
    if (!m_fullTrackImage) {
        m_fullTrackImage = drawTrackImage();
        ++m_trackImageDrawCount;
    }
    return *m_fullTrackImage;
}

void ColorSlider::reloadTrackImage() {
    m_fullTrackImage.reset();
    valueChanged();
}

Image ColorSlider::drawTrackImage() const {
    const double width = bounds().width();
    return Image::draw(
        Size(width, trackHeight), Artwork::screenScale(), [this, width](GraphicsContext& context) {
            context.saveGState();
            RoundedRectangle::rectangleWithRect(Rect(0, 0, width, trackHeight), colorTrackRadius)
                .clip(context);
            if (m_colorRenderer && m_colorRenderer->isLinearGradient()) {
                drawLinearGradientWithWidth(context, width);
            } else if (m_colorRenderer) {
                drawNonLinearGradientWithWidth(context, width, trackHeight);
            }
            context.restoreGState();
            context.drawImage(m_shadowImage, Rect(0, 1, width + 0.5, trackHeight));
        });
}

void ColorSlider::drawLinearGradientWithWidth(GraphicsContext& context, double width) const {
    Gradient::gradientFromColor(m_colorRenderer->colorForValue(0.0f), m_colorRenderer->colorForValue(1.0f))
        .applyFrom(context, Point(0, 0), Point(width, 0));
}

void ColorSlider::drawNonLinearGradientWithWidth(GraphicsContext& context, double width,
                                                 double height) const {
    for (double x = 0.0; x < width; x += hueStripeWidth) {
        context.setFillColor(m_colorRenderer->colorForValue(static_cast<float>(x / width)));
        context.fillRect(Rect(x, 0, hueStripeWidth, height));
    }
}

void ColorSlider::valueDidChange() {
    Slider::valueDidChange();
    valueChanged();
}

void ColorSlider::valueChanged() {
    if (!m_colorRenderer || bounds().width() <= 0.0) {
        return;
    }
    const Image track = getTrackImage();
    setMinimumTrackImage(track);
    setMaximumTrackImage(track);
}
