#pragma once

#include "../eventstore/EventStoreTestSupport.h"
#include "core/sync/CalDavClient.h"
#include "testing/RadicaleServer.h"

// An event as another device would put it on the server; `extra` goes into the VEVENT.
inline QByteArray serverEvent(const QString& uid, const QString& summary, const QByteArray& extra = {}) {
    return QStringLiteral("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Another device//EN\r\n"
                          "BEGIN:VEVENT\r\nUID:%1\r\nDTSTAMP:20240101T000000Z\r\n"
                          "DTSTART:20240506T070000Z\r\nDTEND:20240506T080000Z\r\nSUMMARY:%2\r\n")
               .arg(uid, summary)
               .toUtf8() +
           extra + "END:VEVENT\r\nEND:VCALENDAR\r\n";
}

// A store beside a real Radicale on loopback whose user has the calendar "work" ("Work", orange),
// and a client of another device on it.
class RadicaleStoreTest : public EventStoreTest {
protected:
    void SetUp() override {
        EventStoreTest::SetUp();
        if (const QString why = RadicaleServer::notStartedWhy(); !why.isEmpty()) {
            GTEST_SKIP() << why.toStdString();
        }
        const QString failure = m_radicale.start();
        ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
        const QString problem = m_radicale.createCalendar(QStringLiteral("work"), QStringLiteral("Work"),
                                                          QStringLiteral("#FF8000"));
        ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
        m_work = m_radicale.calendarUrl(QStringLiteral("work"));
    }

    RadicaleServer m_radicale;
    QUrl m_work;
    CalDavClient m_other{m_radicale.userName(), m_radicale.password(), CalDavClient::Options{}};
};
