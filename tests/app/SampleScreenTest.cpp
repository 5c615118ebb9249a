#include "harness/ScreenHarness.h"
#include "kit/Button.h"
#include "kit/Font.h"
#include "kit/GraphicsContext.h"
#include "kit/Label.h"
#include "kit/LoadingIndicator.h"
#include "kit/NavigationBar.h"
#include "kit/ScrollView.h"
#include "kit/ScrollViewDelegate.h"
#include "kit/Window.h"

#include <QDir>

#include "SamplePictures.h"
#include "kit/RoundedRectangle.h"

#include <gtest/gtest.h>

namespace {

// A card like a day of a week planner: rounded, gradient-filled, with a title and rows.
class CardView : public View {
public:
    CardView(const Rect& frame, const QString& title, int rows) : View(frame), m_title(title), m_rows(rows) {}

protected:
    void drawRect(GraphicsContext& context, const Rect&) override {
        const Rect card = bounds().inset(3, 3);
        context.saveGState();
        context.setShadow(Size(0, 1), 3.0);
        context.setFillColor(Color::fromRgb255(250, 250, 250));
        RoundedRectangle(card, 6.0).drawRoundedRectPath(context);
        context.fillPath();
        context.restoreGState();
        context.saveGState();
        RoundedRectangle(card, 6.0).drawRoundedRectPath(context);
        context.clip();
        context.drawLinearGradient(
            {{0.0, Color::fromRgb255(255, 255, 255)}, {1.0, Color::fromRgb255(228, 233, 240)}},
            Point(0, card.minY()), Point(0, card.maxY()));
        context.setFillColor(Color::fromRgb255(86, 112, 150));
        context.fillRect(Rect(card.minX(), card.minY(), card.width(), 18));
        context.restoreGState();
        context.setFillColor(Color::fromRgb255(255, 255, 255));
        context.drawText(m_title, Point(card.minX() + 6, card.minY() + 2), Font::boldSystemFontOfSize(12));
        context.setFillColor(Color::fromRgb255(45, 45, 45));
        for (int row = 0; row < m_rows; ++row) {
            const double y = card.minY() + 22 + row * 16;
            context.drawText(QStringLiteral("%1:00").arg(9 + row), Point(card.minX() + 6, y),
                             Font::boldSystemFontOfSize(11));
            context.drawText(QStringLiteral("Planning session number %1").arg(row + 1),
                             Point(card.minX() + 40, y), card.width() - 46, Font::systemFontOfSize(12),
                             LineBreakMode::TailTruncation);
        }
    }

private:
    QString m_title;
    int m_rows;
};

std::shared_ptr<View> makePage(int index) {
    auto page = std::make_shared<View>(Rect(index * 320.0, 0, 320, 372));
    static const char* const days[] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                       "Friday", "Saturday", "Sunday"};
    const double height = 124.0;
    for (int day = 0; day < 7; ++day) {
        const int column = day < 3 ? 0 : 1;
        Rect frame(column * 160.0, (day < 3 ? day : day - 3) * height, 160, height);
        if (day >= 5) {
            frame = Rect(160, 2 * height + (day - 5) * height / 2, 160, height / 2);
        }
        const QString title = QStringLiteral("%1 %2").arg(QLatin1String(days[day])).arg(7 * index + day + 1);
        page->addSubview(std::make_shared<CardView>(frame, title, day >= 5 ? 1 : 5));
    }
    return page;
}

class PageCounter : public ScrollViewDelegate {
public:
    void scrollViewDidEndDecelerating(ScrollView&) override { ++settled; }
    int settled = 0;
};

struct SampleScreen {
    std::shared_ptr<View> root;
    std::shared_ptr<ScrollView> pages;
    std::shared_ptr<Button> todayButton;
};

SampleScreen makeSampleScreen() {
    SampleScreen screen;
    screen.root = std::make_shared<View>(Rect(0, 0, 320, 460));
    screen.root->setBackgroundColor(Color::fromRgb255(70, 82, 100));
    auto bar = std::make_shared<NavigationBar>();
    screen.root->addSubview(bar);
    auto title = std::make_shared<Label>(Rect(80, 0, 160, 44));
    title->setText(QStringLiteral("December 2026"));
    title->setFont(Font::boldSystemFontOfSize(20));
    title->setTextColor(Color(1, 1, 1));
    title->setShadowColor(Color(0, 0, 0, 0.5));
    title->setShadowOffset(Size(0, -1));
    title->setTextAlignment(TextAlignment::Center);
    title->setAdjustsFontSizeToFitWidth(true);
    title->setMinimumFontSize(12);
    bar->addSubview(title);
    screen.todayButton = std::make_shared<Button>(Rect(6, 7, 60, 30));
    screen.todayButton->setTitle(QStringLiteral("Today"));
    screen.todayButton->setTitleColor(Color(1, 1, 1));
    screen.todayButton->titleLabel().setFont(Font::boldSystemFontOfSize(12));
    screen.todayButton->setBackgroundColor(Color::fromRgb255(96, 120, 155));
    bar->addSubview(screen.todayButton);
    auto spinner = std::make_shared<LoadingIndicator>(LoadingIndicator::Style::White);
    spinner->setCenter(Point(295, 22));
    spinner->startAnimating();
    bar->addSubview(spinner);

    screen.pages = std::make_shared<ScrollView>(Rect(0, 44, 320, 372));
    screen.pages->setPagingEnabled(true);
    screen.pages->setContentSize(Size(3 * 320, 372));
    for (int i = 0; i < 3; ++i) {
        screen.pages->addSubview(makePage(i));
    }
    screen.pages->setContentOffset(Point(320, 0));
    screen.root->addSubview(screen.pages);
    auto footer = std::make_shared<Label>(Rect(0, 416, 320, 44));
    footer->setText(QStringLiteral("Week 50"));
    footer->setTextColor(Color(1, 1, 1));
    footer->setTextAlignment(TextAlignment::Center);
    screen.root->addSubview(footer);
    return screen;
}

void saveForAPersonIfAsked(ScreenHarness& harness, const QString& name) {
    SamplePictures::keep(harness.render(), name);
}

TEST(SampleScreenTest, PagesTurnByDragAndTheScreenDrawsInEveryState) {
    ScreenHarness harness;
    SampleScreen screen = makeSampleScreen();
    auto counter = std::make_shared<PageCounter>();
    screen.pages->setDelegate(counter);
    int todayTaps = 0;
    screen.todayButton->onTouchUpInside = [&] { ++todayTaps; };
    harness.launch(screen.root);
    saveForAPersonIfAsked(harness, QStringLiteral("sample-screen.png"));
    const Image before = harness.render();

    // Half a page to the left, held: the screen shows two pages at once.
    harness.drag(Point(250, 250), Point(90, 250), 0.5, 8, false);
    EXPECT_TRUE(screen.pages->isDragging());
    EXPECT_NEAR(screen.pages->contentOffset().x(), 320 + 160 - 10, 12); // less the drag's start threshold
    saveForAPersonIfAsked(harness, QStringLiteral("sample-screen-drag.png"));
    EXPECT_NE(harness.render().pixelColor(320, 400), before.pixelColor(320, 400));
    harness.touchUp(Point(90, 250));
    harness.advance(1.0);
    EXPECT_EQ(screen.pages->contentOffset(), Point(640, 0));
    EXPECT_EQ(counter->settled, 1);

    harness.tap(Point(36, 42)); // the button, in window coordinates below the status bar
    EXPECT_EQ(todayTaps, 1);
}

} // namespace
