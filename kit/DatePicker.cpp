#include "kit/DatePicker.h"

#include "foundation/Locale.h"
#include "foundation/StringUtilities.h"
#include "foundation/WallTime.h"
#include "kit/DatePickerWheel.h"
#include "kit/GraphicsContext.h"
#include "kit/RoundedRectangle.h"

#include <unicode/datefmt.h>
#include <unicode/dtfmtsym.h>
#include <unicode/gregocal.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

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

std::unique_ptr<icu::GregorianCalendar> calendarIn(const QString& zoneName) {
    UErrorCode status = U_ZERO_ERROR;
    auto calendar = std::make_unique<icu::GregorianCalendar>(
        icu::TimeZone::createTimeZone(StringUtilities::toUnicodeString(zoneName)), status);
    // Proleptic Gregorian, as WallTime turns the day back into a date.
    calendar->setGregorianChange(U_DATE_MIN, status);
    return U_SUCCESS(status) ? std::move(calendar) : nullptr;
}

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
};

TimeOfDay timeOfDay(Date date, const QString& zoneName) {
    const auto calendar = calendarIn(zoneName);
    if (!calendar) {
        return {};
    }
    UErrorCode status = U_ZERO_ERROR;
    calendar->setTime(date.udate(), status);
    const int hour = calendar->get(UCAL_HOUR_OF_DAY, status);
    const int minute = calendar->get(UCAL_MINUTE, status);
    return U_SUCCESS(status) ? TimeOfDay{hour, minute} : TimeOfDay{};
}

// The date's day at the hour and minute, seconds zero; a time inside a daylight-saving gap
// moves on by the gap, and a time shown twice means the first of the two.
Date dateAtTimeOfDay(Date date, TimeOfDay time, const QString& zoneName) {
    const auto calendar = calendarIn(zoneName);
    if (!calendar) {
        return date;
    }
    UErrorCode status = U_ZERO_ERROR;
    calendar->setTime(date.udate(), status);
    const CivilDate day{calendar->get(UCAL_EXTENDED_YEAR, status), calendar->get(UCAL_MONTH, status) + 1,
                        calendar->get(UCAL_DATE, status)};
    if (U_FAILURE(status)) {
        return date;
    }
    return WallTime{day, time.hour, time.minute, 0}.dateIn(calendar->getTimeZone());
}

// The pattern with its quoted literals blanked, so that letters inside them do not count.
QString patternLetters(const QString& pattern) {
    QString letters;
    bool quoted = false;
    for (const QChar c : pattern) {
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            letters += QLatin1Char(' ');
        } else {
            letters += quoted ? QChar(QLatin1Char(' ')) : c;
        }
    }
    return letters;
}

} // namespace

DatePicker::DatePicker() : DatePicker(Rect(0, 0, 320, pickerHeight)) {}

DatePicker::DatePicker(const Rect& frame)
    : Control(Rect(frame.origin(), Size(frame.width(), pickerHeight))), m_date(Date::now()) {
    setClipsToBounds(true);
    configureWheels();
}

DatePicker::~DatePicker() = default;

void DatePicker::setDatePickerMode(Mode /*mode*/) {}

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

