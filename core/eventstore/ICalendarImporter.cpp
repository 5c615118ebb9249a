#include "core/eventstore/ICalendarImporter.h"

#include "core/eventstore/EKCalendar.h"
#include "core/eventstore/EKEventStore.h"

#include <QSet>

void ICalendarImporter::setOnProgress(ICalendarReader::ProgressCallback onProgress) {
    m_onProgress = std::move(onProgress);
}

int ICalendarImporter::import(const QString& path, const std::shared_ptr<EKCalendar>& calendar,
                              EKEventStore& store, QString* error) {
    // A read-only calendar is refused before the file is read at all.
    if (refuseCalendar(calendar, error)) {
        return -1;
    }
    return save(reader(store).readFile(path), calendar, store, error);
}

int ICalendarImporter::importText(const QByteArray& text, const QString& fileName,
                                  const std::shared_ptr<EKCalendar>& calendar, EKEventStore& store,
                                  QString* error) {
    if (refuseCalendar(calendar, error)) {
        return -1;
    }
    return save(reader(store).read(text, fileName), calendar, store, error);
}

bool ICalendarImporter::refuseCalendar(const std::shared_ptr<EKCalendar>& calendar, QString* error) const {
    QString problem;
    if (!calendar) {
        problem = QStringLiteral("no calendar to import into");
    } else if (!calendar->allowsContentModifications()) {
        problem = QStringLiteral("the calendar \"%1\" is read-only").arg(calendar->title());
    }
    if (problem.isEmpty()) {
        return false;
    }
    if (error) {
        *error = problem;
    }
    return true;
}

ICalendarReader ICalendarImporter::reader(EKEventStore& store) {
    m_steps = 1;
    ICalendarReader reader(store);
    if (m_onProgress) {
        // The write that follows the reading is the last step.
        reader.setOnProgress([this](int done, int total) {
            m_steps = total + 1;
            m_onProgress(done, m_steps);
        });
    }
    return reader;
}

int ICalendarImporter::save(ICalendarParseResult parsed, const std::shared_ptr<EKCalendar>& calendar,
                            EKEventStore& store, QString* error) {
    if (parsed.error) {
        if (error) {
            *error = parsed.error->message();
        }
        return -1;
    }
    QSet<QString> identifiers;
    for (const std::shared_ptr<EKEvent>& event : parsed.events) {
        event->setCalendar(calendar);
        identifiers.insert(event->eventIdentifier());
    }
    StoreError storeError;
    if (!parsed.events.empty() && !store.saveEvents(parsed.events, &storeError)) {
        if (error) {
            *error = storeError.localizedDescription;
        }
        return -1;
    }
    if (m_onProgress) {
        m_onProgress(m_steps, m_steps);
    }
    return int(identifiers.size());
}
