#include "GeneratedStore.h"

#include "core/calendar/DateTimeFormatter.h"
#include "core/calendar/DateUtilities.h"
#include "core/calendar/Week.h"
#include "core/events/EventService.h"
#include "core/eventstore/EKEventStore.h"
#include "core/eventstore/ICalendarExporter.h"
#include "foundation/Paths.h"
#include "foundation/TimeZone.h"
#include "foundation/UserDefaults.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <random>

namespace {

constexpr int eventCount = GeneratedStore::eventCount;
constexpr int firstYear = GeneratedStore::firstYear;
constexpr int years = GeneratedStore::years;

const char* const places[] = {"Office", "Room 4", "Cafe", "Downtown", "Home", "", "", ""};

std::shared_ptr<EKEvent> generatedEvent(EKEventStore& store, std::mt19937& random, int index) {
    auto event = EKEvent::eventWithEventStore(store);
    std::uniform_int_distribution<int> dayOfRange(0, years * 365 - 1);
    std::uniform_int_distribution<int> hour(7, 20);
    std::uniform_int_distribution<int> pick(0, 99);
    const Date day = DateUtilities::addDays(DateUtilities::dateWithYear(firstYear, 1, 1), dayOfRange(random));
    event->setTitle(QString("%1 %2").arg(generatedTitles[index % 15]).arg(index));
    event->setLocation(places[index % 8]);
    event->setTimeZone(index % 2 == 0 ? "Europe/Berlin" : "America/New_York");
    const int kind = pick(random);
    if (kind < 10) { // all-day, some of them several days long
        event->setAllDay(true);
        event->setStartDate(day);
        event->setEndDate(DateUtilities::addDays(day, kind < 3 ? 3 : 1));
    } else {
        const Date start = DateUtilities::addHours(day, hour(random));
        event->setStartDate(start);
        event->setEndDate(start.addingTimeInterval(kind < 15 ? 2 * 86400.0 : 3600.0));
    }
    if (index % 20 == 0) { // 5% repeat
        QString error;
        event->setRecurrenceRule(EKRecurrenceRule::fromRRule(generatedRules[(index / 20) % 5], &error));
    }
    return event;
}

// The database with its write-ahead log, which holds recent writes until a checkpoint.
double storeFileSize(const QString& databasePath) {
    return static_cast<double>(QFileInfo(databasePath).size() + QFileInfo(databasePath + "-wal").size());
}

} // namespace

GeneratedStore::GeneratedStore() {
    Paths::setDataDirectory(folder.path());
    TimeZone::setDefaultTimeZone(*TimeZone::withName("Europe/Berlin"));
    DateUtilities::reloadCalendar();
    DateTimeFormatter::instance().reset();
    store = std::make_shared<EKEventStore>(folder.filePath("events.sqlite"));
    service = std::make_shared<EventService>(store);
    std::mt19937 random(20121225);
    std::vector<std::shared_ptr<EKEvent>> events;
    const std::shared_ptr<EKCalendar> calendar = store->defaultCalendarForNewEvents();
    for (int index = 0; index < eventCount; ++index) {
        events.push_back(generatedEvent(*store, random, index));
        events.back()->setCalendar(calendar);
    }
    StoreError error;
    if (!store->saveEvents(events, &error)) {
        std::fprintf(stderr, "could not generate the store: %s\n", qPrintable(error.localizedDescription));
        std::abort();
    }
    icsPath = folder.filePath("generated.ics");
    ICalendarExporter::exportToFile(icsPath, store->calendars(), *store, nullptr);
    std::printf("store: %d events, events.sqlite %.1f MB, generated.ics %.1f MB\n", eventCount,
                storeFileSize(store->databasePath()) / 1e6,
                static_cast<double>(QFileInfo(icsPath).size()) / 1e6);
}

GeneratedStore& generated() {
    static GeneratedStore* const instance = new GeneratedStore();
    return *instance;
}

Week weekNumber(int index) {
    return DateUtilities::week(DateUtilities::dateWithYear(firstYear, 1, 6)).addWeeks(index % (years * 52));
}
