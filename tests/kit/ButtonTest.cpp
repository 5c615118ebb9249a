#include "kit/Button.h"
#include "TouchTestSupport.h"
#include "kit/DrawingTestSupport.h"
#include "kit/GraphicsContext.h"
#include "kit/ImageView.h"
#include "kit/Label.h"
#include "kit/StringDrawing.h"
#include "kit/ViewRenderer.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class ButtonTrackingTest : public testing::Test {
protected:
    void SetUp() override {
        m_button->onTouchDown = [this] { m_log += "down "; };
        m_button->onTouchUpInside = [this] { m_log += "up-inside "; };
        m_button->onTouchUpOutside = [this] { m_log += "up-outside "; };
        m_button->onTouchDragExit = [this] { m_log += "exit "; };
        m_button->onTouchDragEnter = [this] { m_log += "enter "; };
        m_button->onTouchCancel = [this] { m_log += "cancel "; };
    }

    std::shared_ptr<Button> m_button = std::make_shared<Button>(Rect(2, 113, 155, 23));
    std::string m_log;
};

} // namespace

TEST(ButtonStateTest, StatesWithoutTheirOwnValueShowTheNormalOne) {
    Button button(Rect(0, 0, 100, 40));
    button.setTitle("More");
    button.setTitleColor(black);
    button.setTitleColor(white, ControlState::Highlighted);
    button.setTitleShadowColor(black, ControlState::Highlighted);
    button.setTitle("Chosen", ControlState::Selected);
    EXPECT_EQ(button.state(), ControlState::Normal);
    EXPECT_EQ(button.currentTitle(), "More");
    EXPECT_EQ(button.currentTitleColor(), black);
    EXPECT_FALSE(button.currentTitleShadowColor());
    button.setHighlighted(true);
    EXPECT_EQ(button.currentTitle(), "More");
    EXPECT_EQ(button.currentTitleColor(), white);
    EXPECT_EQ(button.currentTitleShadowColor(), black);
    EXPECT_EQ(button.titleLabel().textColor(), white);
    EXPECT_EQ(button.titleLabel().shadowColor(), black);
    button.setHighlighted(false);
    button.setSelected(true);
    EXPECT_EQ(button.currentTitle(), "Chosen");
    EXPECT_EQ(button.titleLabel().text(), "Chosen");
    // Selected and highlighted together is a state of its own, falling back to normal.
    button.setHighlighted(true);
    EXPECT_EQ(button.state(), ControlState::Selected | ControlState::Highlighted);
    EXPECT_EQ(button.currentTitle(), "More");
    button.setEnabled(false);
    EXPECT_TRUE(hasControlState(button.state(), ControlState::Disabled));
}

TEST(ButtonStateTest, ImagesPerStateAndTheDarkenedHighlight) {
    auto button = std::make_shared<Button>(Rect(0, 0, 60, 40));
    const Image icon = filled(Size(10, 10), red);
    button->setImage(icon);
    button->setBackgroundImage(filled(Size(10, 10), white).stretchableImage(4, 4));
    Image rendered = ViewRenderer::render(*button);
    EXPECT_EQ(rendered.colorAtPoint(Point(30, 20)), red);
    EXPECT_EQ(rendered.colorAtPoint(Point(2, 2)), white);
    // Highlighted without images of its own: both drawn darker.
    button->setHighlighted(true);
    rendered = ViewRenderer::render(*button);
    EXPECT_NEAR(rendered.colorAtPoint(Point(30, 20)).red(), 0.7, 0.02);
    EXPECT_NEAR(rendered.colorAtPoint(Point(2, 2)).green(), 0.7, 0.02);
    button->setAdjustsImageWhenHighlighted(false);
    rendered = ViewRenderer::render(*button);
    EXPECT_EQ(rendered.colorAtPoint(Point(30, 20)), red);
    // An image of its own is shown as it is.
    button->setAdjustsImageWhenHighlighted(true);
    button->setImage(filled(Size(10, 10), black), ControlState::Highlighted);
    rendered = ViewRenderer::render(*button);
    EXPECT_EQ(rendered.colorAtPoint(Point(30, 20)), black);
}

