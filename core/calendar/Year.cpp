#include "core/calendar/Year.h"

#include "core/calendar/DateUtilities.h"
#include "core/calendar/Month.h"
#include "foundation/CivilDate.h"

#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/uchar.h>

#include <memory>
#include <string>

namespace {

// Each thread keeps one formatter; it is made again when the user's locale has changed, since the
// locale also selects the calendar whose year number is wanted.
struct RegionalYearFormatter {
    std::string localeName;
    std::unique_ptr<icu::SimpleDateFormat> formatter;
};

thread_local RegionalYearFormatter t_regionalYearFormatter;

icu::SimpleDateFormat* regionalYearFormatter() {
    const icu::Locale& locale = icu::Locale::getDefault();
    RegionalYearFormatter& state = t_regionalYearFormatter;
    if (!state.formatter || state.localeName != locale.getName()) {
        UErrorCode status = U_ZERO_ERROR;
        auto formatter = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString(u"y"), locale, status);
        state.formatter = U_SUCCESS(status) ? std::move(formatter) : nullptr;
        state.localeName = locale.getName();
    }
    return state.formatter.get();
}

std::vector<int> buildDayNumbers(int yearNumber) {
    std::vector<int> numbers;
    numbers.reserve(366);
    for (int month = 1; month <= 12; ++month) {
        const int count = Month(yearNumber, month).numberOfDays();
        for (int day = 1; day <= count; ++day) {
            numbers.push_back(day);
        }
    }
    return numbers;
}

} // namespace

int Year::regionalYearNumber() const {
    icu::SimpleDateFormat* formatter = regionalYearFormatter();
    if (!formatter) {
        return m_yearNumber;
    }
    icu::UnicodeString text;
    formatter->format(DateUtilities::dateWithYear(m_yearNumber, 6, 15).udate(), text);
    // The locale may write its own digits (Arabic-Indic, Devanagari …); any decimal digit counts.
    int number = 0;
    bool hasDigit = false;
    for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
        const int32_t digit = u_charDigitValue(text.char32At(i));
        if (digit >= 0) {
            number = number * 10 + digit;
            hasDigit = true;
        } else if (hasDigit) {
            break;
        }
    }
    return hasDigit ? number : m_yearNumber;
}

const std::vector<int>& Year::dayNumbers() const {
    static const std::vector<int> common = buildDayNumbers(2001);
    static const std::vector<int> leap = buildDayNumbers(2000);
    return CivilDate::isLeapYear(m_yearNumber) ? leap : common;
}
