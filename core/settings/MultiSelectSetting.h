#pragma once

#include "core/settings/MultiValueSelectControllerDelegate.h"
#include "core/settings/Setting.h"
#include "core/settings/SettingOptions.h"

// A setting whose value is picked from a list of options.
class MultiSelectSetting : public Setting, public MultiValueSelectControllerDelegate {
public:
    // Display text of the current value.
    virtual QString settingValue() const = 0;
    // The options offered, with the current value selected; the option screen shows these and
    // reports the pick through `optionSelected`.
    virtual SettingOptions settingOptions() const = 0;
};
