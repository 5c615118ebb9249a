#include "core/rating/RatingPromptRecord.h"

#include "foundation/DispatchQueue.h"
#include "foundation/UserDefaults.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

constexpr double recordTestStart = 1'800'000'000.0;

Date recordTestDay(double days) {
    return Date::withTimeIntervalSince1970(recordTestStart + days * 86400.0);
}

class RatingPromptRecordTest : public testing::Test {
protected:
    QTemporaryDir m_folder;
    UserDefaults m_defaults{m_folder.filePath("settings.ini")};
};

TEST_F(RatingPromptRecordTest, ThePromptIsDueAfterFiveDaysAndMoreThanFiveUses) {
    RatingPromptRecord record(m_defaults, "3.4");
    for (int use = 0; use < 5; ++use) {
        record.incrementUseCount(recordTestDay(0));
    }
    EXPECT_FALSE(record.ratingConditionsHaveBeenMet(recordTestDay(10))) << "five uses";
    record.incrementUseCount(recordTestDay(1));
    EXPECT_FALSE(record.ratingConditionsHaveBeenMet(recordTestDay(5).addingTimeInterval(-1)));
    EXPECT_TRUE(record.ratingConditionsHaveBeenMet(recordTestDay(5)));

    record.recordReminderRequest(recordTestDay(6));
    EXPECT_FALSE(record.ratingConditionsHaveBeenMet(recordTestDay(7).addingTimeInterval(-1)));
    EXPECT_TRUE(record.ratingConditionsHaveBeenMet(recordTestDay(7)));

    // A damaged count reads as none rather than as a reason to ask.
    m_defaults.setString("kRatingPromptUseCount", "many");
    EXPECT_FALSE(record.ratingConditionsHaveBeenMet(recordTestDay(30)));
}

TEST_F(RatingPromptRecordTest, UsesCountedInTheBackgroundAllArrive) {
    DispatchQueue::setGlobalMode(DispatchQueue::Mode::Threads);
    RatingPromptRecord record(m_defaults, "3.4");
    record.incrementUseCount(recordTestDay(0));
    // One use at a time, as launches and returns to the foreground come one after another.
    for (int use = 0; use < 5; ++use) {
        DispatchQueue::global().async([&record] { record.incrementUseCount(recordTestDay(6)); });
        DispatchQueue::global().waitUntilIdle();
        EXPECT_FALSE(record.ratingConditionsHaveBeenMet(recordTestDay(6)) && use < 4);
    }
    EXPECT_EQ(m_defaults.integerForKey("kRatingPromptUseCount"), 6);
    EXPECT_EQ(m_defaults.doubleForKey("kRatingPromptFirstUseDate"), recordTestStart);
    EXPECT_TRUE(record.ratingConditionsHaveBeenMet(recordTestDay(6)));

    // Uses that arrive at the same time (a launch and a return to the foreground) are all counted.
    for (int use = 0; use < 200; ++use) {
        DispatchQueue::global().async([&record] { record.incrementUseCount(recordTestDay(7)); });
    }
    DispatchQueue::global().waitUntilIdle();
    EXPECT_EQ(m_defaults.integerForKey("kRatingPromptUseCount"), 206);
}

} // namespace
