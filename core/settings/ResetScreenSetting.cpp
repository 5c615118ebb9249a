#include "core/settings/ResetScreenSetting.h"

#include "core/settings/AppSettings.h"
#include "foundation/Localization.h"

QString ResetScreenSetting::settingTitle() const {
    return localizedString("Back to Current Week");
}

OptionListSetting::OptionKeys ResetScreenSetting::optionKeys() const {
    return {
        {"0", localizationKey("On each reopen")},     {"15", localizationKey("after 15 seconds")},
        {"60", localizationKey("after 1 minute")},    {"300", localizationKey("after 5 minutes")},
        {"900", localizationKey("after 15 minutes")}, {"1800", localizationKey("after 30 minutes")},
        {"3600", localizationKey("after 1 hour")},    {"7200", localizationKey("after 2 hours")},
    };
}

QString ResetScreenSetting::currentKey() const {
    return QString::number(AppSettings::instance().loadJumpToTodayAfterSeconds());
}

void ResetScreenSetting::optionSelected(const QString& key, const QString&) {
    AppSettings::instance().storeJumpToTodayAfterSeconds(key.toInt());
}
