#include "core/settings/WeekendDaysSetting.h"

#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/WeekendDaysChangedEvent.h"
#include "core/settings/AppSettings.h"
#include "foundation/Localization.h"

QString WeekendDaysSetting::settingTitle() const {
    return localizedString("Weekend on");
}

SettingOptions WeekendDaysSetting::settingOptions() const {
    SettingOptions options;
    options.addOption("0", localizedString("Thursday and Friday"));
    options.addOption("1", localizedString("Friday and Saturday"));
    options.addOption("2", localizedString("Saturday and Sunday"));
    options.setSelectedOption(QString::number(AppSettings::instance().loadWeekendDays()));
    return options;
}

QString WeekendDaysSetting::settingValue() const {
    return settingOptions().valueForKey();
}

void WeekendDaysSetting::optionSelected(const QString& key, const QString&) {
    AppSettings::instance().storeWeekendDays(key.toInt());
    ApplicationEventDispatcher::sharedInstance().dispatch<WeekendDaysChangedEvent>();
}
