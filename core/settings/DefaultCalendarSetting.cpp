#include "core/settings/DefaultCalendarSetting.h"

#include "core/events/Account.h"
#include "core/eventstore/EKCalendar.h"
#include "core/settings/AppSettings.h"
#include "core/settings/CalendarDirectory.h"
#include "foundation/Localization.h"

QString DefaultCalendarSetting::settingTitle() const {
    return localizedString(QStringLiteral("Default Calendar"));
}

QString DefaultCalendarSetting::settingValue() const {
    const std::shared_ptr<EKCalendar> calendar = AppSettings::instance().loadDefaultCalendar(*m_calendars);
    return calendar ? calendar->title() : QString();
}

SettingOptions DefaultCalendarSetting::settingOptions() const {
    SettingOptions options;
    for (const std::shared_ptr<EKCalendar>& calendar : m_calendars->editableAndInvisibleCalendars()) {
        options.addOption(Account::identifier(*calendar), calendar->title());
    }
    if (const std::shared_ptr<EKCalendar> current =
            AppSettings::instance().loadDefaultCalendar(*m_calendars)) {
        options.setSelectedOption(Account::identifier(*current));
    }
    return options;
}

void DefaultCalendarSetting::optionSelected(const QString& key, const QString&) {
    if (const std::shared_ptr<EKCalendar> calendar = m_calendars->findCalendarByIdentifier(key)) {
        AppSettings::instance().storeDefaultCalendar(*calendar);
    }
}

std::optional<Color> DefaultCalendarSetting::settingValueColor() const {
    const std::shared_ptr<EKCalendar> calendar = AppSettings::instance().loadDefaultCalendar(*m_calendars);
    return calendar ? calendar->color() : std::nullopt;
}
