#pragma once

#include "core/settings/OptionListSetting.h"

// The two weekend days; the week begins on the day after them.
class WeekendDaysSetting : public OptionListSetting {
public:
    QString settingTitle() const override;
    void optionSelected(const QString& key, const QString& value) override;

protected:
    OptionKeys optionKeys() const override;
    QString currentKey() const override;
};
