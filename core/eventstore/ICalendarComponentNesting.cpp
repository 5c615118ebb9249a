#include "core/eventstore/ICalendarComponentNesting.h"

#include <libical/ical.h>

#include <algorithm>
#include <iterator>

namespace {

// Components nest this deep at most: real files need four levels (VCALENDAR, VEVENT, VALARM; or
// VCALENDAR, VTIMEZONE, STANDARD), and the bound keeps the tree, and freeing it, small.
constexpr int maximumNesting = 16;

} // namespace

ICalendarComponentNesting::ICalendarComponentNesting(qsizetype textSize, bool strict,
                                                     std::vector<ICalendarReadFailure>& warnings,
                                                     std::vector<ICalendarReadFailure>& skipped, Taker take)
    : m_textSize(textSize), m_strict(strict), m_warnings(warnings), m_skipped(skipped),
      m_take(std::move(take)) {}

std::vector<ICalendarComponent> ICalendarComponentNesting::read(ContentLineReader& lines) {
    while (std::optional<ContentLine> line = lines.next()) {
        if (m_ignoredDepth > 0) {
            ignore(*line);
        } else if (!line->problem.isEmpty()) {
            brokenLine(*line);
        } else if (line->name == "BEGIN" || line->name == "END") {
            const QByteArray componentName = line->value.trimmed().toUpper();
            if (componentName.isEmpty()) {
                problem(line->line, QStringLiteral("%1 without a component name")
                                        .arg(ContentLineReader::excerpt(line->name)));
            } else if (line->name == "BEGIN") {
                begin(*line, componentName);
            } else {
                end(*line, componentName);
            }
        } else if (m_open.empty()) {
            outside(line->line,
                    QStringLiteral("%1 outside of a VCALENDAR").arg(ContentLineReader::excerpt(line->name)));
        } else {
            m_open.back().properties.push_back(std::move(*line));
        }
    }
    if (!lines.problem().isEmpty()) {
        throw ICalendarReadFailure{lines.problemLine(), lines.problem()};
    }
    // A missing END:VCALENDAR at the end of the file loses nothing.
    while (m_open.size() > 1 || (!m_open.empty() && m_open.back().name != "VCALENDAR")) {
        if (m_strict) {
            throw ICalendarReadFailure{m_open.back().beginLine,
                                       QStringLiteral("BEGIN:%1 is not closed (END:%1 is missing)")
                                           .arg(ContentLineReader::excerpt(m_open.back().name))};
        }
        closeUnclosed(m_textSize);
    }
    if (!m_open.empty()) {
        close(m_textSize);
    }
    return std::move(m_calendars);
}

void ICalendarComponentNesting::problem(int line, QString text) {
    if (m_strict) {
        throw ICalendarReadFailure{line, text};
    }
    if (m_open.empty() || m_open.back().name == "VCALENDAR") {
        outside(line, QStringLiteral("%1; the line is left out").arg(text));
    } else {
        m_open.back().damageWith(line, std::move(text));
    }
}

// Extensions (X-...) and properties of other standards are ignored by a reader that does not know
// them (RFC 5545 3.8.8.1, 3.8.8.2), so their lines are no loss; nor is a line without any ":", which
// has no value to lose. Lines that open or close a component keep the structure and are no such line.
void ICalendarComponentNesting::brokenLine(const ContentLine& line) {
    const QByteArray& name = line.brokenName;
    const bool structure = name == "BEGIN" || name == "END";
    const icalproperty_kind kind =
        name.isEmpty() ? ICAL_NO_PROPERTY : icalproperty_string_to_kind(name.constData());
    const bool unknown = !name.isEmpty() && (kind == ICAL_X_PROPERTY || kind == ICAL_NO_PROPERTY);
    if (!m_strict && !m_open.empty() && !structure && (line.colonless || unknown)) {
        m_warnings.push_back(
            ICalendarReadFailure{line.line, QStringLiteral("%1; the line is left out").arg(line.problem)});
        return;
    }
    problem(line.line, line.problem);
}

void ICalendarComponentNesting::outside(int line, QString text) {
    if (m_strict) {
        throw ICalendarReadFailure{line, text};
    }
    m_warnings.push_back(ICalendarReadFailure{line, std::move(text)});
}

