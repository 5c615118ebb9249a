#include "kit/DatePicker.h"

#include "foundation/Locale.h"
#include "kit/DatePickerWheel.h"
#include "kit/Font.h"
#include "kit/GraphicsContext.h"
#include "kit/RoundedRectangle.h"
#include "kit/StringDrawing.h"

#include <algorithm>

namespace {

constexpr double wheelTop = 10.0;
constexpr double wheelHeight = DatePicker::pickerHeight - 2.0 * wheelTop;
constexpr double hourWidth24 = 100.0;
constexpr double minuteWidth24 = 100.0;
constexpr double hourWidth12 = 90.0;
constexpr double minuteWidth12 = 90.0;
constexpr double amPmWidth = 80.0;
constexpr double pickerTextInset = 18.0;
// Date mode: the months take the most room, the days the least.
constexpr double monthWheelWidth = 150.0;
constexpr double dayOfMonthWheelWidth = 54.0;
constexpr double yearWheelWidth = 96.0;
constexpr double monthTextInset = 12.0;
constexpr int firstPickerYear = 1900;
constexpr int lastPickerYear = 2100;
// DateAndTime: the day wheel takes 45 % of the 300 points inside the frame, the time wheels share
// the rest.
constexpr double dayWheelWidth = 136.0;
constexpr double besideDayWidth24 = 82.0;
constexpr double besideDayWidth12 = 56.0;
constexpr double besideDayAmPmWidth = 52.0;
constexpr double besideDayTextInset = 8.0;
constexpr double dayWheelTextInset = 10.0;
constexpr double dayWheelFontSize = 20.0;
constexpr double wheelFontSize = 24.0;
// The day wheel holds this many days either side of the date set, and is filled anew around the
// day a turn settles on within `daysNearEnd` of either end.
constexpr int daysAround = 400;
constexpr int daysNearEnd = 100;

// The full names where the longest fits its wheel, else the abbreviated ones.
QStringList monthNamesThatFit(const DatePickerFormat& format) {
    const Font font = Font::boldSystemFontOfSize(wheelFontSize);
    const QStringList& names = format.monthNames();
    const bool fit = std::all_of(names.begin(), names.end(), [&font](const QString& name) {
        return StringDrawing::sizeWithFont(name, font).width() + 2.0 * monthTextInset <= monthWheelWidth;
    });
    return fit ? names : format.abbreviatedMonthNames();
}

} // namespace

DatePicker::DatePicker() : DatePicker(Rect(0, 0, 320, pickerHeight)) {}

DatePicker::DatePicker(const Rect& frame)
    : Control(Rect(frame.origin(), Size(frame.width(), pickerHeight))), m_date(Date::now()) {
    setClipsToBounds(true);
    configureWheels();
}

DatePicker::~DatePicker() = default;

void DatePicker::setDatePickerMode(Mode mode) {
    if (mode == m_mode) {
        return;
    }
    m_mode = mode;
    configureWheels();
}

void DatePicker::setDate(Date date, bool animated) {
    m_date = date;
    showDate(animated);
}

void DatePicker::setMinuteInterval(int interval) {
    if (interval < 1 || interval > 30 || 60 % interval != 0 || interval == m_minuteInterval) {
        return;
    }
    m_minuteInterval = interval;
    fillMinuteRows();
    showDate(false);
}

void DatePicker::setLocale(const QString& identifier) {
    m_locale = identifier;
    configureWheels();
}

void DatePicker::setTimeZone(std::optional<TimeZone> zone) {
    m_timeZone = std::move(zone);
    showDate(false);
}

QString DatePicker::zoneName() const {
    return m_timeZone ? m_timeZone->name() : TimeZone::defaultTimeZone().name();
}

QString DatePicker::localeIdentifier() const {
    return m_locale.isEmpty() ? Locale::currentLocaleIdentifier() : m_locale;
}

void DatePicker::configureWheels() {
    m_format = DatePickerFormat(localeIdentifier());
    const bool twelveHour = m_format.usesTwelveHourClock();
    for (const auto& old : m_wheels) {
        old->removeFromSuperview();
    }
    m_wheels.clear();
    m_order.clear();
    if (m_mode == Mode::Date) {
        for (const DatePickerFormat::DateField field : m_format.dateOrder()) {
            switch (field) {
            case DatePickerFormat::DateField::Month:
                m_order.push_back(Wheel::Month);
                break;
            case DatePickerFormat::DateField::Day:
                m_order.push_back(Wheel::DayOfMonth);
                break;
            case DatePickerFormat::DateField::Year:
                m_order.push_back(Wheel::Year);
                break;
            }
        }
    } else {
        if (m_mode == Mode::DateAndTime) {
            m_order.push_back(Wheel::Day);
        }
        if (m_format.amPmFirst()) {
            m_order.push_back(Wheel::AmPm);
        }
        m_order.push_back(Wheel::Hour);
        m_order.push_back(Wheel::Minute);
        if (twelveHour && !m_format.amPmFirst()) {
            m_order.push_back(Wheel::AmPm);
        }
    }
    for (const Wheel kind : m_order) {
        m_wheels.push_back(makeWheel(kind));
    }
    fillMinuteRows();
    attachWheels();
    layoutSubviews();
    showDate(false);
}

