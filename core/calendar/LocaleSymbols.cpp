#include "core/calendar/LocaleSymbols.h"

#include "foundation/StringUtilities.h"

#include <unicode/dtfmtsym.h>
#include <unicode/locid.h>

#include <memory>
#include <string>

namespace {

// Loading the symbols is expensive, so each thread keeps the set of the locale it last used.
struct ThreadSymbols {
    std::string localeName;
    std::unique_ptr<icu::DateFormatSymbols> symbols;
};

thread_local ThreadSymbols t_symbols;

const icu::DateFormatSymbols* symbols() {
    const icu::Locale& locale = icu::Locale::getDefault();
    if (!t_symbols.symbols || t_symbols.localeName != locale.getName()) {
        UErrorCode status = U_ZERO_ERROR;
        auto loaded = std::make_unique<icu::DateFormatSymbols>(locale, status);
        t_symbols.symbols = U_SUCCESS(status) ? std::move(loaded) : nullptr;
        t_symbols.localeName = locale.getName();
    }
    return t_symbols.symbols.get();
}

} // namespace

QString LocaleSymbols::shortWeekdaySymbol(int weekday) {
    const icu::DateFormatSymbols* formatSymbols = symbols();
    if (!formatSymbols) {
        return QString();
    }
    int32_t count = 0;
    // ICU's weekday arrays are indexed by UCAL_SUNDAY (1) … UCAL_SATURDAY (7); index 0 is empty.
    const icu::UnicodeString* names = formatSymbols->getWeekdays(count, icu::DateFormatSymbols::FORMAT,
                                                                 icu::DateFormatSymbols::ABBREVIATED);
    if (weekday < 1 || weekday > 7 || weekday >= count) {
        return QString();
    }
    return StringUtilities::fromUnicodeString(names[weekday]);
}

QString LocaleSymbols::monthSymbol(int month) {
    const icu::DateFormatSymbols* formatSymbols = symbols();
    if (!formatSymbols) {
        return QString();
    }
    int32_t count = 0;
    const icu::UnicodeString* names =
        formatSymbols->getMonths(count, icu::DateFormatSymbols::FORMAT, icu::DateFormatSymbols::WIDE);
    if (month < 1 || month > 12 || month > count) {
        return QString();
    }
    return StringUtilities::fromUnicodeString(names[month - 1]);
}
