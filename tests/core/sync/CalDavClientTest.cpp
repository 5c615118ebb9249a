#include "core/sync/CalDavClient.h"

#include "RadicaleStoreTest.h"
#include "testing/LocalHttpServer.h"
#include "testing/RadicaleServer.h"

#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <thread>

namespace {

// "Name #colour events writable" per calendar, sorted by name.
QString describeCalendars(const std::vector<DavCalendar>& calendars) {
    QStringList lines;
    for (const DavCalendar& calendar : calendars) {
        lines << QStringLiteral("%1 %2%3%4")
                     .arg(calendar.displayName, calendar.color,
                          calendar.hasEvents ? QStringLiteral(" events") : QString(),
                          calendar.writable ? QStringLiteral(" writable") : QString());
    }
    lines.sort();
    return lines.join(QStringLiteral("; "));
}

// The last segments of the addresses, sorted: "a.ics b.ics".
QString fileNames(std::vector<QUrl> urls) {
    QStringList names;
    for (const QUrl& url : urls) {
        names << url.fileName();
    }
    names.sort();
    return names.join(QLatin1Char(' '));
}

QString changedNames(const DavChanges& changes) {
    std::vector<QUrl> urls;
    for (const DavEntry& entry : changes.changed) {
        urls.push_back(entry.url);
    }
    return fileNames(urls);
}

template <typename T> DavError::Kind kindOf(const DavResult<T>& result) {
    EXPECT_FALSE(result) << "expected an error";
    return result ? DavError::Kind::Http : result.error().kind;
}

class CalDavClientTest : public testing::Test {
protected:
    void SetUp() override {
        // The client's threads are checked against the local server where Radicale is not started.
        if (const QString why = RadicaleServer::notStartedWhy(); !why.isEmpty()) {
            GTEST_SKIP() << why.toStdString();
        }
        const QString failure = m_radicale.start();
        ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
    }

    QUrl newCalendar(const QString& name) {
        const QString failure = m_radicale.createCalendar(name, name);
        EXPECT_TRUE(failure.isEmpty()) << failure.toStdString();
        return m_radicale.calendarUrl(name);
    }

