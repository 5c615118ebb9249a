#include "core/settings/WeekNumbersSetting.h"

#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/WeekNumberMethodChangedEvent.h"
#include "core/settings/AppSettings.h"
#include "foundation/Localization.h"

QString WeekNumbersSetting::settingTitle() const {
    return localizedString("Week Numbering Method");
}

SettingOptions WeekNumbersSetting::settingOptions() const {
    SettingOptions options;
    options.addOption("0", localizedString("International (ISO-8601)"));
    options.addOption("1", localizedString("USA"));
    options.setSelectedOption(QString::number(AppSettings::instance().loadWeekNumberMethod()));
    return options;
}

QString WeekNumbersSetting::settingValue() const {
    return settingOptions().valueForKey();
}

void WeekNumbersSetting::optionSelected(const QString& key, const QString&) {
    AppSettings::instance().storeWeekNumberMethod(key.toInt());
    ApplicationEventDispatcher::sharedInstance().dispatch<WeekNumberMethodChangedEvent>();
}
