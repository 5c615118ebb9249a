#include "core/calendar/Month.h"

#include "core/calendar/Day.h"
#include "core/calendar/LocaleSymbols.h"
#include "core/calendar/Quarter.h"
#include "core/calendar/TwoMonths.h"
#include "core/calendar/Year.h"
#include "foundation/CivilDate.h"
#include "foundation/Locale.h"

#include <array>
#include <mutex>

namespace {

// Month colours are asked for from the main thread and from background page builders alike.
struct SeasonColors {
    std::mutex mutex;
    bool needsRegionCheck = true;
    bool built = false;
    QString countryCode;
    std::array<Color, 12> colors{};
};

SeasonColors& seasonColors() {
    static SeasonColors colors;
    return colors;
}

const QString southernRegions =
    QStringLiteral("|AS|AO|AQ|AR|AU|BO|BW|BV|BR|IO|BI|CL|KM|CG|CD|CK|EC|FK|FJ|PF|GA|ID|LS|MG|MW|"
                   "MU|YT|MZ|NA|NR|NC|NZ|NU|PG|PY|PE|PN|RE|RW|SH|WS|SC|SB|ZA|GS|SZ|TZ|TL|TK|TO|"
                   "TV|UY|VU|WF|ZM|ZW|");

} // namespace

Month Month::nextMonth() const {
    return m_monthNumber == 12 ? Month(m_yearNumber + 1, 1) : Month(m_yearNumber, m_monthNumber + 1);
}

Month Month::previousMonth() const {
    return m_monthNumber == 1 ? Month(m_yearNumber - 1, 12) : Month(m_yearNumber, m_monthNumber - 1);
}

int Month::monthsTo(const Month& other) const {
    return (other.m_yearNumber * 12 + other.m_monthNumber) - (m_yearNumber * 12 + m_monthNumber);
}

Day Month::firstDay() const {
    return Day(m_yearNumber, m_monthNumber, 1);
}

Day Month::lastDay() const {
    return Day(m_yearNumber, m_monthNumber, numberOfDays());
}

int Month::numberOfDays() const {
    return CivilDate::daysInMonth(m_yearNumber, m_monthNumber);
}

Year Month::year() const {
    return Year(m_yearNumber);
}

Quarter Month::quarter() const {
    return Quarter(m_yearNumber, (m_monthNumber - 1) / 3 + 1);
}

TwoMonths Month::twoMonths() const {
    return TwoMonths(m_yearNumber, m_monthNumber % 2 == 1 ? m_monthNumber : m_monthNumber - 1);
}

QString Month::name() const {
    return LocaleSymbols::monthSymbol(m_monthNumber);
}

Color Month::seasonAwareColor() const {
    SeasonColors& state = seasonColors();
    const std::lock_guard<std::mutex> lock(state.mutex);
    if (state.needsRegionCheck || !state.built) {
        const QString countryCode = Locale::countryCode();
        if (!state.built || countryCode != state.countryCode) {
            const bool southern =
                southernRegions.contains(QStringLiteral("|%1|").arg(countryCode), Qt::CaseInsensitive);
            for (int i = 1; i <= 12; ++i) {
                const int k = ((southern ? 14 : 20) - i) % 12;
                state.colors[static_cast<std::size_t>(i - 1)] = Color::fromHsb(k / 12.0, 0.6, 0.6, 1.0);
            }
            state.countryCode = countryCode;
            state.built = true;
        }
        state.needsRegionCheck = false;
    }
    if (m_monthNumber < 1 || m_monthNumber > 12) {
        return Color();
    }
    return state.colors[static_cast<std::size_t>(m_monthNumber - 1)];
}

void Month::refreshSeasonAwareColors() {
    SeasonColors& state = seasonColors();
    const std::lock_guard<std::mutex> lock(state.mutex);
    state.needsRegionCheck = true;
}

QString Month::description() const {
    return QString::asprintf("%04d-%02d", m_yearNumber, m_monthNumber);
}
