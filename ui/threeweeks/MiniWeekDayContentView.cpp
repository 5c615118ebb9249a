#include "ui/threeweeks/MiniWeekDayContentView.h"

#include "core/calendar/DateTimeFormatter.h"
#include "core/calendar/Week.h"
#include "foundation/Localization.h"
#include "foundation/StringUtilities.h"
#include "kit/Artwork.h"
#include "kit/DeviceDependentValues.h"
#include "kit/Font.h"
#include "kit/Gradient.h"
#include "kit/GraphicsContext.h"
#include "kit/RoundedRectangle.h"
#include "kit/StringDrawing.h"
#include "ui/common/ColorExtensions.h"
#include "ui/daybox/CalendarBoxView.h"
#include "ui/paging/InfiniteScrollView.h"
#include "ui/threeweeks/ThreeWeeksArtwork.h"

#include <any>
#include <cmath>

namespace {

// The drawing resources every mini day shares; the titles use the mini box's title font.
const Font miniEventFont = Font::systemFontOfSize(9);
const Font miniTimeFont = Font::boldSystemFontOfSize(8.5);
const Font miniMoreEventsFont = Font::boldSystemFontOfSize(9);
constexpr double miniMoreEventsMinimumFontSize = 7.0;
const Color miniMoreEventsColor = Color::fromRgb255(44, 87, 168);
const Color miniMoreEventsTodayColor = Color::fromRgb255(26, 54, 84);
const Color miniBorderColor = Color::fromRgb255(152, 152, 152);
const Color miniMissingColor = Color(0.5, 0.5, 0.5);
constexpr double miniTimeBoxOffset = 1.0;
constexpr double miniTimeTextOffset = 0.0;
constexpr double miniMoreEventsTextOffset = 1.0;
constexpr double miniFirstLineY = 15.0;
constexpr double miniTitleInset = 4.0;
const QString miniArrow = QString(QChar(0x21B3));

double miniTitleY() {
    return DeviceDependentValues::deviceHasRetinaScreen() ? 0.5 : 0.0;
}

Size miniTextShadowOffset() {
    return DeviceDependentValues::deviceHasRetinaScreen() ? Size(0.5, 0.5) : Size(1, 0);
}

} // namespace

MiniWeekDayContentView::MiniWeekDayContentView(const Rect& frame, int weekdayIndex)
    : View(frame), m_weekdayIndex(weekdayIndex) {
    ThreeWeeksArtwork::registerImages();
    setBackgroundColor(std::nullopt);
    setUserInteractionEnabled(false);
    // Long titles end at the cell's edge instead of running into the next day.
    setClipsToBounds(true);
}

void MiniWeekDayContentView::setDay(const Day& day) {
    m_day = day;
    setNeedsDisplay();
}

void MiniWeekDayContentView::setSelected(bool selected) {
    m_selected = selected;
    setNeedsDisplay();
}

void MiniWeekDayContentView::setIsToday(bool isToday) {
    m_isToday = isToday;
    setNeedsDisplay();
}

void MiniWeekDayContentView::setInfiniteScrollView(std::weak_ptr<InfiniteScrollView> scrollView) {
    m_infiniteScrollView = std::move(scrollView);
}

std::vector<MiniWeekDayContentView::Line> MiniWeekDayContentView::lines() const {
    const std::shared_ptr<InfiniteScrollView> scrollView = m_infiniteScrollView.lock();
    if (!scrollView || !m_day) {
        return {};
    }
    const std::any data = scrollView->dataForItem(PageItem(m_day->week()));
    const auto* week = std::any_cast<std::shared_ptr<const ThreeWeeksWeekEvents>>(&data);
    if (!week || !*week || m_weekdayIndex >= static_cast<int>((*week)->size())) {
        return {};
    }
    const ThreeWeeksDayEvents& entries = (**week)[static_cast<std::size_t>(m_weekdayIndex)];
    const int available = isWeekendHalf() ? 2 : 5;
    const int count = static_cast<int>(entries.size());
    const int entryLines = count > available ? available - 1 : count;
    const double lineHeight = isWeekendHalf() ? 11.0 : 12.0;
    std::vector<Line> lines;
    double y = miniFirstLineY;
    for (int i = 0; i < entryLines; ++i) {
        lines.push_back(Line{y, entries[static_cast<std::size_t>(i)], 0});
        y += lineHeight;
    }
    if (count > entryLines) {
        lines.push_back(Line{y, std::nullopt, count - entryLines});
    }
    return lines;
}

void MiniWeekDayContentView::drawRect(GraphicsContext& context, const Rect&) {
    const Color textColor = m_selected ? Color(1, 1, 1) : Color(0, 0, 0);
    for (const Line& line : lines()) {
        if (line.entry) {
            drawEntry(context, *line.entry, line.y, textColor);
        } else {
            drawMoreEventsLine(context, line.moreEvents, line.y);
        }
    }
    if (m_selected) {
        drawSelectedTitles(context);
    } else {
        drawSeparator(context);
    }
}

void MiniWeekDayContentView::drawEntry(GraphicsContext& context, const ThreeWeeksEventEntry& entry, double y,
                                       const Color& textColor) {
    switch (entry.type) {
    case ThreeWeeksEventEntry::Type::timed:
        drawNormalEntry(context, entry, y, textColor);
        return;
    case ThreeWeeksEventEntry::Type::allDay:
        drawAllDayEntry(context, entry, y, false, textColor);
        return;
    case ThreeWeeksEventEntry::Type::allDayContinued:
        drawAllDayEntry(context, entry, y, true, textColor);
        return;
    case ThreeWeeksEventEntry::Type::birthday:
        context.drawImage(Artwork::imageNamed(QStringLiteral("mini-birthday")), Rect(2, y, 11, 10));
        drawLineText(context, entry.title, Point(14, y), miniEventFont, textColor, m_selected);
        return;
    case ThreeWeeksEventEntry::Type::timedContinued:
        drawLineText(context, miniArrow, Point(2, y), miniTimeFont, textColor, m_selected);
        drawLineText(context, entry.title, Point(10, y), miniEventFont, textColor, m_selected);
        return;
    }
}

