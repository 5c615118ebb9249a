#pragma once

#include "core/eventstore/EKSource.h"
#include "foundation/Color.h"

#include <QString>

#include <memory>
#include <optional>

class EKEventStore;

enum class EKCalendarType { Local = 0, CalDAV = 1, Exchange = 2, Subscription = 3, Birthday = 4 };

// A calendar of the store. Objects handed out by the store are fresh copies; changes take effect
// with EKEventStore::saveCalendar.
class EKCalendar {
public:
    // A new, unsaved local calendar with a fresh identifier, in the store's local source.
    static std::shared_ptr<EKCalendar> calendarWithEventStore(EKEventStore& store);

    EKCalendar(QString calendarIdentifier, EKCalendarType type, std::shared_ptr<const EKSource> source);

    QString title() const { return m_title; }
    void setTitle(QString title);
    std::optional<Color> color() const { return m_color; }
    void setColor(std::optional<Color> color);
    EKCalendarType type() const { return m_type; }
    // False for subscription and birthday calendars, and for server calendars the user may not
    // write.
    bool allowsContentModifications() const;
    // A server calendar whose events the user may only read.
    void setReadOnly(bool readOnly);
    // True for subscription and birthday calendars.
    bool isImmutable() const;
    static bool isImmutableType(EKCalendarType type);
    std::shared_ptr<const EKSource> source() const { return m_source; }
    void setSource(std::shared_ptr<const EKSource> source);
    QString calendarIdentifier() const { return m_calendarIdentifier; }
    // "EKCalendar <0x...> {title = Work; type = Local; allowsModify = YES; color = #RRGGBB; account =
    // Default;}"
    QString descriptionText() const;
    bool isEqual(const EKCalendar& other) const;

    // The .ics file or the address a subscription calendar is fed from; empty for other calendars.
    QString subscriptionPath() const { return m_subscriptionPath; }
    void setSubscriptionPath(QString path);

    // A copy that shares nothing mutable with this one.
    std::shared_ptr<EKCalendar> copy() const;

private:
    QString m_calendarIdentifier;
    QString m_title;
    std::optional<Color> m_color;
    EKCalendarType m_type;
    std::shared_ptr<const EKSource> m_source;
    QString m_subscriptionPath;
    bool m_readOnly = false;
};
