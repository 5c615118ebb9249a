#include "DayBoxTestSupport.h"

#include "core/events/SearchResult.h"
#include "kit/Layer.h"
#include "ui/week/AntPathView.h"
#include "ui/week/DayOverlayView.h"

#include "SamplePictures.h"

namespace {

int hintCount(const char* identifier) {
    return Hint::hintByIdentifier(QString::fromLatin1(identifier))->triggerCount();
}

using DayViewControllerTest = DayBoxTest;

TEST_F(DayViewControllerTest, FullDayShowsFiveRowsOrFourAndTheButton) {
    auto monday = makeDay(Point(1, 1), 7);
    fill(*monday, eventsAt({8, 9, 10, 11, 12}, 7));
    EXPECT_EQ(visibleTitles(*monday), "E8 E9 E10 E11 E12");
    EXPECT_TRUE(moreButton(*monday).hidden());

    fill(*monday, eventsAt({8, 9, 10, 11, 12, 13}, 7));
    EXPECT_EQ(visibleTitles(*monday), "E8 E9 E10 E11");
    EXPECT_FALSE(moreButton(*monday).hidden());
    EXPECT_EQ(moreButton(*monday).titleForState(ControlState::Normal), " 2 more events ...");

    // Fewer events again: the rows are kept, the spare ones blank, the button gone.
    fill(*monday, eventsAt({8, 9}, 7));
    EXPECT_EQ(monday->eventViews().size(), 5u);
    EXPECT_EQ(visibleTitles(*monday), "E8 E9");
    EXPECT_TRUE(moreButton(*monday).hidden());
}

TEST_F(DayViewControllerTest, WeekendDayWithThreeEventsShowsOneRowAndTheButton) {
    auto saturday = makeDay(Point(160.5, 277), 12, true);
    fill(*saturday, eventsAt({8, 9, 10}, 12));
    EXPECT_EQ(saturday->eventViews().size(), 2u);
    EXPECT_EQ(visibleTitles(*saturday), "E8");
    EXPECT_EQ(moreButton(*saturday).titleForState(ControlState::Normal), " 2 more events ...");
    EXPECT_EQ(moreButton(*saturday).frame(), Rect(2, 45, 155, 23));
}

TEST_F(DayViewControllerTest, MoreButtonFadesInWhenAnimated) {
    auto monday = makeDay(Point(1, 1), 7);
    monday->setDisplayedEvents(eventsAt({8, 9, 10, 11, 12, 13}, 7));
    monday->populateViewsAnimated(true);
    EXPECT_DOUBLE_EQ(moreButton(*monday).presentationAlpha(), 0.0);
    harness().advance(0.15);
    EXPECT_GT(moreButton(*monday).presentationAlpha(), 0.2);
    EXPECT_LT(moreButton(*monday).presentationAlpha(), 0.8);
    harness().advance(0.2);
    EXPECT_DOUBLE_EQ(moreButton(*monday).presentationAlpha(), 1.0);
}

TEST_F(DayViewControllerTest, AddingTheFifthTriggersTheHintAndTheSixthOpensTheList) {
    auto tuesday = makeDay(Point(1, 1));
    fill(*tuesday, eventsAt({8, 9, 10, 11}));
    const int before = hintCount("headerHint");

    tuesday->addEvent(makeEvent("Fifth", 14), false, false);
    EXPECT_EQ(hintCount("headerHint"), before + 1);
    EXPECT_EQ(m_log->text(), "");
    EXPECT_TRUE(tuesday->eventIsVisible(*makeEvent("Fifth", 14)));

    tuesday->addEvent(makeEvent("Sixth", 15), false, false);
    EXPECT_EQ(hintCount("headerHint"), before + 1);
    EXPECT_FALSE(moreButton(*tuesday).hidden());
    EXPECT_EQ(m_log->text(), "list 8");

    // The same event once more changes nothing.
    tuesday->addEvent(makeEvent("Sixth", 15), false, false);
    EXPECT_EQ(tuesday->displayedEvents().size(), 6);
    EXPECT_EQ(m_log->text(), "list 8");
}

TEST_F(DayViewControllerTest, AnEventAddedBeforeTheOthersStaysInView) {
    auto tuesday = makeDay(Point(1, 1));
    fill(*tuesday, eventsAt({9, 10, 11, 12, 13}));
    // Sorted in at the top, the new event is shown; the last one goes to the overflow instead.
    tuesday->addEvent(makeEvent("Early", 7), false, false);
    EXPECT_EQ(visibleTitles(*tuesday), "Early E9 E10 E11");
    EXPECT_EQ(m_log->text(), "");
}

TEST_F(DayViewControllerTest, RemovingFromTheOverflowRefillsAtOnce) {
    auto tuesday = makeDay(Point(1, 1));
    fill(*tuesday, eventsAt({8, 9, 10, 11, 12, 13, 14}));
    EXPECT_EQ(moreButton(*tuesday).titleForState(ControlState::Normal), " 3 more events ...");

    tuesday->removeEvent("E14", true, false);
    EXPECT_EQ(tuesday->displayedEvents().size(), 6);
    EXPECT_EQ(moreButton(*tuesday).titleForState(ControlState::Normal), " 2 more events ...");

    // The event kept by the hidden last row is in the overflow too.
    tuesday->removeEvent("E12", true, false);
    EXPECT_EQ(visibleTitles(*tuesday), "E8 E9 E10 E11 E13");
    EXPECT_TRUE(moreButton(*tuesday).hidden());

    tuesday->removeEvent("unknown", true, false);
    EXPECT_EQ(tuesday->displayedEvents().size(), 5);
}

TEST_F(DayViewControllerTest, RemovingAShownEventRefillsWhenItsRowHasFaded) {
    auto tuesday = makeDay(Point(1, 1));
    fill(*tuesday, eventsAt({8, 9, 10, 11, 12, 13}));
    tuesday->removeEvent("E9", true, false);
    EXPECT_EQ(tuesday->displayedEvents().size(), 5);
    harness().advance(2.0);
    harness().runUntilIdle();
    EXPECT_EQ(visibleTitles(*tuesday), "E8 E10 E11 E12 E13");
    EXPECT_TRUE(moreButton(*tuesday).hidden());
}

TEST_F(DayViewControllerTest, ReloadSortsTheChangedEventIntoPlace) {
    auto tuesday = makeDay(Point(1, 1));
    fill(*tuesday, eventsAt({8, 9, 10}));
    auto moved = makeEvent("E8", 12);
    tuesday->reloadEvent(moved);
    EXPECT_EQ(visibleTitles(*tuesday), "E9 E10 E8");
}

TEST_F(DayViewControllerTest, HeaderTapListsTheDayAndBodyTapSelectsIt) {
    auto tuesday = makeDay(Point(1, 1));
    fill(*tuesday, eventsAt({8}));
    const auto& card = *tuesday->dayView();
    harness().tap(inWindow(card, Point(80, 10)));
    EXPECT_EQ(m_log->text(), "list 8");
    harness().advance(1.0);
    EXPECT_TRUE(card.selectedHeaderImage()->hidden());

    m_log->entries.clear();
    EXPECT_FALSE(Hint::hintByIdentifier("addEventHint")->invalid());
    harness().tap(inWindow(card, Point(80, 100)));
    EXPECT_EQ(m_log->text(), "date 8");
    EXPECT_TRUE(Hint::hintByIdentifier("addEventHint")->invalid());
    // The card stays pressed until the screen deselects it.
    EXPECT_FALSE(card.selectedBackgroundImage()->hidden());
    tuesday->deselectEventsAnimated(false, false);
    EXPECT_TRUE(card.selectedBackgroundImage()->hidden());
}

TEST_F(DayViewControllerTest, DuringCopyOrMoveAHeaderTapSelectsTheDay) {
    auto wednesday = makeDay(Point(1, 1), 9);
    CopyMoveEventMode::sharedInstance().activateMove(makeEvent("Moving", 8), day(8));
    harness().tap(inWindow(*wednesday->dayView(), Point(80, 10)));
    EXPECT_EQ(m_log->text(), "date 9");
    // The hint about tapping empty space is not the user's doing here.
    EXPECT_FALSE(Hint::hintByIdentifier("addEventHint")->invalid());
}

TEST_F(DayViewControllerTest, DragOffTheCardCountsForNothing) {
    auto tuesday = makeDay(Point(1, 1));
    const auto& card = *tuesday->dayView();
    const Point start = inWindow(card, Point(80, 60));
    harness().drag(start, inWindow(card, Point(80, card.bounds().height() + 71)));
    EXPECT_EQ(m_log->text(), "");
    EXPECT_TRUE(card.selectedHeaderImage()->hidden());
    EXPECT_FALSE(card.touchingDown());

    // Within the 70-point band the touch still counts.
    harness().drag(start, inWindow(card, Point(80, card.bounds().height() + 69)));
    EXPECT_EQ(m_log->text(), "date 8");
}

TEST_F(DayViewControllerTest, PinchOnARowOpensTheList) {
    auto tuesday = makeDay(Point(1, 1));
    fill(*tuesday, eventsAt({8, 9, 10}));
    const auto& row = *tuesday->eventViews()[1];
    harness().pinch(inWindow(row, Point(80, 11)), 1.6, 40);
    harness().runUntilIdle();
    EXPECT_EQ(m_log->text(), "list 8");
    EXPECT_FALSE(row.selected());
}

TEST_F(DayViewControllerTest, RowTapSelectsTheEventAndDeselectsTheOthers) {
    auto tuesday = makeDay(Point(1, 1));
    fill(*tuesday, eventsAt({8, 9}));
    harness().tap(inWindow(*tuesday->eventViews()[1], Point(80, 11)));
    harness().runUntilIdle();
    EXPECT_EQ(m_log->text(), "event E9 8");
}

TEST_F(DayViewControllerTest, LongPressHandsTheRowToTheMenuUnlessCopyOrMoveRuns) {
    auto tuesday = makeDay(Point(1, 1));
    fill(*tuesday, eventsAt({8, 9}));
    CopyMoveMenu& menu = CopyMoveMenu::instance();
    tuesday->eventLongPressed(*tuesday->eventViews()[1]);
    ASSERT_TRUE(menu.event());
    EXPECT_EQ(menu.event()->title(), "E9");
    EXPECT_EQ(menu.itemView(), tuesday->eventViews()[1]);
    EXPECT_TRUE(MenuController::sharedMenuController().isMenuVisible());
    MenuController::sharedMenuController().setMenuVisible(false);
    EXPECT_FALSE(menu.event());

    CopyMoveEventMode::sharedInstance().activateCopy(makeEvent("Other", 8, 9), day(9));
    tuesday->eventLongPressed(*tuesday->eventViews()[0]);
    EXPECT_FALSE(menu.event());
    EXPECT_FALSE(MenuController::sharedMenuController().isMenuVisible());
}

TEST_F(DayViewControllerTest, MenuChoicesGoOnTheBusAndKeepTheRowSelected) {
    auto tuesday = makeDay(Point(1, 1));
    fill(*tuesday, eventsAt({12}));
    for (const auto choice :
         {&DayViewController::handleMenuChoiceCopy, &DayViewController::handleMenuChoiceMove,
          &DayViewController::handleMenuChoiceDelete}) {
        tuesday->eventLongPressed(*tuesday->eventViews()[0]);
        EXPECT_TRUE(CopyMoveMenu::instance().itemView());
        ((*tuesday).*choice)(makeEvent("Lunch", 12));
        EXPECT_FALSE(CopyMoveMenu::instance().itemView());
        MenuController::sharedMenuController().setMenuVisible(false);
    }
    EXPECT_EQ(m_log->text(), "copy Lunch 8, move Lunch 8, delete Lunch");
}

TEST_F(DayViewControllerTest, SearchResultInTheOverflowGoesToTheSharedHighlight) {
    auto tuesday = makeDay(Point(1, 1));
    fill(*tuesday, eventsAt({8, 9, 10, 11, 12, 13}));
    const auto& bubble = SearchResultHighlightView::selectedResultInstance();
    bubble->setSearchBackgroundView(m_page);
    tuesday->highlightSearchResult(SearchResult("E13", day(8)));
    m_harness->advance(1.0);
    EXPECT_EQ(bubble->superview(), m_page);
    EXPECT_EQ(bubble->titleLabel()->text(), "E13");
    // Over the box's point (0, 106), less the bubble's own offset.
    EXPECT_EQ(bubble->frame().origin(), Point(-1, 100));
    EXPECT_EQ(visibleTitles(*tuesday), "E8 E9 E10 E11");

    bubble->hide();
    EXPECT_TRUE(moreButton(*tuesday).hidden());
    EXPECT_EQ(visibleTitles(*tuesday), "E8 E9 E10 E11 E12");

    // A shown event highlights its own row, and the box is left alone.
    tuesday->highlightSearchResult(SearchResult("E9", day(8)));
    EXPECT_EQ(bubble->titleLabel()->text(), "E9");
    EXPECT_EQ(visibleTitles(*tuesday), "E8 E9 E10 E11 E12");
}

TEST_F(DayViewControllerTest, SearchSwapsTheButtonForTheLastRow) {
    auto tuesday = makeDay(Point(1, 1));
    // Events handed over by a load that has not filled the rows yet.
    tuesday->setDisplayedEvents(eventsAt({8, 9, 10, 11, 12, 13}));
    tuesday->disableMoreButton(true);
    EXPECT_TRUE(moreButton(*tuesday).hidden());

    fill(*tuesday, eventsAt({8, 9}));
    tuesday->disableMoreButton(true);
    EXPECT_EQ(visibleTitles(*tuesday), "E8 E9");

    fill(*tuesday, eventsAt({8, 9, 10, 11, 12, 13}));
    tuesday->disableMoreButton(true);
    EXPECT_TRUE(moreButton(*tuesday).hidden());
    EXPECT_EQ(visibleTitles(*tuesday), "E8 E9 E10 E11 E12");
    tuesday->disableMoreButton(false);
    EXPECT_FALSE(moreButton(*tuesday).hidden());
    EXPECT_EQ(visibleTitles(*tuesday), "E8 E9 E10 E11");
}

TEST_F(DayViewControllerTest, CopyOrMoveVeilsEveryOtherDay) {
    auto tuesday = makeDay(Point(1, 1), 8);
    auto wednesday = makeDay(Point(1, 139), 9);
    CopyMoveEventMode::sharedInstance().activateMove(makeEvent("E8", 8), day(8));
    fill(*tuesday, eventsAt({8}));
    fill(*wednesday, eventsAt({10}, 9));
    EXPECT_TRUE(tuesday->dayOverlayView()->hidden());
    EXPECT_FALSE(wednesday->dayOverlayView()->hidden());

    harness().render(*m_page);
    EXPECT_FALSE(tuesday->dayView()->hideBorders());
    EXPECT_TRUE(wednesday->dayView()->hideBorders());

    wednesday->startAnimatingDayOverlay();
    harness().advance(0.25);
    const AntPathView& ants = *wednesday->dayOverlayView()->dayOverviewLayer();
    EXPECT_NEAR(ants.layer().presentationValue(AntPathView::offsetKey), 15.0, 1e-6);
    harness().advance(1.0);
    EXPECT_NEAR(ants.layer().presentationValue(AntPathView::offsetKey), 15.0, 1e-6);
    SamplePictures::keep(harness().render(*m_page), "day-box-veil.png");
    wednesday->stopAnimatingDayOverlay();
    EXPECT_FALSE(wednesday->dayOverlayView()->isAnimating());

    CopyMoveEventMode::sharedInstance().deactivate();
    fill(*wednesday, eventsAt({10}, 9));
    EXPECT_TRUE(wednesday->dayOverlayView()->hidden());
}

TEST_F(DayViewControllerTest, VeilFadesInAndOut) {
    auto tuesday = makeDay(Point(1, 1));
    tuesday->showQuickCopyMoveOverlay(true, true);
    EXPECT_FALSE(tuesday->dayOverlayView()->hidden());
    EXPECT_DOUBLE_EQ(tuesday->dayOverlayView()->presentationAlpha(), 0.0);
    harness().advance(0.3);
    EXPECT_DOUBLE_EQ(tuesday->dayOverlayView()->presentationAlpha(), 1.0);
    tuesday->showQuickCopyMoveOverlay(false, true);
    harness().advance(0.3);
    harness().runUntilIdle();
    EXPECT_TRUE(tuesday->dayOverlayView()->hidden());
}

TEST_F(DayViewControllerTest, TodayIsHighlightedAndFollowsTheDate) {
    auto tuesday = makeDay(Point(1, 1), 8);
    auto wednesday = makeDay(Point(1, 139), 9);
    EXPECT_TRUE(tuesday->dayView()->permanentlyHighlighted());
    EXPECT_FALSE(wednesday->dayView()->permanentlyHighlighted());
    EXPECT_EQ(moreButton(*tuesday).titleColorForState(ControlState::Normal), Color::fromRgb255(26, 54, 84));
    EXPECT_EQ(moreButton(*wednesday).titleColorForState(ControlState::Normal),
              Color::fromRgb255(44, 87, 168));

    // A day later, the next activation asks every box again.
    harness().advance(24 * 3600);
    tuesday->highlightIfToday();
    wednesday->highlightIfToday();
    EXPECT_FALSE(tuesday->dayView()->permanentlyHighlighted());
    EXPECT_TRUE(wednesday->dayView()->permanentlyHighlighted());
}

TEST_F(DayViewControllerTest, ShrinkingMakesRoomAndStretchingRestores) {
    auto monday = makeDay(Point(1, 1), 7);
    fill(*monday, eventsAt({8, 9, 10, 11, 12, 13}, 7));
    const Rect card = monday->dayView()->frame();
    const Rect secondRow = monday->eventViews()[1]->frame();

    monday->shrinkOrStretch(30, false);
    EXPECT_TRUE(monday->shrunk());
    EXPECT_EQ(monday->dayView()->frame(), Rect(card.x(), card.y() + 30, card.width(), card.height() - 10));
    EXPECT_DOUBLE_EQ(monday->eventViews()[1]->frame().y(), secondRow.y() - 3);
    EXPECT_DOUBLE_EQ(moreButton(*monday).frame().y(), 105);
    EXPECT_EQ(monday->dayOverlayView()->frame(), monday->dayView()->bounds());

    monday->shrinkOrStretch(30, false);
    EXPECT_EQ(monday->dayView()->frame(), card);
    EXPECT_EQ(monday->eventViews()[1]->frame(), secondRow);

    // With a bar at the bottom the top box stays put.
    monday->shrinkOrStretch(30, true);
    EXPECT_DOUBLE_EQ(monday->dayView()->frame().y(), card.y());
    monday->shrinkOrStretch(30, true);
}

TEST_F(DayViewControllerTest, ShrinkingWeekendBoxes) {
    auto saturday = makeDay(Point(160.5, 277), 12, true);
    auto sunday = makeDay(Point(160.5, 346), 13, true);
    saturday->shrinkOrStretch(20, false);
    sunday->shrinkOrStretch(30, false);
    EXPECT_EQ(saturday->dayView()->frame(), Rect(160.5, 287, 158.5, 64));
    EXPECT_EQ(sunday->dayView()->frame(), Rect(160.5, 352, 158.5, 62));
}

TEST_F(DayViewControllerTest, RowsMadeWhileShrunkLineUpWithTheOthers) {
    auto monday = makeDay(Point(1, 1), 7);
    fill(*monday, eventsAt({8}, 7));
    monday->shrinkOrStretch(30, false);
    fill(*monday, eventsAt({8, 9, 10}, 7));
    EXPECT_DOUBLE_EQ(monday->eventViews()[2]->frame().y(), 24 + 44 - 5);
    monday->shrinkOrStretch(30, false);
    EXPECT_DOUBLE_EQ(monday->eventViews()[2]->frame().y(), 24 + 44);
}

TEST_F(DayViewControllerTest, ANewDateEmptiesTheRows) {
    auto tuesday = makeDay(Point(1, 1));
    fill(*tuesday, eventsAt({8, 9, 10, 11, 12, 13}));
    tuesday->initializeWithDate(day(15), false);
    EXPECT_EQ(visibleTitles(*tuesday), "");
    EXPECT_TRUE(moreButton(*tuesday).hidden());
    EXPECT_EQ(tuesday->dayView()->rightTitle(), "15 Dec");
    EXPECT_FALSE(tuesday->dayView()->permanentlyHighlighted());
    // The veil stays in front of the rows.
    EXPECT_EQ(tuesday->dayView()->subviews().back(), tuesday->dayOverlayView());
}

TEST_F(DayViewControllerTest, SelectingAndFlashingReachOnlyTheEventsRows) {
    auto tuesday = makeDay(Point(1, 1));
    fill(*tuesday, eventsAt({8, 9}));
    EXPECT_EQ(tuesday->findEventViewByEventIdentifier("E9"), tuesday->eventViews()[1]);
    EXPECT_EQ(tuesday->findEventViewByEventIdentifier("none"), nullptr);
    tuesday->startMoveAnimation(*makeEvent("E9", 9));
    EXPECT_FALSE(tuesday->eventViews()[0]->moveAnimationRunning());
    EXPECT_TRUE(tuesday->eventViews()[1]->moveAnimationRunning());
    tuesday->stopMoveAnimation();
    EXPECT_FALSE(tuesday->eventViews()[1]->moveAnimationRunning());
    tuesday->disableEditEvents(true);
    EXPECT_TRUE(tuesday->eventViews()[0]->touchDisabled());
    tuesday->disableEditEvents(false);
}

} // namespace
