#include "ui/week/WeekScreenTestSupport.h"

#include "QtPrinters.h"

#include "core/calendar/Week.h"
#include "core/events/EventService.h"
#include "core/settings/AppSettings.h"
#include "kit/AlertView.h"
#include "kit/BarButtonItem.h"
#include "kit/NavigationItem.h"
#include "kit/TableView.h"
#include "ui/eventkit/EventEditOptionListController.h"
#include "ui/import/ImportCoordinator.h"
#include "ui/import/ImportModel.h"
#include "ui/import/ImportViewController.h"

#include <algorithm>

namespace {

// Two readable events given latest first, and one without a start.
const char* const twoEventsAndOneBroken = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n"
                                          "BEGIN:VEVENT\r\nUID:dentist\r\nDTSTART:20270112T130000Z\r\n"
                                          "DTEND:20270112T140000Z\r\nSUMMARY:%1\r\nEND:VEVENT\r\n"
                                          "BEGIN:VEVENT\r\nUID:holiday\r\nDTSTART;VALUE=DATE:20270111\r\n"
                                          "DTEND;VALUE=DATE:20270112\r\nSUMMARY:Holiday\r\nEND:VEVENT\r\n"
                                          "BEGIN:VEVENT\r\nUID:broken\r\nSUMMARY:No start\r\nEND:VEVENT\r\n"
                                          "END:VCALENDAR\r\n";

class ImportScreenTest : public testing::Test {
protected:
    ImportScreenTest() {
        screen.launch();
        importer = std::make_shared<ImportCoordinator>(screen.screen, screen.harness.eventService(),
                                                       AppSettings::instance());
    }

    QString writeFile(const QString& name, const QString& text) {
        const QString path = screen.harness.dataDirectory() + "/" + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.toUtf8());
        return path;
    }
    QString writeEvents(const QString& dentistTitle = QStringLiteral("Dentist")) {
        return writeFile(QStringLiteral("events.ics"),
                         QString::fromLatin1(twoEventsAndOneBroken).arg(dentistTitle));
    }
    // A writable "Work" calendar made the default, a read-only subscription and birthdays.
    std::shared_ptr<EKCalendar> addCalendars() {
        const auto work = screen.addCalendar("Work", Color::fromRgb255(14, 97, 186));
        AppSettings::instance().storeDefaultCalendar(*work);
        screen.addBirthday("Ada Lovelace", "1815-12-10");
        StoreError error;
        EXPECT_TRUE(screen.harness.eventStore().addSubscribedCalendar(
            "Holidays",
            writeFile("holidays.ics",
                      "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\nBEGIN:VEVENT\r\n"
                      "UID:closed\r\nDTSTART;VALUE=DATE:20270101\r\nSUMMARY:Closed\r\nEND:VEVENT\r\n"
                      "END:VCALENDAR\r\n"),
            &error));
        return work;
    }

    void open(const QStringList& paths) {
        importer->openFiles(paths);
        screen.settle();
    }
    // The import screen on top of the week, or null.
    std::shared_ptr<ImportViewController> shownImport() {
        const auto stack =
            std::dynamic_pointer_cast<NavigationController>(screen.navigation->modalViewController());
        return stack ? std::dynamic_pointer_cast<ImportViewController>(stack->viewControllers().front())
                     : nullptr;
    }
    void tapImport(ImportViewController& import) {
        screen.tapView(*import.navigationItem()->rightBarButtonItem()->view());
        screen.settle();
    }
    // "when title" for each row.
    static QStringList rowTexts(const ImportModel& model) {
        QStringList texts;
        for (const ImportModel::Row& row : model.rows()) {
            texts.append(ImportModel::whenText(row) + " " + row.title);
        }
        return texts;
    }
    static QStringList titles(const std::vector<std::shared_ptr<EKCalendar>>& calendars) {
        QStringList texts;
        for (const auto& calendar : calendars) {
            texts.append(calendar->title());
        }
        return texts;
    }
    // The events of January 2027 as "Title (Calendar)", sorted.
    QStringList januaryEvents() {
        EKEventStore& store = screen.harness.eventStore();
        QStringList events;
        for (const auto& event : store.eventsMatchingPredicate(store.predicateForEvents(
                 WeekScreen::at(2027, 1, 1), WeekScreen::at(2027, 2, 1), store.calendars()))) {
            if (event->calendar()->allowsContentModifications()) {
                events.append(event->title() + " (" + event->calendar()->title() + ")");
            }
        }
        events.sort();
        return events;
    }
    std::vector<std::shared_ptr<AlertView>> dismissAlerts() {
        std::vector<std::shared_ptr<AlertView>> alerts = AlertView::queuedAlerts();
        for (const auto& alert : alerts) {
            alert->dismissWithClickedButtonIndex(0, false);
        }
        screen.settle();
        return alerts;
    }

    WeekScreen screen;
    std::shared_ptr<ImportCoordinator> importer;
};

