#pragma once

#include "core/settings/SwitchSetting.h"

#include <QString>

// The switch for the reminders program that the desktop starts at login from the installed
// autostart entry. Off is the user's own entry of the same name with `Hidden=true`, which
// overrides the installed one (XDG autostart); on removes it.
class RemindersWhenClosedSetting : public SwitchSetting {
public:
    // The installed entry's file name.
    static const QString autostartFileName;

    QString settingTitle() const override;
    bool switchedOn() const override;
    void switchFlipped() override;

    // `autostart/<name>` in $XDG_CONFIG_HOME, or in the configuration folder of a run with a data
    // folder of its own, which shares nothing with the desktop.
    static QString overridePath();
};