TEST(ButtonLayoutTest, ImageAndTitleSitSideBySideInTheCentre) {
    auto button = std::make_shared<Button>(Rect(0, 0, 200, 40));
    button->setImage(filled(Size(20, 10), red));
    button->setTitle("Calendars");
    button->layoutIfNeeded();
    const Size title = StringDrawing::sizeWithFont("Calendars", Font::boldSystemFontOfSize(15));
    const double left = (200 - 20 - title.width()) / 2;
    EXPECT_EQ(button->imageView().frame(), Rect(left, 15, 20, 10));
    EXPECT_EQ(button->titleLabel().frame(),
              Rect(left + 20, (40 - title.height()) / 2, title.width(), title.height()));
    EXPECT_EQ(button->sizeThatFits(Size()), Size(20 + title.width(), title.height()));
}

TEST(ButtonLayoutTest, AGlowShowsWhileHighlightedWhenAsked) {
    auto button = std::make_shared<Button>(Rect(14, 3, 37, 38));
    button->setHighlighted(true);
    button->layoutIfNeeded();
    EXPECT_FALSE(button->isGlowing());
    button->setShowsTouchWhenHighlighted(true);
    button->layoutIfNeeded();
    EXPECT_TRUE(button->isGlowing());
    const Image rendered = ViewRenderer::render(*button);
    EXPECT_GT(rendered.colorAtPoint(Point(18.5, 19)).alpha(), 0.5);
    EXPECT_EQ(rendered.colorAtPoint(Point(1, 1)).alpha(), 0.0);
    button->setHighlighted(false);
    button->layoutIfNeeded();
    EXPECT_FALSE(button->isGlowing());
}

TEST(ButtonLayoutTest, InsetsAndAlignmentsMoveTheParts) {
    auto button = std::make_shared<Button>(Rect(0, 0, 178, 35));
    button->setImage(filled(Size(20, 20), red));
    button->setTitle("Jump to Week");
    button->setContentHorizontalAlignment(Button::ContentHorizontalAlignment::Left);
    button->setContentEdgeInsets(EdgeInsets(0, 10, 0, 0));
    button->setTitleEdgeInsets(EdgeInsets(0, 8, 0, 0));
    button->setImageEdgeInsets(EdgeInsets(5, 0, 0, 0));
    button->layoutIfNeeded();
    EXPECT_EQ(button->imageView().frame().x(), 10.0);
    EXPECT_EQ(button->imageView().frame().y(), 5.0 + (30 - 20) / 2.0);
    EXPECT_EQ(button->titleLabel().frame().x(), 10.0 + 8 + 20);
    button->setContentHorizontalAlignment(Button::ContentHorizontalAlignment::Right);
    button->setContentVerticalAlignment(Button::ContentVerticalAlignment::Top);
    button->layoutIfNeeded();
    EXPECT_EQ(button->titleLabel().frame().maxX(), 178.0);
    EXPECT_EQ(button->titleLabel().frame().y(), 0.0);
    EXPECT_EQ(button->imageView().frame().maxX(), button->titleLabel().frame().x());
    EXPECT_EQ(button->imageView().frame().y(), 5.0);
}

TEST(ButtonLayoutTest, ATitleTooLongShrinksToTheMinimumAndIsCut) {
    auto button = std::make_shared<Button>(Rect(0, 0, 80, 23));
    button->titleLabel().setFont(Font::boldSystemFontOfSize(13));
    button->titleLabel().setAdjustsFontSizeToFitWidth(true);
    button->titleLabel().setMinimumFontSize(10);
    button->setTitle("12 more events ...");
    button->layoutIfNeeded();
    EXPECT_EQ(button->titleLabel().frame().width(), 80.0);
    EXPECT_LT(button->titleLabel().fontForDrawing().pointSize(), 13.0);
    EXPECT_GE(button->titleLabel().fontForDrawing().pointSize(), 10.0);
}

TEST_F(ButtonTrackingTest, ATapHighlightsAndFiresTouchUpInside) {
    EXPECT_TRUE(m_button->beginTracking(Point(10, 10)));
    EXPECT_TRUE(m_button->highlighted());
    m_button->endTracking(Point(10, 10));
    EXPECT_FALSE(m_button->highlighted());
    EXPECT_FALSE(m_button->isTracking());
    EXPECT_EQ(m_log, "down up-inside ");
}

