#include "QtPrinters.h"
#include "app/OrvellaApp.h"
#include "core/events/EventService.h"
#include "core/hints/Hint.h"
#include "core/settings/AppSettings.h"
#include "foundation/UserDefaults.h"
#include "kit/BarButtonItem.h"
#include "kit/Bundle.h"
#include "kit/ImageView.h"
#include "kit/Label.h"
#include "kit/NavigationItem.h"
#include "ui/calendars/DefaultCalendarViewController.h"
#include "ui/settings/KeyboardShortcutsViewController.h"
#include "ui/settings/MultiValueSelectController.h"
#include "ui/settings/SettingsViewController.h"
#include "ui/settings/ValueCell.h"
#include "ui/week/GlobalActionsListView.h"
#include "ui/week/WeekScreenTestSupport.h"

#include <gtest/gtest.h>

namespace {

// The settings screen opened from the week screen's actions menu, driven by taps.
class SettingsScreenTest : public testing::Test {
protected:
    void SetUp() override { week.launch(); }
    void TearDown() override { Bundle::setMain(std::nullopt); }

    std::shared_ptr<SettingsViewController> openSettings() {
        week.screen->clickedButtonAtIndex(static_cast<int>(GlobalActionsListView::Action::Settings));
        week.settle();
        navigation = std::dynamic_pointer_cast<NavigationController>(week.screen->modalViewController());
        EXPECT_TRUE(navigation);
        return navigation
                   ? std::dynamic_pointer_cast<SettingsViewController>(navigation->viewControllers().front())
                   : nullptr;
    }

    // Each section as "Header: row | row", a row being its text, "✓" when checked and ">" when
    // it opens a list.
    static QStringList describe(SettingsViewController& settings) {
        TableView& table = *settings.tableView();
        QStringList sections;
        for (int section = 0; section < settings.numberOfSectionsInTableView(table); ++section) {
            QStringList rows;
            for (int row = 0; row < settings.numberOfRowsInSection(table, section); ++row) {
                const auto cell = settings.cellForRowAtIndexPath(table, IndexPath(row, section));
                QString text = cell->textLabel().text();
                if (cell->accessoryType() == TableViewCell::AccessoryType::Checkmark) {
                    text += " ✓";
                }
                if (cell->accessoryType() == TableViewCell::AccessoryType::DisclosureIndicator) {
                    text += " >";
                }
                rows.append(text);
            }
            sections.append(settings.titleForHeaderInSection(table, section) + ": " + rows.join(" | "));
        }
        return sections;
    }

    static int sectionTitled(SettingsViewController& settings, const QString& title) {
        TableView& table = *settings.tableView();
        for (int section = 0; section < settings.numberOfSectionsInTableView(table); ++section) {
            if (settings.titleForHeaderInSection(table, section) == title) {
                return section;
            }
        }
        ADD_FAILURE() << "no section " << title.toStdString();
        return 0;
    }

    void tapRow(TableView& table, const IndexPath& indexPath) {
        table.scrollToRowAtIndexPath(indexPath, TableView::ScrollPosition::Middle, false);
        week.harness.runUntilIdle();
        const auto cell = table.cellForRowAtIndexPath(indexPath);
        ASSERT_TRUE(cell);
        week.tapView(*cell);
    }

    std::shared_ptr<MultiValueSelectController> openOptions(SettingsViewController& settings,
                                                            const QString& title) {
        tapRow(*settings.tableView(), IndexPath(0, sectionTitled(settings, title)));
        return std::dynamic_pointer_cast<MultiValueSelectController>(navigation->topViewController());
    }

    // Opens the setting's list and taps the option.
    void choose(SettingsViewController& settings, const QString& title, const QString& option) {
        const std::shared_ptr<MultiValueSelectController> options = openOptions(settings, title);
        ASSERT_TRUE(options) << title.toStdString();
        const SettingOptions& list = options->settingOptions();
        for (int index = 0; index < list.count(); ++index) {
            if (list.valueForIndex(index) == option) {
                tapRow(*options->tableView(), IndexPath(index, 0));
                EXPECT_EQ(navigation->topViewController(), navigation->viewControllers().front());
                return;
            }
        }
        ADD_FAILURE() << "no option " << option.toStdString();
    }

