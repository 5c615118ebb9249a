#include "core/settings/ResetScreenSetting.h"

#include "core/settings/AppSettings.h"
#include "foundation/Localization.h"

QString ResetScreenSetting::settingTitle() const {
    return localizedString("Back to Current Week");
}

SettingOptions ResetScreenSetting::settingOptions() const {
    SettingOptions options;
    options.addOption("0", localizedString("On each reopen"));
    options.addOption("15", localizedString("after 15 seconds"));
    options.addOption("60", localizedString("after 1 minute"));
    options.addOption("300", localizedString("after 5 minutes"));
    options.addOption("900", localizedString("after 15 minutes"));
    options.addOption("1800", localizedString("after 30 minutes"));
    options.addOption("3600", localizedString("after 1 hour"));
    options.addOption("7200", localizedString("after 2 hours"));
    options.setSelectedOption(QString::number(AppSettings::instance().loadJumpToTodayAfterSeconds()));
    return options;
}

QString ResetScreenSetting::settingValue() const {
    return settingOptions().valueForKey();
}

void ResetScreenSetting::optionSelected(const QString& key, const QString&) {
    AppSettings::instance().storeJumpToTodayAfterSeconds(key.toInt());
}
