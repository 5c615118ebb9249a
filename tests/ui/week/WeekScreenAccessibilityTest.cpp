#include "app/OrvellaApp.h"
#include "kit/AccessibilityTestSupport.h"
#include "kit/Window.h"
#include "kit/WindowHost.h"
#include "ui/editor/EditorTestSupport.h"

#include <QAccessible>
#include <QWidget>

#include <gmock/gmock.h>

namespace {

using testing::HasSubstr;
using testing::Not;

// The whole accessible tree of the harness's window, as a screen reader would walk it.
std::string accessibleTreeOfHarness(ScreenHarness& harness) {
    auto window = std::static_pointer_cast<Window>(harness.window().shared_from_this());
    WindowHost host(window, harness.application());
    QString out;
    describeAccessibleTree(*QAccessible::queryAccessibleInterface(&host.widget()), 0, out);
    return out.toStdString();
}

TEST(WeekScreenAccessibilityTest, TheWeekReadsItsTitleDaysAndEventRows) {
    ScreenHarness::Options options;
    options.locale = QStringLiteral("en_GB");
    WeekScreen screen(options);
    screen.addEvent(QStringLiteral("Standup"), WeekScreen::at(2026, 12, 7, 9),
                    WeekScreen::at(2026, 12, 7, 9, 30), false, nullptr, QStringLiteral("Room 2"));
    screen.addEvent(QStringLiteral("Lunch"), WeekScreen::at(2026, 12, 7, 12),
                    WeekScreen::at(2026, 12, 7, 13));
    screen.addEvent(QStringLiteral("Review"), WeekScreen::at(2026, 12, 7, 15),
                    WeekScreen::at(2026, 12, 7, 16));
    screen.launch();

    const std::string tree = accessibleTreeOfHarness(screen.harness);
    EXPECT_THAT(tree, HasSubstr("  Button Week 50, 2026\n"));
    EXPECT_THAT(tree, HasSubstr("  Pane Monday 7 December, 3 events\n"
                                "    Row 09:00 Standup, Room 2\n"
                                "    Row 12:00 Lunch\n"
                                "    Row 15:00 Review\n"));
    EXPECT_THAT(tree, HasSubstr("  Pane Tuesday 8 December, no events\n"));
    // Only the week in sight: the pages beside it are scrolled out.
    EXPECT_THAT(tree, Not(HasSubstr("30 November")));
    EXPECT_THAT(tree, Not(HasSubstr("does not lead back")));

    // Turning the page renames the title, which the screen reader hears of.
    QStringList renamed;
    screen.harness.window().setOnAccessibilityNotification(
        [&renamed](View& view, AccessibilityNotification notification) {
            if (notification == AccessibilityNotification::LabelChanged) {
                renamed << view.accessibilityDescription().label;
            }
        });
    screen.dragAcross(280, 40);
    screen.settle();
    screen.harness.window().setOnAccessibilityNotification(nullptr);
    EXPECT_EQ(renamed.join(QStringLiteral("; ")).toStdString(), "Week 51, 2026");
}

TEST(WeekScreenAccessibilityTest, TheEditorReadsItsTitleFieldAndButtons) {
    EditorScreen screen;
    screen.openEvent(screen.addEvent(QStringLiteral("Standup"), WeekScreen::at(2026, 12, 7, 9),
                                     WeekScreen::at(2026, 12, 7, 9, 30)));
    ASSERT_TRUE(screen.editorOnTop());

    const std::string tree = accessibleTreeOfHarness(screen.harness);
    EXPECT_THAT(tree, HasSubstr("Field New Event = Standup\n"));
    EXPECT_THAT(tree, HasSubstr("Button Cancel\n"));
    EXPECT_THAT(tree, HasSubstr("Button Done (disabled)\n"));
    EXPECT_THAT(tree, Not(HasSubstr("Week 50")));
}

} // namespace