std::shared_ptr<DatePickerWheel> DatePicker::makeWheel(Wheel kind) const {
    auto wheel = std::make_shared<DatePickerWheel>(Rect(0, wheelTop, 100, wheelHeight));
    wheel->onSettled = &DatePicker::wheelSettled;
    wheel->setUserInteractionEnabled(enabled());
    const double timeInset = m_mode == Mode::DateAndTime ? besideDayTextInset : pickerTextInset;
    QStringList rows;
    switch (kind) {
    case Wheel::Hour:
        wheel->setRows(m_format.hourTitles());
        wheel->setLooping(true);
        wheel->setTextAlignment(TextAlignment::Right, timeInset);
        break;
    case Wheel::Minute:
        wheel->setLooping(true);
        wheel->setTextAlignment(TextAlignment::Left, timeInset);
        break;
    case Wheel::AmPm:
        wheel->setRows(m_format.amPmSymbols());
        wheel->setTextAlignment(TextAlignment::Center, 0.0);
        break;
    case Wheel::Month:
        wheel->setRows(monthNamesThatFit(m_format));
        wheel->setLooping(true);
        // Names read from the picker's left edge; between other wheels they sit in the middle.
        if (m_format.dateOrder().front() == DatePickerFormat::DateField::Month) {
            wheel->setTextAlignment(TextAlignment::Left, monthTextInset);
        } else {
            wheel->setTextAlignment(TextAlignment::Center, 0.0);
        }
        break;
    case Wheel::DayOfMonth:
        for (int day = 1; day <= 31; ++day) {
            rows.append(QString::number(day));
        }
        wheel->setRows(rows);
        wheel->setLooping(true);
        wheel->setTextAlignment(TextAlignment::Center, 0.0);
        break;
    case Wheel::Year:
        for (int year = firstPickerYear; year <= lastPickerYear; ++year) {
            rows.append(QString::number(year));
        }
        wheel->setRows(rows);
        wheel->setTextAlignment(TextAlignment::Center, 0.0);
        break;
    case Wheel::Day:
        // Its rows depend on the date and come with it.
        wheel->setFontSize(dayWheelFontSize);
        wheel->setTextAlignment(TextAlignment::Right, dayWheelTextInset);
        break;
    }
    return wheel;
}

double DatePicker::wheelWidth(Wheel kind) const {
    const bool besideDay = m_mode == Mode::DateAndTime;
    const bool twelveHour = m_format.usesTwelveHourClock();
    switch (kind) {
    case Wheel::Hour:
        if (besideDay) {
            return twelveHour ? besideDayWidth12 : besideDayWidth24;
        }
        return twelveHour ? hourWidth12 : hourWidth24;
    case Wheel::Minute:
        if (besideDay) {
            return twelveHour ? besideDayWidth12 : besideDayWidth24;
        }
        return twelveHour ? minuteWidth12 : minuteWidth24;
    case Wheel::AmPm:
        return besideDay ? besideDayAmPmWidth : amPmWidth;
    case Wheel::Month:
        return monthWheelWidth;
    case Wheel::DayOfMonth:
        return dayOfMonthWheelWidth;
    case Wheel::Year:
        return yearWheelWidth;
    case Wheel::Day:
        return dayWheelWidth;
    }
    return 0.0;
}

void DatePicker::attachWheels() {
    // Subviews need the picker's own std::shared_ptr, which does not exist yet while it is
    // being made; the wheels join it as soon as it does.
    if (weak_from_this().expired()) {
        return;
    }
    for (const auto& each : m_wheels) {
        if (each->superview().get() != this) {
            addSubview(each);
        }
    }
}

void DatePicker::stateDidChange() {
    for (const auto& each : m_wheels) {
        each->setUserInteractionEnabled(enabled());
    }
}

void DatePicker::didMoveToSuperview() {
    attachWheels();
}

void DatePicker::fillMinuteRows() {
    const auto minutes = wheel(Wheel::Minute);
    if (!minutes) {
        return;
    }
    QStringList rows;
    for (int minute = 0; minute < 60; minute += m_minuteInterval) {
        rows.append(QStringLiteral("%1").arg(minute, 2, 10, QLatin1Char('0')));
    }
    minutes->setRows(rows);
}