    RadicaleServer m_radicale;
    CalDavClient m_client{m_radicale.userName(), m_radicale.password(), CalDavClient::Options{}};
};

TEST_F(CalDavClientTest, DiscoversCalendarsFromServerPrincipalOrCalendarAndEditsThem) {
    const auto made = m_client.makeCalendar(m_radicale.homeUrl(), QStringLiteral("work"),
                                            QStringLiteral("Work"), QStringLiteral("#FF0000FF"));
    ASSERT_TRUE(made) << made.error().message.toStdString();
    const QUrl work = made.value();
    EXPECT_EQ(work.adjusted(QUrl::RemoveFilename | QUrl::StripTrailingSlash).adjusted(QUrl::RemoveFilename),
              m_radicale.homeUrl());
    ASSERT_EQ(m_radicale.createCalendar(QStringLiteral("tasks"), QStringLiteral("Tasks"), QString(),
                                        QStringLiteral("VTODO")),
              QString());

    // Radicale sends its well-known address on to the server root.
    for (const QUrl& address : {m_radicale.url(), m_radicale.homeUrl(),
                                m_radicale.url().resolved(QUrl(QStringLiteral("/.well-known/caldav")))}) {
        const auto found = m_client.discover(address);
        ASSERT_TRUE(found) << found.error().message.toStdString();
        EXPECT_EQ(found.value().principal, m_radicale.homeUrl());
        EXPECT_EQ(found.value().home, m_radicale.homeUrl());
        EXPECT_EQ(describeCalendars(found.value().calendars),
                  "Tasks  writable; Work #FF0000FF events writable");
    }
    const auto one = m_client.discover(work);
    ASSERT_TRUE(one) << one.error().message.toStdString();
    EXPECT_TRUE(one.value().home.isEmpty());
    ASSERT_EQ(one.value().calendars.size(), 1u);
    EXPECT_EQ(one.value().calendars.front().url, work);
    EXPECT_FALSE(one.value().calendars.front().ctag.isEmpty());
    EXPECT_FALSE(one.value().calendars.front().syncToken.isEmpty());

    ASSERT_TRUE(m_client.updateCalendar(work, QStringLiteral("Office"), QStringLiteral("#00FF00FF")));
    const auto renamed = m_client.calendar(work);
    ASSERT_TRUE(renamed);
    EXPECT_EQ(describeCalendars({renamed.value()}), "Office #00FF00FF events writable");
    ASSERT_TRUE(m_client.removeCalendar(work));
    EXPECT_EQ(kindOf(m_client.calendar(work)), DavError::Kind::NotFound);

    CalDavClient wrong(m_radicale.userName(), QStringLiteral("not the password"), CalDavClient::Options{});
    const auto refused = wrong.discover(m_radicale.url());
    EXPECT_EQ(kindOf(refused), DavError::Kind::Unauthorized);
    EXPECT_TRUE(refused.error().message.contains(m_radicale.url().toString()))
        << refused.error().message.toStdString();
}

TEST_F(CalDavClientTest, WritesAndRemovesOnlyWithTheCurrentEtag) {
    const QUrl calendar = newCalendar(QStringLiteral("work"));
    const QUrl resource = calendar.resolved(QUrl(QStringLiteral("meeting.ics")));

    const auto created =
        m_client.put(resource, serverEvent(QStringLiteral("meeting"), QStringLiteral("Meeting")), {});
    ASSERT_TRUE(created) << created.error().message.toStdString();
    EXPECT_TRUE(created.value().startsWith(QLatin1Char('"'))) << created.value().toStdString();
    EXPECT_EQ(
        kindOf(m_client.put(resource, serverEvent(QStringLiteral("meeting"), QStringLiteral("Again")), {})),
        DavError::Kind::PreconditionFailed);

    const auto replaced = m_client.put(
        resource, serverEvent(QStringLiteral("meeting"), QStringLiteral("Moved")), created.value());
    ASSERT_TRUE(replaced) << replaced.error().message.toStdString();
    EXPECT_NE(replaced.value(), created.value());
    EXPECT_EQ(kindOf(m_client.put(resource, serverEvent(QStringLiteral("meeting"), QStringLiteral("Stale")),
                                  created.value())),
              DavError::Kind::PreconditionFailed);
    const auto read = m_client.get(resource);
    ASSERT_TRUE(read);
    EXPECT_EQ(read.value().etag, replaced.value());
    EXPECT_TRUE(read.value().data.contains("SUMMARY:Moved"));

    const auto stale = m_client.remove(resource, created.value());
    EXPECT_EQ(kindOf(stale), DavError::Kind::PreconditionFailed);
    EXPECT_TRUE(stale.error().message.contains(QStringLiteral("meeting.ics")));
    EXPECT_TRUE(m_client.remove(resource, replaced.value()));
    EXPECT_EQ(kindOf(m_client.remove(resource, replaced.value())), DavError::Kind::NotFound);
}

TEST_F(CalDavClientTest, SyncCollectionGivesChangesAndRemovalsSinceAToken) {
    const QUrl calendar = newCalendar(QStringLiteral("work"));
    // Addresses compare in one form, also when the name needs percent-encoding.
    const QUrl spaced = calendar.resolved(QUrl(QStringLiteral("a%20b.ics")));
    const QUrl plain = calendar.resolved(QUrl(QStringLiteral("c.ics")));
    ASSERT_TRUE(m_client.put(spaced, serverEvent(QStringLiteral("ab"), QStringLiteral("A")), {}));
    const auto plainEtag = m_client.put(plain, serverEvent(QStringLiteral("c"), QStringLiteral("C")), {});
    ASSERT_TRUE(plainEtag);

    const auto everything = m_client.syncCollection(calendar, {});
    ASSERT_TRUE(everything) << everything.error().message.toStdString();
    EXPECT_EQ(changedNames(everything.value()), "a b.ics c.ics");
    EXPECT_TRUE(everything.value().removed.empty());
    EXPECT_TRUE(std::any_of(everything.value().changed.begin(), everything.value().changed.end(),
                            [&](const DavEntry& entry) { return entry.url == spaced; }));

    const auto entries = m_client.entries(calendar);
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries.value().size(), 2u);
    for (const DavEntry& entry : entries.value()) {
        if (entry.url == spaced) {
            ASSERT_TRUE(
                m_client.put(spaced, serverEvent(QStringLiteral("ab"), QStringLiteral("A2")), entry.etag));
        }
    }
    ASSERT_TRUE(m_client.remove(plain, plainEtag.value()));
    ASSERT_TRUE(m_client.put(calendar.resolved(QUrl(QStringLiteral("d.ics"))),
                             serverEvent(QStringLiteral("d"), QStringLiteral("D")), {}));

