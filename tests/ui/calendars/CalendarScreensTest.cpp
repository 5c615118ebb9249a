#include "ui/editor/EditorTestSupport.h"

#include "QtPrinters.h"

#include "core/bus/VisibleCalendarsChangedEvent.h"
#include "core/events/CalendarGroup.h"
#include "core/settings/AppSettings.h"
#include "core/settings/DefaultCalendarSetting.h"
#include "kit/AlertView.h"
#include "kit/NavigationItem.h"
#include "kit/TableView.h"
#include "ui/calendars/CalendarCell.h"
#include "ui/calendars/ColorPickerDayView.h"
#include "ui/calendars/ColorPickerViewController.h"
#include "ui/calendars/ColorSlider.h"
#include "ui/calendars/DefaultCalendarViewController.h"
#include "ui/calendars/EditCalendarViewController.h"
#include "ui/calendars/VisibleCalendarsViewController.h"
#include "ui/editing/TextFieldTableViewCell.h"

#include <algorithm>

namespace {

class VisibilityAnnouncements final : public BusReceiver {
public:
    VisibilityAnnouncements() {
        ApplicationEventDispatcher::sharedInstance().registerTarget<VisibleCalendarsChangedEvent>(
            this, &VisibilityAnnouncements::heard);
    }
    ~VisibilityAnnouncements() override {
        ApplicationEventDispatcher::sharedInstance().unregisterAllEventsForTarget(this);
    }
    void heard() { ++count; }
    int count = 0;
};

std::string titlesOfDay(EventService& service, const Day& day) {
    QStringList titles;
    const EventList events = service.synchronousFindEventsForEntireDay(day);
    for (const auto& event : events.array()) {
        titles.append(event->title());
    }
    return titles.join(' ').toStdString();
}

// What another program reading the same file sees: each calendar with its colour and the titles
// of its events in December, "Title #rrggbb: Event Event; ...".
std::string seenInStoreFile(const QString& databasePath) {
    EKEventStore other(databasePath);
    QStringList calendars;
    for (const auto& calendar : other.calendars()) {
        QStringList titles;
        for (const auto& event : other.eventsMatchingPredicate(other.predicateForEvents(
                 WeekScreen::at(2026, 12, 1), WeekScreen::at(2027, 1, 1), {calendar}))) {
            titles.append(event->title());
        }
        titles.sort();
        const Color color = calendar->color().value_or(Color());
        calendars.append(QStringLiteral("%1 #%2%3%4:%5")
                             .arg(calendar->title())
                             .arg(qRound(color.red() * 255), 2, 16, QChar('0'))
                             .arg(qRound(color.green() * 255), 2, 16, QChar('0'))
                             .arg(qRound(color.blue() * 255), 2, 16, QChar('0'))
                             .arg(titles.isEmpty() ? QString() : QStringLiteral(" ") + titles.join(' ')));
    }
    return calendars.join(QStringLiteral("; ")).toStdString();
}

class CalendarScreensTest : public testing::Test {
protected:
    void openList() {
        list = VisibleCalendarsViewController::presentFrom(*screen.navigation);
        screen.settle();
    }
    std::shared_ptr<TableViewCell> cellAt(TableViewController& table, int section, int row) {
        return table.tableView()->cellForRowAtIndexPath(IndexPath(row, section));
    }
    void tapRow(TableViewController& table, int section, int row) {
        table.tableView()->scrollToRowAtIndexPath(IndexPath(row, section), TableView::ScrollPosition::None,
                                                  false);
        screen.settle();
        const auto cell = cellAt(table, section, row);
        ASSERT_TRUE(cell) << section << "/" << row;
        screen.tapView(*cell);
    }
    CalendarCell& listCell(int section, int row) {
        return dynamic_cast<CalendarCell&>(*cellAt(*list, section, row));
    }
    std::shared_ptr<ViewController> topScreen() { return list->navigationController()->topViewController(); }
    template <class Screen> std::shared_ptr<Screen> top() {
        return std::dynamic_pointer_cast<Screen>(topScreen());
    }
    QStringList sectionTitles() {
        QStringList titles;
        for (const auto& group : list->calendarsByAccount()) {
            titles.append(group->localizedTitle() + QStringLiteral(" ") +
                          QString::number(group->calendars().size()));
        }
        return titles;
    }
    // Three accounts: the local one with "Calendar" and "Work", a subscribed calendar, birthdays.
    void addThreeAccounts() {
        screen.addCalendar("Work", Color::fromRgb255(14, 97, 186));
        screen.addBirthday("Ada Lovelace", "1815-12-10");
        const QString path = screen.harness.dataDirectory() + "/holidays.ics";
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Text));
        QTextStream(&file) << "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\nBEGIN:VEVENT\r\n"
                              "UID:h1\r\nDTSTART;VALUE=DATE:20261224\r\nDTEND;VALUE=DATE:20261225\r\n"
                              "SUMMARY:Christmas Eve\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
        file.close();
        StoreError error;
        ASSERT_TRUE(screen.harness.eventStore().addSubscribedCalendar("Holidays", path, &error))
            << error.localizedDescription.toStdString();
    }
    void keepPicture(const QString& name) { SamplePictures::keep(screen.harness.render(), name); }
    std::string seen() { return seenInStoreFile(screen.harness.eventStore().databasePath()); }

    // The default calendar screen as the settings screen opens it, on a stack of its own
    // (`settings`) presented over the week.
    std::shared_ptr<DefaultCalendarViewController>
    openDefaultCalendarChoice(DefaultCalendarSetting& setting) {
        settings = std::make_shared<NavigationController>(std::make_shared<ViewController>());
        screen.navigation->presentModalViewController(settings, false);
        auto choice = DefaultCalendarViewController::create(&setting);
        settings->pushViewController(choice, false);
        screen.settle();
        return choice;
    }
    void chooseDefaultCalendar(const QString& title) {
        DefaultCalendarSetting setting(screen.harness.eventService());
        const auto choice = openDefaultCalendarChoice(setting);
        const auto& groups = choice->calendarsByAccount();
        ASSERT_FALSE(groups.empty());
        const auto& calendars = groups[0]->calendars();
        const auto found = std::find_if(calendars.begin(), calendars.end(), [&title](const auto& calendar) {
            return calendar->title() == title;
        });
        ASSERT_NE(found, calendars.end());
        tapRow(*choice, 0, static_cast<int>(found - calendars.begin()));
        EXPECT_EQ(settings->topViewController(), settings->viewControllers().front());
        settings->dismissModalViewControllerAnimated(false);
        screen.settle();
    }
    // Moves a colour slider's thumb by `dx` points, leaving the finger down unless `release`.
    void dragThumb(ColorSlider& slider, double dx, bool release = true) {
        const Rect track = slider.trackRectForBounds(slider.bounds());
        const Point thumb =
            slider
                .convertRectToView(slider.thumbRectForBounds(slider.bounds(), track, slider.value()), nullptr)
                .center();
        screen.harness.drag(thumb, thumb.offset(dx, 0), 0.3, 10, release);
    }
    std::vector<std::string> weekTitles() {
        std::vector<std::string> titles;
        for (const auto& day : screen.screen->weekViews()[1]->dayViewControllers()) {
            for (const auto& event : day->displayedEvents().array()) {
                titles.push_back(event->title().toStdString());
            }
        }
        return titles;
    }

    EditorScreen screen;
    std::shared_ptr<VisibleCalendarsViewController> list;
    std::shared_ptr<NavigationController> settings;
};

} // namespace

