#include "ui/calendars/ColorPickerDayView.h"

#include "core/calendar/DateUtilities.h"
#include "foundation/Localization.h"
#include "foundation/RunLoop.h"
#include "kit/Font.h"
#include "kit/GraphicsContext.h"
#include "ui/common/ColoredBackground.h"
#include "ui/daybox/DayBoxArtwork.h"

namespace {

constexpr double sampleAllDayTop = 23.0;
constexpr double sampleTimedTop = 44.0;
constexpr double sampleRowHeight = 22.0;
constexpr double sampleTimeWidth = 34.0;

} // namespace

ColorPickerDayView::ColorPickerDayView(const Rect& frame) : DayView(frame, true) {
    DayBoxArtwork::registerImages();
    setClipsToBounds(true);
    setUserInteractionEnabled(false);
    setDisplayedDate(RunLoop::main().now());
}

void ColorPickerDayView::setColor(const Color& color) {
    m_color = color;
    setNeedsDisplay();
}

void ColorPickerDayView::drawRect(GraphicsContext& context, const Rect& rect) {
    DayView::drawRect(context, rect);
    const double width = bounds().width();
    const Font titleFont = Font::systemFontOfSize(13);

    ColoredBackground fill;
    fill.applyBackgroundCalendarColor(m_color);
    fill.drawBackgroundCalendarColor(context, Rect(3, sampleAllDayTop + 3, width - 6, sampleRowHeight - 3));
    context.setFillColor(Color(0, 0, 0));
    context.drawText(localizedString(QStringLiteral("Gardening")), Point(5, sampleAllDayTop + 3), width - 10,
                     titleFont, LineBreakMode::TailTruncation);

    ColoredBackground bar;
    bar.applyCalendarColor(m_color);
    bar.drawCalendarColor(context,
                          Rect(1.5, sampleTimedTop + 2.5, sampleTimeWidth + 5, sampleRowHeight - 3.5));
    context.setFillColor(Color(1, 1, 1));
    context.drawText(QStringLiteral("12:00"), Point(4, sampleTimedTop + 4), sampleTimeWidth,
                     Font::boldSystemFontOfSize(12), LineBreakMode::Clip);
    context.setFillColor(Color(0, 0, 0));
    context.drawText(localizedString(QStringLiteral("Photo Course")),
                     Point(sampleTimeWidth + 9, sampleTimedTop + 3), width - sampleTimeWidth - 12, titleFont,
                     LineBreakMode::TailTruncation);
}
