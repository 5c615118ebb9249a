#pragma once

#include "core/eventstore/ContentLineReader.h"
#include "core/eventstore/ICalendarComponent.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

// Nests the content lines into components by their BEGIN and END lines, as they are read. When
// whole files are refused, the first broken line ends the reading. Otherwise a broken line damages
// the component it is in, which is then skipped with that line, unless nothing the component needs
// can be lost with it: a line without ":" or one of a property no reader here knows is left out
// with a warning, as is what lies outside of every component.
class ICalendarComponentNesting {
public:
    // Takes each component of a VCALENDAR as soon as it is complete, so that a large file is never
    // held as a whole tree.
    using Taker = std::function<void(ICalendarComponent&&)>;

    ICalendarComponentNesting(qsizetype textSize, bool strict, std::vector<ICalendarReadFailure>& warnings,
                              std::vector<ICalendarReadFailure>& skipped, Taker take);

    // The top-level components (VCALENDAR, and whatever stands outside of one); throws
    // ICalendarReadFailure when the text is refused.
    std::vector<ICalendarComponent> read(ContentLineReader& lines);

private:
    void problem(int line, QString text);
    void brokenLine(const ContentLine& line);
    // What belongs to no component is left out.
    void outside(int line, QString text);
    void begin(const ContentLine& line, const QByteArray& name);
    void end(const ContentLine& line, const QByteArray& name);
    void closeUnclosed(qsizetype endOffset);
    void close(qsizetype endOffset);
    // Lines inside a component nested too deep are only counted, to find its end; the events
    // among them are named as skipped.
    void ignore(const ContentLine& line);

    const qsizetype m_textSize;
    const bool m_strict;
    std::vector<ICalendarReadFailure>& m_warnings;
    std::vector<ICalendarReadFailure>& m_skipped;
    const Taker m_take;
    std::vector<ICalendarComponent> m_calendars;
    std::vector<ICalendarComponent> m_open;
    int m_ignoredDepth = 0;
};
