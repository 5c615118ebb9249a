#pragma once

#include "core/reminders/Reminder.h"
#include "foundation/Date.h"

#include <QHash>
#include <QString>

#include <optional>
#include <vector>

// Which reminders were shown and which wait for the end of a snooze, kept in a file that the
// programs delivering reminders share, so that no reminder is shown twice, also across restarts.
// Each change re-reads the file under a lock file before writing it anew; entries are kept for
// `keptPeriod` after they were due. Main thread only.
class ReminderRecord {
public:
    static constexpr double keptPeriod = 2 * 86400.0;

    explicit ReminderRecord(QString filePath);
    // "reminders-shown.txt" in the data folder.
    static QString defaultFilePath();

    // Reads the file again: another program may have written it.
    void reload();

    // Shown and not snoozed since.
    bool wasShown(const Reminder& reminder) const;
    // The end of the reminder's snooze, or nothing when it is not snoozed.
    std::optional<Date> snoozedUntil(const Reminder& reminder) const;

    void recordShown(const std::vector<Reminder>& reminders, Date now);
    void recordSnoozed(const Reminder& reminder, Date until, Date now);

private:
    struct Entry {
        Date dueDate;
        std::optional<Date> snoozedUntil;
    };

    QHash<QString, Entry> read() const;
    void write(const QHash<QString, Entry>& entries, Date now);
    // Re-reads, lets `change` alter the entries and writes them, all under the lock file.
    template <class Change> void update(Date now, Change change);

    QString m_filePath;
    QHash<QString, Entry> m_entries;
};
