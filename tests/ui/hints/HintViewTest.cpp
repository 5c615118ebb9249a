#include "ui/hints/HintView.h"

#include "core/hints/Hint.h"
#include "core/objectstore/ObjectStoreManager.h"
#include "testing/ManualRunLoop.h"
#include "harness/ScreenHarness.h"
#include "kit/Font.h"
#include "kit/GraphicsContext.h"
#include "kit/InterfaceOrientation.h"
#include "kit/Label.h"
#include "kit/Window.h"

#include <QDir>

#include "SamplePictures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

// A plain screen that counts the touches reaching it.
class PlainScreen : public View {
public:
    PlainScreen() { setBackgroundColor(Color::fromRgb255(236, 236, 228)); }
    int touchesBeganCount = 0;

protected:
    void touchesBegan(const TouchSet&, const TouchEvent&) override { ++touchesBeganCount; }
    void drawRect(GraphicsContext& context, const Rect&) override {
        // A few stripes, so that the panel's translucency shows in the samples.
        context.setFillColor(Color::fromRgb255(70, 110, 170));
        for (double y = 20; y < bounds().height(); y += 60) {
            context.fillRect(Rect(0, y, bounds().width(), 18));
        }
    }
};

::testing::AssertionResult sameRect(const Rect& actual, const Rect& expected) {
    const double tolerance = 1e-6;
    if (std::abs(actual.x() - expected.x()) < tolerance && std::abs(actual.y() - expected.y()) < tolerance &&
        std::abs(actual.width() - expected.width()) < tolerance &&
        std::abs(actual.height() - expected.height()) < tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "(" << actual.x() << ", " << actual.y() << ", " << actual.width() << ", " << actual.height()
           << ") instead of (" << expected.x() << ", " << expected.y() << ", " << expected.width() << ", "
           << expected.height() << ")";
}

// The application with a plain screen, the hints loaded into a fresh store and the real panel
// installed as their presenter, in portrait.
class HintViewTest : public testing::Test {
protected:
    void SetUp() override {
        m_previousOrientation = InterfaceOrientation::interfaceOrientation();
        InterfaceOrientation::setInterfaceOrientation(InterfaceOrientation::Portrait);
        Hint::setShippedDatabasePath(QString());
        m_harness.launch(m_screen);
        Hint::loadHints();
        m_panel = HintView::install();
    }

    void TearDown() override {
        Hint::setPresenter(nullptr);
        ObjectStoreManager::sharedManager().deleteDatabase();
        InterfaceOrientation::setInterfaceOrientation(m_previousOrientation);
    }

    static std::shared_ptr<Hint> hint(const char* identifier) {
        auto found = Hint::hintByIdentifier(QString::fromUtf8(identifier));
        EXPECT_TRUE(found) << identifier;
        return found;
    }

    // Turns the device as the week screen does: the window takes the new shape and the
    // orientation is recorded for everyone to read.
    void turnTo(int orientation) {
        m_harness.window().rotateToOrientation(orientation);
        InterfaceOrientation::setInterfaceOrientation(orientation);
        m_harness.advance(1.0);
    }

    double panelHeight() const { return m_panel->textLabel()->frame().height() + 42.0; }

    ScreenHarness m_harness;
    std::shared_ptr<PlainScreen> m_screen = std::make_shared<PlainScreen>();
    std::shared_ptr<HintView> m_panel;
    int m_previousOrientation = InterfaceOrientation::Unknown;
};

// ---- Look and content ----

TEST_F(HintViewTest, StartsHiddenWithTheTitleAndTextLabelsInPlace) {
    EXPECT_TRUE(m_panel->hidden());
    EXPECT_FALSE(m_panel->isShowingHint());
    EXPECT_EQ(Hint::hintView(), m_panel);
    // It joins the window only when it first shows a hint.
    EXPECT_EQ(m_panel->superview(), nullptr);
    EXPECT_TRUE(sameRect(m_panel->frame(), Rect(41, 197, 237, 132)));
    EXPECT_FALSE(m_panel->backgroundColor().has_value());

    const Label& title = *m_panel->titleLabel();
    EXPECT_TRUE(sameRect(title.frame(), Rect(81, 9, 75, 21)));
    EXPECT_EQ(title.text(), QStringLiteral("Hint"));
    EXPECT_TRUE(title.font().isBold());
    EXPECT_DOUBLE_EQ(title.font().pointSize(), 17.0);

    const Label& text = *m_panel->textLabel();
    EXPECT_TRUE(sameRect(text.frame(), Rect(8, 31, 220, 90)));
    EXPECT_FALSE(text.font().isBold());
    EXPECT_DOUBLE_EQ(text.font().pointSize(), 17.0);
    EXPECT_EQ(text.numberOfLines(), 0);
    EXPECT_EQ(text.textAlignment(), TextAlignment::Center);
    for (const Label* label : {&title, &text}) {
        EXPECT_EQ(label->textColor(), Color(1, 1, 1));
        EXPECT_EQ(label->shadowColor(), Color(0, 0, 0));
        EXPECT_EQ(label->shadowOffset(), Size(-1, 1));
        EXPECT_FALSE(label->backgroundColor().has_value());
    }
}

TEST_F(HintViewTest, TextLabelTakesTheHeightOfItsLinesAndKeepsItsWidth) {
    const Font font = Font::systemFontOfSize(17);
    auto shortHint = std::make_shared<Hint>(QStringLiteral("Tap."), 10.0f, QStringLiteral("a"));
    m_panel->setHint(shortHint);
    EXPECT_EQ(m_panel->currentHint(), shortHint);
    EXPECT_EQ(m_panel->textLabel()->text(), QStringLiteral("Tap."));
    EXPECT_NEAR(m_panel->textLabel()->frame().height(), font.lineHeight(), 0.5);
    EXPECT_DOUBLE_EQ(m_panel->textLabel()->frame().width(), 220.0);
    EXPECT_DOUBLE_EQ(m_panel->frame().height(), m_panel->textLabel()->frame().height() + 42.0);

    // The three explicit lines of the holidays hint, none of them wider than the label.
    m_panel->setHint(hint("holidaysHint"));
    EXPECT_NEAR(m_panel->textLabel()->frame().height(), 3 * font.lineHeight(), 0.5);
    EXPECT_DOUBLE_EQ(m_panel->textLabel()->frame().width(), 220.0);
    EXPECT_DOUBLE_EQ(m_panel->frame().height(), m_panel->textLabel()->frame().height() + 42.0);
    EXPECT_DOUBLE_EQ(m_panel->frame().width(), 237.0);

    // Going back to a short text shrinks the panel again.
    m_panel->setHint(shortHint);
    EXPECT_NEAR(m_panel->frame().height(), font.lineHeight() + 42.0, 0.5);
}

TEST_F(HintViewTest, TitleIsNewOnlyForTheUpdateHint) {
    m_panel->setHint(std::make_shared<Hint>(QStringLiteral("Search is new."), 10.0f,
                                            QStringLiteral("searchHintOnUpdate")));
    EXPECT_EQ(m_panel->titleLabel()->text(), QStringLiteral("New"));
    m_panel->setHint(hint("searchHint"));
    EXPECT_EQ(m_panel->titleLabel()->text(), QStringLiteral("Hint"));
}

TEST_F(HintViewTest, DrawsATranslucentGreyRoundedPanel) {
    m_panel->setHint(hint("searchHint"));
    m_panel->setHidden(false);
    const Image image = m_panel->renderToImage(2.0);
    // Inside: the grey, at 85 % over nothing.
    const Color inside = image.colorAtPoint(Point(20, m_panel->bounds().height() - 6));
    EXPECT_NEAR(inside.alpha(), 0.85, 0.02);
    EXPECT_NEAR(inside.red(), 80.0 / 255.0, 0.02);
    EXPECT_NEAR(inside.blue(), 80.0 / 255.0, 0.02);
    // The one-point margin and the rounded corners stay clear.
    EXPECT_LT(image.colorAtPoint(Point(0.25, 60)).alpha(), 0.05);
    EXPECT_LT(image.colorAtPoint(Point(3, 3)).alpha(), 0.05);
    EXPECT_LT(image.colorAtPoint(Point(233.5, m_panel->bounds().height() - 3)).alpha(), 0.05);
}

// ---- Geometry ----

TEST_F(HintViewTest, SitsCentredBelowTheBarsInPortrait) {
    hint("searchHint")->show();
    ASSERT_EQ(m_panel->superview().get(), &m_harness.window());
    const double height = panelHeight();
    // Across: (320 − 237) / 2 = 41.5, rounded; along: the 416 points below the bars.
    EXPECT_TRUE(sameRect(m_panel->frame(), Rect(42, std::round((416 - height) / 2 + 54), 237, height)));
    EXPECT_TRUE(m_panel->transform().isIdentity());
}

TEST_F(HintViewTest, TopAlignedHintSitsInTheUpperHalfInPortrait) {
    const auto details = hint("moreDetailsHint");
    ASSERT_TRUE(details->alignsOnTop());
    details->show();
    const double height = panelHeight();
    EXPECT_TRUE(sameRect(m_panel->frame(), Rect(42, std::round((208 - height) / 2 + 54), 237, height)));
    EXPECT_LT(m_panel->frame().maxY(), 480.0 / 2.0);
}

TEST_F(HintViewTest, SitsCentredBelowTheBarsInTheTurnedWindowInLandscape) {
    for (const int orientation :
         {InterfaceOrientation::LandscapeLeft, InterfaceOrientation::LandscapeRight}) {
        turnTo(orientation);
        ASSERT_EQ(m_harness.window().bounds().size(), Size(480, 320));
        hint("searchHint")->show();
        const double height = panelHeight();
        // Across: (480 − 237) / 2 = 121.5, rounded; along: the 268 points below the bars.
        EXPECT_TRUE(sameRect(m_panel->frame(), Rect(122, std::round((268 - height) / 2 + 42), 237, height)))
            << orientation;
        EXPECT_TRUE(m_panel->transform().isIdentity());

        hint("moreDetailsHint")->show();
        const double detailsHeight = panelHeight();
        EXPECT_TRUE(sameRect(m_panel->frame(),
                             Rect(122, std::round((134 - detailsHeight) / 2 + 42), 237, detailsHeight)));
        m_panel->hideHint();
        m_harness.advance(0.5);
    }

    // And back upright.
    turnTo(InterfaceOrientation::Portrait);
    hint("searchHint")->show();
    EXPECT_TRUE(
        sameRect(m_panel->frame(), Rect(42, std::round((416 - panelHeight()) / 2 + 54), 237, panelHeight())));
}

TEST_F(HintViewTest, TurnsItselfInASuperviewThatKeepsPortraitCoordinates) {
    const auto container = std::make_shared<View>(Rect(0, 0, 320, 480));
    container->addSubview(m_panel);

    // Landscape left: the top of the screen is the container's left edge.
    InterfaceOrientation::setInterfaceOrientation(InterfaceOrientation::LandscapeLeft);
    m_panel->setHint(hint("searchHint"));
    double height = panelHeight();
    const double along = std::round((268 - height) / 2 + 42);
    EXPECT_TRUE(sameRect(m_panel->frame(), Rect(along, 122, height, 237)));
    EXPECT_NEAR(std::atan2(m_panel->transform().b(), m_panel->transform().a()), -std::numbers::pi / 2, 1e-9);
    // The title, at the panel's top, is nearer the top of the screen than the text.
    const Point title = m_panel->convertPointToView(m_panel->titleLabel()->center(), container.get());
    const Point text = m_panel->convertPointToView(m_panel->textLabel()->center(), container.get());
    EXPECT_LT(title.x(), text.x());
    EXPECT_NEAR(title.y(), text.y(), 1.0);

    // Landscape right: the top is the right edge, so the panel is measured from there.
    InterfaceOrientation::setInterfaceOrientation(InterfaceOrientation::LandscapeRight);
    m_panel->centerView();
    EXPECT_TRUE(sameRect(m_panel->frame(), Rect(320 - along - height, 122, height, 237)));
    EXPECT_NEAR(std::atan2(m_panel->transform().b(), m_panel->transform().a()), std::numbers::pi / 2, 1e-9);
    const Point rightTitle = m_panel->convertPointToView(m_panel->titleLabel()->center(), container.get());
    const Point rightText = m_panel->convertPointToView(m_panel->textLabel()->center(), container.get());
    EXPECT_GT(rightTitle.x(), rightText.x());

    // Upright again in portrait.
    InterfaceOrientation::setInterfaceOrientation(InterfaceOrientation::Portrait);
    m_panel->centerView();
    height = panelHeight();
    EXPECT_TRUE(m_panel->transform().isIdentity());
    EXPECT_TRUE(sameRect(m_panel->frame(), Rect(42, std::round((416 - height) / 2 + 54), 237, height)));
}

// ---- Fading, timing and touches ----

TEST_F(HintViewTest, FadesInOverAThirdOfASecond) {
    m_panel->showHint(hint("searchHint"));
    EXPECT_TRUE(m_panel->isShowingHint());
    EXPECT_FALSE(m_panel->hidden());
    EXPECT_DOUBLE_EQ(m_panel->alpha(), 1.0);
    EXPECT_NEAR(m_panel->presentationAlpha(), 0.0, 1e-9);
    m_harness.advance(0.15);
    EXPECT_NEAR(m_panel->presentationAlpha(), 0.5, 0.02);
    m_harness.advance(0.15);
    EXPECT_NEAR(m_panel->presentationAlpha(), 1.0, 1e-9);
    // Touches reach it while it fades in.
    m_panel->showHint(hint("searchHint"));
    m_harness.advance(0.05);
    EXPECT_FALSE(m_panel->isInteractionBlockedByAnimation());
}

TEST_F(HintViewTest, FadesOutAndThenHides) {
    m_panel->showHint(hint("searchHint"));
    m_harness.advance(0.5);
    m_panel->hideHint();
    EXPECT_FALSE(m_panel->hidden());
    EXPECT_TRUE(m_panel->isShowingHint());
    m_harness.advance(0.15);
    EXPECT_NEAR(m_panel->presentationAlpha(), 0.5, 0.02);
    m_harness.advance(0.2);
    EXPECT_TRUE(m_panel->hidden());
    EXPECT_FALSE(m_panel->isShowingHint());
    // Hiding a hidden panel changes nothing.
    m_panel->hideHint();
    m_harness.advance(0.5);
    EXPECT_TRUE(m_panel->hidden());
}

TEST_F(HintViewTest, ShowDuringTheFadeOutKeepsThePanelUp) {
    m_panel->showHint(hint("searchHint"));
    m_harness.advance(0.5);
    m_panel->hideHint();
    m_harness.advance(0.1);
    m_panel->showHint(hint("quickMoveHint"));
    m_harness.advance(1.0);
    EXPECT_FALSE(m_panel->hidden());
    EXPECT_NEAR(m_panel->presentationAlpha(), 1.0, 1e-9);
    EXPECT_EQ(m_panel->currentHint(), hint("quickMoveHint"));
}

TEST_F(HintViewTest, HidesAfterTheHintsDuration) {
    hint("searchHint")->show();
    m_harness.advance(9.9);
    EXPECT_TRUE(m_panel->isShowingHint());
    EXPECT_NEAR(m_panel->presentationAlpha(), 1.0, 1e-9);
    m_harness.advance(0.2);
    EXPECT_LT(m_panel->presentationAlpha(), 1.0);
    m_harness.advance(0.3);
    EXPECT_TRUE(m_panel->hidden());
}

TEST_F(HintViewTest, TapOnThePanelHidesItAndStaysOffTheScreenBehind) {
    hint("searchHint")->show();
    m_harness.advance(0.5);
    const Point centre = m_panel->frame().center();

    // A tap beside the panel goes to the screen and leaves the panel up.
    m_harness.tap(Point(10, 300));
    EXPECT_EQ(m_screen->touchesBeganCount, 1);
    m_harness.advance(0.5);
    EXPECT_TRUE(m_panel->isShowingHint());

    m_harness.tap(centre);
    EXPECT_EQ(m_screen->touchesBeganCount, 1);
    m_harness.advance(0.35);
    EXPECT_TRUE(m_panel->hidden());
    // The hidden panel lets touches through again.
    m_harness.tap(centre);
    EXPECT_EQ(m_screen->touchesBeganCount, 2);
}

TEST_F(HintViewTest, TapWhileFadingInHides) {
    hint("searchHint")->show();
    m_harness.advance(0.1);
    m_harness.tap(m_panel->frame().center());
    m_harness.advance(0.4);
    EXPECT_TRUE(m_panel->hidden());
}

TEST_F(HintViewTest, HiddenAnyOpenHintHidesThePanel) {
    hint("searchHint")->show();
    m_harness.advance(0.5);
    Hint::hiddenAnyOpenHint();
    m_harness.advance(0.35);
    EXPECT_FALSE(m_panel->isShowingHint());
}

TEST_F(HintViewTest, ShowingAgainBringsThePanelToTheFront) {
    hint("searchHint")->show();
    m_harness.advance(0.5);
    m_panel->hideHint();
    m_harness.advance(0.5);
    const auto cover = std::make_shared<View>(Rect(0, 0, 320, 480));
    m_harness.window().addSubview(cover);
    hint("quickMoveHint")->show();
    EXPECT_EQ(m_harness.window().subviews().back(), m_panel);
}

// ---- Through the hints' rules ----

TEST_F(HintViewTest, TriggersShowTheRealPanelOnTheThirdTime) {
    const auto search = hint("searchHint");
    search->trigger();
    search->trigger();
    EXPECT_FALSE(m_panel->isShowingHint());
    search->trigger();
    EXPECT_TRUE(m_panel->isShowingHint());
    EXPECT_EQ(m_panel->currentHint(), search);
    EXPECT_EQ(m_panel->textLabel()->text(), QStringLiteral("You can also swipe up to activate search."));
}

TEST_F(HintViewTest, TriggerWhileAHintShowsCountsButDoesNotShow) {
    const auto header = hint("headerHint");
    const auto holidays = hint("holidaysHint");
    header->trigger();
    ASSERT_EQ(m_panel->currentHint(), header);
    m_harness.advance(1.0);

    holidays->trigger();
    EXPECT_EQ(holidays->triggerCount(), 1);
    EXPECT_EQ(m_panel->currentHint(), header);
    // Even while it fades out the panel counts as on screen.
    m_panel->hideHint();
    m_harness.advance(0.1);
    holidays->trigger();
    EXPECT_EQ(holidays->triggerCount(), 2);
    EXPECT_EQ(m_panel->currentHint(), header);
    m_harness.advance(0.5);
    EXPECT_FALSE(m_panel->isShowingHint());

    // Its first time has passed, so it stays away for good.
    holidays->trigger();
    EXPECT_EQ(holidays->triggerCount(), 3);
    EXPECT_FALSE(m_panel->isShowingHint());
}

// ---- Samples for a person to look at ----

TEST_F(HintViewTest, SamplePictures) {
    hint("searchHint")->show();
    m_harness.advance(0.5);
    SamplePictures::keep(m_harness.render(), QStringLiteral("hint-portrait.png"));
    m_panel->hideHint();
    m_harness.advance(0.5);
    hint("moreDetailsHint")->show();
    m_harness.advance(0.5);
    SamplePictures::keep(m_harness.render(), QStringLiteral("hint-portrait-top.png"));
    m_panel->hideHint();
    m_harness.advance(0.5);

    turnTo(InterfaceOrientation::LandscapeLeft);
    hint("holidaysHint")->show();
    m_harness.advance(0.5);
    SamplePictures::keep(m_harness.render(), QStringLiteral("hint-landscape.png"));
}

} // namespace