    WeekScreen week;
    std::shared_ptr<NavigationController> navigation;
};

TEST_F(SettingsScreenTest, TheListShowsTheStoredSettingsAndTheVersion) {
    const std::shared_ptr<SettingsViewController> settings = openSettings();
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->title(), "Settings");
    EXPECT_EQ(
        describe(*settings),
        (QStringList{"Default Alert: None >", "Week Numbering Method: USA >",
                     "Back to Current Week: after 15 minutes >", "Time Zone: Berlin, Europe >",
                     "Weekend on: Saturday and Sunday >",
                     "Other: Hints Enabled ✓ | Reminders When Closed ✓ | Keyboard Shortcuts > | Accounts >",
                     ": "}));
    TableView& table = *settings->tableView();
    const int last = settings->numberOfSectionsInTableView(table) - 1;
    EXPECT_EQ(settings->titleForFooterInSection(table, last),
              QStringLiteral("Orvella %1 (build %2)").arg(ORVELLA_VERSION, Bundle::main().buildVersion()));
    EXPECT_EQ(settings->heightForFooterInSection(table, last), 35.0);
    EXPECT_EQ(settings->heightForHeaderInSection(table, last), 0.1);
    EXPECT_EQ(settings->heightForHeaderInSection(table, 0), 40.0);
    SamplePictures::keep(week.harness.render(), "settings.png");
    table.scrollToRowAtIndexPath(IndexPath(0, last - 1), TableView::ScrollPosition::Top, false);
    SamplePictures::keep(week.harness.render(), "settings-end.png");

    Bundle::setMain(Bundle("Orvella", "2.1", ""));
    EXPECT_EQ(settings->titleForFooterInSection(table, last), "Orvella 2.1");

    // With a second calendar that takes events, the default calendar comes first, with its dot.
    week.addCalendar("Work", Color::fromRgb255(200, 40, 40));
    const auto withCalendarsScreen = std::make_shared<SettingsViewController>(week.harness.eventService());
    SettingsViewController& withCalendars = *withCalendarsScreen;
    withCalendars.reloadAndDeselect(false);
    const QString defaultTitle = week.harness.eventStore().defaultCalendarForNewEvents()->title();
    EXPECT_EQ(describe(withCalendars).front(), "Default Calendar: " + defaultTitle + " >");
    EXPECT_FALSE(withCalendars.cellForRowAtIndexPath(*withCalendars.tableView(), IndexPath(0, 0))
                     ->imageView()
                     .image()
                     .isNull());

    // Its row opens the choice among the calendars.
    week.screen->dismissModalViewControllerAnimated(false);
    const std::shared_ptr<SettingsViewController> reopened = openSettings();
    ASSERT_EQ(describe(*reopened).front(), "Default Calendar: " + defaultTitle + " >");
    tapRow(*reopened->tableView(), IndexPath(0, 0));
    EXPECT_TRUE(std::dynamic_pointer_cast<DefaultCalendarViewController>(navigation->topViewController()));
    navigation->popViewControllerAnimated(false);
    week.settle();

    week.tapView(*reopened->navigationItem()->rightBarButtonItem()->view());
    EXPECT_FALSE(week.screen->modalViewController()) << "Done closes the screen";
}

TEST_F(SettingsScreenTest, TheSecondAlertFollowsTheFirst) {
    const std::shared_ptr<SettingsViewController> settings = openSettings();
    choose(*settings, "Default Alert", "15 minutes before");
    EXPECT_EQ(describe(*settings).mid(0, 2),
              (QStringList{"Default Alert: 15 minutes before >", "Default 2nd Alert: None >"}));
    EXPECT_FALSE(settings->tableView()->indexPathForSelectedRow()) << "the selection fades out";
    choose(*settings, "Default 2nd Alert", "1 hour before");
    EXPECT_EQ(AppSettings::instance().defaultAlarmsAsEKAlarms().size(), 2u);

    choose(*settings, "Default Alert", "None");
    EXPECT_EQ(describe(*settings).mid(0, 2),
              (QStringList{"Default Alert: None >", "Week Numbering Method: USA >"}));
    EXPECT_TRUE(AppSettings::instance().defaultAlarmsAsEKAlarms().empty());
    choose(*settings, "Default Alert", "1 day before");
    EXPECT_EQ(describe(*settings).at(1), "Default 2nd Alert: 1 hour before >") << "the second one was kept";
}

