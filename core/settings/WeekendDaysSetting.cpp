#include "core/settings/WeekendDaysSetting.h"

#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/WeekendDaysChangedEvent.h"
#include "core/settings/AppSettings.h"
#include "foundation/Localization.h"

QString WeekendDaysSetting::settingTitle() const {
    return localizedString("Weekend on");
}

OptionListSetting::OptionKeys WeekendDaysSetting::optionKeys() const {
    return {
        {"0", localizationKey("Thursday and Friday")},
        {"1", localizationKey("Friday and Saturday")},
        {"2", localizationKey("Saturday and Sunday")},
    };
}

QString WeekendDaysSetting::currentKey() const {
    return QString::number(AppSettings::instance().loadWeekendDays());
}

void WeekendDaysSetting::optionSelected(const QString& key, const QString&) {
    AppSettings::instance().storeWeekendDays(key.toInt());
    ApplicationEventDispatcher::sharedInstance().dispatch<WeekendDaysChangedEvent>();
}