void MiniWeekDayContentView::drawNormalEntry(GraphicsContext& context, const ThreeWeeksEventEntry& entry,
                                             double y, const Color& textColor) {
    const QString time = entry.time.value_or(QString());
    const Rect box(2, y + miniTimeBoxOffset, StringDrawing::sizeWithFont(time, miniTimeFont).width() + 2, 10);
    if (!m_selected) {
        const Color color = entry.color.value_or(miniMissingColor);
        RoundedRectangle(box, 4.5).applyGradient(
            context, Gradient(ColorExtensions::adjustRGBValuesWithFactor(color, 0.65), color),
            Point(box.x(), box.y()), Point(box.x(), box.maxY()));
    }
    drawLineText(context, time, Point(3, y + miniTimeTextOffset), miniTimeFont, Color(1, 1, 1), true);
    drawLineText(context, entry.title, Point(box.width() + 3, y), miniEventFont, textColor, m_selected);
}

void MiniWeekDayContentView::drawAllDayEntry(GraphicsContext& context, const ThreeWeeksEventEntry& entry,
                                             double y, bool arrow, const Color& textColor) {
    if (!m_selected) {
        // A title too long for the bar takes the bar on to the cell's edge, square there.
        const bool runsOn =
            StringDrawing::sizeWithFont(entry.title, miniEventFont).width() > (arrow ? 67 : 74);
        RoundedRectangle bar(Rect(2, y + 1, runsOn ? 77 : 75, 10), 3);
        bar.sharpUpperRightCorner = runsOn;
        bar.sharpLowerRightCorner = runsOn;
        bar.fill(context, entry.color.value_or(miniMissingColor));
    }
    if (arrow) {
        drawLineText(context, miniArrow, Point(2, y), miniTimeFont, textColor, m_selected);
        drawLineText(context, entry.title, Point(10, y), miniEventFont, textColor, m_selected);
    } else {
        drawLineText(context, entry.title, Point(3, y), miniEventFont, textColor, m_selected);
    }
}

void MiniWeekDayContentView::drawMoreEventsLine(GraphicsContext& context, int moreEvents, double y) {
    const Image icon = Artwork::imageNamed(m_selected  ? QStringLiteral("mini-more-icon-white")
                                           : m_isToday ? QStringLiteral("mini-more-icon-today")
                                                       : QStringLiteral("mini-more-icon"));
    const double cellWidth = bounds().width();
    const double iconWidth = icon.size().width();
    const double availableWidth = cellWidth - iconWidth - 4;
    const QString text = localizedString(QStringLiteral(" %i more events ..."), moreEvents);
    double fontSize = miniMoreEventsFont.pointSize();
    const double textWidth =
        StringDrawing::sizeWithFont(text, miniMoreEventsFont, miniMoreEventsMinimumFontSize, &fontSize,
                                    availableWidth, LineBreakMode::TailTruncation)
            .width();
    const double x = std::round((cellWidth - iconWidth - textWidth) / 2);
    context.drawImage(icon, Point(x, y + 2));
    const Color color = m_selected  ? Color(1, 1, 1)
                        : m_isToday ? miniMoreEventsTodayColor
                                    : miniMoreEventsColor;
    context.saveGState();
    if (m_selected) {
        context.setShadow(miniTextShadowOffset(), 0, Color(0, 0, 0));
    }
    context.setFillColor(color);
    context.drawText(text, Point(x + iconWidth, y + miniMoreEventsTextOffset), availableWidth,
                     miniMoreEventsFont.fontWithSize(fontSize), LineBreakMode::TailTruncation);
    context.restoreGState();
}

void MiniWeekDayContentView::drawSeparator(GraphicsContext& context) const {
    const double lineWidth = DeviceDependentValues::singlePixelLineWidth();
    const double x = bounds().width() - DeviceDependentValues::singlePixelLineOffset();
    const double bottom = isWeekendHalf() ? 35.0 : 74.0;
    context.setFillColor(miniBorderColor);
    context.fillRect(Rect(x - lineWidth / 2, 5, lineWidth, bottom - 5));
}

void MiniWeekDayContentView::drawSelectedTitles(GraphicsContext& context) {
    if (!m_day) {
        return;
    }
    const QString weekday = StringUtilities::stringByUppercasingFirstLetter(m_day->weekdayAbbreviation());
    const QString dayOfMonth = DateTimeFormatter::instance().formatDayOfMonth(m_day->beginDateTime());
    const Color white(1, 1, 1);
    drawLineText(context, weekday, Point(miniTitleInset, miniTitleY()), CalendarBoxView::miniTitleFont(),
                 white, true);
    const double width = StringDrawing::sizeWithFont(dayOfMonth, CalendarBoxView::miniTitleFont()).width();
    drawLineText(context, dayOfMonth, Point(bounds().width() - miniTitleInset - width, miniTitleY()),
                 CalendarBoxView::miniTitleFont(), white, true);
}

void MiniWeekDayContentView::drawLineText(GraphicsContext& context, const QString& text, Point point,
                                          const Font& font, const Color& color, bool shadow) const {
    if (shadow) {
        context.setShadow(miniTextShadowOffset(), 0, Color(0, 0, 0));
    }
    context.setFillColor(color);
    context.drawText(text, point, font);
    if (shadow) {
        context.clearShadow();
    }
}
