#pragma once

#include "core/settings/MultiSelectSetting.h"

// The two weekend days; the week begins on the day after them.
class WeekendDaysSetting : public MultiSelectSetting {
public:
    QString settingTitle() const override;
    QString settingValue() const override;
    SettingOptions settingOptions() const override;
    void optionSelected(const QString& key, const QString& value) override;
};