std::shared_ptr<DatePickerWheel> DatePicker::wheel(Wheel kind) const {
    for (std::size_t i = 0; i < m_order.size() && i < m_wheels.size(); ++i) {
        if (m_order[i] == kind) {
            return m_wheels[i];
        }
    }
    return nullptr;
}

void DatePicker::showDate(bool animated) {
    const DatePickerDays calendar = days();
    const DatePickerDays::TimeOfDay time = calendar.timeOfDay(m_date);
    if (const auto hours = wheel(Wheel::Hour)) {
        hours->setSelectedRow(m_format.usesTwelveHourClock() ? time.hour % 12 : time.hour, animated);
    }
    if (const auto minutes = wheel(Wheel::Minute)) {
        minutes->setSelectedRow(time.minute / m_minuteInterval, animated);
    }
    if (const auto amPm = wheel(Wheel::AmPm)) {
        amPm->setSelectedRow(time.hour >= 12 ? 1 : 0, animated);
    }
    if (m_mode == Mode::Time) {
        return;
    }
    const CivilDate day = calendar.day(m_date);
    if (const auto months = wheel(Wheel::Month)) {
        months->setSelectedRow(day.month - 1, animated);
    }
    if (const auto daysOfMonth = wheel(Wheel::DayOfMonth)) {
        daysOfMonth->setSelectedRow(day.day - 1, animated);
    }
    if (const auto years = wheel(Wheel::Year)) {
        years->setSelectedRow(std::clamp(day.year, firstPickerYear, lastPickerYear) - firstPickerYear,
                              animated);
    }
    centreDays(calendar, day, animated);
}

void DatePicker::centreDays(const DatePickerDays& calendar, CivilDate day, bool animated) {
    const auto dayWheel = wheel(Wheel::Day);
    if (!dayWheel) {
        return;
    }
    const std::int64_t wasShown = m_firstDay + dayWheel->selectedRow();
    const bool hadRows = !dayWheel->rows().isEmpty();
    m_firstDay = CivilDate::daysFromCivil(day.year, day.month, day.day) - daysAround;
    dayWheel->setRows(calendar.titlesOfDays(m_firstDay, 2 * daysAround + 1, localeIdentifier()));
    if (animated && hadRows) {
        // The turn starts from the day shown before, where the new rows still hold it.
        dayWheel->setSelectedRow(
            static_cast<int>(std::clamp<std::int64_t>(wasShown - m_firstDay, 0, 2 * daysAround)), false);
    }
    dayWheel->setSelectedRow(daysAround, animated);
}

void DatePicker::wheelSettled(DatePickerWheel& wheel) {
    // The wheels report through their superview, which is gone when the picker is.
    if (const auto picker = std::dynamic_pointer_cast<DatePicker>(wheel.superview())) {
        picker->userTurnedWheels();
    }
}

void DatePicker::userTurnedWheels() {
    // While the user still turns another wheel, its own report comes later and covers this one.
    if (std::any_of(m_wheels.begin(), m_wheels.end(), [](const auto& each) { return each->isTurning(); })) {
        return;
    }
    switch (m_mode) {
    case Mode::Time:
        break;
    case Mode::Date:
        userTurnedDateWheels();
        return;
    case Mode::DateAndTime:
        userTurnedDayAndTimeWheels();
        return;
    }
    const DatePickerDays calendar = days();
    const DatePickerDays::TimeOfDay time = timeOnWheels();
    const DatePickerDays::TimeOfDay shown = calendar.timeOfDay(m_date);
    if (time.hour == shown.hour && time.minute == shown.minute) {
        return;
    }
    m_date = calendar.dateAtTimeOfDay(m_date, time);
    sendValueChanged();
}

DatePickerDays::TimeOfDay DatePicker::timeOnWheels() const {
    const auto hours = wheel(Wheel::Hour);
    const auto minutes = wheel(Wheel::Minute);
    const auto amPm = wheel(Wheel::AmPm);
    DatePickerDays::TimeOfDay time;
    time.hour = std::max(0, hours ? hours->selectedRow() : 0);
    if (m_format.usesTwelveHourClock() && amPm && amPm->selectedRow() == 1) {
        time.hour += 12;
    }
    time.minute = std::max(0, minutes ? minutes->selectedRow() : 0) * m_minuteInterval;
    return time;
}

