#pragma once

#include "core/settings/MultiSelectSetting.h"
#include "foundation/Color.h"

#include <optional>

class CalendarDirectory;

// The calendar that new events are put in. Its options are the calendars that take new events,
// keyed by calendar identifier.
class DefaultCalendarSetting : public MultiSelectSetting {
public:
    // The calendars come from `calendars`, the event service.
    explicit DefaultCalendarSetting(const CalendarDirectory& calendars) : m_calendars(&calendars) {}

    QString settingTitle() const override;
    // The default calendar's title; empty when there is no calendar at all.
    QString settingValue() const override;
    // Writable calendars that are not birthday calendars, hidden ones included, by identifier.
    SettingOptions settingOptions() const override;
    // The key is a calendar identifier; one that no longer resolves changes nothing.
    void optionSelected(const QString& key, const QString& value) override;

    // The colour of the dot shown beside the value: the default calendar's colour.
    std::optional<Color> settingValueColor() const;

private:
    const CalendarDirectory* m_calendars;
};