TEST_F(CalendarScreensTest, listGroupsAccountsAndShowsOrHidesCalendarsAtOnce) {
    addThreeAccounts();
    VisibilityAnnouncements announcements;
    openList();
    EXPECT_EQ(sectionTitles(), (QStringList{"On This Computer 2", "Subscribed Calendars 1", "Birthdays 1"}));
    EXPECT_EQ(listCell(2, 0).calendarTitleLabel().text(), "Birthdays");
    EXPECT_TRUE(listCell(0, 1).isChecked());
    keepPicture("calendar-list.png");

    // The default calendar stays visible.
    tapRow(*list, 0, 0);
    const auto alerts = AlertView::queuedAlerts();
    ASSERT_EQ(alerts.size(), 1U);
    EXPECT_EQ(alerts[0]->title(), "Default Calendar");
    EXPECT_EQ(alerts[0]->message(), "You cannot hide the default calendar (see settings).");
    screen.tapView(*alerts[0]->buttons().at(0));
    EXPECT_TRUE(list->hiddenCalendars().empty());
    EXPECT_EQ(announcements.count, 0);

    // Hiding "Work" changes the next fetch and is announced; showing it again undoes both.
    screen.addEvent("Review", WeekScreen::at(2026, 12, 9, 9), WeekScreen::at(2026, 12, 9, 10), false,
                    screen.harness.eventStore().calendars()[1]);
    tapRow(*list, 0, 1);
    EXPECT_EQ(announcements.count, 1);
    EXPECT_TRUE(listCell(0, 1).isFaded());
    EXPECT_FALSE(listCell(0, 1).isChecked());
    EXPECT_EQ(titlesOfDay(screen.harness.eventService(), Day(2026, 12, 9)), "");
    tapRow(*list, 0, 1);
    EXPECT_EQ(announcements.count, 2);
    EXPECT_FALSE(listCell(0, 1).isFaded());
    EXPECT_EQ(titlesOfDay(screen.harness.eventService(), Day(2026, 12, 9)), "Review");

    // Edit mode: only the local account takes new calendars.
    screen.tapView(*list->editButtonItem()->view());
    EXPECT_EQ(list->title(), "Edit Calendars");
    EXPECT_EQ(list->tableView()->numberOfRowsInSection(0), 3);
    EXPECT_EQ(list->tableView()->numberOfRowsInSection(1), 1);
    EXPECT_EQ(list->tableView()->numberOfRowsInSection(2), 1);
    keepPicture("calendar-list-editing.png");

    // A read-only calendar's form offers no delete section; a birthdays row opens nothing.
    tapRow(*list, 2, 0);
    EXPECT_EQ(topScreen(), list);
    tapRow(*list, 1, 0);
    auto form = top<EditCalendarViewController>();
    ASSERT_TRUE(form);
    EXPECT_FALSE(form->deleteEnabled());
    EXPECT_EQ(form->tableView()->numberOfSections(), 2);
}

