#pragma once

#include "core/eventstore/ContentLineReader.h"
#include "core/eventstore/ICalendarComponent.h"
#include "core/eventstore/ZoneCalendars.h"
#include "foundation/Date.h"

#include <QByteArray>
#include <QString>

#include <libical/ical.h>

#include <map>
#include <memory>
#include <optional>
#include <vector>

struct IcalComponentDeleter {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using IcalComponentPointer = std::unique_ptr<icalcomponent, IcalComponentDeleter>;

struct IcalTimezoneDeleter {
    void operator()(icaltimezone* zone) const { icaltimezone_free(zone, 1); }
};
using IcalTimezonePointer = std::unique_ptr<icaltimezone, IcalTimezoneDeleter>;

// The zone a TZID stands for, or how a time without TZID is meant.
struct ICalendarZone {
    enum class Kind { Floating, Utc, Icu, Custom };
    Kind kind = Kind::Floating;
    QString icuName;
    // A zone only the file defines; owned by the ICalendarTimeZones that resolved it.
    icaltimezone* custom = nullptr;
};

// The time zones of one iCalendar text: a TZID names one of ICU's zones (also behind a path or as a
// Windows name), else the text's own VTIMEZONE of that name, which is checked and built with
// libical. Each TZID is resolved once; a zone that cannot be read refuses every event that uses it.
class ICalendarTimeZones {
public:
    // What the zones need of the reading they belong to.
    class Delegate {
    public:
        virtual ~Delegate() = default;
        // How a value of the text is to be decoded.
        virtual ContentLineReader::Encoding encodingOf(const QByteArray& value, int line) = 0;
        virtual void warn(int line, QString problem) = 0;
        // A habit of other writers that is read with an assumption: it refuses the reading when
        // whole files are refused; otherwise the problem is a warning that names the assumption.
        virtual void tolerate(int line, const QString& problem, const QString& assumption) = 0;
        // The property that may occur once: when given more often, the first (tolerated).
        virtual const ContentLine* single(const ICalendarComponent& component, const char* propertyName) = 0;
        // Has libical check the properties the reading does not read itself.
        virtual void checkWithLibical(const ICalendarComponent& component) = 0;
    };

    ICalendarTimeZones(const QByteArray& text, Delegate& delegate);

    ICalendarTimeZones(const ICalendarTimeZones&) = delete;
    ICalendarTimeZones& operator=(const ICalendarTimeZones&) = delete;

    // Keeps a VTIMEZONE for the TZIDs that name it; the first definition of a name counts.
    void define(const QString& name, ICalendarComponent&& definition);
    // Whether the TZID is resolved already, or ICU or a VTIMEZONE kept so far defines it.
    bool isKnown(const QByteArray& tzid, int line);
    // The zone of a TZID parameter on `line`; throws ICalendarReadFailure when its definition
    // cannot be read. A TZID nothing defines is read as floating time, with a warning.
    ICalendarZone resolve(const QByteArray& tzid, int line);

    // The moment of wall-clock fields in a zone only the file defines.
    static Date definedZoneDate(const DateTimeValue& value, icaltimezone* zone);
    // The ICU zone with the rules of a zone only the file defines, from the beginning of the year of
    // `from` on (EquivalentZone), looked up once per zone and year: all events of a file may use it.
    std::optional<QString> icuZoneWithRulesOf(icaltimezone* zone, Date from);

private:
    static std::optional<QString> icuZoneName(const QString& name);
    ICalendarZone newZone(const QByteArray& tzid, int line);
    icaltimezone* customZone(const ICalendarComponent& definition);
    // Checks the observance's start and rules; *rewritten gets what libical is to be given in place
    // of a line that is read otherwise than written (nothing for a line left out).
    void checkObservance(const ICalendarComponent& observance, std::map<qsizetype, QByteArray>* rewritten);
    // The component as libical is given it: its properties and children as read, left-out lines
    // left out.
    QByteArray libicalText(const ICalendarComponent& component,
                           const std::map<qsizetype, QByteArray>& rewritten) const;
    static int countChanges(const icalrecurrencetype& rule, const DateTimeValue& start, int limit);

    const QByteArray& m_text;
    Delegate& m_delegate;
    std::vector<std::unique_ptr<ICalendarComponent>> m_definitionComponents;
    std::map<QString, const ICalendarComponent*> m_definitions;
    std::map<QByteArray, ICalendarZone> m_zones;
    std::map<QByteArray, ICalendarReadFailure> m_failures;
    std::vector<IcalTimezonePointer> m_definedZones;
    std::map<std::pair<icaltimezone*, int>, std::optional<QString>> m_icuZonesWithSameRules;
};
