#include "QtPrinters.h"
#include "SamplePictures.h"
#include "core/calendar/DateUtilities.h"
#include "core/eventstore/EKCalendar.h"
#include "core/eventstore/EKEvent.h"
#include "core/eventstore/EKEventStore.h"
#include "core/eventstore/StoreError.h"
#include "harness/ScreenHarness.h"
#include "kit/BarButtonItem.h"
#include "kit/InterfaceOrientation.h"
#include "kit/KeyInput.h"
#include "kit/NavigationBar.h"
#include "kit/NavigationController.h"
#include "kit/NavigationItem.h"
#include "kit/PopoverController.h"
#include "kit/Window.h"
#include "ui/accounts/AccountsViewController.h"
#include "ui/settings/MultiValueSelectController.h"
#include "ui/tablet/IPadDateTitleTextButtonView.h"
#include "ui/tablet/IPadDateTitleView.h"
#include "ui/tablet/IPadDateTitleWeekButtonView.h"
#include "ui/tablet/IPadMenuViewController.h"
#include "ui/tablet/IPadSettingsViewController.h"
#include "ui/tablet/IPadVisibleCalendarsViewController.h"
#include "ui/tablet/IPadWeekScrollViewController.h"
#include "ui/week/DayViewController.h"
#include "ui/week/WeekViewController.h"
#include "ui/weekpicker/WeekPickerController.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The tablet's week screen in its navigation controller, launched as the executable launches it
// with --tablet.
class IPadMenuTest : public testing::Test {
protected:
    static QString rgb255(const Color& color) {
        return QStringLiteral("%1,%2,%3")
            .arg(std::round(color.red() * 255))
            .arg(std::round(color.green() * 255))
            .arg(std::round(color.blue() * 255));
    }

    static QString sizeText(Size size) {
        return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
    }

    static ScreenHarness::Options tabletOptions() {
        ScreenHarness::Options options;
        options.tablet = true;
        options.scale = 1.0;
        return options;
    }

    void SetUp() override {
        screen = IPadWeekScrollViewController::create();
        navigation = std::make_shared<NavigationController>(screen);
        harness.launch(navigation);
        settle();
    }

    void settle() {
        harness.runUntilIdle();
        harness.advance(2.0);
        harness.runUntilIdle();
    }

    void tapView(const View& view) {
        harness.tap(view.convertRectToView(view.bounds(), nullptr).center());
        settle();
    }

    void pressMenuButton() { tapView(*screen->actionButton()->view()); }

    bool menuShown() const {
        return screen->menuPopoverController() && screen->menuPopoverController()->isPopoverVisible();
    }

    // The screen on top of the popover's navigation controller, or none.
    template <class Screen> std::shared_ptr<Screen> popoverScreen() const {
        const auto content = std::dynamic_pointer_cast<NavigationController>(
            screen->menuPopoverController()->contentViewController());
        return content ? std::dynamic_pointer_cast<Screen>(content->topViewController()) : nullptr;
    }

    // Presses the menu button and taps the menu's button at `index`.
    void choose(size_t index) {
        pressMenuButton();
        ASSERT_TRUE(menuShown());
        const std::vector<std::shared_ptr<View>>& buttons =
            screen->iPadMenuViewController()->view()->subviews();
        ASSERT_GT(buttons.size(), index);
        tapView(*buttons[index]);
    }

    void tapRow(TableView& table, const IndexPath& indexPath) {
        table.scrollToRowAtIndexPath(indexPath, TableView::ScrollPosition::Middle, false);
        harness.runUntilIdle();
        const auto cell = table.cellForRowAtIndexPath(indexPath);
        ASSERT_TRUE(cell);
        tapView(*cell);
    }

    // How many rows of the displayed week show an event of this title.
    int shownEventsTitled(const QString& title) const {
        int count = 0;
        for (const auto& day : screen->weekViews()[1]->dayViewControllers()) {
            for (const auto& event : day->displayedEvents().events()) {
                count += event->title() == title ? 1 : 0;
            }
        }
        return count;
    }

    ScreenHarness harness{tabletOptions()};
    std::shared_ptr<IPadWeekScrollViewController> screen;
    std::shared_ptr<NavigationController> navigation;
};

TEST_F(IPadMenuTest, TheTabletWeekStaysUpright) {
    EXPECT_TRUE(screen->shouldAutorotateToInterfaceOrientation(InterfaceOrientation::Portrait));
    EXPECT_FALSE(screen->shouldAutorotateToInterfaceOrientation(InterfaceOrientation::LandscapeLeft));
    EXPECT_FALSE(screen->shouldAutorotateToInterfaceOrientation(InterfaceOrientation::LandscapeRight));
}