TEST_F(SettingsScreenTest, TheHintsRowFlipsAtOnce) {
    const std::shared_ptr<SettingsViewController> settings = openSettings();
    TableView& table = *settings->tableView();
    const IndexPath hintsRow(0, sectionTitled(*settings, "Other"));
    const auto rowLooks = [&] {
        const auto cell = settings->cellForRowAtIndexPath(table, hintsRow);
        return cell->textLabel().textColor() == Color(0, 0, 0) &&
               cell->accessoryType() == TableViewCell::AccessoryType::Checkmark;
    };
    ASSERT_TRUE(rowLooks());
    tapRow(table, hintsRow);
    EXPECT_FALSE(rowLooks());
    EXPECT_EQ(table.cellForRowAtIndexPath(hintsRow)->accessoryType(), TableViewCell::AccessoryType::None);
    EXPECT_FALSE(Hint::hintsEnabled());
    EXPECT_EQ(UserDefaults::standardUserDefaults().stringForKey("hintsEnabled"), "DISABLED");
    tapRow(table, hintsRow);
    EXPECT_TRUE(rowLooks());
    EXPECT_TRUE(Hint::hintsEnabled());
}

TEST_F(SettingsScreenTest, TheOptionListOpensAtTheCurrentChoice) {
    const std::shared_ptr<SettingsViewController> settings = openSettings();
    const std::shared_ptr<MultiValueSelectController> zones = openOptions(*settings, "Time Zone");
    ASSERT_TRUE(zones);
    EXPECT_EQ(zones->title(), "Time Zone");
    TableView& table = *zones->tableView();
    const IndexPath current(zones->settingOptions().indexForKey(), 0);
    ASSERT_GT(current.row(), 20) << "far down the list";
    const Rect row = table.rectForRowAtIndexPath(current);
    EXPECT_NEAR(row.center().y() - table.contentOffset().y(), table.bounds().height() / 2, 1.0);
    const auto cell = std::dynamic_pointer_cast<ValueCell>(table.cellForRowAtIndexPath(current));
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->valueTextLabel().text(), "Berlin, Europe");
    EXPECT_EQ(cell->accessoryType(), TableViewCell::AccessoryType::Checkmark);
    EXPECT_EQ(cell->valueTextLabel().frame().width(), 255.0);
    SamplePictures::keep(week.harness.render(), "time-zone-list.png");
    navigation->popViewControllerAnimated(false);

    choose(*settings, "Time Zone", "Tokyo, Asia");
    EXPECT_EQ(describe(*settings).at(3), "Time Zone: Tokyo, Asia >");
    EXPECT_EQ(TimeZone::defaultTimeZone().name(), "Asia/Tokyo");
    EXPECT_EQ(week.screen->currentWeek(), Week::currentWeek());
}

TEST_F(SettingsScreenTest, ChangesReachTheWeekScreen) {
    const std::shared_ptr<SettingsViewController> settings = openSettings();
    choose(*settings, "Week Numbering Method", "International (ISO-8601)");
    EXPECT_EQ(Week::weekNumberMethod(), 0);
    choose(*settings, "Weekend on", "Friday and Saturday");
    EXPECT_EQ(Week::firstWeekdayOfWeek(), 1);
    for (const Week& page : week.pageWeeks()) {
        EXPECT_EQ(DateUtilities::weekday(page.date()), 1) << "the pages begin on Sunday";
    }
    choose(*settings, "Back to Current Week", "after 1 minute");
    week.screen->dismissModalViewControllerAnimated(false);
    week.screen->jumpToWeek(Week::currentWeek().addWeeks(2));
    week.settle();
    week.harness.application().resignActive();
    week.harness.advance(90);
    week.harness.application().becomeActive();
    week.settle();
    EXPECT_EQ(week.screen->currentWeek(), Week::currentWeek()) << "back after more than a minute";
}

} // namespace

TEST_F(SettingsScreenTest, KeyboardShortcutsOpenFromOtherAsAList) {
    const std::shared_ptr<SettingsViewController> settings = openSettings();
    tapRow(*settings->tableView(), IndexPath(2, sectionTitled(*settings, "Other")));
    week.settle();
    const auto shortcuts =
        std::dynamic_pointer_cast<KeyboardShortcutsViewController>(navigation->topViewController());
    ASSERT_TRUE(shortcuts);
    TableView& table = *shortcuts->tableView();
    ASSERT_EQ(shortcuts->numberOfRowsInSection(table, 0), static_cast<int>(KeyboardShortcuts::all().size()));
    const auto undo = shortcuts->cellForRowAtIndexPath(table, IndexPath(8, 0));
    EXPECT_EQ(undo->detailTextLabel().text(), "Ctrl + Z");
    SamplePictures::keep(week.harness.render(), "keyboard-shortcuts.png");
}