TEST_F(ButtonTrackingTest, TheFingerMayWander70PointsAway) {
    m_button->beginTracking(Point(10, 10));
    // The bounds are 155 × 23; 69 points below the bottom edge still counts.
    m_button->continueTracking(Point(10, 23 + 69));
    EXPECT_TRUE(m_button->highlighted());
    m_button->continueTracking(Point(155 + 71, 10));
    EXPECT_FALSE(m_button->highlighted());
    m_button->continueTracking(Point(-69, -69));
    EXPECT_TRUE(m_button->highlighted());
    m_button->continueTracking(Point(10, -71));
    EXPECT_FALSE(m_button->highlighted());
    m_button->endTracking(Point(10, -71));
    EXPECT_EQ(m_log, "down exit enter exit up-outside ");
}

TEST_F(ButtonTrackingTest, ReleasingWithinTheSlackIsInside) {
    m_button->beginTracking(Point(10, 10));
    m_button->continueTracking(Point(10, 300));
    m_button->endTracking(Point(10, 23 + 60));
    EXPECT_EQ(m_log, "down exit up-inside ");
}

TEST_F(ButtonTrackingTest, DisabledButtonsDoNotTrackAndSettersFireNothing) {
    m_button->setHighlighted(true);
    m_button->setSelected(true);
    m_button->setHighlighted(false);
    m_button->setEnabled(false);
    EXPECT_FALSE(m_button->beginTracking(Point(10, 10)));
    m_button->endTracking(Point(10, 10));
    EXPECT_EQ(m_log, "");
    m_button->setEnabled(true);
    m_button->beginTracking(Point(10, 10));
    m_button->cancelTracking();
    EXPECT_FALSE(m_button->highlighted());
    EXPECT_EQ(m_log, "down cancel ");
}

TEST(ButtonTouchTest, FingersOnTheScreenDriveTheTracking) {
    TouchFixture fixture;
    auto button = std::make_shared<Button>(Rect(2, 113, 155, 23));
    fixture.root->addSubview(button);
    QStringList& log = fixture.m_log;
    button->onTouchDown = [&log] { log.append("down"); };
    button->onTouchUpInside = [&log] { log.append("up-inside"); };
    button->onTouchUpOutside = [&log] { log.append("up-outside"); };
    button->onTouchCancel = [&log] { log.append("cancel"); };
    fixture.down(1, Point(50, 120));
    EXPECT_TRUE(button->highlighted());
    // 69 points below the bottom edge (at y 136) the button stays highlighted.
    fixture.move(1, Point(50, 136 + 69));
    EXPECT_TRUE(button->highlighted());
    fixture.move(1, Point(50, 136 + 75));
    EXPECT_FALSE(button->highlighted());
    fixture.move(1, Point(50, 130));
    EXPECT_TRUE(button->highlighted());
    fixture.up(1, Point(50, 136 + 60));
    EXPECT_FALSE(button->highlighted());
    fixture.down(2, Point(50, 120));
    fixture.move(2, Point(50, 300));
    fixture.up(2, Point(50, 300));
    fixture.down(3, Point(50, 120));
    fixture.cancel(3);
    EXPECT_EQ(fixture.log(), "down up-inside down up-outside down cancel");
}

TEST(ButtonTouchTest, ADisabledButtonPassesItsTouchesOn) {
    TouchFixture fixture;
    auto bar = std::make_shared<TouchSpyView>(Rect(0, 0, 320, 44), "bar", fixture.m_log);
    fixture.root->addSubview(bar);
    auto button = std::make_shared<Button>(Rect(270, 7, 44, 30));
    bar->addSubview(button);
    button->onTouchUpInside = [&fixture] { fixture.m_log.append("tapped"); };
    button->setEnabled(false);
    fixture.down(1, Point(280, 20));
    fixture.up(1, Point(280, 20));
    EXPECT_FALSE(button->highlighted());
    button->setEnabled(true);
    fixture.down(2, Point(280, 20));
    fixture.up(2, Point(280, 20));
    EXPECT_EQ(fixture.log(), "bar:began bar:ended tapped");
}
