#include "DayBoxTestSupport.h"

#include "kit/DeviceDependentValues.h"
#include "kit/ImageView.h"
#include "kit/Label.h"
#include "kit/ViewRenderer.h"
#include "ui/common/BackgroundView.h"
#include "ui/common/TouchableViewDelegate.h"
#include "ui/week/DayOverlayView.h"

#include "SamplePictures.h"

namespace {

using DayViewTest = DayBoxTest;

class DayViewAtScaleOneTest : public DayBoxTest {
protected:
    DayViewAtScaleOneTest() : DayBoxTest(1.0) {}
};

// Whether the colour is within `tolerance` (0 to 255) of the given one in every component.
::testing::AssertionResult near(const Color& color, int red, int green, int blue, int tolerance = 12) {
    const auto off = [tolerance](double component, int expected) {
        return std::abs(component * 255.0 - expected) > tolerance;
    };
    if (off(color.red(), red) || off(color.green(), green) || off(color.blue(), blue)) {
        return ::testing::AssertionFailure()
               << "(" << color.red() * 255 << ", " << color.green() * 255 << ", " << color.blue() * 255
               << ", alpha " << color.alpha() << ")";
    }
    return ::testing::AssertionSuccess();
}

TEST_F(DayViewTest, GeometryOnADenseScreen) {
    auto monday = makeDay(Point(1, 1), 7);
    auto saturday = makeDay(Point(160.5, 277), 12, true);
    monday->setLeftColumn(true);
    fill(*monday, eventsAt({8, 9, 10, 11, 12}, 7));
    fill(*saturday, eventsAt({8, 9}, 12));
    EXPECT_EQ(monday->dayView()->frame(), Rect(1, 1, 158.5, 137.5));
    EXPECT_EQ(monday->eventViews()[0]->frame(), Rect(0.5, 24, 157.5, 22));
    EXPECT_EQ(monday->eventViews()[4]->frame(), Rect(0.5, 112, 157.5, 22));
    EXPECT_EQ(moreButton(*monday).frame(), Rect(2, 113, 155, 23));
    EXPECT_EQ(monday->dayOverlayView()->frame(), Rect(0, 0, 158.5, 137.5));
    EXPECT_EQ(saturday->dayView()->frame(), Rect(160.5, 277, 158.5, 68));
    EXPECT_EQ(saturday->eventViews()[1]->frame(), Rect(0.5, 44, 157.5, 21));
}

TEST_F(DayViewAtScaleOneTest, GeometryOnAPlainScreen) {
    auto monday = makeDay(Point(1, 1), 7);
    auto thursday = makeDay(Point(160, 1), 10);
    auto sunday = makeDay(Point(160, 346), 13, true);
    monday->setLeftColumn(true);
    fill(*monday, eventsAt({8, 9}, 7));
    fill(*thursday, eventsAt({8, 9}, 10));
    fill(*sunday, eventsAt({8, 9}, 13));
    EXPECT_EQ(monday->dayView()->frame(), Rect(1, 1, 158, 137));
    EXPECT_EQ(monday->eventViews()[1]->frame(), Rect(1, 45, 156, 22));
    EXPECT_EQ(thursday->eventViews()[1]->frame(), Rect(1, 45, 157, 22));
    EXPECT_EQ(sunday->dayView()->frame(), Rect(160, 346, 158, 68));
    EXPECT_EQ(sunday->eventViews()[0]->frame(), Rect(1, 22, 157, 21));
    SamplePictures::keep(harness().render(*m_page), "day-box-scale-1.png");
}

TEST_F(DayViewTest, CardDrawsItsHeaderBorderAndTitles) {
    auto monday = makeDay(Point(1, 1), 7);
    EXPECT_EQ(monday->dayView()->leftTitle(), "Monday");
    EXPECT_EQ(monday->dayView()->rightTitle(), "7 Dec");
    const Image image = harness().render(*monday->dayView());
    // Header gradient near its top and bottom, white body, grey hairline outline.
    EXPECT_TRUE(near(image.colorAtPoint(Point(80, 1.5)), 231, 234, 240));
    EXPECT_TRUE(near(image.colorAtPoint(Point(80, 20)), 211, 218, 227));
    EXPECT_TRUE(near(image.colorAtPoint(Point(80, 100)), 255, 255, 255, 2));
    EXPECT_TRUE(near(image.pixelColor(0, 150), 152, 152, 152, 20));
    EXPECT_TRUE(near(image.colorAtPoint(Point(80, 22.75)), 160, 170, 187, 20));
    // The rounded corner leaves the very corner clear.
    EXPECT_LT(image.pixelColor(0, 0).alpha(), 0.2);
}

TEST_F(DayViewTest, TodayHasTheDarkHeaderAndWhiteTitles) {
    auto tuesday = makeDay(Point(1, 1), 8);
    const Image image = harness().render(*tuesday->dayView());
    EXPECT_TRUE(near(image.colorAtPoint(Point(80, 1.5)), 143, 153, 166, 15));
    EXPECT_TRUE(near(image.colorAtPoint(Point(80, 20)), 87, 104, 130, 15));
    EXPECT_TRUE(near(image.colorAtPoint(Point(80, 134)), 226, 226, 226, 8));
    // Some pixel of the day's name is white.
    bool whiteText = false;
    for (double x = 4; x < 60 && !whiteText; x += 0.5) {
        whiteText = near(image.colorAtPoint(Point(x, 11)), 255, 255, 255, 30);
    }
    EXPECT_TRUE(whiteText);
}

TEST_F(DayViewTest, HiddenBordersLeaveNoOutline) {
    auto wednesday = makeDay(Point(1, 1), 9);
    CopyMoveEventMode::sharedInstance().activateMove(makeEvent("Moving", 8), day(8));
    const Image image = harness().render(*wednesday->dayView());
    EXPECT_TRUE(near(image.pixelColor(0, 150), 255, 255, 255, 10));
}

TEST_F(DayViewTest, TheStaticCardLooksTheSameWhetherLaidDownOrDrawnAndKeepsItsBorderSetting) {
    auto box = std::make_shared<CalendarBoxView>(Rect(0, 0, 158, 137));
    // At scale 2 the card lands on whole pixels and comes from its artwork; at 1.5 it does not
    // and is drawn as it is.
    const auto byte = [](double component) { return static_cast<int>(std::lround(component * 255)); };
    for (const bool today : {false, true}) {
        box->setPermanentlyHighlighted(today);
        const Image laidDown = ViewRenderer::render(*box, 2.0);
        const Image drawn = ViewRenderer::render(*box, 1.5);
        for (const Point point : {Point(80, 1.5), Point(80, 12), Point(80, 20), Point(80, 100)}) {
            const Color expected = drawn.colorAtPoint(point);
            EXPECT_TRUE(near(laidDown.colorAtPoint(point), byte(expected.red()), byte(expected.green()),
                             byte(expected.blue()), 4))
                << today << " at " << point.x() << ", " << point.y();
        }
        EXPECT_TRUE(near(laidDown.pixelColor(0, 150), 152, 152, 152, 20));
    }
    box->setPermanentlyHighlighted(false);
    box->setHideBorders(true);
    EXPECT_TRUE(near(ViewRenderer::render(*box, 2.0).pixelColor(0, 150), 255, 255, 255, 10));
}

TEST_F(DayViewTest, PressingTheBodyShowsThePressedLookAndDeselectingFadesIt) {
    auto tuesday = makeDay(Point(1, 1));
    fill(*tuesday, eventsAt({8, 9, 10}));
    DayView& card = *tuesday->dayView();
    harness().touchDown(inWindow(card, Point(80, 110)));
    ASSERT_TRUE(card.selectedHeaderImage());
    EXPECT_FALSE(card.selectedHeaderImage()->hidden());
    EXPECT_FALSE(card.selectedBackgroundImage()->hidden());
    EXPECT_EQ(card.dayOfWeekLabel()->text(), "Tuesday");
    EXPECT_TRUE(tuesday->eventViews()[0]->eventViewHighlighted());
    EXPECT_TRUE(moreButton(*tuesday).selected());
    SamplePictures::keep(harness().render(card), "day-box-pressed.png");

    // Into the header: only the header stays pressed.
    harness().touchMove(inWindow(card, Point(80, 10)));
    EXPECT_TRUE(card.selectedBackgroundImage()->hidden());
    EXPECT_FALSE(tuesday->eventViews()[0]->eventViewHighlighted());
    harness().touchMove(inWindow(card, Point(80, 60)));
    harness().touchUp(inWindow(card, Point(80, 60)));
    EXPECT_EQ(m_log->text(), "date 8");

    tuesday->deselectEventsAnimated(true, true);
    harness().advance(0.3);
    EXPECT_DOUBLE_EQ(card.selectedHeaderImage()->presentationAlpha(), 1.0);
    // Half-way down after the first 0.15 seconds; the texts lose their highlight there.
    harness().advance(0.15);
    harness().runUntilIdle();
    EXPECT_NEAR(card.selectedBackgroundImage()->presentationAlpha(), 0.5, 0.02);
    EXPECT_FALSE(tuesday->eventViews()[0]->eventViewHighlighted());
    harness().advance(0.2);
    harness().runUntilIdle();
    EXPECT_TRUE(card.selectedHeaderImage()->hidden());
    EXPECT_TRUE(card.selectedBackgroundImage()->hidden());
    // Nothing left to deselect on the card: the rows are asked instead.
    EXPECT_FALSE(card.deselectAnimated(true, false));
}

TEST_F(DayViewTest, QuickMoveShowsThePressedLookFaintly) {
    auto wednesday = makeDay(Point(1, 1), 9);
    CopyMoveEventMode::sharedInstance().activateQuickMove(makeEvent("Moving", 8), day(8));
    DayView& card = *wednesday->dayView();
    harness().touchDown(inWindow(card, Point(80, 10)));
    EXPECT_DOUBLE_EQ(card.selectedHeaderImage()->alpha(), 0.4);
    EXPECT_DOUBLE_EQ(card.selectedBackgroundImage()->alpha(), 0.4);
    EXPECT_FALSE(moreButton(*wednesday).selected());
    harness().touchUp(inWindow(card, Point(80, 10)));
    EXPECT_EQ(m_log->text(), "date 9");
}

TEST_F(DayViewTest, ACopyMoveTouchLiftedInTheHeaderLeavesTheCardUnpressed) {
    using Activation = void (CopyMoveEventMode::*)(std::shared_ptr<EKEvent>, Date);
    for (const Activation activate : {&CopyMoveEventMode::activateCopy, &CopyMoveEventMode::activateMove,
                                      &CopyMoveEventMode::activateQuickMove}) {
        auto wednesday = makeDay(Point(1, 1), 9);
        fill(*wednesday, eventsAt({8, 9, 10}, 9));
        (CopyMoveEventMode::sharedInstance().*activate)(makeEvent("Moving", 8), day(8));
        wednesday->disableEditEvents(true);
        DayView& card = *wednesday->dayView();
        m_log->entries.clear();

        // From a row into the header, lifted there: a tap on the day that ends the pressed look.
        harness().touchDown(inWindow(*wednesday->eventViews()[1], Point(80, 10)));
        harness().touchMove(inWindow(card, Point(80, 10)));
        harness().touchUp(inWindow(card, Point(80, 10)));
        EXPECT_EQ(m_log->text(), "date 9");
        harness().advance(0.5);
        harness().runUntilIdle();
        EXPECT_TRUE(card.selectedHeaderImage()->hidden());
        EXPECT_EQ(card.selectedHeaderImage()->presentationAlpha(), 0.0);
        EXPECT_TRUE(card.selectedBackgroundImage()->hidden());
        EXPECT_FALSE(wednesday->eventViews()[0]->eventViewHighlighted());
        EXPECT_FALSE(moreButton(*wednesday).selected());
        card.removeFromSuperview();
    }
}

TEST_F(DayViewTest, MoreButtonListsTheDay) {
    auto tuesday = makeDay(Point(1, 1));
    fill(*tuesday, eventsAt({8, 9, 10, 11, 12, 13}));
    harness().tap(inWindow(moreButton(*tuesday), Point(70, 11)));
    EXPECT_EQ(m_log->text(), "list 8");
}

TEST_F(DayViewTest, SamplePage) {
    auto monday = makeDay(Point(1, 1), 7);
    auto tuesday = makeDay(Point(1, 139), 8);
    auto wednesday = makeDay(Point(1, 277.5), 9);
    auto thursday = makeDay(Point(160.5, 1), 10);
    auto saturday = makeDay(Point(160.5, 277), 12, true);
    auto sunday = makeDay(Point(160.5, 346), 13, true);
    monday->setLeftColumn(true);
    tuesday->setLeftColumn(true);
    wednesday->setLeftColumn(true);
    fill(*monday, eventsAt({8, 12, 17}, 7));
    fill(*tuesday, eventsAt({7, 8, 9, 10, 11, 12, 13}, 8));
    fill(*wednesday, eventsAt({9}, 9));
    fill(*saturday, eventsAt({10, 11, 12}, 12));
    fill(*sunday, eventsAt({10}, 13));
    fill(*thursday, eventsAt({8, 9, 10, 11, 12, 13}, 10));
    // Pressed from the header down into the rows.
    harness().touchDown(inWindow(*thursday->dayView(), Point(80, 10)));
    harness().touchMove(inWindow(*thursday->dayView(), Point(80, 80)));
    harness().advance(1.0);
    EXPECT_TRUE(moreButton(*thursday).selected());
    const Image page = harness().render(*m_page);
    SamplePictures::keep(page, "day-box-page.png");
    SamplePictures::keep(harness().render(*monday->dayView()), "day-box-three-rows.png");
    SamplePictures::keep(harness().render(*tuesday->dayView()), "day-box-today-overflow.png");
    SamplePictures::keep(harness().render(*saturday->dayView()), "day-box-weekend.png");
    // The gap between the boxes shows the page.
    EXPECT_TRUE(near(page.colorAtPoint(Point(160, 60)), 192, 203, 211, 4));
    harness().touchUp(inWindow(*thursday->dayView(), Point(80, 80)));

    // A finger on the more button.
    harness().touchDown(inWindow(moreButton(*saturday), Point(70, 11)));
    EXPECT_TRUE(moreButton(*saturday).highlighted());
    SamplePictures::keep(harness().render(*saturday->dayView()), "day-box-more-pressed.png");
    harness().touchUp(inWindow(moreButton(*saturday), Point(70, 11)));
    EXPECT_EQ(m_log->text(), "date 10, list 12");
}

} // namespace