TEST_F(CalendarScreensTest, formShowsItsColourAsAnOptionOrAsCustom) {
    // (14, 97, 186) is one step off "Blue" (14, 97, 185).
    addThreeAccounts();
    openList();
    screen.tapView(*list->editButtonItem()->view());
    tapRow(*list, 0, 1);
    auto form = top<EditCalendarViewController>();
    ASSERT_TRUE(form);
    EXPECT_TRUE(form->deleteEnabled());
    EXPECT_EQ(form->tableView()->numberOfSections(), 3);
    EXPECT_EQ(form->selectedColorIndex(), -1);
    ASSERT_EQ(form->tableView()->numberOfRowsInSection(1), 9);
    const auto custom = cellAt(*form, 1, 7);
    EXPECT_EQ(custom->textLabel().text(), "Custom Color");
    EXPECT_EQ(custom->accessoryType(), TableViewCell::AccessoryType::Checkmark);
    EXPECT_FALSE(form->doneButtonItem()->enabled());
    keepPicture("calendar-form.png");

    // Choosing "Red" moves the check and enables "Done".
    tapRow(*form, 1, 0);
    EXPECT_EQ(form->selectedColorIndex(), 0);
    EXPECT_EQ(cellAt(*form, 1, 0)->accessoryType(), TableViewCell::AccessoryType::Checkmark);
    EXPECT_EQ(cellAt(*form, 1, 7)->accessoryType(), TableViewCell::AccessoryType::None);
    EXPECT_TRUE(form->doneButtonItem()->enabled());
}

