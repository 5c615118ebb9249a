#include "ui/week/DateTitleView.h"

#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/WeekNumberMethodChangedEvent.h"
#include "core/calendar/DateUtilities.h"
#include "harness/ScreenHarness.h"
#include "kit/BarButtonItem.h"
#include "kit/DeviceDependentValues.h"
#include "kit/Font.h"
#include "kit/NavigationBar.h"
#include "kit/NavigationItem.h"
#include "kit/StringDrawing.h"
#include "ui/week/DateTitleTextButtonView.h"
#include "ui/week/DateTitleWeekButtonView.h"

#include "SamplePictures.h"

#include <QImage>

#include <gtest/gtest.h>

#include <typeindex>

namespace {

const Color darkBlue = Color::fromRgb255(38, 58, 99);

Week weekContaining(int year, int month, int day) {
    return DateUtilities::week(DateUtilities::dateWithYear(year, month, day));
}

// Keeps the process-wide week rules as the test found them.
class WeekRulesGuard {
public:
    WeekRulesGuard() : m_firstWeekday(Week::firstWeekdayOfWeek()), m_method(Week::weekNumberMethod()) {}
    ~WeekRulesGuard() {
        Week::setFirstWeekdayOfWeek(m_firstWeekday);
        Week::setWeekNumberMethod(m_method);
    }

private:
    int m_firstWeekday;
    int m_method;
};

// A dark-blue bar with the date title in its middle, as on the week screen.
struct TitleBar {
    explicit TitleBar(double titleWidth = 203.0, double barHeight = NavigationBar::height) {
        bar->setFrame(Rect(0, 0, 320, barHeight));
        bar->setTintColor(darkBlue);
        title->setFrame(Rect(0, 0, titleWidth, titleHeight));
        item->setTitleView(title);
        bar->pushNavigationItem(item, false);
    }

    std::shared_ptr<NavigationBar> bar = std::make_shared<NavigationBar>();
    std::shared_ptr<NavigationItem> item = std::make_shared<NavigationItem>();
    // The outline's band, 2 to 30, sits in the middle of the bar.
    static constexpr double titleHeight = 32.0;
    std::shared_ptr<DateTitleView> title = DateTitleView::create(Rect(0, 0, 203, titleHeight));
};

class DateTitleViewTest : public testing::Test {
protected:
    void SetUp() override {
        Week::setFirstWeekdayOfWeek(2);
        Week::setWeekNumberMethod(0);
        m_root->addSubview(m_bar.bar);
        m_harness.launch(m_root);
        m_bar.bar->layoutIfNeeded();
        title().setOnTapped([this] { ++m_taps; });
    }

    DateTitleView& title() { return *m_bar.title; }
    // A point of the face in window coordinates, `dy` below the middle of its band.
    Point windowPoint(const View& face, double dy = 0.0) const {
        return face.convertPointToView(Point(face.bounds().width() / 2.0, 16.0 + dy), nullptr);
    }
    double windowX(const View& face) const { return face.convertPointToView(Point(0, 0), nullptr).x(); }
    static std::size_t weekFaceRegistrations() {
        return ApplicationEventDispatcher::sharedInstance().registrationCount(
            typeid(WeekNumberMethodChangedEvent));
    }