namespace {

class TouchCounter : public TouchableViewDelegate {
public:
    void viewTouched() override { ++touched; }
    int touched = 0;
};

TEST_F(DayViewTest, BackgroundReportsTouchesThatEndOnIt) {
    auto background = std::make_shared<BackgroundView>(Rect(0, 0, 320, 416));
    auto counter = std::make_shared<TouchCounter>();
    background->setDelegate(counter);
    m_page->addSubview(background);
    harness().tap(inWindow(*background, Point(100, 100)));
    EXPECT_EQ(counter->touched, 1);
    counter.reset();
    harness().tap(inWindow(*background, Point(100, 100)));
}

// A page that draws the static cards of its boxes once, behind them.
class PreDrawnPage : public View {
public:
    using View::View;
    std::vector<std::shared_ptr<CalendarBoxView>> boxes;

protected:
    void drawRect(GraphicsContext& context, const Rect&) override {
        for (const auto& box : boxes) {
            box->drawFixedContentOnSuperView(context);
        }
    }
};

TEST_F(DayViewTest, BoxesCanShareOnePreDrawnBackground) {
    auto page = std::make_shared<PreDrawnPage>(Rect(0, 0, 320, 416));
    auto box = std::make_shared<CalendarBoxView>(Rect(10, 10, 158, 137));
    box->setLeftTitle("Monday");
    page->boxes.push_back(box);
    page->addSubview(box);
    m_page->addSubview(page);
    const Image image = harness().render(*page);
    EXPECT_TRUE(box->fixedContentDrawn());
    EXPECT_TRUE(near(image.colorAtPoint(Point(90, 12)), 231, 234, 240));
    EXPECT_TRUE(near(image.colorAtPoint(Point(90, 100)), 255, 255, 255, 2));
    // The box itself now draws only its titles: its own image is clear away from them.
    EXPECT_LT(harness().render(*box).colorAtPoint(Point(80, 90)).alpha(), 0.01);
}

} // namespace