void ICalendarComponentNesting::begin(const ContentLine& line, const QByteArray& name) {
    if (m_open.empty() && name != "VCALENDAR" && m_strict) {
        throw ICalendarReadFailure{
            line.line,
            QStringLiteral("BEGIN:%1 outside of a VCALENDAR").arg(ContentLineReader::excerpt(name))};
    }
    if (int(m_open.size()) >= maximumNesting) {
        const QString deep =
            QStringLiteral("components are nested more than %1 levels deep").arg(maximumNesting);
        if (m_strict) {
            throw ICalendarReadFailure{line.line, deep};
        }
        m_warnings.push_back(
            ICalendarReadFailure{line.line, deep + QStringLiteral("; what lies deeper is left out")});
        m_open.back().damageWith(line.line, deep);
        m_ignoredDepth = 0;
        ignore(line);
        return;
    }
    // Such components never nest: a second BEGIN means that the END of the first is missing.
    static const QByteArray flat[] = {"VEVENT", "VTODO", "VJOURNAL", "VTIMEZONE", "VALARM"};
    if (!m_strict && std::find(std::begin(flat), std::end(flat), name) != std::end(flat)) {
        const auto open =
            std::find_if(m_open.begin(), m_open.end(),
                         [&](const ICalendarComponent& component) { return component.name == name; });
        const size_t keep = size_t(open - m_open.begin());
        while (m_open.size() > keep) {
            closeUnclosed(line.offset);
        }
    }
    ICalendarComponent component;
    component.name = name;
    component.beginLine = line.line;
    component.beginOffset = line.offset;
    m_open.push_back(std::move(component));
}

void ICalendarComponentNesting::end(const ContentLine& line, const QByteArray& name) {
    const auto open = std::find_if(m_open.rbegin(), m_open.rend(), [&](const ICalendarComponent& component) {
        return component.name == name;
    });
    if (open == m_open.rend()) {
        const QString stray = QStringLiteral("END:%1 without BEGIN:%1").arg(ContentLineReader::excerpt(name));
        if (m_open.empty()) {
            outside(line.line, stray);
        } else {
            problem(line.line, stray);
        }
        return;
    }
    // Components opened inside the one that ends and never closed are damaged.
    while (m_open.back().name != name) {
        const ICalendarComponent& inner = m_open.back();
        if (m_strict) {
            throw ICalendarReadFailure{
                line.line, QStringLiteral("END:%1 found while BEGIN:%2 of line %3 is still open")
                               .arg(ContentLineReader::excerpt(name), ContentLineReader::excerpt(inner.name),
                                    QString::number(inner.beginLine))};
        }
        closeUnclosed(line.offset);
    }
    close(line.offset + line.length);
}

void ICalendarComponentNesting::closeUnclosed(qsizetype endOffset) {
    ICalendarComponent& inner = m_open.back();
    inner.damageWith(inner.beginLine, QStringLiteral("BEGIN:%1 is not closed (END:%1 is missing)")
                                          .arg(ContentLineReader::excerpt(inner.name)));
    close(endOffset);
}

void ICalendarComponentNesting::close(qsizetype endOffset) {
    ICalendarComponent component = std::move(m_open.back());
    m_open.pop_back();
    component.endOffset = endOffset;
    if (m_open.empty()) {
        m_calendars.push_back(std::move(component));
        return;
    }
    ICalendarComponent& parent = m_open.back();
    if (parent.name == "VCALENDAR") {
        m_take(std::move(component));
        return;
    }
    if (component.damage) {
        parent.damageWith(component.damage->line, component.damage->problem);
    }
    parent.children.push_back(std::move(component));
}

void ICalendarComponentNesting::ignore(const ContentLine& line) {
    if (line.name == "BEGIN") {
        ++m_ignoredDepth;
        if (line.value.trimmed().toUpper() == "VEVENT") {
            m_skipped.push_back(ICalendarReadFailure{
                line.line,
                QStringLiteral("VEVENT nested more than %1 levels deep is not read").arg(maximumNesting)});
        }
    } else if (line.name == "END") {
        --m_ignoredDepth;
    }
}
