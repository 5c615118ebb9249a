#include "ui/eventkit/EKEventViewController.h"

#include "core/calendar/DateUtilities.h"
#include "core/eventstore/EKEvent.h"
#include "harness/ScreenHarness.h"
#include "kit/BarButtonItem.h"
#include "kit/BarButtonView.h"
#include "kit/Label.h"
#include "kit/NavigationBar.h"
#include "kit/NavigationController.h"
#include "kit/NavigationItem.h"
#include "kit/Window.h"

#include "SamplePictures.h"

#include <gtest/gtest.h>

namespace {

constexpr double oneHour = 3600.0;

Date at(int month, int day, int hourOfDay, int minute = 0) {
    return DateUtilities::dateWithYear(2026, month, day)
        .addingTimeInterval(hourOfDay * oneHour + minute * 60.0);
}

std::shared_ptr<EKCalendar> workCalendar() {
    auto calendar = std::make_shared<EKCalendar>(QStringLiteral("work"), EKCalendarType::Local, nullptr);
    calendar->setTitle(QStringLiteral("Work"));
    calendar->setColor(Color::fromRgb255(220, 60, 50));
    return calendar;
}

std::shared_ptr<EKEvent> event(Date start, Date end, bool allDay = false) {
    auto event = std::make_shared<EKEvent>();
    event->setTitle(QStringLiteral("Dentist"));
    event->setStartDate(start);
    event->setEndDate(end);
    event->setAllDay(allDay);
    event->setCalendar(workCalendar());
    return event;
}

EKRecurrenceRule rule(const char* rrule) {
    QString error;
    const auto parsed = EKRecurrenceRule::fromRRule(QString::fromLatin1(rrule), &error);
    EXPECT_TRUE(parsed.has_value()) << error.toStdString();
    return *parsed;
}

// The lines joined by "/", with the narrow spaces some locales put before "AM" made plain.
QString plain(const QStringList& lines) {
    return lines.join(QLatin1Char('/')).replace(QChar(0x202f), QLatin1Char(' '));
}

// Each section as "label=value" entries, the lines of a text row joined by "/".
QString describe(const EKEventViewController& viewer) {
    QStringList sections;
    for (const auto& rows : viewer.sections()) {
        QStringList entries;
        for (const auto& row : rows) {
            const QString value = row.lines.join(QLatin1Char('/'));
            entries << (row.label.isEmpty() ? value : row.label + QLatin1Char('=') + value);
        }
        sections << entries.join(QStringLiteral("; "));
    }
    return sections.join(QStringLiteral(" | "));
}

// The application in Berlin with the en_US locale, showing a plain first screen in a
// navigation controller.
class EKEventViewControllerTest : public testing::Test {
protected:
    void SetUp() override {
        m_harness.launch(std::make_shared<View>());
        m_first->setTitle(QStringLiteral("Week"));
        m_navigation->installAsRootViewController(m_harness.window());
        m_harness.runUntilIdle();
    }

    std::shared_ptr<EKEventViewController> pushViewer(const std::shared_ptr<EKEvent>& shown,
                                                      bool allowsEditing) {
        auto viewer = std::make_shared<EKEventViewController>();
        viewer->setAllowsEditing(allowsEditing);
        viewer->setAllowsCalendarPreview(false);
        viewer->setEvent(shown);
        m_navigation->pushViewController(viewer, true);
        m_harness.advance(1.0);
        m_harness.render();
        return viewer;
    }