void DatePicker::configureWheels() {
    const QString identifier = m_locale.isEmpty() ? Locale::currentLocaleIdentifier() : m_locale;
    const icu::Locale locale(identifier.toUtf8().constData());
    const std::unique_ptr<icu::DateFormat> format(
        icu::DateFormat::createTimeInstance(icu::DateFormat::kShort, locale));
    QString pattern = QStringLiteral("HH:mm");
    if (const auto* simple = dynamic_cast<const icu::SimpleDateFormat*>(format.get())) {
        icu::UnicodeString text;
        simple->toPattern(text);
        pattern = StringUtilities::fromUnicodeString(text);
    }
    const QString letters = patternLetters(pattern);
    qsizetype hourAt = -1;
    for (qsizetype i = 0; i < letters.size(); ++i) {
        const char c = letters[i].toLatin1();
        if (c == 'H' || c == 'h' || c == 'K' || c == 'k') {
            hourAt = i;
            m_hourLetter = c;
            m_padHours = i + 1 < letters.size() && letters[i + 1] == letters[i];
            break;
        }
    }
    if (hourAt < 0) {
        m_hourLetter = 'H';
        m_padHours = true;
    }
    m_twelveHour = m_hourLetter == 'h' || m_hourLetter == 'K';
    const qsizetype dayPeriodAt = letters.indexOf(QLatin1Char('a'));
    m_amPmFirst = m_twelveHour && dayPeriodAt >= 0 && dayPeriodAt < hourAt;
    m_amPmSymbols = {QStringLiteral("AM"), QStringLiteral("PM")};
    UErrorCode status = U_ZERO_ERROR;
    const icu::DateFormatSymbols symbols(locale, status);
    if (U_SUCCESS(status)) {
        int32_t count = 0;
        const icu::UnicodeString* amPm = symbols.getAmPmStrings(count);
        if (count >= 2) {
            m_amPmSymbols = {StringUtilities::fromUnicodeString(amPm[0]),
                             StringUtilities::fromUnicodeString(amPm[1])};
        }
    }

    for (const auto& old : m_wheels) {
        old->removeFromSuperview();
    }
    m_wheels.clear();
    m_order.clear();
    if (m_amPmFirst) {
        m_order.push_back(Wheel::AmPm);
    }
    m_order.push_back(Wheel::Hour);
    m_order.push_back(Wheel::Minute);
    if (m_twelveHour && !m_amPmFirst) {
        m_order.push_back(Wheel::AmPm);
    }
    for (const Wheel kind : m_order) {
        auto wheel = std::make_shared<DatePickerWheel>(Rect(0, wheelTop, 100, wheelHeight));
        wheel->onSettled = &DatePicker::wheelSettled;
        wheel->setUserInteractionEnabled(enabled());
        QStringList rows;
        switch (kind) {
        case Wheel::Hour:
            for (int hour = 0; hour < (m_twelveHour ? 12 : 24); ++hour) {
                int shown = hour;
                if (m_hourLetter == 'h' && hour == 0) {
                    shown = 12;
                } else if (m_hourLetter == 'k' && hour == 0) {
                    shown = 24;
                }
                rows.append(m_padHours ? QStringLiteral("%1").arg(shown, 2, 10, QLatin1Char('0'))
                                       : QString::number(shown));
            }
            wheel->setRows(rows);
            wheel->setLooping(true);
            wheel->setTextAlignment(TextAlignment::Right, pickerTextInset);
            break;
        case Wheel::Minute:
            wheel->setLooping(true);
            wheel->setTextAlignment(TextAlignment::Left, pickerTextInset);
            break;
        case Wheel::AmPm:
            wheel->setRows(m_amPmSymbols);
            wheel->setTextAlignment(TextAlignment::Center, 0.0);
            break;
        }
        m_wheels.push_back(wheel);
    }
    fillMinuteRows();
    attachWheels();
    layoutSubviews();
    showDate(false);
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
    const TimeOfDay time = timeOfDay(m_date, zoneName());
    if (const auto hours = wheel(Wheel::Hour)) {
        hours->setSelectedRow(m_twelveHour ? time.hour % 12 : time.hour, animated);
    }
    if (const auto minutes = wheel(Wheel::Minute)) {
        minutes->setSelectedRow(time.minute / m_minuteInterval, animated);
    }
    if (const auto amPm = wheel(Wheel::AmPm)) {
        amPm->setSelectedRow(time.hour >= 12 ? 1 : 0, animated);
    }
}

void DatePicker::wheelSettled(DatePickerWheel& wheel) {
    // The wheels report through their superview, which is gone when the picker is.
    if (const auto picker = std::dynamic_pointer_cast<DatePicker>(wheel.superview())) {
        picker->userTurnedWheels();
    }
}

void DatePicker::userTurnedWheels() {
    // While another wheel still turns, its own report comes later and covers this one.
    if (isMoving()) {
        return;
    }
    const auto hours = wheel(Wheel::Hour);
    const auto minutes = wheel(Wheel::Minute);
    const auto amPm = wheel(Wheel::AmPm);
    TimeOfDay time;
    time.hour = std::max(0, hours ? hours->selectedRow() : 0);
    if (m_twelveHour && amPm && amPm->selectedRow() == 1) {
        time.hour += 12;
    }
    time.minute = std::max(0, minutes ? minutes->selectedRow() : 0) * m_minuteInterval;
    const TimeOfDay shown = timeOfDay(m_date, zoneName());
    if (time.hour == shown.hour && time.minute == shown.minute) {
        return;
    }
    m_date = dateAtTimeOfDay(m_date, time, zoneName());
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
        switch (kind) {
        case Wheel::Hour:
            widths.push_back(m_twelveHour ? hourWidth12 : hourWidth24);
            break;
        case Wheel::Minute:
            widths.push_back(m_twelveHour ? minuteWidth12 : minuteWidth24);
            break;
        case Wheel::AmPm:
            widths.push_back(amPmWidth);
            break;
        }
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
