#include "ui/eventkit/ChangedElsewhereCheck.h"

#include "core/eventstore/EKCalendar.h"
#include "core/eventstore/EKEvent.h"
#include "core/eventstore/EKEventStore.h"
#include "foundation/Localization.h"
#include "kit/AlertView.h"

namespace {

constexpr int keepMineButton = 1;

// What the editor shows or writes back, and what another writer changes with it.
bool sameStoredContent(const EKEvent& a, const EKEvent& b) {
    const auto calendarOf = [](const EKEvent& event) {
        return event.calendar() ? event.calendar()->calendarIdentifier() : QString();
    };
    return a.title() == b.title() && a.location() == b.location() && a.notes() == b.notes() &&
           a.URL() == b.URL() && a.allDay() == b.allDay() && a.startDate() == b.startDate() &&
           a.endDate() == b.endDate() && a.timeZone() == b.timeZone() && calendarOf(a) == calendarOf(b) &&
           a.alarms() == b.alarms() && a.recurrenceRule() == b.recurrenceRule() &&
           a.excludedOccurrenceDates() == b.excludedOccurrenceDates() && a.sequence() == b.sequence() &&
           a.otherProperties() == b.otherProperties();
}

} // namespace

ChangedElsewhereCheck::ChangedElsewhereCheck(const EKEventStore& store, const QString& eventIdentifier)
    : m_store(store), m_eventIdentifier(eventIdentifier),
      m_opened(eventIdentifier.isEmpty() ? nullptr : store.eventWithIdentifier(eventIdentifier)) {}

bool ChangedElsewhereCheck::changedSinceOpened() const {
    if (!m_opened) {
        return false;
    }
    const std::shared_ptr<EKEvent> stored = m_store.eventWithIdentifier(m_eventIdentifier);
    return !stored || !sameStoredContent(*m_opened, *stored);
}

void ChangedElsewhereCheck::confirmSave(std::function<void()> save, std::function<void()> keepOther) {
    if (!changedSinceOpened()) {
        save();
        return;
    }
    m_save = std::move(save);
    m_keepOther = std::move(keepOther);
    auto alert = std::make_shared<AlertView>(
        localizedString(QStringLiteral("Changed Elsewhere")),
        localizedString(QStringLiteral("This event was changed by a sync or another program while you were "
                                       "editing it. Save your version over that change?")),
        shared_from_this(), localizedString(QStringLiteral("Discard Mine")),
        QStringList{localizedString(QStringLiteral("Save Mine"))});
    alert->show();
}

void ChangedElsewhereCheck::didDismissWithButtonIndex(AlertView&, int buttonIndex) {
    const std::function<void()> chosen = buttonIndex == keepMineButton ? m_save : m_keepOther;
    m_save = nullptr;
    m_keepOther = nullptr;
    if (chosen) {
        chosen();
    }
}
