#include "core/sync/WebCalendarSubscriptions.h"

#include "core/eventstore/EKCalendar.h"
#include "core/eventstore/EKEventStore.h"
#include "core/eventstore/EventStoreConnection.h"
#include "core/eventstore/EventStoreLog.h"
#include "core/eventstore/EventStoreWriter.h"
#include "core/eventstore/ICalendarReader.h"
#include "core/eventstore/ICalendarValues.h"
#include "core/sqlite/SqliteStatement.h"
#include "core/sync/HttpExchange.h"
#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "foundation/RunLoop.h"

#include <QNetworkAccessManager>

#include <algorithm>

struct WebCalendarSubscriptions::Subscription {
    std::int64_t id = 0;
    std::shared_ptr<EKCalendar> calendar;
    QUrl url;
    QString etag;
    QString lastModified;
    double interval = defaultInterval;
    std::optional<Date> lastFetch;
};

// What a fetch gave: nothing new (304), or the calendar's events and how often to fetch it.
struct WebCalendarSubscriptions::Fetched {
    bool unchanged = false;
    QString etag;
    QString lastModified;
    double interval = defaultInterval;
    std::vector<std::shared_ptr<EKEvent>> events;
};

namespace {

// REFRESH-INTERVAL (RFC 7986 5.7), or the older X-PUBLISHED-TTL, of the calendar as a whole: read
// from the lines before its first component, unfolded.
double refreshInterval(const QByteArray& text) {
    QByteArray unfolded = text;
    unfolded.replace("\r\n ", "").replace("\r\n\t", "").replace("\n ", "").replace("\n\t", "");
    for (const QByteArray& raw : unfolded.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith("BEGIN:") && line != "BEGIN:VCALENDAR") {
            break;
        }
        const QByteArray name = line.left(line.indexOf(':')).split(';').first().toUpper();
        if (name != "REFRESH-INTERVAL" && name != "X-PUBLISHED-TTL") {
            continue;
        }
        if (const auto duration = ICalendarValues::readDurationValue(line.mid(line.indexOf(':') + 1))) {
            return std::max(WebCalendarSubscriptions::minimumInterval, double(duration->exactSeconds()));
        }
    }
    return WebCalendarSubscriptions::defaultInterval;
}

} // namespace

WebCalendarSubscriptions::WebCalendarSubscriptions(EKEventStore& store)
    : WebCalendarSubscriptions(store, Options{}) {}

WebCalendarSubscriptions::WebCalendarSubscriptions(EKEventStore& store, Options options)
    : m_store(store), m_options(options) {}

QUrl WebCalendarSubscriptions::fetchAddress(const QString& address) {
    QUrl url(address.trimmed());
    if (url.scheme().compare(QLatin1String("webcal"), Qt::CaseInsensitive) == 0 ||
        url.scheme().compare(QLatin1String("webcals"), Qt::CaseInsensitive) == 0) {
        url.setScheme(QStringLiteral("https"));
    }
    return url;
}

std::shared_ptr<EKCalendar> WebCalendarSubscriptions::subscribe(const QString& address, const QString& title,
                                                                QString* problem) {
    const QUrl url = fetchAddress(address);
    if (!url.isValid() || (url.scheme() != QLatin1String("https") && url.scheme() != QLatin1String("http"))) {
        *problem = localizedString(QStringLiteral("%1 is not a webcal://, https:// or http:// address"))
                       .arg(address);
        return nullptr;
    }
    const QString key = url.toString(QUrl::FullyEncoded);
    for (const Subscription& existing : subscriptions()) {
        if (existing.url.toString(QUrl::FullyEncoded) == key) {
            *problem = localizedString(QStringLiteral("%1 is already subscribed as “%2”"))
                           .arg(address, existing.calendar->title());
            return nullptr;
        }
    }
    const std::optional<Fetched> fetched = fetch(url, QString(), QString(), problem);
    if (!fetched) {
        return nullptr;
    }
    auto calendar = std::make_shared<EKCalendar>(EventStoreWriter::newIdentifier(),
                                                 EKCalendarType::Subscription, nullptr);
    calendar->setTitle(title);
    calendar->setColor(Color(0.61, 0.35, 0.71));
    StoreError error;
    const bool written = m_store.writeSynced(
        [&](EventStoreWriter& writer, StoreError* e) {
            const std::int64_t sourceId =
                writer.ensureSource(QStringLiteral("Subscribed Calendars"), EKSourceType::Subscribed, e);
            const std::int64_t id =
                sourceId == 0 ? 0 : writer.insertCalendar(*calendar, sourceId, QString(), e);
            if (id == 0) {
                return false;
            }
            SqliteStatement& setAddress = writer.connection().sql().statement(
                "UPDATE calendars SET remote_url = ?1, read_only = 1 WHERE id = ?2");
            return setAddress.bind(1, key).bind(2, id).execute() || writer.databaseFailure(e);
        },
        &error);
    if (!written) {
        *problem = error.localizedDescription;
        return nullptr;
    }
    for (const Subscription& added : subscriptions()) {
        if (added.calendar->isEqual(*calendar)) {
            if (!store(added, *fetched, problem)) {
                return nullptr;
            }
            return added.calendar;
        }
    }
    *problem = localizedString(QStringLiteral("the subscription to %1 was not kept")).arg(address);
    return nullptr;
}