TEST_F(IPadMenuTest, TheTitleFacesTakeTheTabletColours) {
    const auto title = std::dynamic_pointer_cast<IPadDateTitleView>(screen->dateTitleView());
    ASSERT_TRUE(title);
    const auto* weekFace = dynamic_cast<IPadDateTitleWeekButtonView*>(title->weekButtonView().get());
    const auto* textFace = dynamic_cast<IPadDateTitleTextButtonView*>(title->textButtonView().get());
    ASSERT_TRUE(weekFace && textFace);
    EXPECT_EQ(rgb255(weekFace->getTextColor()), "113,120,128");
    EXPECT_EQ(rgb255(weekFace->getSelectedTextColor()), "235,235,235");
    EXPECT_EQ(rgb255(weekFace->getTextShadowColor()), "255,255,255");
    EXPECT_EQ(sizeText(weekFace->getTextShadowOffset()), "0x1");
    EXPECT_EQ(weekFace->getLineColor(), Color(0.5, 0.5, 0.5));
    EXPECT_EQ(rgb255(textFace->getTextColor()), "113,120,128");
    EXPECT_EQ(textFace->getSelectedTextColor(), Color(1.0 / 3, 1.0 / 3, 1.0 / 3));
    EXPECT_EQ(rgb255(textFace->getTextShadowColor()), "255,255,255");
    EXPECT_EQ(sizeText(textFace->getShadowOffset()), "0x1");
    EXPECT_EQ(rgb255(textFace->getLineColor()), "192,203,211") << "the phone's outline";

    NavigationBar& bar = *navigation->navigationBar();
    SamplePictures::keep(harness.render(bar), "tablet-title-week.png");
    title->setText(QStringLiteral("December 2026"));
    SamplePictures::keep(harness.render(bar), "tablet-title-text.png");
}

TEST_F(IPadMenuTest, TheMenuButtonTogglesTheMenuAndShowsItAgainAfterTheSettings) {
    pressMenuButton();
    ASSERT_TRUE(menuShown());
    const std::shared_ptr<PopoverController> popover = screen->menuPopoverController();
    const std::shared_ptr<IPadMenuViewController> menu = screen->iPadMenuViewController();
    EXPECT_EQ(popover->contentViewController(), menu);
    EXPECT_EQ(sizeText(popover->popoverContentSize()), "178x158");
    QStringList buttons;
    for (const auto& view : menu->view()->subviews()) {
        const auto button = std::dynamic_pointer_cast<Button>(view);
        const Rect frame = view->frame();
        buttons.append(QStringLiteral("%1 %2,%3 %4x%5")
                           .arg(button ? button->titleForState(ControlState::Normal) : QString())
                           .arg(frame.x())
                           .arg(frame.y())
                           .arg(frame.width())
                           .arg(frame.height()));
    }
    EXPECT_EQ(buttons, (QStringList{"Calendars 0,0 178x35", "Jump to Week 0,41 178x35", "Search 0,82 178x35",
                                    "Settings 0,123 178x35"}));
    EXPECT_EQ(menu->currentY(), 164.0);
    SamplePictures::keep(harness.render(), "tablet-menu.png");

    pressMenuButton();
    EXPECT_FALSE(menuShown()) << "a second press closes the menu";

    choose(3);
    ASSERT_TRUE(menuShown());
    EXPECT_EQ(screen->menuPopoverController(), popover);
    const auto settings = popoverScreen<IPadSettingsViewController>();
    ASSERT_TRUE(settings);
    EXPECT_FALSE(settings->navigationItem()->rightBarButtonItem()) << "no Done";
    const double tableHeight = settings->tableView()->contentSize().height();
    EXPECT_GT(tableHeight, 300.0);
    EXPECT_EQ(sizeText(settings->contentSizeForViewInPopover()), sizeText(Size(320, tableHeight)));
    EXPECT_EQ(sizeText(popover->popoverContentSize()),
              sizeText(Size(320, tableHeight + NavigationBar::height)));
    SamplePictures::keep(harness.render(), "tablet-menu-settings.png");

    // The weekend days changed in the popover reach the week behind it.
    TableView& table = *settings->tableView();
    int weekendSection = -1;
    for (int section = 0; section < settings->numberOfSectionsInTableView(table); ++section) {
        if (settings->titleForHeaderInSection(table, section) == "Weekend on") {
            weekendSection = section;
        }
    }
    ASSERT_GE(weekendSection, 0);
    tapRow(table, IndexPath(0, weekendSection));
    const auto options = popoverScreen<MultiValueSelectController>();
    ASSERT_TRUE(options);
    for (int index = 0; index < options->settingOptions().count(); ++index) {
        if (options->settingOptions().valueForIndex(index) == "Friday and Saturday") {
            tapRow(*options->tableView(), IndexPath(index, 0));
        }
    }
    ASSERT_EQ(popoverScreen<IPadSettingsViewController>(), settings) << "back in the settings";
    EXPECT_EQ(DateUtilities::weekday(screen->currentWeek().date()), 1) << "the week begins on Sunday";
    EXPECT_EQ(sizeText(popover->popoverContentSize()),
              sizeText(Size(320, settings->tableView()->contentSize().height() + NavigationBar::height)));

    pressMenuButton();
    EXPECT_FALSE(menuShown());
    pressMenuButton();
    ASSERT_TRUE(menuShown());
    EXPECT_EQ(popover->contentViewController(), menu);
    EXPECT_EQ(sizeText(popover->popoverContentSize()), "178x158");

    KeyInput escape;
    escape.key = Qt::Key_Escape;
    EXPECT_TRUE(harness.window().keyInput(escape));
    settle();
    EXPECT_FALSE(menuShown()) << "Escape closes the menu";
}

