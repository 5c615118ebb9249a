#pragma once

#include "kit/Image.h"
#include "kit/Slider.h"

#include <memory>
#include <optional>

class ColorRenderer;
class GraphicsContext;

// A slider whose track shows the colours its values give, drawn by its renderer. The track image
// is drawn once and kept until reloadTrackImage.
class ColorSlider : public Slider {
public:
    static constexpr double trackHeight = 13.0;

    explicit ColorSlider(const Rect& frame);
    ~ColorSlider() override;

    const std::shared_ptr<ColorRenderer>& colorRenderer() const { return m_colorRenderer; }
    void setColorRenderer(std::shared_ptr<ColorRenderer> renderer);

    // The kept track image, drawn when there is none.
    Image getTrackImage();
    // Forgets the kept image and shows a new one.
    void reloadTrackImage();
    // How many times the track has been drawn.
    int trackImageDrawCount() const { return m_trackImageDrawCount; }

protected:
    void valueDidChange() override;

private:
    Image drawTrackImage() const;
    void drawLinearGradientWithWidth(GraphicsContext& context, double width) const;
    void drawNonLinearGradientWithWidth(GraphicsContext& context, double width, double height) const;
    void valueChanged();

    std::shared_ptr<ColorRenderer> m_colorRenderer;
    Image m_shadowImage;
    std::optional<Image> m_fullTrackImage;
    int m_trackImageDrawCount = 0;
};
