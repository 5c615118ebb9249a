#pragma once

#include "core/settings/MultiSelectSetting.h"

// The week numbering method: international (ISO 8601) or USA.
class WeekNumbersSetting : public MultiSelectSetting {
public:
    QString settingTitle() const override;
    QString settingValue() const override;
    SettingOptions settingOptions() const override;
    void optionSelected(const QString& key, const QString& value) override;
};