    WeekRulesGuard m_rules;
    ScreenHarness m_harness;
    std::shared_ptr<View> m_root = std::make_shared<View>(Rect(0, 0, 320, 460));
    TitleBar m_bar;
    int m_taps = 0;
};

// ---- The week face's texts and drawing ----

TEST_F(DateTitleViewTest, WeekTextFollowsTheNumberingMethodAndRedrawsWhenItChanges) {
    // 29 Dec 2025 to 4 Jan 2026: ISO week 1 of 2026, a week that crosses the year for the USA.
    title().setWeek(weekContaining(2026, 1, 1));
    const auto& face = *title().weekButtonView();
    EXPECT_EQ(face.weekText(), QStringLiteral("Week 1"));
    EXPECT_EQ(face.yearText(), QStringLiteral("2026"));
    m_harness.render();
    EXPECT_FALSE(face.needsDisplay());
    const Image iso = m_harness.render(*m_bar.bar);

    Week::setWeekNumberMethod(1);
    ApplicationEventDispatcher::sharedInstance().dispatch<WeekNumberMethodChangedEvent>();
    EXPECT_TRUE(face.needsDisplay());
    EXPECT_EQ(face.weekText(), QStringLiteral("Week 53/1"));
    EXPECT_NE(m_harness.render(*m_bar.bar).pixels(), iso.pixels());
}

TEST_F(DateTitleViewTest, LayoutFollowsTheMarginAndPaddingArithmetic) {
    const auto wide = DateTitleWeekButtonView::layoutForWidths(203, 75, 45);
    EXPECT_EQ(wide.x0, 18);
    EXPECT_EQ(wide.xA, 31);
    EXPECT_EQ(wide.xs, 119);
    EXPECT_EQ(wide.xB, 132);
    EXPECT_EQ(wide.xe, 190);
    // Little room: the margin stays at 7.
    const auto narrow = DateTitleWeekButtonView::layoutForWidths(100, 60, 30);
    EXPECT_EQ(narrow.x0, 0);
    EXPECT_EQ(narrow.xA, 3);
    EXPECT_EQ(narrow.xs, 66);
    EXPECT_EQ(narrow.xB, 69);
    EXPECT_EQ(narrow.xe, 102);
}

TEST_F(DateTitleViewTest, LongTextsInANarrowTitleShrinkTheFontToFit) {
    Week::setWeekNumberMethod(1);
    title().setFrame(Rect(0, 0, 110, TitleBar::titleHeight));
    title().setWeek(weekContaining(2026, 1, 1));
    m_bar.bar->layoutIfNeeded();
    const auto& face = *title().weekButtonView();
    EXPECT_EQ(face.bounds().width(), 110);
    const double size = face.fontSize();
    EXPECT_LT(size, 20.0);
    const double width =
        StringDrawing::sizeWithFont(face.weekText() + face.yearText(), Font::boldSystemFontOfSize(size))
            .width();
    EXPECT_LE(width, 110 - DateTitleFaceView::horizontalInset + 1.0);

    // With room to spare the font keeps its size.
    title().setFrame(Rect(0, 0, 203, TitleBar::titleHeight));
    m_bar.bar->layoutIfNeeded();
    EXPECT_EQ(title().weekButtonView()->fontSize(), 20.0);
}

TEST_F(DateTitleViewTest, LandscapeUsesItsOwnBandAndStartingSize) {
    title().setWeek(weekContaining(2026, 12, 8));
    title().setText(QStringLiteral("Pick a Week"));
    EXPECT_EQ(title().weekButtonView()->band().top, 2.0);
    EXPECT_EQ(title().weekButtonView()->band().bottom, 30.0);
    title().setLandscape(true);
    EXPECT_TRUE(title().landscape());
    for (const DateTitleFaceView* face : {static_cast<DateTitleFaceView*>(title().weekButtonView().get()),
                                          static_cast<DateTitleFaceView*>(title().textButtonView().get())}) {
        EXPECT_TRUE(face->landscape());
        EXPECT_EQ(face->band().top, 5.0);
        EXPECT_EQ(face->band().bottom, 29.0);
    }
    EXPECT_EQ(title().weekButtonView()->fontSize(), 19.0);
    EXPECT_EQ(title().textButtonView()->fontSize(), 19.0);
    // A face made by a later slide is in landscape too.
    title().animateFromRightWithText(QStringLiteral("Pick a Week"));
    m_harness.advance(0.5);
    EXPECT_TRUE(title().textButtonView()->landscape());
}

TEST_F(DateTitleViewTest, TextsSitOnHalfPointsOnADenseScreenAndWholePointsOtherwise) {
    const auto& face = *title().weekButtonView();
    // 28 points of band, a text 23 high: 2.5 points above it.
    EXPECT_EQ(face.centredTextY(23), 4.5);
    DeviceDependentValues::initValuesForScale(1.0);
    EXPECT_EQ(face.centredTextY(23), 5.0);
    DeviceDependentValues::initValuesForScale(2.0);
}

// ---- Pressing ----

TEST_F(DateTitleViewTest, AFingerMayWanderToTwiceTheHeightAndStillTap) {
    title().setWeek(weekContaining(2026, 12, 8));
    const auto face = title().weekButtonView();
    const double height = face->bounds().height();

    m_harness.touchDown(windowPoint(*face));
    EXPECT_TRUE(face->selected());
    m_harness.touchMove(windowPoint(*face, 3 * height));
    EXPECT_FALSE(face->selected());
    m_harness.touchMove(windowPoint(*face, height));
    EXPECT_TRUE(face->selected());
    m_harness.touchUp(windowPoint(*face, height));
    EXPECT_FALSE(face->selected());
    EXPECT_EQ(m_taps, 1);

    // Released far below: no tap, and the face is not left pressed.
    m_harness.touchDown(windowPoint(*face));
    m_harness.touchMove(windowPoint(*face, 3 * height));
    m_harness.touchUp(windowPoint(*face, 3 * height));
    EXPECT_FALSE(face->selected());
    EXPECT_EQ(m_taps, 1);
}

TEST_F(DateTitleViewTest, TheTextFaceTapsTooAndFacesOfSlidesKeepTheHandler) {
    title().animateFromRightWithText(QStringLiteral("Pick a Week"));
    m_harness.advance(0.5);
    m_harness.tap(windowPoint(*title().textButtonView()));
    EXPECT_EQ(m_taps, 1);
    title().animateFromLeftWithWeek(weekContaining(2026, 12, 8));
    m_harness.advance(0.5);
    m_harness.tap(windowPoint(*title().weekButtonView()));
    EXPECT_EQ(m_taps, 2);
}

// ---- Slides ----

TEST_F(DateTitleViewTest, SlidesSwapTheFacesAndIgnoreSetWeekMeanwhile) {
    const Week shown = weekContaining(2026, 12, 8);
    title().setWeek(shown);
    const auto oldText = title().textButtonView();
    const auto week = title().weekButtonView();

    title().animateFromRightWithText(QStringLiteral("Pick a Week"));
    EXPECT_TRUE(title().isAnimating());
    title().setWeek(shown.nextWeek());
    title().setText(QStringLiteral("ignored"));
    EXPECT_EQ(title().week(), shown);
    m_harness.advance(DateTitleView::slideDuration + 0.05);

    EXPECT_FALSE(title().isAnimating());
    const auto text = title().textButtonView();
    EXPECT_NE(text, oldText);
    EXPECT_EQ(oldText->superview(), nullptr);
    EXPECT_EQ(text->text(), QStringLiteral("Pick a Week"));
    EXPECT_EQ(text->frame().x(), 0);
    EXPECT_EQ(text->alpha(), 1.0);
    EXPECT_EQ(week->frame().x(), 0);
    EXPECT_EQ(week->alpha(), 0.0);
    EXPECT_EQ(title().subviews().size(), 2u);

    title().animateFromLeftWithWeek(shown.nextWeek());
    // The new week face starts off the screen's left edge.
    EXPECT_EQ(title().subviews().back()->presentationFrame().x(), -320);
    EXPECT_EQ(title().subviews().back()->presentationAlpha(), 0.0);
    m_harness.advance(DateTitleView::slideDuration + 0.05);
    EXPECT_EQ(title().week(), shown.nextWeek());
    EXPECT_EQ(title().weekButtonView()->alpha(), 1.0);
    EXPECT_EQ(title().textButtonView()->alpha(), 0.0);
    EXPECT_EQ(week->superview(), nullptr);
    EXPECT_EQ(title().subviews().size(), 2u);
}

TEST_F(DateTitleViewTest, ASlideOvertakenByTheOtherLeavesOnlyTheNewFaceShowing) {
    title().setWeek(weekContaining(2026, 12, 8));
    title().animateFromRightWithText(QStringLiteral("Pick a Week"));
    m_harness.advance(0.1);
    title().animateFromLeftWithWeek(weekContaining(2026, 12, 15));
    m_harness.advance(DateTitleView::slideDuration + 0.05);

    EXPECT_FALSE(title().isAnimating());
    EXPECT_EQ(title().subviews().size(), 2u);
    EXPECT_EQ(title().weekButtonView()->alpha(), 1.0);
    EXPECT_EQ(title().textButtonView()->alpha(), 0.0);
    EXPECT_EQ(title().week(), weekContaining(2026, 12, 15));
    // The title answers setWeek again.
    title().setWeek(weekContaining(2026, 12, 22));
    EXPECT_EQ(title().week(), weekContaining(2026, 12, 22));
}

TEST_F(DateTitleViewTest, ReplacedWeekFacesLeaveTheBus) {
    const std::size_t before = weekFaceRegistrations();
    title().animateFromRightWithText(QStringLiteral("Pick a Week"));
    m_harness.advance(0.5);
    title().animateFromLeftWithWeek(weekContaining(2026, 12, 8));
    EXPECT_EQ(weekFaceRegistrations(), before + 1);
    m_harness.advance(0.5);
    EXPECT_EQ(weekFaceRegistrations(), before);
}

TEST_F(DateTitleViewTest, FacesStayInPlaceWhileTheBarMovesTheTitle) {
    title().setWeek(weekContaining(2026, 12, 8));
    m_harness.render();
    const double weekX = windowX(*title().weekButtonView());
    const double titleX = windowX(title());

    title().withSubViewsStayingInPositionDo([this] {
        title().setFrameWidth(150);
        m_bar.item->setLeftBarButtonItem(
            std::make_shared<BarButtonItem>(QStringLiteral("Cancel"), BarButtonItem::Style::Bordered), false);
    });
    EXPECT_NE(windowX(title()), titleX);
    EXPECT_EQ(title().weekButtonView()->bounds().width(), 150);
    EXPECT_EQ(windowX(*title().weekButtonView()), weekX);
    EXPECT_EQ(windowX(*title().textButtonView()), weekX);
    // A later layout keeps them there.
    m_harness.render();
    EXPECT_EQ(windowX(*title().weekButtonView()), weekX);

    title().animateFromRightWithText(QStringLiteral("Pick a Week"));
    m_harness.advance(0.5);
    EXPECT_EQ(title().textButtonView()->frame().x(), 0);
}

TEST_F(DateTitleViewTest, FacesStayInPlaceWhileTheBarAnimatesTheTitle) {
    title().setWeek(weekContaining(2026, 12, 8));
    m_harness.render();
    const double weekX = windowX(*title().weekButtonView());
    const auto shownX = [this] {
        // Where the week face is drawn now: the title's and the face's presented positions.
        const auto& face = *title().weekButtonView();
        return title().superview()->convertPointToView(Point(0, 0), nullptr).x() +
               title().presentationFrame().x() + face.presentationFrame().x();
    };

    title().withSubViewsStayingInPositionDo([this] {
        title().setFrameWidth(150);
        m_bar.item->setLeftBarButtonItem(
            std::make_shared<BarButtonItem>(QStringLiteral("Cancel"), BarButtonItem::Style::Bordered), true);
    });
    for (const double time : {0.0, 0.05, 0.1, 0.15, 0.3}) {
        m_harness.advance(time == 0.0 ? 0.0 : 0.05);
        EXPECT_NEAR(shownX(), weekX, 0.01) << time;
    }
}

// ---- Pictures ----

TEST(DateTitleViewPictures, BothFacesPressedAndNotAtBothScales) {
    WeekRulesGuard rules;
    Week::setFirstWeekdayOfWeek(2);
    Week::setWeekNumberMethod(0);
    for (const double scale : {1.0, 2.0}) {
        ScreenHarness::Options options;
        options.scale = scale;
        ScreenHarness harness(options);
        auto root = std::make_shared<View>(Rect(0, 0, 320, 460));
        auto strip = std::make_shared<View>(Rect(0, 0, 320, 6 * 52));
        strip->setBackgroundColor(Color(1, 1, 1));
        root->addSubview(strip);
        std::vector<TitleBar> bars;
        bars.reserve(6);
        for (int index = 0; index < 6; ++index) {
            // The last one is the lower landscape bar.
            bars.emplace_back(index == 4 ? 150.0 : 203.0, index == 5 ? 32.0 : NavigationBar::height);
            bars.back().bar->setFrameY(index * 52);
            strip->addSubview(bars.back().bar);
        }
        harness.launch(root);
        const Week december = weekContaining(2026, 12, 8);
        bars[0].title->setWeek(december);
        bars[1].title->setWeek(december);
        bars[1].title->weekButtonView()->setSelected(true);
        bars[2].title->setText(QStringLiteral("Pick a Week"));
        bars[3].title->setText(QStringLiteral("Pick a Week"));
        bars[3].title->textButtonView()->setSelected(true);
        bars[5].title->setLandscape(true);
        bars[5].title->setWeek(december);
        Week::setWeekNumberMethod(1);
        bars[4].title->setWeek(weekContaining(2026, 1, 1));
        // Narrow, as beside the copy and move "Cancel" button.
        bars[4].item->setLeftBarButtonItem(
            std::make_shared<BarButtonItem>(QStringLiteral("Cancel"), BarButtonItem::Style::Bordered));
        const Image image = harness.render(*strip);
        EXPECT_FALSE(image.isNull());
        SamplePictures::keep(image, QStringLiteral("date-title-scale%1.png").arg(scale));
        Week::setWeekNumberMethod(0);
    }
}

} // namespace
