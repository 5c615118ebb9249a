#pragma once

#include "core/settings/MultiSelectSetting.h"
#include "foundation/Color.h"

#include <optional>

class EventService;

// The calendar that new events are put in. Its options are the calendars that take new events,
// keyed by calendar identifier.
class DefaultCalendarSetting : public MultiSelectSetting {
public:
    // On the shared event service.
    DefaultCalendarSetting();
    explicit DefaultCalendarSetting(EventService& eventService) : m_eventService(&eventService) {}

    EventService& eventService() const { return *m_eventService; }

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
    EventService* m_eventService;
};
