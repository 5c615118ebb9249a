#pragma once

#include <QString>

// A row of the settings list.
class Setting {
public:
    virtual ~Setting() = default;

    virtual QString settingTitle() const = 0;
    // True hides the row from the settings list.
    virtual bool hideFromOverview() const { return false; }
};
