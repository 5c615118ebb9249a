#pragma once

#include "foundation/Date.h"

#include <QString>

class WeekScrollViewController;

// Brings an occurrence before the user as search brings a found event: the week screen moves
// to the occurrence's week and flashes its row once the week's events are shown.
class OccurrencePresenter {
public:
    static void present(WeekScrollViewController& weekScreen, const QString& identifier, Date startDate);
};
