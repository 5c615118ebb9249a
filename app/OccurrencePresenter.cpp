#include "app/OccurrencePresenter.h"

#include "core/calendar/DateUtilities.h"
#include "core/calendar/Week.h"
#include "core/eventstore/EKEvent.h"
#include "ui/week/DayViewController.h"
#include "ui/week/WeekScrollViewController.h"
#include "ui/week/WeekViewController.h"

#include <memory>

void OccurrencePresenter::present(WeekScrollViewController& weekScreen, const QString& identifier,
                                  Date startDate) {
    const Week week = DateUtilities::week(startDate);
    weekScreen.scrollToWeek(week, false, true);
    // The rows are matched by identifier, so a stand-in with the identifier is all a flash needs.
    auto event = std::make_shared<EKEvent>();
    event->setEventIdentifier(identifier);
    for (const std::shared_ptr<WeekViewController>& page : weekScreen.weekViews()) {
        if (page->displayedWeek() != week) {
            continue;
        }
        const std::weak_ptr<WeekViewController> weakPage = page;
        page->ensureLoaded([weakPage, event, startDate] {
            const auto shown = weakPage.lock();
            if (!shown) {
                return;
            }
            // Only the occurrence's own day: the other days may show other occurrences. The flash
            // waits for the rows to have faded in.
            for (const std::shared_ptr<DayViewController>& day : shown->dayViewControllers()) {
                if (DateUtilities::isEqualToDateIgnoreTime(day->displayedDate(), startDate)) {
                    day->flashEvent(*event, true);
                }
            }
        });
    }
}