void DatePicker::userTurnedDateWheels() {
    const auto months = wheel(Wheel::Month);
    const auto daysOfMonth = wheel(Wheel::DayOfMonth);
    const auto years = wheel(Wheel::Year);
    if (!months || !daysOfMonth || !years) {
        return;
    }
    CivilDate chosen{firstPickerYear + std::max(0, years->selectedRow()),
                     std::max(0, months->selectedRow()) + 1, std::max(0, daysOfMonth->selectedRow()) + 1};
    const int last = CivilDate::daysInMonth(chosen.year, chosen.month);
    if (chosen.day > last) {
        // A day the month does not have turns back to its last one, as the date itself does.
        chosen.day = last;
        daysOfMonth->setSelectedRow(last - 1, true);
    }
    const DatePickerDays calendar = days();
    if (chosen == calendar.day(m_date)) {
        return;
    }
    m_date = calendar.dateOnDay(chosen, calendar.timeOfDay(m_date));
    sendValueChanged();
}

void DatePicker::userTurnedDayAndTimeWheels() {
    const auto dayWheel = wheel(Wheel::Day);
    if (!dayWheel) {
        return;
    }
    const DatePickerDays calendar = days();
    const int row = std::max(0, dayWheel->selectedRow());
    const CivilDate chosen = CivilDate::civilFromDays(m_firstDay + row);
    if (row < daysNearEnd || row > 2 * daysAround - daysNearEnd) {
        centreDays(calendar, chosen, false);
    }
    const DatePickerDays::TimeOfDay time = timeOnWheels();
    const DatePickerDays::TimeOfDay shown = calendar.timeOfDay(m_date);
    if (chosen == calendar.day(m_date) && time.hour == shown.hour && time.minute == shown.minute) {
        return;
    }
    m_date = calendar.dateOnDay(chosen, time);
    sendValueChanged();
}

int DatePicker::numberOfRowsInComponent(int component) const {
    if (component < 0 || component >= numberOfComponents()) {
        return 0;
    }
    return static_cast<int>(m_wheels[static_cast<std::size_t>(component)]->rows().size());
}

QString DatePicker::titleForRow(int row, int component) const {
    if (row < 0 || row >= numberOfRowsInComponent(component)) {
        return {};
    }
    return m_wheels[static_cast<std::size_t>(component)]->rows()[row];
}

int DatePicker::selectedRowInComponent(int component) const {
    if (component < 0 || component >= numberOfComponents()) {
        return -1;
    }
    return m_wheels[static_cast<std::size_t>(component)]->selectedRow();
}

Rect DatePicker::rectForComponent(int component) const {
    if (component < 0 || component >= numberOfComponents()) {
        return {};
    }
    return m_wheels[static_cast<std::size_t>(component)]->frame();
}

int DatePicker::rowShownInComponent(int component) const {
    if (component < 0 || component >= numberOfComponents()) {
        return -1;
    }
    const auto& shown = m_wheels[static_cast<std::size_t>(component)];
    return shown->rowShownAt(shown->bounds().height() / 2.0);
}

bool DatePicker::isMoving() const {
    return std::any_of(m_wheels.begin(), m_wheels.end(),
                       [](const auto& each) { return each->isMoving() || each->isTracking(); });
}

void DatePicker::layoutSubviews() {
    attachWheels();
    std::vector<double> widths;
    for (const Wheel kind : m_order) {
        widths.push_back(wheelWidth(kind));
    }
    double total = 0.0;
    for (const double width : widths) {
        total += width;
    }
    const double room = bounds().width() - 2.0 * wheelTop;
    const double factor = total > room && total > 0.0 ? room / total : 1.0;
    double x = (bounds().width() - total * factor) / 2.0;
    for (std::size_t i = 0; i < m_wheels.size() && i < widths.size(); ++i) {
        m_wheels[i]->setFrame(Rect(x, wheelTop, widths[i] * factor, wheelHeight));
        x += widths[i] * factor;
    }
}

Size DatePicker::fittingSize(Size /*size*/) const {
    return {bounds().width(), pickerHeight};
}

void DatePicker::drawRect(GraphicsContext& context, const Rect& /*rect*/) {
    const Rect area = bounds();
    // The grey metal frame.
    context.drawLinearGradient({{0.0, Color::fromRgb255(160, 162, 170)},
                                {0.5, Color::fromRgb255(104, 106, 116)},
                                {1.0, Color::fromRgb255(58, 60, 68)}},
                               Point(0, 0), Point(0, area.height()));
    context.setFillColor(Color(1, 1, 1, 0.35));
    context.fillRect(Rect(0, 0, area.width(), 1));
    if (!m_wheels.empty()) {
        // A dark well around the wheels.
        const Rect wells = m_wheels.front()->frame().united(m_wheels.back()->frame()).inset(-3.0, -3.0);
        context.setFillColor(Color(0.1, 0.1, 0.12));
        RoundedRectangle(wells, 5.0).drawRoundedRectPath(context);
        context.fillPath();
    }
    DatePickerWheel::drawSelectionBar(context, Rect(0, area.height() / 2.0 - DatePickerWheel::rowHeight / 2.0,
                                                    area.width(), DatePickerWheel::rowHeight));
}