    ScreenHarness m_harness;
    std::shared_ptr<ViewController> m_first = std::make_shared<ViewController>();
    std::shared_ptr<NavigationController> m_navigation = std::make_shared<NavigationController>(m_first);
};

// ---- Texts ----

TEST_F(EKEventViewControllerTest, TimeTextsForOneDaySeveralDaysAndAllDay) {
    EXPECT_EQ(plain(EKEventViewController::whenText(*event(at(12, 8, 10), at(12, 8, 11, 30)))),
              QStringLiteral("Tuesday, December 8, 2026/from 10:00 AM to 11:30 AM"));
    const QStringList overnight =
        plain(EKEventViewController::whenText(*event(at(12, 8, 22), at(12, 9, 2)))).split(QLatin1Char('/'));
    EXPECT_EQ(overnight.size(), 2);
    EXPECT_EQ(overnight[0], QStringLiteral("from Tuesday, December 8, 2026 10:00 PM"));
    EXPECT_EQ(overnight[1], QStringLiteral("to Wednesday, December 9, 2026 2:00 AM"));
    EXPECT_EQ(plain(EKEventViewController::whenText(*event(at(12, 8, 22), at(12, 9, 0)))),
              QStringLiteral("Tuesday, December 8, 2026/from 10:00 PM to 12:00 AM"));

    // All-day events end at the start of the next day, which is not one of their days.
    EXPECT_EQ(
        EKEventViewController::whenText(*event(at(12, 8, 0), at(12, 9, 0), true)).join(QLatin1Char('/')),
        QStringLiteral("Tuesday, December 8, 2026/all-day"));
    EXPECT_EQ(
        EKEventViewController::whenText(*event(at(12, 8, 0), at(12, 11, 0), true)).join(QLatin1Char('/')),
        QStringLiteral("from Tuesday, December 8, 2026/to Thursday, December 10, 2026"));
    // An end before the start does not make a backwards range.
    EXPECT_EQ(
        EKEventViewController::whenText(*event(at(12, 8, 0), at(12, 8, 0), true)).join(QLatin1Char('/')),
        QStringLiteral("Tuesday, December 8, 2026/all-day"));
}

TEST_F(EKEventViewControllerTest, RepetitionAndAlertsInWords) {
    EXPECT_EQ(EKEventViewController::repeatText(rule("FREQ=DAILY")), QStringLiteral("Every Day"));
    EXPECT_EQ(EKEventViewController::repeatText(rule("FREQ=WEEKLY;INTERVAL=2;COUNT=10")),
              QStringLiteral("Every 2 weeks"));
    EXPECT_EQ(EKEventViewController::repeatEndText(rule("FREQ=WEEKLY;INTERVAL=2;COUNT=10")),
              QStringLiteral("After 10 times"));
    EXPECT_EQ(EKEventViewController::repeatEndText(rule("FREQ=DAILY")), std::nullopt);
    EXPECT_EQ(EKEventViewController::repeatText(rule("FREQ=YEARLY")), QStringLiteral("Every Year"));
    EXPECT_EQ(EKEventViewController::repeatText(rule("FREQ=HOURLY;INTERVAL=3")), QStringLiteral("Custom"));

    const auto alert = [](double offset) {
        return EKEventViewController::alertText(EKAlarm::alarmWithRelativeOffset(offset));
    };
    EXPECT_EQ(alert(0), QStringLiteral("At time of event"));
    EXPECT_EQ(alert(-900), QStringLiteral("15 minutes before"));
    EXPECT_EQ(alert(-oneHour), QStringLiteral("1 hour before"));
    EXPECT_EQ(alert(-2 * 24 * oneHour), QStringLiteral("2 days before"));
    EXPECT_EQ(alert(300), QStringLiteral("5 minutes after"));
}

// ---- Content ----

TEST_F(EKEventViewControllerTest, ShowsOnlyWhatTheEventHas) {
    EKEventViewController viewer;
    viewer.setEvent(event(at(12, 8, 10), at(12, 8, 11)));
    EXPECT_EQ(describe(viewer), QStringLiteral("Dentist/Tuesday, December 8, 2026/%1 | Calendar=Work")
                                    .arg(EKEventViewController::whenText(*viewer.event())[1]));

    auto full = event(at(12, 8, 10), at(12, 8, 11));
    full->setLocation(QStringLiteral("Main Street 5"));
    full->setRecurrenceRule(rule("FREQ=MONTHLY;COUNT=3"));
    full->setAlarms(
        {EKAlarm::alarmWithRelativeOffset(-900), EKAlarm::alarmWithRelativeOffset(-24 * oneHour)});
    full->setURL(QStringLiteral("https://example.org/dentist"));
    full->setNotes(QStringLiteral("Bring the card."));
    viewer.setEvent(full);
    EXPECT_EQ(describe(viewer), QStringLiteral("Dentist/Main Street 5/Tuesday, December 8, 2026/%1"
                                               " | Repeat=Every Month; End Repeat=After 3 times"
                                               " | Calendar=Work"
                                               " | Alert=15 minutes before; Second Alert=1 day before"
                                               " | URL=https://example.org/dentist"
                                               " | Notes/Bring the card.")
                                    .arg(EKEventViewController::whenText(*full)[1]));

    auto untitled = event(at(12, 8, 10), at(12, 8, 11));
    untitled->setTitle(QString());
    viewer.setEvent(untitled);
    EXPECT_TRUE(describe(viewer).startsWith(QStringLiteral("New Event/")));
}

// ---- On the navigation stack ----

TEST_F(EKEventViewControllerTest, PushedItShowsItsTitleAndAnEditButtonOnlyWhenEditingIsAllowed) {
    const auto shown = event(at(12, 8, 10), at(12, 8, 11));
    auto viewer = pushViewer(shown, false);
    EXPECT_EQ(m_navigation->topViewController(), viewer);
    EXPECT_FALSE(viewer->allowsEditing());
    EXPECT_FALSE(viewer->allowsCalendarPreview());
    const auto& bar = *m_navigation->navigationBar();
    ASSERT_TRUE(bar.titleLabel());
    EXPECT_EQ(bar.titleLabel()->text(), QStringLiteral("Event Details"));
    EXPECT_EQ(bar.rightView(), nullptr);
    ASSERT_TRUE(bar.backButton());
    EXPECT_EQ(viewer->tableView()->visibleCells().size(), 2u);

    std::shared_ptr<EKEvent> edited;
    viewer->toEditEvent = [&](const std::shared_ptr<EKEvent>& event) { edited = event; };
    viewer->setAllowsEditing(true);
    m_harness.advance(1.0);
    const auto edit = std::dynamic_pointer_cast<BarButtonView>(bar.rightView());
    ASSERT_TRUE(edit);
    m_harness.render();
    m_harness.tap(edit->convertPointToView(edit->bounds().center(), nullptr));
    EXPECT_EQ(edited, shown);
}

TEST_F(EKEventViewControllerTest, PictureOfAFullEvent) {
    auto full = event(at(12, 8, 10), at(12, 8, 11, 30));
    full->setTitle(QStringLiteral("Dentist appointment"));
    full->setLocation(QStringLiteral("Main Street 5, Berlin"));
    full->setRecurrenceRule(rule("FREQ=WEEKLY;INTERVAL=2;COUNT=6"));
    full->setAlarms(
        {EKAlarm::alarmWithRelativeOffset(-900), EKAlarm::alarmWithRelativeOffset(-24 * oneHour)});
    full->setURL(QStringLiteral("https://example.org/dentist"));
    full->setNotes(QStringLiteral("Bring the insurance card and the letter from the last visit."));
    const auto viewer = pushViewer(full, false);
    const Image top = m_harness.render();
    EXPECT_FALSE(top.isNull());
    SamplePictures::keep(top, QStringLiteral("event-viewer.png"));

    // The address and the notes, further down.
    const auto table = viewer->tableView();
    table->setContentOffset(Point(0, table->contentSize().height() - table->bounds().height()));
    SamplePictures::keep(m_harness.render(), QStringLiteral("event-viewer-bottom.png"));
}

} // namespace
