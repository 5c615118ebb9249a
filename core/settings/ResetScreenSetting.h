#pragma once

#include "core/settings/OptionListSetting.h"

// How long an absence lasts before the week screen returns to the current week.
class ResetScreenSetting : public OptionListSetting {
public:
    QString settingTitle() const override;
    void optionSelected(const QString& key, const QString& value) override;

protected:
    OptionKeys optionKeys() const override;
    QString currentKey() const override;
};
