#pragma once

#include "foundation/Date.h"

#include <QString>
#include <QUrl>

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

class EKCalendar;
class EKEventStore;

// Calendars subscribed to by address (webcal://, webcals://, https://, and http:// to this
// computer): read-only calendars in "Subscribed Calendars", fetched with a conditional GET (the
// last ETag and Last-Modified), read leniently, and fetched again once their REFRESH-INTERVAL has
// passed (at least 15 minutes, an hour when the calendar says nothing). Answers are bounded in size
// and time; an answer that cannot be used leaves the calendar with what it had. Blocks the calling
// thread while it fetches.
class WebCalendarSubscriptions {
public:
    struct Options {
        qint64 maxAnswerBytes = 50 * 1024 * 1024;
        std::chrono::milliseconds timeout{60000};
    };

    static constexpr double minimumInterval = 15 * 60;
    static constexpr double defaultInterval = 60 * 60;

    explicit WebCalendarSubscriptions(EKEventStore& store);
    WebCalendarSubscriptions(EKEventStore& store, Options options);

    // Fetches the calendar and adds it; null with `problem` set when the address cannot be reached,
    // is not allowed, or does not give a calendar.
    std::shared_ptr<EKCalendar> subscribe(const QString& address, const QString& title, QString* problem);

    // Fetches again the subscriptions whose interval has passed; the problems, each naming its
    // calendar.
    std::vector<QString> refreshDue();
    // The same, with each problem logged as a warning: for refreshes nobody waits on.
    void refreshDueLoggingProblems();
    // When the next subscription is due; none without subscriptions.
    std::optional<Date> nextRefresh() const;

    // The https:// address a webcal:// or webcals:// one stands for; others as they are.
    static QUrl fetchAddress(const QString& address);

private:
    struct Subscription;
    struct Fetched;

    std::vector<Subscription> subscriptions() const;
    std::optional<Fetched> fetch(const QUrl& url, const QString& etag, const QString& lastModified,
                                 QString* problem) const;
    bool store(const Subscription& subscription, const Fetched& fetched, QString* problem);

    EKEventStore& m_store;
    Options m_options;
};
