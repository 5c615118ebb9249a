#pragma once

#include "core/eventstore/EKCalendar.h"
#include "core/eventstore/EKEvent.h"
#include "core/eventstore/EKSource.h"
#include "core/eventstore/StoreError.h"
#include "foundation/Date.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class EventStoreConnection;
class EventStoreWriter;

enum class EKSpan { ThisEvent = 0, FutureEvents = 1 };
// Whether a write is kept so that EKEventStore::undo can take it back.
enum class EKUndo { NotKept, Kept };

// What a change notification is about: who changed the store, and which calendars.
struct EKEventStoreChange {
    enum class Origin {
        // This program's screens and commands.
        ThisProgram,
        // This program bringing in what changed elsewhere: subscribed files, birthdays, servers.
        Sync,
        // Another program writing the database.
        OtherProgram,
    };
    Origin origin = Origin::ThisProgram;
    // The calendars whose events or settings changed, by identifier; empty when that is not known
    // (another program's change): any of them may have changed.
    std::vector<QString> calendarIdentifiers;
};

// The event store: calendars and events in an SQLite database, repeating events expanded with
// libical. Reads may run on any thread beside writes on the main thread; every query returns fresh
// objects. Change observers are called on the main thread after every own write and after
// another process changed the database.
class EKEventStore {
public:
    // Opens or creates Paths::dataFilePath("events.sqlite"). The first run makes a local source
    // "Default" with one calendar "Calendar", the default for new events.
    EKEventStore();
    explicit EKEventStore(const QString& databasePath);
    ~EKEventStore();

    EKEventStore(const EKEventStore&) = delete;
    EKEventStore& operator=(const EKEventStore&) = delete;

    struct Predicate {
        Date startDate;
        Date endDate;
        std::vector<std::shared_ptr<EKCalendar>> calendars;
    };

    // An empty calendar list means no calendars, so no events.
    Predicate predicateForEvents(Date startDate, Date endDate,
                                 std::vector<std::shared_ptr<EKCalendar>> calendars) const;
    // Every occurrence overlapping the range (start < range end and end > range start; zero-length
    // events at the range start count), in no particular order. Any thread.
    std::vector<std::shared_ptr<EKEvent>> eventsMatchingPredicate(const Predicate& predicate) const;
    // A series gives its first occurrence; null when the store does not hold the identifier.
    // Any thread.
    std::shared_ptr<EKEvent> eventWithIdentifier(const QString& identifier) const;

    // Main thread; one transaction each. A new event gets its identifier.
    bool saveEvent(const std::shared_ptr<EKEvent>& event, EKSpan span, StoreError* error,
                   EKUndo undo = EKUndo::NotKept);
    bool removeEvent(const std::shared_ptr<EKEvent>& event, EKSpan span, StoreError* error,
                     EKUndo undo = EKUndo::NotKept);
    // Whether a write kept for undo is there to take back.
    bool canUndo() const;
    // Main thread. Takes the last kept write back exactly, in one transaction, and forgets it; fails
    // and changes nothing when a row it touched was changed since.
    bool undo(StoreError* error);

    // In creation order. Any thread.
    std::vector<std::shared_ptr<EKCalendar>> calendars() const;
    // May be null.
    std::shared_ptr<EKCalendar> defaultCalendarForNewEvents() const;
    std::vector<std::shared_ptr<const EKSource>> sources() const;
    // The local source ("Default").
    std::shared_ptr<const EKSource> localSource() const;

    // Main thread. Removing a calendar removes its events too.
    bool saveCalendar(const std::shared_ptr<EKCalendar>& calendar, bool commit, StoreError* error);
    bool removeCalendar(const std::shared_ptr<EKCalendar>& calendar, bool commit, StoreError* error);

    // Re-reads the subscribed .ics files and the birthdays vCard file that changed. Any thread;
    // the writes are serialised.
    void refreshSourcesIfNecessary();

    // The EKEventStoreChangedNotification.
    using ObserverId = int;
    using ChangeObserver = std::function<void(const EKEventStoreChange&)>;
    ObserverId addChangeObserver(ChangeObserver observer);
    void removeChangeObserver(ObserverId observerId);

    // Bulk write for import and subscriptions, one transaction: identifiers and changed
    // occurrences (records with occurrenceDate) as given; a record whose identifier is already
    // stored replaces it.
    bool saveEvents(const std::vector<std::shared_ptr<EKEvent>>& events, StoreError* error);

    // The stored records of a calendar for export: single events, series (the first occurrence's
    // dates, the rule and the excluded dates) and changed occurrences (occurrenceDate set), in a
    // stable order. Any thread.
    std::vector<std::shared_ptr<EKEvent>> eventRecords(const std::shared_ptr<EKCalendar>& calendar) const;

    // A read-only calendar (type Subscription, in the source "Subscribed Calendars") fed from an
    // .ics file and refreshed by refreshSourcesIfNecessary when the file changed. Null with the
    // error set for an unreadable or bad file.
    std::shared_ptr<EKCalendar> addSubscribedCalendar(const QString& title, const QString& icsPath,
                                                      StoreError* error);
    // The birthdays calendar (type Birthday, source "Birthdays", read-only) fed from a vCard
    // file's BDAY fields; an empty path removes it.
    bool setBirthdaysContactsFile(const QString& vcfPath, StoreError* error);

    // For the sync with calendar servers (core/sync), which keeps its own tables in the store. Any
    // thread. `writeSynced` runs `change` in one write transaction whose event changes are not
    // journalled as changes to send, announced with the origin Sync; `read` runs `reading` on a
    // reading connection of its own.
    bool writeSynced(const std::function<bool(EventStoreWriter&, StoreError*)>& change, StoreError* error);
    void read(const std::function<void(EventStoreConnection&)>& reading) const;

    QString databasePath() const;
    // Why the store cannot be used at all (its file is not a database of ours, is damaged or cannot
    // be opened), naming the file; empty when it can. The file is left as it was then.
    QString openProblem() const;
    // The schema version this build writes.
    static int schemaVersion();

    class Impl;

private:
    std::shared_ptr<Impl> m_impl;
};
