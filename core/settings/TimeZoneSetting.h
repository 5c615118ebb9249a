#pragma once

#include "core/settings/MultiSelectSetting.h"

// The time zone the whole program works in, picked from every zone the platform knows.
class TimeZoneSetting : public MultiSelectSetting {
public:
    QString settingTitle() const override;
    QString settingValue() const override;
    SettingOptions settingOptions() const override;
    // Stores the zone, makes it the process default, rebuilds the calendar and formatters, then
    // announces the change. A name the platform does not know changes nothing.
    void optionSelected(const QString& key, const QString& value) override;

    // "America/Argentina/Buenos_Aires" reads "Buenos Aires, Argentina, America".
    static QString toReadableFormat(const QString& timeZoneName);
};
