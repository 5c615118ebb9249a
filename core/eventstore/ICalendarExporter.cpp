#include "core/eventstore/ICalendarExporter.h"

#include "core/eventstore/EKEventStore.h"
#include "core/eventstore/ICalendarWriter.h"

#include <QSaveFile>

QByteArray ICalendarExporter::exportCalendars(const std::vector<std::shared_ptr<EKCalendar>>& calendars,
                                              EKEventStore& store) {
    std::vector<std::shared_ptr<EKEvent>> records;
    for (const std::shared_ptr<EKCalendar>& calendar : calendars) {
        std::vector<std::shared_ptr<EKEvent>> ofCalendar = store.eventRecords(calendar);
        records.insert(records.end(), ofCalendar.begin(), ofCalendar.end());
    }
    return ICalendarWriter().write(records);
}

bool ICalendarExporter::exportToFile(const QString& path,
                                     const std::vector<std::shared_ptr<EKCalendar>>& calendars,
                                     EKEventStore& store, QString* error) {
    const QByteArray text = exportCalendars(calendars, store);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        if (error) {
            *error = QStringLiteral("%1: cannot write the file: %2").arg(path, file.errorString());
        }
        return false;
    }
    return true;
}
