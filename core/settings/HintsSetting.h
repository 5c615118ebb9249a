#pragma once

#include "core/settings/SwitchSetting.h"

#include <functional>

// The switch that turns all hints on or off.
class HintsSetting : public SwitchSetting {
public:
    QString settingTitle() const override;
    bool switchedOn() const override;
    // Stores the opposite of the current value and passes it to the hints through
    // `toSetHintsEnabled`.
    void switchFlipped() override;

    // Applies the new value to the hints model (its process-wide enabled state).
    std::function<void(bool enabled)> toSetHintsEnabled;
};
