#include "ui/week/AntPathView.h"

#include "kit/DeviceDependentValues.h"
#include "kit/Layer.h"
#include "kit/RoundedRectangle.h"
#include "ui/daybox/DayBoxArtwork.h"

namespace {
constexpr double dashLength = 10.0;
} // namespace

AntPathView::AntPathView(const Rect& frame) : View(frame) {
    setUserInteractionEnabled(false);
}

double AntPathView::offset() const {
    return layer().value(offsetKey);
}

void AntPathView::setOffset(double offset) {
    layer().setValue(offsetKey, offset);
    setNeedsDisplay();
}

void AntPathView::drawRect(GraphicsContext& context, const Rect&) {
    const double inset = DeviceDependentValues::singlePixelLineOffset();
    const RoundedRectangle shape(bounds().inset(inset, inset), DayBoxArtwork::cornerRadius);
    shape.dashPhaseFill(context, Color(0, 0, 0, 1), layer().presentationValue(offsetKey), dashLength,
                        Color(0, 0, 0, 0), 1.0);
}
