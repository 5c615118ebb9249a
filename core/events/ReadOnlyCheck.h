#pragma once

#include "foundation/Date.h"

#include <QString>

#include <vector>

class EKAlarm;
class EKEvent;

// The rules every screen applies to a single event. They may run on any thread, except
// isReadOnly, which changes the event for a moment.
namespace ReadOnlyCheck {

// True when the event's calendar forbids changes or the store refuses to move the event.
// Main thread only: the probe writes to the event and puts it back.
bool isReadOnly(EKEvent& event);
// The end used to place the event on days: the real end for events longer than an hour,
// otherwise one second after the start, so short events count only where they start.
Date endDateWithOptionalDuration(const EKEvent& event);
// `dayStart` is 00:00 of the day.
bool happensOnDay(const EKEvent& event, Date dayStart);
bool happensInPeriodFromDate(const EKEvent& event, Date from, Date to);
// The text of an event row: title, then location; "New Event" when there is neither.
QString titleAndLocation(const EKEvent& event);
// The start time as shown in rows, shortened by correctTime.
QString time(const EKEvent& event);
// "9:00 AM" → "9a", "12:30 PM" → "12:30p"; 24-hour texts are left as they are.
QString correctTime(const QString& formattedTime);
// Replaces the event's alarms; an Exchange calendar gets only the first of two.
void applyAlarms(EKEvent& event, const std::vector<EKAlarm>& alarms);

} // namespace ReadOnlyCheck