    const auto since = m_client.syncCollection(calendar, everything.value().syncToken);
    ASSERT_TRUE(since) << since.error().message.toStdString();
    EXPECT_EQ(changedNames(since.value()), "a b.ics d.ics");
    EXPECT_EQ(fileNames(since.value().removed), "c.ics");
    EXPECT_NE(since.value().syncToken, everything.value().syncToken);

    EXPECT_EQ(kindOf(m_client.syncCollection(calendar, QStringLiteral("http://radicale.org/ns/sync/0000"))),
              DavError::Kind::SyncTokenInvalid);
}

TEST_F(CalDavClientTest, MultigetAsksInBatchesAndLeavesOutWhatIsGone) {
    const QUrl calendar = newCalendar(QStringLiteral("many"));
    // Laid down in Radicale's storage directly, one file per event, which is much faster than a
    // request for each.
    std::vector<QUrl> resources;
    for (int index = 0; index < 101; ++index) {
        const QString uid = QStringLiteral("event-%1").arg(index);
        resources.push_back(calendar.resolved(QUrl(uid + QStringLiteral(".ics"))));
        QFile item(m_radicale.storageFolder() + QStringLiteral("/collection-root/orvella/many/") + uid +
                   QStringLiteral(".ics"));
        ASSERT_TRUE(item.open(QIODevice::WriteOnly));
        item.write(serverEvent(uid, uid));
    }
    const auto entries = m_client.entries(calendar);
    ASSERT_TRUE(entries);
    EXPECT_EQ(entries.value().size(), 101u);

    resources.push_back(calendar.resolved(QUrl(QStringLiteral("gone.ics"))));
    const auto fetched = m_client.multiget(calendar, resources);
    ASSERT_TRUE(fetched) << fetched.error().message.toStdString();
    ASSERT_EQ(fetched.value().size(), 101u);
    const auto last =
        std::find_if(fetched.value().begin(), fetched.value().end(),
                     [&](const DavResource& resource) { return resource.url == resources[100]; });
    ASSERT_NE(last, fetched.value().end());
    EXPECT_TRUE(last->data.contains("SUMMARY:event-100"));
    EXPECT_FALSE(last->etag.isEmpty());
}

TEST_F(CalDavClientTest, WorksFromAThreadOfItsOwnAndAfterTheServerComesBack) {
    const QUrl calendar = newCalendar(QStringLiteral("work"));
    std::optional<DavResult<QString>> written;
    std::optional<DavResult<DavDiscovery>> found;
    std::thread worker([&] {
        CalDavClient client(m_radicale.userName(), m_radicale.password(), CalDavClient::Options{});
        written = client.put(calendar.resolved(QUrl(QStringLiteral("t.ics"))),
                             serverEvent(QStringLiteral("t"), QStringLiteral("T")), {});
        found = client.discover(m_radicale.url());
    });
    worker.join();
    ASSERT_TRUE(written && *written) << written->error().message.toStdString();
    ASSERT_TRUE(found && *found) << found->error().message.toStdString();
    EXPECT_EQ(found->value().calendars.size(), 1u);

    m_radicale.stop();
    EXPECT_EQ(kindOf(m_client.entries(calendar)), DavError::Kind::Network);
    const QString failure = m_radicale.start();
    ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
    const auto entries = m_client.entries(calendar);
    ASSERT_TRUE(entries);
    EXPECT_EQ(entries.value().size(), 1u);
}