TEST_F(CalendarScreensTest, aHiddenCalendarBecomesTheDefaultOnlyAfterTheQuestionAndThenShows) {
    const auto work = screen.addCalendar("Work", Color(0.2, 0.4, 0.6));
    AppSettings::instance().storeHiddenCalendars({work});
    VisibilityAnnouncements announcements;
    DefaultCalendarSetting setting(screen.harness.eventService());
    const auto choice = openDefaultCalendarChoice(setting);
    EXPECT_TRUE(dynamic_cast<CalendarCell&>(*cellAt(*choice, 0, 0)).isChecked());
    EXPECT_TRUE(dynamic_cast<CalendarCell&>(*cellAt(*choice, 0, 1)).isFaded());

    for (const QString& answer : {QStringLiteral("No"), QStringLiteral("Yes")}) {
        tapRow(*choice, 0, 1);
        const auto alerts = AlertView::queuedAlerts();
        ASSERT_EQ(alerts.size(), 1U);
        EXPECT_EQ(alerts[0]->title(), "Calendar is hidden");
        screen.tapView(*alerts[0]->buttons().at(answer == "Yes" ? 1 : 0));
    }
    EXPECT_TRUE(AppSettings::instance().loadHiddenCalendars(screen.harness.eventService()).empty());
    EXPECT_TRUE(AppSettings::instance().loadDefaultCalendar(screen.harness.eventService())->isEqual(*work));
    EXPECT_EQ(announcements.count, 1);
    EXPECT_EQ(settings->topViewController(), settings->viewControllers().front());
}

TEST_F(CalendarScreensTest, newCalendarsTakeTheFirstFreeColourOrAnyWhenAllAreTaken) {
    const auto& options = EditCalendarViewController::colorOptions();
    EXPECT_EQ(EditCalendarViewController::newCalendarColor({}), options[4].color);
    EXPECT_EQ(EditCalendarViewController::newCalendarColor({options[4].color, options[3].color}),
              options[5].color);
    std::vector<Color> all;
    for (const auto& option : options) {
        all.push_back(option.color);
    }
    for (int attempt = 0; attempt < 20; ++attempt) {
        const Color color = EditCalendarViewController::newCalendarColor(all);
        EXPECT_NE(std::find(all.begin(), all.end(), color), all.end());
    }
}

TEST_F(CalendarScreensTest, movingTheHueSliderRedrawsTheOtherTwoTracks) {
    openList();
    screen.tapView(*list->editButtonItem()->view());
    tapRow(*list, 0, 0);
    auto form = top<EditCalendarViewController>();
    ASSERT_TRUE(form);
    tapRow(*form, 1, form->tableView()->numberOfRowsInSection(1) - 1);
    auto picker = top<ColorPickerViewController>();
    ASSERT_TRUE(picker);
    EXPECT_EQ(picker->colorPickerDayView()->frame().height(), 68.0);
    const int hue = picker->hueSlider()->trackImageDrawCount();
    const int saturation = picker->saturationSlider()->trackImageDrawCount();
    const int brightness = picker->brightnessSlider()->trackImageDrawCount();
    const Color before = picker->color();

    dragThumb(*picker->hueSlider(), 60, false);
    screen.harness.runUntilIdle();
    keepPicture("color-picker-drag.png");
    screen.harness.touchUp(screen.harness.window().bounds().center());
    screen.settle();
    EXPECT_EQ(picker->hueSlider()->trackImageDrawCount(), hue);
    EXPECT_GT(picker->saturationSlider()->trackImageDrawCount(), saturation);
    EXPECT_GT(picker->brightnessSlider()->trackImageDrawCount(), brightness);
    EXPECT_NE(picker->color(), before);
    EXPECT_EQ(picker->colorPickerDayView()->color(), picker->color());
}

TEST_F(CalendarScreensTest, theColourPickerLeftWithDoneUntouchedKeepsANamedColour) {
    openList();
    screen.tapView(*list->editButtonItem()->view());
    tapRow(*list, 0, 1);
    auto form = top<EditCalendarViewController>();
    ASSERT_TRUE(form);
    EXPECT_EQ(form->selectedColorIndex(), 4);
    screen.pressReturn();
    tapRow(*form, 1, form->tableView()->numberOfRowsInSection(1) - 1);
    auto picker = top<ColorPickerViewController>();
    ASSERT_TRUE(picker);
    screen.tapView(*picker->navigationItem()->rightBarButtonItem()->view());
    EXPECT_EQ(topScreen(), form);
    EXPECT_EQ(form->selectedColorIndex(), 4);
    EXPECT_FALSE(form->customColor());
}

