#include "core/rating/RatingPromptRecord.h"

#include "foundation/StringUtilities.h"
#include "foundation/UserDefaults.h"

namespace {

const QString ratingCurrentVersionKey = QStringLiteral("kRatingPromptCurrentVersion");
const QString ratingFirstUseDateKey = QStringLiteral("kRatingPromptFirstUseDate");
const QString ratingUseCountKey = QStringLiteral("kRatingPromptUseCount");
const QString ratingSignificantEventCountKey = QStringLiteral("kRatingPromptSignificantEventCount");
const QString ratingRatedCurrentVersionKey = QStringLiteral("kRatingPromptRatedCurrentVersion");
const QString ratingDeclinedToRateKey = QStringLiteral("kRatingPromptDeclinedToRate");
const QString ratingReminderRequestDateKey = QStringLiteral("kRatingPromptReminderRequestDate");

} // namespace

RatingPromptRecord::RatingPromptRecord(UserDefaults& userDefaults, QString applicationVersion)
    : m_userDefaults(userDefaults), m_applicationVersion(std::move(applicationVersion)) {}

void RatingPromptRecord::incrementUseCount(Date now) {
    std::optional<QString> tracked = m_userDefaults.stringForKey(ratingCurrentVersionKey);
    if (!tracked) {
        tracked = m_applicationVersion;
        m_userDefaults.setString(ratingCurrentVersionKey, m_applicationVersion);
    }
    if (StringUtilities::isSameMinorVersionNumberAs(*tracked, m_applicationVersion)) {
        if (m_userDefaults.doubleForKey(ratingFirstUseDateKey).value_or(0.0) == 0.0) {
            m_userDefaults.setDouble(ratingFirstUseDateKey, now.timeIntervalSince1970());
        }
        m_userDefaults.incrementInteger(ratingUseCountKey);
    } else {
        m_userDefaults.setString(ratingCurrentVersionKey, m_applicationVersion);
        m_userDefaults.setDouble(ratingFirstUseDateKey, now.timeIntervalSince1970());
        m_userDefaults.setInteger(ratingUseCountKey, 1);
        m_userDefaults.setInteger(ratingSignificantEventCountKey, 0);
        m_userDefaults.setBool(ratingRatedCurrentVersionKey, false);
        m_userDefaults.setBool(ratingDeclinedToRateKey, false);
        m_userDefaults.setDouble(ratingReminderRequestDateKey, 0.0);
    }
    m_userDefaults.synchronize();
}

bool RatingPromptRecord::ratingConditionsHaveBeenMet(Date now) const {
    const double sinceFirstUse =
        now.timeIntervalSince1970() - m_userDefaults.doubleForKey(ratingFirstUseDateKey).value_or(0.0);
    const double sinceReminderRequest =
        now.timeIntervalSince1970() - m_userDefaults.doubleForKey(ratingReminderRequestDateKey).value_or(0.0);
    return sinceFirstUse >= daysUntilPrompt &&
           m_userDefaults.integerForKey(ratingUseCountKey).value_or(0) > usesUntilPrompt &&
           m_userDefaults.integerForKey(ratingSignificantEventCountKey).value_or(0) > -1 &&
           !m_userDefaults.boolForKey(ratingDeclinedToRateKey).value_or(false) &&
           !m_userDefaults.boolForKey(ratingRatedCurrentVersionKey).value_or(false) &&
           sinceReminderRequest >= timeBeforeReminding;
}

void RatingPromptRecord::recordDeclined() {
    m_userDefaults.setBool(ratingDeclinedToRateKey, true);
    m_userDefaults.synchronize();
}

void RatingPromptRecord::recordRated() {
    m_userDefaults.setBool(ratingRatedCurrentVersionKey, true);
    m_userDefaults.synchronize();
}

void RatingPromptRecord::recordReminderRequest(Date now) {
    m_userDefaults.setDouble(ratingReminderRequestDateKey, now.timeIntervalSince1970());
    m_userDefaults.synchronize();
}