TEST(CalDavClientBoundsTest, RefusesWhatIsNotCalDavTooLargeTooSlowOrInsecure) {
    LocalHttpServer::Answer page{200, {{"Content-Type", "text/html"}}, "<html>Hello</html>", false};
    LocalHttpServer::Answer big{207, {}, QByteArray(200 * 1024, ' '), false};
    LocalHttpServer::Answer broken{207, {}, "<D:multistatus xmlns:D=\"DAV:\">\n<D:response>", false};
    LocalHttpServer::Answer never{200, {}, {}, true};
    LocalHttpServer::Answer listing{
        207,
        {{"Content-Type", "application/xml; charset=utf-8"}},
        "<?xml version=\"1.0\"?><multistatus xmlns=\"DAV:\"><response>"
        "<href>/calendar/a%20b.ics</href><propstat><prop><getetag>\"1\"</getetag>"
        "</prop><status>HTTP/1.1 200 OK</status></propstat></response></multistatus>",
        false};
    LocalHttpServer server(
        {{"/", page}, {"/big/", big}, {"/broken/", broken}, {"/never/", never}, {"/calendar/", listing}});
    // Another name for the same server is another host.
    const QByteArray elsewhere = "http://localhost:" + QByteArray::number(server.port()) + "/";
    server.setAnswer("/moved/", LocalHttpServer::Answer{301, {{"Location", elsewhere}}, {}, false});

    CalDavClient::Options options;
    options.maxAnswerBytes = 64 * 1024;
    options.timeout = std::chrono::milliseconds(1000);
    CalDavClient client(QStringLiteral("user"), QStringLiteral("secret"), options);

    const auto notCalDav = client.discover(server.url());
    EXPECT_EQ(kindOf(notCalDav), DavError::Kind::NotCalDav);
    EXPECT_TRUE(
        notCalDav.error().message.startsWith(server.url().toString() + QStringLiteral(" is not a CalDAV")))
        << notCalDav.error().message.toStdString();
    EXPECT_EQ(kindOf(client.entries(server.url(QStringLiteral("/big/")))), DavError::Kind::TooLarge);
    const auto unreadable = client.entries(server.url(QStringLiteral("/broken/")));
    EXPECT_EQ(kindOf(unreadable), DavError::Kind::BadAnswer);
    EXPECT_TRUE(unreadable.error().message.contains(QStringLiteral("line 2")))
        << unreadable.error().message.toStdString();

    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_EQ(kindOf(client.entries(server.url(QStringLiteral("/never/")))), DavError::Kind::Timeout);
    EXPECT_GE(elapsed.elapsed(), 900);
    EXPECT_LT(elapsed.elapsed(), 5000);

    elapsed.restart();
    EXPECT_EQ(kindOf(client.entries(QUrl(QStringLiteral("http://192.0.2.1/calendar/")))),
              DavError::Kind::Insecure);
    EXPECT_LT(elapsed.elapsed(), 100);

    // From a thread of its own, as the sync engine calls it.
    std::optional<DavResult<std::vector<DavEntry>>> listed;
    std::thread worker([&] {
        CalDavClient own(QStringLiteral("user"), QStringLiteral("secret"), options);
        listed = own.entries(server.url(QStringLiteral("/calendar/")));
    });
    worker.join();
    ASSERT_TRUE(listed && *listed) << listed->error().message.toStdString();
    ASSERT_EQ(listed->value().size(), 1u);
    EXPECT_EQ(listed->value().front().url, server.url(QStringLiteral("/calendar/a b.ics")));
    EXPECT_EQ(listed->value().front().etag, "\"1\"");

    const std::size_t before = server.requests().size();
    EXPECT_EQ(kindOf(client.entries(server.url(QStringLiteral("/moved/")))), DavError::Kind::Insecure);
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), before + 1);
    EXPECT_EQ(requests.back().path, "/moved/");
    EXPECT_EQ(requests.back().header("Authorization"), "Basic " + QByteArray("user:secret").toBase64());
}

} // namespace
