#include "ui/weekpicker/WeekPickerMonthView.h"

#include "core/calendar/Day.h"
#include "core/calendar/WeekPickerHolidayEntry.h"
#include "core/calendar/Year.h"
#include "kit/Artwork.h"
#include "kit/DeviceDependentValues.h"
#include "kit/GraphicsContext.h"
#include "kit/ImageView.h"
#include "kit/RoundedRectangle.h"
#include "ui/paging/DrawDelegatingView.h"
#include "ui/weekpicker/WeekPickerArtwork.h"
#include "ui/weekpicker/WeekPickerPageView.h"

namespace {

const Color monthDayNumberColor(0, 0, 0);
const Color otherMonthDayNumberColor(0.5, 0.5, 0.5);
const Color selectedDayNumberColor(1, 1, 1);
constexpr double weekHighlightX = 3.0;
constexpr double weekHighlightWidth = 141.0;
constexpr double weekRowBandWidth = 140.0;
constexpr double weekRowBandHeight = 19.0;
constexpr double holidayBarHeight = 17.0;
constexpr double holidayBarRadius = 6.0;
constexpr double initialWeekOutlineRadius = 5.0;

int weekRowOfDayOffset(int value, int divisor) {
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

} // namespace

std::shared_ptr<WeekPickerMonthView> WeekPickerMonthView::create(const Rect& frame) {
    auto view = std::make_shared<WeekPickerMonthView>(frame);
    view->addSubviews();
    return view;
}

WeekPickerMonthView::WeekPickerMonthView(const Rect& frame)
    : CalendarBoxView(frame), m_dayNumberFont(Font::boldSystemFontOfSize(12)),
      m_otherMonthDayNumberFont(Font::boldSystemFontOfSize(9)) {
    WeekPickerArtwork::registerImages();
    m_selectedWeekBackgroundImage =
        Artwork::imageNamed(QStringLiteral("selected-row")).stretchableImage(11, 4);
}

// The highlights draw through this view, which they must not keep alive.
void WeekPickerMonthView::addSubviews() {
    const std::weak_ptr<WeekPickerMonthView> weakSelf =
        std::static_pointer_cast<WeekPickerMonthView>(shared_from_this());
    m_selectedWeekHighlightView = std::make_shared<DrawDelegatingView>(Rect());
    m_selectedWeekHighlightView->setDrawRectCallBack([weakSelf](GraphicsContext& context, const Rect& rect) {
        if (auto self = weakSelf.lock()) {
            self->drawSelectedWeekHighlightViewRect(context, rect);
        }
    });
    m_initialWeekHighlightView = std::make_shared<DrawDelegatingView>(Rect());
    m_initialWeekHighlightView->setDrawRectCallBack([weakSelf](GraphicsContext& context, const Rect& rect) {
        if (auto self = weakSelf.lock()) {
            self->drawInitialWeekHighlightViewRect(context, rect);
        }
    });
    m_currentDayView =
        std::make_shared<ImageView>(Artwork::imageNamed(QStringLiteral("weekpicker-currentdaycircle")));
    m_whiteCurrentDayView =
        std::make_shared<ImageView>(Artwork::imageNamed(QStringLiteral("weekpicker-currentdaycircle-white")));
    for (const std::shared_ptr<View>& subview :
         std::initializer_list<std::shared_ptr<View>>{m_selectedWeekHighlightView, m_initialWeekHighlightView,
                                                      m_currentDayView, m_whiteCurrentDayView}) {
        subview->setHidden(true);
        addSubview(subview);
    }
}

void WeekPickerMonthView::setMonth(const Month& month) {
    if (m_month == month) {
        return;
    }
    m_month = month;
    QString name = month.name();
    if (!name.isEmpty()) {
        name[0] = name[0].toUpper();
    }
    setLeftTitle(name);
    setRightTitle(QString::number(month.year().regionalYearNumber()));
    updateSelectedWeekHighlight(false);
    updateSelectedWeekHighlight(true);
    updateCurrentDayView();
}

void WeekPickerMonthView::setSelectedWeek(const std::optional<Week>& week) {
    m_selectedWeek = week;
    updateSelectedWeekHighlight(false);
    updateCurrentDayView();
}

void WeekPickerMonthView::setInitialWeek(const std::optional<Week>& week) {
    m_initialWeek = week;
    updateSelectedWeekHighlight(true);
}

// Selection.

std::optional<int> WeekPickerMonthView::weekIndexAtPoint(Point point) const {
    if (point.x() < 0 || point.x() > bounds().width()) {
        return std::nullopt;
    }
    // Truncated toward zero, so the lower part of the header, up to a row's height above the
    // first row, counts as that row: a finger aiming at the first week often lands there.
    const int row = static_cast<int>((point.y() - firstRowY) / rowHeight);
    return row >= 0 && row < rowCount ? std::optional<int>(row) : std::nullopt;
}

std::optional<Week> WeekPickerMonthView::weekForWeekIndex(std::optional<int> row) const {
    if (!row || !m_month) {
        return std::nullopt;
    }
    return m_month->firstDay().week().addWeeks(*row);
}

void WeekPickerMonthView::updateWeekSelectionForPoint(Point point) {
    const std::optional<Week> week = weekForWeekIndex(weekIndexAtPoint(point));
    if (!week || week == m_selectedWeek) {
        return;
    }
    m_selectedWeek = week;
    updateSelectedWeekHighlight(false);
    updateCurrentDayView();
    if (m_onSelectedWeekChanged) {
        m_onSelectedWeekChanged(*week);
    }
}

void WeekPickerMonthView::handleTouchEvent(TouchPhase phase, Point point) {
    if (phase == TouchPhase::Began) {
        const std::optional<Week> week = weekForWeekIndex(weekIndexAtPoint(point));
        if (week && week == m_selectedWeek) {
            if (m_onSecondTapOnWeek) {
                m_onSecondTapOnWeek(*week);
            }
            return;
        }
        updateWeekSelectionForPoint(point);
    } else if (phase == TouchPhase::Moved) {
        updateWeekSelectionForPoint(point);
    }
}

std::shared_ptr<View> WeekPickerMonthView::hitTestView(Point point) {
    return pointInside(point) ? shared_from_this() : nullptr;
}

// Drawing.

Day WeekPickerMonthView::gridStartDay() const {
    return m_month->firstDay().week().firstDay();
}

int WeekPickerMonthView::yearDayIndexOfDay(const Day& day, const std::vector<int>& yearDayNumbers) const {
    const int ownYearLength = static_cast<int>(day.year().dayNumbers().size());
    const int length = static_cast<int>(yearDayNumbers.size());
    return ((day.indexInYear() + length - ownYearLength) % length + length) % length;
}

void WeekPickerMonthView::drawRect(GraphicsContext& context, const Rect& rect) {
    CalendarBoxView::drawRect(context, rect);
    if (!m_month) {
        return;
    }
    drawHolidayBars(context);
    const std::vector<int>& yearDayNumbers = m_month->year().dayNumbers();
    const Day start = gridStartDay();
    int index = yearDayIndexOfDay(start, yearDayNumbers);
    bool otherMonth = start.month() != *m_month;
    const int length = static_cast<int>(yearDayNumbers.size());
    for (int row = 0; row < rowCount; ++row) {
        otherMonth = drawDayNumbersForWeekAtPoint(context, Point(firstColumnX, firstRowY + rowHeight * row),
                                                  yearDayNumbers, index, otherMonth, false);
        index = (index + 7) % length;
    }
}

void WeekPickerMonthView::drawHolidayBars(GraphicsContext& context) const {
    const std::shared_ptr<WeekPickerPageView> page = m_pageView.lock();
    if (!page) {
        return;
    }
    for (const WeekPickerHolidayEntry& entry : page->holidayEntriesForMonth(*m_month)) {
        double dx = 0;
        if (entry.isFirstDaySingleDigit()) {
            dx = 5;
        } else if (entry.firstDayIndex() == 0) {
            dx = -2;
        }
        const double extra = entry.firstDayIndex() + entry.numberOfDays() == 7 ? 3 : 2;
        RoundedRectangle bar(Rect(columnWidth * entry.firstDayIndex() + firstColumnX + dx,
                                  rowHeight * entry.weekIndex() + firstRowY + 1,
                                  columnWidth * entry.numberOfDays() - dx + extra, holidayBarHeight),
                             holidayBarRadius);
        bar.sharpUpperLeftCorner = bar.sharpLowerLeftCorner = !entry.isFirstEntryForHoliday();
        bar.sharpUpperRightCorner = bar.sharpLowerRightCorner = !entry.isLastEntryForHoliday();
        bar.fill(context, entry.color());
    }
}

bool WeekPickerMonthView::drawDayNumbersForWeekAtPoint(GraphicsContext& context, Point point,
                                                       const std::vector<int>& yearDayNumbers,
                                                       int yearDayIndex, bool inOtherMonth,
                                                       bool inSelection) const {
    const int length = static_cast<int>(yearDayNumbers.size());
    double x = point.x();
    const double y = point.y();
    int index = yearDayIndex;
    context.saveGState();
    for (int day = 0; day < 7; ++day) {
        const int number = yearDayNumbers[index];
        if (day == 0 || number == 1) {
            context.setFillColor(inSelection    ? selectedDayNumberColor
                                 : inOtherMonth ? otherMonthDayNumberColor
                                                : monthDayNumberColor);
        }
        const QString text = QString::number(number);
        if (inOtherMonth) {
            context.drawTextInRect(text, Rect(x + 2, y + 4, columnWidth, 20), m_otherMonthDayNumberFont,
                                   LineBreakMode::Clip, TextAlignment::Center);
        } else {
            context.drawTextInRect(text, Rect(x - 2, y + 2, columnWidth, 20), m_dayNumberFont,
                                   LineBreakMode::Clip, TextAlignment::Right);
        }
        index = (index + 1) % length;
        if (yearDayNumbers[index] == 1) {
            inOtherMonth = !inOtherMonth;
        }
        x += columnWidth;
    }
    context.restoreGState();
    return inOtherMonth;
}

// A week outside the five rows would be drawn over the next month, so it is not highlighted.
void WeekPickerMonthView::updateSelectedWeekHighlight(bool initial) {
    const std::optional<Week>& week = initial ? m_initialWeek : m_selectedWeek;
    DrawDelegatingView& view = initial ? *m_initialWeekHighlightView : *m_selectedWeekHighlightView;
    if (!week || !m_month) {
        view.setHidden(true);
        return;
    }
    const int days = static_cast<int>(week->firstDay().daysSince1970() - gridStartDay().daysSince1970());
    const int row = weekRowOfDayOffset(days, 7);
    view.setFrame(Rect(weekHighlightX, rowHeight * row + firstRowY, weekHighlightWidth, rowHeight));
    view.setHidden(row < 0 || row >= rowCount);
    view.setNeedsDisplay();
}

void WeekPickerMonthView::drawSelectedWeekHighlightViewRect(GraphicsContext& context,
                                                            const Rect& rect) const {
    if (!m_selectedWeek || !m_month) {
        return;
    }
    context.drawImage(m_selectedWeekBackgroundImage,
                      Rect(rect.x(), rect.y(), weekRowBandWidth, weekRowBandHeight));
    const std::vector<int>& yearDayNumbers = m_month->year().dayNumbers();
    const Day first = m_selectedWeek->firstDay();
    drawDayNumbersForWeekAtPoint(context, Point(rect.x() + 3, rect.y()), yearDayNumbers,
                                 yearDayIndexOfDay(first, yearDayNumbers), first.month() != *m_month, true);
}

void WeekPickerMonthView::drawInitialWeekHighlightViewRect(GraphicsContext& context, const Rect& rect) const {
    const double offset = DeviceDependentValues::singlePixelLineOffset();
    const double offsetX2 = DeviceDependentValues::singlePixelLineOffsetX2();
    context.saveGState();
    context.setStrokeColor(Color(0, 0, 0));
    context.setLineWidth(DeviceDependentValues::singlePixelLineWidth());
    context.beginPath();
    RoundedRectangle(
        Rect(rect.x() + offset, rect.y() + offset, weekRowBandWidth - offsetX2, weekRowBandHeight - offsetX2),
        initialWeekOutlineRadius)
        .drawRoundedRectPath(context);
    context.strokePath();
    context.restoreGState();
}

void WeekPickerMonthView::updateCurrentDayView() {
    m_currentDayView->setHidden(true);
    m_whiteCurrentDayView->setHidden(true);
    const Day today = Day::today();
    if (!m_month || today.month() != *m_month) {
        return;
    }
    const int offset = static_cast<int>(today.daysSince1970() - gridStartDay().daysSince1970());
    const int row = offset / 7;
    if (row >= rowCount) {
        return;
    }
    const double dx = today.dayNumber() < 10 ? 2 : 0;
    const bool onSelection = m_selectedWeek && *m_selectedWeek == today.week();
    ImageView& circle = onSelection ? *m_whiteCurrentDayView : *m_currentDayView;
    const Size size = circle.image().size();
    circle.setFrame(Rect(columnWidth * (offset % 7) + firstColumnX + dx, rowHeight * row + 26, size.width(),
                         size.height()));
    circle.setHidden(false);
}