// Every step through the screens, checked in a second store on the same file.
TEST_F(CalendarScreensTest, aCalendarAddedRecolouredUsedHiddenAndDeletedByTouches) {
    screen.addEvent("Dentist", WeekScreen::at(2026, 12, 10, 9), WeekScreen::at(2026, 12, 10, 10));
    openList();
    screen.tapView(*list->editButtonItem()->view());
    tapRow(*list, 0, 1);
    auto form = top<EditCalendarViewController>();
    ASSERT_TRUE(form);
    EXPECT_EQ(form->selectedColor(), EditCalendarViewController::colorOptions()[4].color);
    TextField& name = form->textFieldTableViewCell()->textField();
    EXPECT_TRUE(name.isFirstResponder());
    // The stand-in name is selected, so typing replaces it.
    screen.type("Garden");
    screen.pressReturn();
    tapRow(*form, 1, form->tableView()->numberOfRowsInSection(1) - 1);
    auto picker = top<ColorPickerViewController>();
    ASSERT_TRUE(picker);
    dragThumb(*picker->hueSlider(), -40);
    screen.settle();
    const Color picked = picker->color();
    screen.tapView(*picker->navigationItem()->rightBarButtonItem()->view());
    EXPECT_EQ(topScreen(), form);
    EXPECT_EQ(form->customColor(), picked);
    EXPECT_EQ(form->selectedColorIndex(), -1);
    screen.tapView(*form->doneButtonItem()->view());
    EXPECT_EQ(topScreen(), list);
    const std::string added = seen();
    EXPECT_EQ(added.substr(0, added.find(" #")), "Calendar");
    EXPECT_NE(added.find("Garden #"), std::string::npos) << added;
    const auto garden = screen.harness.eventService().calendarGroups()[0]->calendars()[1];
    ASSERT_EQ(garden->title(), "Garden");
    EXPECT_EQ(qRound(garden->color()->red() * 255), qRound(picked.red() * 255));
    EXPECT_EQ(qRound(garden->color()->green() * 255), qRound(picked.green() * 255));
    screen.tapView(*list->editButtonItem()->view());
    screen.tapView(*list->doneButtonItem()->view());

    // The new calendar takes the new events.
    chooseDefaultCalendar("Garden");
    EXPECT_TRUE(AppSettings::instance().loadDefaultCalendar(screen.harness.eventService())->isEqual(*garden));
    screen.tapDay(2);
    ASSERT_TRUE(screen.editorOnTop());
    screen.tapView(*screen.editor->titleField());
    screen.type("Planting");
    screen.tapView(*screen.editor->doneButtonItem()->view());
    const QString gardenPrefix = QString::fromStdString(added.substr(added.find("Garden #"), 14));
    EXPECT_EQ(seen(), "Calendar #" + added.substr(added.find('#') + 1, 6) + ": Dentist; " +
                          gardenPrefix.toStdString() + ": Planting");
    EXPECT_EQ(weekTitles(), (std::vector<std::string>{"Planting", "Dentist"}));

    // Hidden (once it is no longer the default), its event leaves the week.
    chooseDefaultCalendar("Calendar");
    openList();
    tapRow(*list, 0, 1);
    EXPECT_TRUE(listCell(0, 1).isFaded());
    screen.tapView(*list->doneButtonItem()->view());
    EXPECT_EQ(weekTitles(), (std::vector<std::string>{"Dentist"}));

    // Deleted after the question, with its event; the other calendar's event stays.
    openList();
    screen.tapView(*list->editButtonItem()->view());
    tapRow(*list, 0, 1);
    form = top<EditCalendarViewController>();
    ASSERT_TRUE(form);
    tapRow(*form, 2, 0);
    const auto sheet = screen.shownSheet();
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->title(), "Are you sure you want to delete this calendar? All events associated with the "
                              "calendar will also be deleted.");
    screen.chooseInSheet(*sheet, "Delete Calendar");
    EXPECT_EQ(topScreen(), list);
    EXPECT_EQ(seen(), "Calendar #" + added.substr(added.find('#') + 1, 6) + ": Dentist");
    EXPECT_EQ(list->tableView()->numberOfRowsInSection(0), 2);
}
