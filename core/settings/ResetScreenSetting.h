#pragma once

#include "core/settings/MultiSelectSetting.h"

// How long an absence lasts before the week screen returns to the current week.
class ResetScreenSetting : public MultiSelectSetting {
public:
    QString settingTitle() const override;
    QString settingValue() const override;
    SettingOptions settingOptions() const override;
    void optionSelected(const QString& key, const QString& value) override;
};
