#include "core/settings/WeekNumbersSetting.h"

#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/WeekNumberMethodChangedEvent.h"
#include "core/settings/AppSettings.h"
#include "foundation/Localization.h"

QString WeekNumbersSetting::settingTitle() const {
    return localizedString("Week Numbering Method");
}

OptionListSetting::OptionKeys WeekNumbersSetting::optionKeys() const {
    return {
        {"0", localizationKey("International (ISO-8601)")},
        {"1", localizationKey("USA")},
    };
}

QString WeekNumbersSetting::currentKey() const {
    return QString::number(AppSettings::instance().loadWeekNumberMethod());
}

void WeekNumbersSetting::optionSelected(const QString& key, const QString&) {
    AppSettings::instance().storeWeekNumberMethod(key.toInt());
    ApplicationEventDispatcher::sharedInstance().dispatch<WeekNumberMethodChangedEvent>();
}
