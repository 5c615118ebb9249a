#include "core/sync/WebCalendarSubscriptions.h"
#include "../eventstore/EventStoreTestSupport.h"
#include "testing/LocalHttpServer.h"

namespace {

QByteArray published(const char* title, const QByteArray& calendarLines = {}) {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Publisher//EN\r\n" + calendarLines +
           "BEGIN:VEVENT\r\nUID:match-1\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20240506T170000Z\r\n"
           "DTEND:20240506T190000Z\r\nSUMMARY:" +
           title + "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
}

class WebCalendarSubscriptionsTest : public EventStoreTest {
protected:
    QStringList titles() {
        QStringList result;
        for (const auto& event : query(at(2024, 5, 6), at(2024, 5, 7))) {
            result.append(event->title());
        }
        return result;
    }

    // Lets `minutes` pass and refreshes what is due; the problems, joined.
    QString refreshAfter(double minutes, WebCalendarSubscriptions& subscriptions) {
        m_loop->advance(minutes * 60);
        const std::vector<QString> problems = subscriptions.refreshDue();
        m_loop->runUntilIdle();
        return QStringList(problems.begin(), problems.end()).join(QLatin1Char('\n'));
    }

    LocalHttpServer m_server{{{"/fixtures.ics",
                               {200,
                                {{"ETag", "\"v1\""}},
                                published("Home match", "REFRESH-INTERVAL;VALUE=DURATION:PT20M\r\n"),
                                false}}}};
};

TEST_F(WebCalendarSubscriptionsTest, ACalendarAtAnAddressIsFetchedAgainOnlyOnceItsIntervalHasPassed) {
    WebCalendarSubscriptions subscriptions(store());
    const QString address = m_server.url(QStringLiteral("/fixtures.ics")).toString();
    QString problem;
    const auto calendar = subscriptions.subscribe(address, QStringLiteral("Fixtures"), &problem);
    ASSERT_TRUE(calendar) << problem.toStdString();
    m_loop->runUntilIdle();
    EXPECT_FALSE(calendar->allowsContentModifications());
    EXPECT_EQ(calendar->subscriptionPath(), address);
    EXPECT_EQ(titles(), QStringList{QStringLiteral("Home match")});
    EXPECT_FALSE(subscriptions.subscribe(address, QStringLiteral("Again"), &problem));
    EXPECT_TRUE(problem.contains(QStringLiteral("already subscribed"))) << problem.toStdString();

    // Not before its 20 minutes; then asked with the last ETag, and a 304 keeps the events.
    EXPECT_EQ(refreshAfter(19, subscriptions), QString());
    EXPECT_EQ(m_server.requests().size(), 1u);
    m_server.setAnswer("/fixtures.ics", {304, {}, {}, false});
    EXPECT_EQ(refreshAfter(2, subscriptions), QString());
    ASSERT_EQ(m_server.requests().size(), 2u);
    EXPECT_EQ(m_server.requests().back().header("If-None-Match"), "\"v1\"");
    EXPECT_EQ(titles(), QStringList{QStringLiteral("Home match")});

    // A new version replaces the events; without an interval of its own it waits an hour.
    m_server.setAnswer("/fixtures.ics", {200, {{"ETag", "\"v2\""}}, published("Home match, moved"), false});
    EXPECT_EQ(refreshAfter(21, subscriptions), QString());
    EXPECT_EQ(titles(), QStringList{QStringLiteral("Home match, moved")});
    EXPECT_EQ(refreshAfter(59, subscriptions), QString());
    EXPECT_EQ(m_server.requests().size(), 3u);

    // What cannot be used leaves the calendar as it was, and says so naming it.
    m_server.setAnswer("/fixtures.ics", {200, {}, "<html>maintenance</html>", false});
    EXPECT_TRUE(refreshAfter(2, subscriptions)
                    .startsWith(QStringLiteral("the calendar “Fixtures” keeps its events")));
    WebCalendarSubscriptions bounded(store(), {1024, std::chrono::milliseconds(5000)});
    m_server.setAnswer("/fixtures.ics", {200, {}, QByteArray(4096, 'x'), false});
    EXPECT_FALSE(refreshAfter(61, bounded).isEmpty());
    EXPECT_EQ(titles(), QStringList{QStringLiteral("Home match, moved")});

    // webcal:// stands for https://, and plain http:// goes to this computer only.
    EXPECT_EQ(WebCalendarSubscriptions::fetchAddress(QStringLiteral("webcal://example.org/a.ics")),
              QUrl(QStringLiteral("https://example.org/a.ics")));
    EXPECT_FALSE(
        subscriptions.subscribe(QStringLiteral("http://192.0.2.1/a.ics"), QStringLiteral("Far"), &problem));
}

} // namespace
