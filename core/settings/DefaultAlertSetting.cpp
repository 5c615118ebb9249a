#include "core/settings/DefaultAlertSetting.h"

#include "core/settings/AppSettings.h"
#include "foundation/Localization.h"

#include <cmath>

QString DefaultAlertSetting::settingTitle() const {
    return localizedString(m_alarmNumber == 1 ? "Default Alert" : "Default 2nd Alert");
}

bool DefaultAlertSetting::hideFromOverview() const {
    return m_alarmNumber == 2 &&
           AppSettings::instance().loadDefaultAlarmSecondsForAlarm(1) == AppSettings::noAlarm;
}

OptionListSetting::OptionKeys DefaultAlertSetting::optionKeys() const {
    return {
        {QString::number(AppSettings::noAlarm), localizationKey("None")},
        {"-300", localizationKey("5 minutes before")},
        {"-900", localizationKey("15 minutes before")},
        {"-1800", localizationKey("30 minutes before")},
        {"-3600", localizationKey("1 hour before")},
        {"-7200", localizationKey("2 hours before")},
        {"-86400", localizationKey("1 day before")},
        {"-172800", localizationKey("2 days before")},
        {"0", localizationKey("On date of event")},
    };
}

QString DefaultAlertSetting::currentKey() const {
    const double seconds = AppSettings::instance().loadDefaultAlarmSecondsForAlarm(m_alarmNumber);
    return QString::number(static_cast<qint64>(std::trunc(seconds)));
}

void DefaultAlertSetting::optionSelected(const QString& key, const QString&) {
    AppSettings::instance().storeDefaultAlarmSeconds(key.toInt(), m_alarmNumber);
}
