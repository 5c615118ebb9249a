#pragma once

#include "core/settings/Setting.h"

// A setting shown as an on/off switch.
class SwitchSetting : public Setting {
public:
    virtual bool switchedOn() const = 0;
    virtual void switchFlipped() = 0;
};
