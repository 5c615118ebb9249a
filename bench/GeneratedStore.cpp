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
    const std::vector<std::shared_ptr<EKEvent>> events =
        GeneratedEvents::all(*store, store->defaultCalendarForNewEvents());
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