TEST_F(IPadMenuTest, CalendarsThenSettingsInOnePopoverAndHidingACalendarRedrawsAtOnce) {
    EKEventStore& store = harness.eventStore();
    const std::shared_ptr<EKCalendar> work = EKCalendar::calendarWithEventStore(store);
    work->setTitle(QStringLiteral("Work"));
    work->setColor(Color::fromRgb255(14, 97, 185));
    StoreError error;
    ASSERT_TRUE(store.saveCalendar(work, true, &error));
    const std::shared_ptr<EKEvent> event = EKEvent::eventWithEventStore(store);
    event->setTitle(QStringLiteral("Review"));
    event->setStartDate(DateUtilities::dateWithYear(2026, 12, 9).addingTimeInterval(9 * 3600.0));
    event->setEndDate(event->startDate().addingTimeInterval(3600));
    event->setCalendar(work);
    ASSERT_TRUE(store.saveEvent(event, EKSpan::ThisEvent, &error));
    settle();
    ASSERT_EQ(shownEventsTitled("Review"), 1);

    choose(0);
    const auto calendars = popoverScreen<IPadVisibleCalendarsViewController>();
    ASSERT_TRUE(calendars);
    const std::shared_ptr<NavigationItem>& item = calendars->navigationItem();
    EXPECT_FALSE(item->rightBarButtonItem()) << "no Done";
    EXPECT_EQ(item->leftBarButtonItem(), calendars->editButtonItem());
    EXPECT_EQ(sizeText(screen->menuPopoverController()->popoverContentSize()),
              sizeText(Size(320, calendars->tableView()->contentSize().height() + NavigationBar::height)));
    SamplePictures::keep(harness.render(), "tablet-menu-calendars.png");

    std::optional<IndexPath> workRow;
    TableView& table = *calendars->tableView();
    for (int section = 0; section < calendars->numberOfSectionsInTableView(table); ++section) {
        for (int row = 0; row < calendars->numberOfRowsInSection(table, section); ++row) {
            const auto calendar = calendars->calendarAtIndexPath(IndexPath(row, section));
            if (calendar && calendar->title() == "Work") {
                workRow = IndexPath(row, section);
            }
        }
    }
    ASSERT_TRUE(workRow);
    const auto cell = table.cellForRowAtIndexPath(*workRow);
    ASSERT_TRUE(cell);
    harness.tap(cell->convertRectToView(cell->bounds(), nullptr).center());
    harness.runUntilIdle();
    EXPECT_EQ(shownEventsTitled("Review"), 0) << "the weeks are read again at once";
    settle();

    tapView(*calendars->editButtonItem()->view());
    EXPECT_TRUE(calendars->editing());
    EXPECT_FALSE(item->rightBarButtonItem()) << "no Done in edit mode either";
    tapView(*calendars->editButtonItem()->view());
    EXPECT_FALSE(calendars->editing());
    EXPECT_FALSE(item->rightBarButtonItem());

    pressMenuButton();
    EXPECT_FALSE(menuShown());
    choose(3);
    EXPECT_TRUE(popoverScreen<IPadSettingsViewController>()) << "the settings in the same popover";
    EXPECT_TRUE(menuShown());
}

TEST_F(IPadMenuTest, TheAccountsRowOfTheSettingsPushesTheAccountsInThePopover) {
    choose(3);
    const auto settings = popoverScreen<IPadSettingsViewController>();
    ASSERT_TRUE(settings);
    TableView& table = *settings->tableView();
    const int other = settings->numberOfSectionsInTableView(table) - 2;
    ASSERT_EQ(settings->titleForHeaderInSection(table, other), "Other");
    const int last = settings->numberOfRowsInSection(table, other) - 1;
    ASSERT_EQ(settings->cellForRowAtIndexPath(table, IndexPath(last, other))->textLabel().text(), "Accounts");
    tapRow(table, IndexPath(last, other));
    ASSERT_TRUE(menuShown());
    const auto accounts = popoverScreen<AccountsViewController>();
    ASSERT_TRUE(accounts);
    SamplePictures::keep(harness.render(), "tablet-accounts.png");
}

TEST_F(IPadMenuTest, JumpToWeekOpensTheWeekPickerAndClosesThePopover) {
    choose(1);
    EXPECT_FALSE(menuShown());
    ASSERT_TRUE(screen->weekPickerController());
    EXPECT_TRUE(screen->weekPickerController()->visible());
}

} // namespace
