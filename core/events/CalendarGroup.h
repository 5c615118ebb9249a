#pragma once

#include <QString>

#include <memory>
#include <vector>

class EKCalendar;
class EKSource;

// The calendars of one account (store source), as the calendar screens list them.
class CalendarGroup {
public:
    CalendarGroup(QString title, QString sortString, std::shared_ptr<const EKSource> source);

    // The title to show: the platform's built-in account names are shown localized.
    QString localizedTitle() const;
    // Orders the calendars by title, plain case-sensitive comparison.
    void sortCalendarsOnTitle();
    // True for account kinds in which the user may add calendars: local, CalDAV, MobileMe.
    bool isAddCalendarEnabled() const;

    const QString& title() const { return m_title; }
    void setTitle(QString title) { m_title = std::move(title); }
    const QString& sortString() const { return m_sortString; }
    void setSortString(QString sortString) { m_sortString = std::move(sortString); }
    const std::shared_ptr<const EKSource>& source() const { return m_source; }
    void setSource(std::shared_ptr<const EKSource> source) { m_source = std::move(source); }
    std::vector<std::shared_ptr<EKCalendar>>& calendars() { return m_calendars; }
    const std::vector<std::shared_ptr<EKCalendar>>& calendars() const { return m_calendars; }
    void setCalendars(std::vector<std::shared_ptr<EKCalendar>> calendars) {
        m_calendars = std::move(calendars);
    }

private:
    QString m_title;
    QString m_sortString;
    std::shared_ptr<const EKSource> m_source;
    std::vector<std::shared_ptr<EKCalendar>> m_calendars;
};
