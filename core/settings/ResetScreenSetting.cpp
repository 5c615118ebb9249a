#include "core/settings/ResetScreenSetting.h"

#include "core/settings/AppSettings.h"
#include "foundation/Localization.h"

QString ResetScreenSetting::settingTitle() const {
    return localizedString("Back to Current Week");
}

OptionListSetting::OptionKeys ResetScreenSetting::optionKeys() const {
    return {
        {"0", "On each reopen"},    {"15", "after 15 seconds"},  {"60", "after 1 minute"},
        {"300", "after 5 minutes"}, {"900", "after 15 minutes"}, {"1800", "after 30 minutes"},
        {"3600", "after 1 hour"},   {"7200", "after 2 hours"},
    };
}

QString ResetScreenSetting::currentKey() const {
    return QString::number(AppSettings::instance().loadJumpToTodayAfterSeconds());
}

void ResetScreenSetting::optionSelected(const QString& key, const QString&) {
    AppSettings::instance().storeJumpToTodayAfterSeconds(key.toInt());
}
