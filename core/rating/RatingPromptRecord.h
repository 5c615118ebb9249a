#pragma once

#include "foundation/Date.h"

#include <QString>

class UserDefaults;

// What the rating prompt remembers about the application version it follows: first use, number
// of uses, and the user's answer. Kept in the user defaults under keys of its own, apart from the
// settings. Every operation flushes what it writes; safe from any thread, as the defaults are.
class RatingPromptRecord {
public:
    static constexpr double daysUntilPrompt = 5 * 86400.0;
    static constexpr int usesUntilPrompt = 5;
    static constexpr double timeBeforeReminding = 86400.0;

    RatingPromptRecord(UserDefaults& userDefaults, QString applicationVersion);

    // Counts one use of the running version. A new minor version (2.0 to 2.1, not 2.0 to 2.0.1)
    // starts the record afresh, forgetting an answer given for an older one.
    void incrementUseCount(Date now);
    // Enough days and uses since the first use of this version, no answer given, and no recent
    // request to be reminded later.
    bool ratingConditionsHaveBeenMet(Date now) const;

    void recordDeclined();
    void recordRated();
    void recordReminderRequest(Date now);

private:
    UserDefaults& m_userDefaults;
    QString m_applicationVersion;
};
