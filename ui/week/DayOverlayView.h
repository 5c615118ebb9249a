#pragma once

#include "kit/View.h"

#include <QString>
#include <memory>

class AntPathView;

// The veil laid over every other day while an event is copied or moved: a translucent white
// card with marching ants around it.
class DayOverlayView : public View {
public:
    static inline const QString animationKey = QStringLiteral("animateOffset");

    static std::shared_ptr<DayOverlayView> create(const Rect& frame);

    void startAnimating();
    void stopAnimating();
    bool isAnimating() const;
    const std::shared_ptr<AntPathView>& dayOverviewLayer() const { return m_dayOverviewLayer; }

    explicit DayOverlayView(const Rect& frame);

protected:
    // The translucent white card under the ants.
    void drawRect(GraphicsContext& context, const Rect& rect) override;
    void layoutSubviews() override;

private:
    std::shared_ptr<AntPathView> m_dayOverviewLayer;
};
