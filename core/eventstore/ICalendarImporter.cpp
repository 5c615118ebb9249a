#include "core/eventstore/ICalendarImporter.h"

#include "core/eventstore/EKCalendar.h"
#include "core/eventstore/EKEventStore.h"

#include <QSet>

void ICalendarImporter::setOnProgress(ICalendarReader::ProgressCallback onProgress) {
    m_onProgress = std::move(onProgress);
}

void ICalendarImporter::setStrictness(ICalendarReader::Strictness strictness) {
    m_strictness = strictness;
}

ICalendarImportResult ICalendarImporter::import(const QString& path,
                                                const std::shared_ptr<EKCalendar>& calendar,
                                                EKEventStore& store) {
    // A read-only calendar is refused before the file is read at all.
    if (std::optional<QString> problem = calendarProblem(calendar)) {
        return ICalendarImportResult{0, {}, {}, std::move(problem)};
    }
    return save(reader(store).readFile(path), calendar, store);
}

ICalendarImportResult ICalendarImporter::importText(const QByteArray& text, const QString& fileName,
                                                    const std::shared_ptr<EKCalendar>& calendar,
                                                    EKEventStore& store) {
    if (std::optional<QString> problem = calendarProblem(calendar)) {
        return ICalendarImportResult{0, {}, {}, std::move(problem)};
    }
    return save(reader(store).read(text, fileName), calendar, store);
}

ICalendarImportResult ICalendarImporter::importRead(ICalendarParseResult parsed,
                                                    const std::shared_ptr<EKCalendar>& calendar,
                                                    EKEventStore& store) {
    if (std::optional<QString> problem = calendarProblem(calendar)) {
        return ICalendarImportResult{0, {}, {}, std::move(problem)};
    }
    m_steps = 1;
    return save(std::move(parsed), calendar, store);
}

std::optional<QString> ICalendarImporter::calendarProblem(const std::shared_ptr<EKCalendar>& calendar) {
    if (!calendar) {
        return QStringLiteral("no calendar to import into");
    }
    if (!calendar->allowsContentModifications()) {
        return QStringLiteral("the calendar \"%1\" is read-only").arg(calendar->title());
    }
    return std::nullopt;
}

ICalendarReader ICalendarImporter::reader(EKEventStore& store) {
    m_steps = 1;
    ICalendarReader reader(store);
    reader.setStrictness(m_strictness);
    if (m_onProgress) {
        // The write that follows the reading is the last step.
        reader.setOnProgress([this](int done, int total) {
            m_steps = total + 1;
            m_onProgress(done, m_steps);
        });
    }
    return reader;
}

ICalendarImportResult ICalendarImporter::save(ICalendarParseResult parsed,
                                              const std::shared_ptr<EKCalendar>& calendar,
                                              EKEventStore& store) {
    ICalendarImportResult result;
    result.warnings = std::move(parsed.warnings);
    if (parsed.error) {
        result.error = parsed.error->message();
        return result;
    }
    result.skipped = std::move(parsed.skipped);
    QSet<QString> identifiers;
    for (const std::shared_ptr<EKEvent>& event : parsed.events) {
        event->setCalendar(calendar);
        identifiers.insert(event->eventIdentifier());
    }
    StoreError storeError;
    if (!parsed.events.empty() && !store.saveEvents(parsed.events, &storeError)) {
        result.error = storeError.localizedDescription;
        return result;
    }
    if (m_onProgress) {
        m_onProgress(m_steps, m_steps);
    }
    result.imported = int(identifiers.size());
    return result;
}
