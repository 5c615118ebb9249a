#include "ui/week/DayOverlayView.h"

#include "kit/GraphicsContext.h"
#include "kit/Layer.h"
#include "kit/RoundedRectangle.h"
#include "ui/daybox/DayBoxArtwork.h"
#include "ui/week/AntPathView.h"

DayOverlayView::DayOverlayView(const Rect& frame) : View(frame) {
    setUserInteractionEnabled(false);
}

std::shared_ptr<DayOverlayView> DayOverlayView::create(const Rect& frame) {
    auto overlay = std::make_shared<DayOverlayView>(frame);
    overlay->m_dayOverviewLayer = std::make_shared<AntPathView>(overlay->bounds());
    overlay->addSubview(overlay->m_dayOverviewLayer);
    return overlay;
}

void DayOverlayView::startAnimating() {
    m_dayOverviewLayer->layer().addAnimation(animationKey, AntPathView::offsetKey, 20.0, 0.0, 1.0,
                                             BasicAnimation::repeatForever, AnimationCurve::linear);
}

void DayOverlayView::stopAnimating() {
    m_dayOverviewLayer->layer().removeAnimation(animationKey);
}

bool DayOverlayView::isAnimating() const {
    return m_dayOverviewLayer->layer().animationForKey(animationKey).has_value();
}

void DayOverlayView::drawRect(GraphicsContext& context, const Rect&) {
    RoundedRectangle(bounds(), DayBoxArtwork::cornerRadius).fill(context, Color(1, 1, 1, 0.6));
}

void DayOverlayView::layoutSubviews() {
    m_dayOverviewLayer->setFrame(bounds());
    m_dayOverviewLayer->setNeedsDisplay();
    setNeedsDisplay();
}
