#pragma once

#include "core/settings/MultiSelectSetting.h"

#include <utility>
#include <vector>

// A multi-select setting with a fixed list of options whose texts are localisation keys.
class OptionListSetting : public MultiSelectSetting {
public:
    QString settingValue() const override;
    SettingOptions settingOptions() const override;

protected:
    using OptionKeys = std::vector<std::pair<QString, QString>>;

    // Option keys with the localisation keys of their texts, in display order.
    virtual OptionKeys optionKeys() const = 0;
    // The option key of the current value.
    virtual QString currentKey() const = 0;
};