TEST_F(ImportScreenTest, listsTheEventsByStartTheUnreadableOnesAndTheWritableCalendars) {
    addCalendars();
    importer->openFiles({writeEvents()});
    // The file is read off the main thread; its screen comes with the hand-back.
    EXPECT_TRUE(importer->isReading());
    EXPECT_FALSE(shownImport());
    screen.settle();
    const auto import = shownImport();
    ASSERT_TRUE(import);
    EXPECT_FALSE(importer->isReading());
    EXPECT_EQ(import->title(), "Import");
    const ImportModel& model = *import->model();
    EXPECT_EQ(rowTexts(model),
              (QStringList{"Jan 11, 2027, all-day Holiday", "Jan 12, 2027, 2:00\u202fPM Dentist"}));
    EXPECT_EQ(model.unreadableCount(), 1);
    EXPECT_EQ(model.problemsText(), "1 event cannot be read:\nline 16: DTSTART is missing");
    EXPECT_EQ(titles(model.calendars()), (QStringList{"Calendar", "Work"}));
    EXPECT_EQ(model.selectedCalendar()->title(), "Work");
    EXPECT_EQ(import->tableView()->numberOfRowsInSection(ImportViewController::EventsSection), 2);
    EXPECT_EQ(import->tableView()
                  ->cellForRowAtIndexPath(IndexPath(0, ImportViewController::CalendarSection))
                  ->detailTextLabel()
                  .text(),
              "Work");
    SamplePictures::keep(screen.harness.render(), "import-screen.png");

    // The calendar row opens the editor's list of calendars; a choice comes back to the screen.
    screen.tapView(
        *import->tableView()->cellForRowAtIndexPath(IndexPath(0, ImportViewController::CalendarSection)));
    screen.settle();
    const auto choice = std::dynamic_pointer_cast<EventEditOptionListController>(
        import->navigationController()->topViewController());
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->options(), (QStringList{"Calendar", "Work"}));
    EXPECT_EQ(choice->selectedIndex(), 1);
    choice->choose(0);
    screen.settle();
    EXPECT_EQ(import->navigationController()->topViewController(), import);
    EXPECT_EQ(model.selectedCalendar()->title(), "Calendar");
}

TEST_F(ImportScreenTest, importingAgainUpdatesTheEventsAndShowsTheWeekOfTheFirst) {
    addCalendars();
    open({writeEvents()});
    auto import = shownImport();
    ASSERT_TRUE(import);
    tapImport(*import);
    EXPECT_FALSE(shownImport());
    EXPECT_EQ(januaryEvents(), (QStringList{"Dentist (Work)", "Holiday (Work)"}));
    EXPECT_EQ(screen.screen->currentWeek(), Week(WeekScreen::at(2027, 1, 11)));

    // The same UIDs again, one of them changed: updated, not doubled.
    screen.screen->jumpToWeek(Week(WeekScreen::at(2026, 12, 8)));
    open({writeEvents("Dentist at 3")});
    import = shownImport();
    ASSERT_TRUE(import);
    tapImport(*import);
    EXPECT_EQ(januaryEvents(), (QStringList{"Dentist at 3 (Work)", "Holiday (Work)"}));
    EXPECT_EQ(screen.screen->currentWeek(), Week(WeekScreen::at(2027, 1, 11)));
}

TEST_F(ImportScreenTest, unreadableFilesAndRefusedImportsSayWhy) {
    // Files that cannot be read at all: an alert each, naming the file, and no screen.
    open({screen.harness.dataDirectory() + "/missing.ics", writeFile("notes.ics", "just some notes\n")});
    EXPECT_FALSE(shownImport());
    const auto alerts = dismissAlerts();
    ASSERT_EQ(alerts.size(), 2U);
    EXPECT_EQ(alerts[0]->title(), "Cannot Open File");
    EXPECT_TRUE(alerts[0]->message().startsWith("missing.ics")) << alerts[0]->message().toStdString();
    EXPECT_TRUE(alerts[1]->message().startsWith("notes.ics")) << alerts[1]->message().toStdString();
    EXPECT_FALSE(shownImport());
    EXPECT_TRUE(januaryEvents().isEmpty());

    // The store refuses the calendar gone meanwhile: the screen stays and says why.
    const auto work = addCalendars();
    open({writeEvents()});
    const auto import = shownImport();
    ASSERT_TRUE(import);
    StoreError error;
    ASSERT_TRUE(screen.harness.eventStore().removeCalendar(work, true, &error));
    tapImport(*import);
    const auto refusal = dismissAlerts();
    ASSERT_EQ(refusal.size(), 1U);
    EXPECT_EQ(refusal[0]->title(), "Cannot Import");
    EXPECT_TRUE(refusal[0]->message().startsWith("events.ics: ")) << refusal[0]->message().toStdString();
    EXPECT_EQ(shownImport(), import);
    EXPECT_TRUE(januaryEvents().isEmpty());
}

} // namespace
