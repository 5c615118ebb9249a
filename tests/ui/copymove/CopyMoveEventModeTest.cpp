#include "ui/copymove/CopyMoveEventMode.h"
#include "core/calendar/DateUtilities.h"
#include "core/eventstore/EKEvent.h"

#include <gtest/gtest.h>

namespace {

// 2026-12-08 10:00 UTC, a Tuesday.
const Date tuesdayMorning = Date::withTimeIntervalSince1970(1'796'724'000.0);

class CopyMoveEventModeTest : public ::testing::Test {
protected:
    void TearDown() override {
        mode.deactivate();
        mode.setReturnWeek(std::nullopt);
        mode.setReopenListEventsView(false);
    }

    CopyMoveEventMode& mode = CopyMoveEventMode::sharedInstance();
    std::shared_ptr<EKEvent> event = std::make_shared<EKEvent>();
};

TEST_F(CopyMoveEventModeTest, EachActivationSetsExactlyItsOwnFlag) {
    mode.activateCopy(event, tuesdayMorning);
    EXPECT_TRUE(mode.activated());
    EXPECT_TRUE(mode.copyActivated());
    EXPECT_FALSE(mode.quickMoveActivated());
    EXPECT_FALSE(mode.moveActivated());

    mode.activateQuickMove(event, tuesdayMorning);
    EXPECT_TRUE(mode.quickMoveActivated());
    EXPECT_FALSE(mode.copyActivated());

    mode.activateMove(event, tuesdayMorning);
    EXPECT_TRUE(mode.moveActivated());
    EXPECT_FALSE(mode.quickMoveActivated());
    EXPECT_EQ(mode.event(), event);
    EXPECT_EQ(mode.tappedDate(), tuesdayMorning);
    EXPECT_EQ(mode.returnWeek(), DateUtilities::week(tuesdayMorning));
}

TEST_F(CopyMoveEventModeTest, DeactivationKeepsWhereToReturnTo) {
    mode.activateCopy(event, tuesdayMorning);
    mode.setReopenListEventsView(true);
    mode.deactivate();

    EXPECT_FALSE(mode.activated());
    EXPECT_EQ(mode.event(), nullptr);
    EXPECT_FALSE(mode.tappedDate().has_value());
    EXPECT_EQ(mode.returnWeek(), DateUtilities::week(tuesdayMorning));
    EXPECT_TRUE(mode.reopenListEventsView());
}

} // namespace
