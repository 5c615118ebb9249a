#pragma once

#include "core/settings/OptionListSetting.h"

// The week numbering method: international (ISO 8601) or USA.
class WeekNumbersSetting : public OptionListSetting {
public:
    QString settingTitle() const override;
    void optionSelected(const QString& key, const QString& value) override;

protected:
    OptionKeys optionKeys() const override;
    QString currentKey() const override;
};
