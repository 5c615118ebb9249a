#include "kit/NotificationCenter.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

class NotificationCenterTest : public testing::Test {
protected:
    NotificationCenter m_center;
    QStringList m_log;
    int m_first = 0;
    int m_second = 0;
};

TEST_F(NotificationCenterTest, ObserversHearTheirNameInTheOrderTheyWereAdded) {
    m_center.addObserver(&m_first, "A", [this](const Notification& n) { m_log << "first:" + n.name(); });
    m_center.addObserver(&m_second, "A", [this](const Notification& n) { m_log << "second:" + n.name(); });
    m_center.addObserver(&m_second, "B", [this](const Notification& n) { m_log << "secondB:" + n.name(); });
    m_center.addObserver(&m_first, QString(), [this](const Notification& n) { m_log << "all:" + n.name(); });
    m_center.postNotification("A");
    m_center.postNotification("C");
    EXPECT_EQ(m_log.join(' '), "first:A second:A all:A all:C");
}

TEST_F(NotificationCenterTest, RemovalByOwnerOrByNameStopsDelivery) {
    m_center.addObserver(&m_first, "A", [this](const Notification&) { m_log << "firstA"; });
    m_center.addObserver(&m_first, "B", [this](const Notification&) { m_log << "firstB"; });
    m_center.addObserver(&m_second, "A", [this](const Notification&) { m_log << "secondA"; });
    m_center.removeObserver(&m_first, "A");
    EXPECT_EQ(m_center.observerCount(&m_first), 1);
    m_center.postNotification("A");
    m_center.postNotification("B");
    m_center.removeObserver(&m_first);
    m_center.postNotification("B");
    EXPECT_EQ(m_log.join(' '), "secondA firstB");
    EXPECT_EQ(m_center.observerCount(&m_first), 0);
}

TEST_F(NotificationCenterTest, AnObserverRemovedDuringAPostIsNotCalledAndOneAddedWaits) {
    m_center.addObserver(&m_first, "A", [this](const Notification&) {
        m_log << "first";
        m_center.removeObserver(&m_second);
        m_center.addObserver(&m_log, "A", [this](const Notification&) { m_log << "late"; });
    });
    m_center.addObserver(&m_second, "A", [this](const Notification&) { m_log << "second"; });
    m_center.postNotification("A");
    EXPECT_EQ(m_log.join(' '), "first");
    m_log.clear();
    m_center.removeObserver(&m_first);
    m_center.postNotification("A");
    EXPECT_EQ(m_log.join(' '), "late");
}

TEST_F(NotificationCenterTest, AnObserverMayRemoveItselfWhileCalled) {
    m_center.addObserver(&m_first, "A", [this](const Notification&) {
        m_log << "once";
        m_center.removeObserver(&m_first);
    });
    m_center.postNotification("A");
    m_center.postNotification("A");
    EXPECT_EQ(m_log.join(' '), "once");
}

TEST_F(NotificationCenterTest, UserInfoValuesAreReadByType) {
    Rect seen;
    double duration = 0;
    bool missing = true;
    const int sender = 0;
    const void* object = nullptr;
    m_center.addObserver(&m_first, "K", [&](const Notification& n) {
        seen = n.rectValue("frame").value_or(Rect());
        duration = n.doubleValue("duration").value_or(-1);
        missing = !n.rectValue("duration").has_value() && !n.stringValue("nothing").has_value();
        object = n.object();
    });
    m_center.postNotification("K", &sender, {{"frame", Rect(0, 264, 320, 216)}, {"duration", 0.25}});
    EXPECT_EQ(seen, Rect(0, 264, 320, 216));
    EXPECT_DOUBLE_EQ(duration, 0.25);
    EXPECT_TRUE(missing);
    EXPECT_EQ(object, &sender);
}

} // namespace
