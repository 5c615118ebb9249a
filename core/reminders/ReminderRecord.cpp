#include "core/reminders/ReminderRecord.h"

#include "foundation/Log.h"
#include "foundation/Paths.h"

#include <QFile>
#include <QLockFile>
#include <QSaveFile>
#include <QTextStream>
#include <QUrl>

#include <utility>

namespace {

const QString recordLogArea = QStringLiteral("reminders");

// A line: the due moment, the end of the snooze or "-", and the reminder's key, percent-encoded
// so that no tab or line break of an identifier splits it.
QString recordLine(const QString& key, Date dueDate, std::optional<Date> snoozedUntil) {
    return QStringLiteral("%1\t%2\t%3\n")
        .arg(dueDate.timeIntervalSince1970(), 0, 'f', 0)
        .arg(snoozedUntil ? QString::number(snoozedUntil->timeIntervalSince1970(), 'f', 0)
                          : QStringLiteral("-"))
        .arg(QString::fromLatin1(QUrl::toPercentEncoding(key)));
}

} // namespace

ReminderRecord::ReminderRecord(QString filePath) : m_filePath(std::move(filePath)) {
    reload();
}

QString ReminderRecord::defaultFilePath() {
    return Paths::dataFilePath(QStringLiteral("reminders-shown.txt"));
}

void ReminderRecord::reload() {
    m_entries = read();
}

bool ReminderRecord::wasShown(const Reminder& reminder) const {
    const auto found = m_entries.constFind(reminder.key());
    return found != m_entries.cend() && !found->snoozedUntil;
}

std::optional<Date> ReminderRecord::snoozedUntil(const Reminder& reminder) const {
    const auto found = m_entries.constFind(reminder.key());
    return found == m_entries.cend() ? std::nullopt : found->snoozedUntil;
}

void ReminderRecord::recordShown(const std::vector<Reminder>& reminders, Date now) {
    update(now, [&reminders](QHash<QString, Entry>& entries) {
        for (const Reminder& reminder : reminders) {
            const QString key = reminder.key();
            // A snoozed reminder keeps its first due moment, which decides how long it is kept.
            const Date firstDue = entries.contains(key) ? entries.value(key).dueDate : reminder.dueDate;
            entries.insert(key, Entry{firstDue, std::nullopt});
        }
    });
}

void ReminderRecord::recordSnoozed(const Reminder& reminder, Date until, Date now) {
    update(now, [&reminder, until](QHash<QString, Entry>& entries) {
        const QString key = reminder.key();
        const Date firstDue = entries.contains(key) ? entries.value(key).dueDate : reminder.dueDate;
        entries.insert(key, Entry{firstDue, until});
    });
}

template <class Change> void ReminderRecord::update(Date now, Change change) {
    QLockFile lock(m_filePath + QStringLiteral(".lock"));
    if (!lock.lock()) {
        Log::warning(recordLogArea, QStringLiteral("Could not lock %1; writing it anyway").arg(m_filePath));
    }
    m_entries = read();
    change(m_entries);
    write(m_entries, now);
}

QHash<QString, ReminderRecord::Entry> ReminderRecord::read() const {
    QHash<QString, Entry> entries;
    QFile file(m_filePath);
    if (!file.exists()) {
        return entries;
    }
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        Log::warning(recordLogArea,
                     QStringLiteral("Could not read %1: %2").arg(m_filePath, file.errorString()));
        return entries;
    }
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QStringList fields = in.readLine().split(QLatin1Char('\t'));
        bool dueRead = false;
        bool snoozeRead = fields.size() == 3 && fields[1] == QLatin1String("-");
        const double due = fields.size() == 3 ? fields[0].toDouble(&dueRead) : 0.0;
        std::optional<Date> snoozedUntil;
        if (fields.size() == 3 && !snoozeRead) {
            snoozedUntil = Date::withTimeIntervalSince1970(fields[1].toDouble(&snoozeRead));
        }
        // A damaged line is passed over: at worst its reminder shows once more.
        if (dueRead && snoozeRead) {
            entries.insert(QUrl::fromPercentEncoding(fields[2].toLatin1()),
                           Entry{Date::withTimeIntervalSince1970(due), snoozedUntil});
        }
    }
    return entries;
}

void ReminderRecord::write(const QHash<QString, Entry>& entries, Date now) {
    QSaveFile file(m_filePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        Log::warning(recordLogArea,
                     QStringLiteral("Could not write %1: %2").arg(m_filePath, file.errorString()));
        return;
    }
    const Date oldest = now.addingTimeInterval(-keptPeriod);
    QString text;
    for (auto entry = entries.cbegin(); entry != entries.cend(); ++entry) {
        if (entry->dueDate >= oldest || (entry->snoozedUntil && *entry->snoozedUntil >= oldest)) {
            text += recordLine(entry.key(), entry->dueDate, entry->snoozedUntil);
        }
    }
    file.write(text.toUtf8());
    if (!file.commit()) {
        Log::warning(recordLogArea,
                     QStringLiteral("Could not write %1: %2").arg(m_filePath, file.errorString()));
    }
}
