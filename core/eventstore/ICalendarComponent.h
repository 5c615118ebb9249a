#pragma once

#include "core/eventstore/ContentLineReader.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// A problem that ends the reading of a file, or of one event, at its line; thrown where it is
// found and caught where that reading starts.
struct ICalendarReadFailure {
    int line;
    QString problem;
};

// A component of an iCalendar text (VCALENDAR, VEVENT, VTIMEZONE, ...) with its properties and the
// components nested in it.
struct ICalendarComponent {
    QByteArray name;
    int beginLine = 0;
    // The text from the BEGIN line to the end of the END line.
    qsizetype beginOffset = 0;
    qsizetype endOffset = 0;
    std::vector<ContentLine> properties;
    std::vector<ICalendarComponent> children;
    // The first problem found inside the component; the component is not read then.
    std::optional<ICalendarReadFailure> damage;

    void damageWith(int line, QString problem) {
        if (!damage) {
            damage = ICalendarReadFailure{line, std::move(problem)};
        }
    }

    // The component's text from its BEGIN to its END line.
    QByteArray text(const QByteArray& whole) const { return whole.mid(beginOffset, endOffset - beginOffset); }

    std::vector<const ContentLine*> all(const char* propertyName) const {
        std::vector<const ContentLine*> found;
        for (const ContentLine& property : properties) {
            if (property.name == propertyName) {
                found.push_back(&property);
            }
        }
        return found;
    }

    const ContentLine* first(const char* propertyName) const {
        for (const ContentLine& property : properties) {
            if (property.name == propertyName) {
                return &property;
            }
        }
        return nullptr;
    }

    // The property that may occur at most once.
    const ContentLine* single(const char* propertyName) const {
        const std::vector<const ContentLine*> found = all(propertyName);
        if (found.size() > 1) {
            throw ICalendarReadFailure{
                found[1]->line, QStringLiteral("%1 occurs more than once in %2")
                                    .arg(QLatin1String(propertyName), ContentLineReader::excerpt(name))};
        }
        return found.empty() ? nullptr : found.front();
    }
};