std::vector<QString> WebCalendarSubscriptions::refreshDue() {
    std::vector<QString> problems;
    const Date now = RunLoop::main().now();
    for (const Subscription& subscription : subscriptions()) {
        if (subscription.lastFetch &&
            now.timeIntervalSinceDate(*subscription.lastFetch) < subscription.interval) {
            continue;
        }
        QString problem;
        const std::optional<Fetched> fetched =
            fetch(subscription.url, subscription.etag, subscription.lastModified, &problem);
        if (!fetched || !store(subscription, *fetched, &problem)) {
            problems.push_back(localizedString(QStringLiteral("the calendar “%1” keeps its events: %2"))
                                   .arg(subscription.calendar->title(), problem));
        }
    }
    return problems;
}

void WebCalendarSubscriptions::refreshDueLoggingProblems() {
    for (const QString& problem : refreshDue()) {
        Log::warning(eventStoreLogCategory, problem);
    }
}

std::optional<Date> WebCalendarSubscriptions::nextRefresh() const {
    std::optional<Date> next;
    for (const Subscription& subscription : subscriptions()) {
        const Date due = subscription.lastFetch
                             ? subscription.lastFetch->addingTimeInterval(subscription.interval)
                             : RunLoop::main().now();
        next = next ? std::min(*next, due) : due;
    }
    return next;
}

std::vector<WebCalendarSubscriptions::Subscription> WebCalendarSubscriptions::subscriptions() const {
    std::vector<Subscription> result;
    m_store.read([&](EventStoreConnection& connection) {
        std::map<std::int64_t, std::shared_ptr<EKCalendar>> byId;
        for (EventStoreConnection::CalendarInfo& info : connection.calendars()) {
            byId.emplace(info.id, info.calendar);
        }
        SqliteStatement& query = connection.sql().statement(
            "SELECT id, remote_url, ctag, sync_token, refresh_interval, last_fetch FROM calendars "
            "WHERE type = ?1 AND remote_url IS NOT NULL ORDER BY id");
        query.bind(1, static_cast<int>(EKCalendarType::Subscription));
        while (query.step()) {
            const auto calendar = byId.find(query.int64(0));
            if (calendar == byId.end()) {
                continue;
            }
            Subscription subscription;
            subscription.id = calendar->first;
            subscription.calendar = calendar->second;
            subscription.url = QUrl(query.text(1));
            subscription.etag = query.text(2);
            subscription.lastModified = query.text(3);
            subscription.interval = query.isNull(4) ? defaultInterval : query.real(4);
            if (!query.isNull(5)) {
                subscription.lastFetch = Date::withTimeIntervalSince1970(query.real(5));
            }
            result.push_back(std::move(subscription));
        }
        query.reset();
    });
    return result;
}

std::optional<WebCalendarSubscriptions::Fetched> WebCalendarSubscriptions::fetch(const QUrl& url,
                                                                                 const QString& etag,
                                                                                 const QString& lastModified,
                                                                                 QString* problem) const {
    QNetworkAccessManager network;
    HttpExchange exchange(network, HttpExchange::Bounds{m_options.maxAnswerBytes, m_options.timeout, 5, {}},
                          QByteArray());
    HttpRequest request{"GET", url, {{"Accept", "text/calendar"}}, {}};
    if (!etag.isEmpty()) {
        request.headers.append({"If-None-Match", etag.toUtf8()});
    }
    if (!lastModified.isEmpty()) {
        request.headers.append({"If-Modified-Since", lastModified.toUtf8()});
    }
    const DavResult<HttpAnswer> answer = exchange.send(request);
    if (!answer) {
        *problem = answer.error().message;
        return std::nullopt;
    }
    Fetched fetched;
    fetched.etag = QString::fromUtf8(answer.value().header("ETag"));
    fetched.lastModified = QString::fromUtf8(answer.value().header("Last-Modified"));
    if (answer.value().status == 304) {
        fetched.unchanged = true;
        fetched.etag = etag;
        fetched.lastModified = lastModified;
        return fetched;
    }
    if (answer.value().status != 200) {
        *problem = localizedString(QStringLiteral("%1 answered with status %2"))
                       .arg(url.toString())
                       .arg(answer.value().status);
        return std::nullopt;
    }
    ICalendarParseResult parsed = ICalendarReader(m_store).read(answer.value().body, url.toString());
    if (parsed.error) {
        *problem = parsed.error->message();
        return std::nullopt;
    }
    if (parsed.events.empty() && !parsed.skipped.empty()) {
        *problem = parsed.skipped.front().message();
        return std::nullopt;
    }
    fetched.interval = refreshInterval(answer.value().body);
    fetched.events = std::move(parsed.events);
    return fetched;
}

bool WebCalendarSubscriptions::store(const Subscription& subscription, const Fetched& fetched,
                                     QString* problem) {
    StoreError error;
    const bool written = m_store.writeSynced(
        [&](EventStoreWriter& writer, StoreError* e) {
            if (!fetched.unchanged &&
                !writer.replaceFeedEvents(subscription.calendar, fetched.events, QString(), e)) {
                return false;
            }
            SqliteStatement& update = writer.connection().sql().statement(
                "UPDATE calendars SET ctag = ?1, sync_token = ?2, refresh_interval = ?3, last_fetch = ?4 "
                "WHERE id = ?5");
            return update.bind(1, fetched.etag)
                       .bind(2, fetched.lastModified)
                       .bind(3, fetched.unchanged ? subscription.interval : fetched.interval)
                       .bind(4, RunLoop::main().now().timeIntervalSince1970())
                       .bind(5, subscription.id)
                       .execute() ||
                   writer.databaseFailure(e);
        },
        &error);
    if (!written) {
        *problem = error.localizedDescription;
    }
    return written;
}
