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

SettingOptions DefaultAlertSetting::settingOptions() const {
    SettingOptions options;
    options.addOption(QString::number(AppSettings::noAlarm), localizedString("None"));
    options.addOption("-300", localizedString("5 minutes before"));
    options.addOption("-900", localizedString("15 minutes before"));
    options.addOption("-1800", localizedString("30 minutes before"));
    options.addOption("-3600", localizedString("1 hour before"));
    options.addOption("-7200", localizedString("2 hours before"));
    options.addOption("-86400", localizedString("1 day before"));
    options.addOption("-172800", localizedString("2 days before"));
    options.addOption("0", localizedString("On date of event"));
    const double seconds = AppSettings::instance().loadDefaultAlarmSecondsForAlarm(m_alarmNumber);
    options.setSelectedOption(QString::number(static_cast<qint64>(std::trunc(seconds))));
    return options;
}

QString DefaultAlertSetting::settingValue() const {
    return settingOptions().valueForKey();
}

void DefaultAlertSetting::optionSelected(const QString& key, const QString&) {
    AppSettings::instance().storeDefaultAlarmSeconds(key.toInt(), m_alarmNumber);
}
