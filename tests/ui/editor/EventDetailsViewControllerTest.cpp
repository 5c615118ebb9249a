#include "ui/editor/EditorTestSupport.h"
#include "SamplePictures.h"

#include "core/calendar/DateTimeFormatter.h"
#include "core/hints/Hint.h"
#include "kit/AlertView.h"
#include "kit/BarButtonItem.h"
#include "kit/DatePicker.h"
#include "kit/Device.h"
#include "kit/Label.h"
#include "kit/StringDrawing.h"
#include "kit/TextField.h"
#include "ui/copymove/CopyMoveEventMode.h"
#include "ui/daybox/EventView.h"
#include "ui/daybox/SelectedBackgroundView.h"
#include "ui/editor/AllDaySwitch.h"
#include "ui/editor/DeleteButton.h"
#include "ui/editor/InsetTextField.h"
#include "ui/eventkit/EventEditFormController.h"

#include <QCoreApplication>
#include <QTranslator>

#include <cmath>

namespace {

// Gives the "Date" caption a text of its own.
class DateCaptionTranslator final : public QTranslator {
public:
    explicit DateCaptionTranslator(QString caption) : m_caption(std::move(caption)) {}
    QString translate(const char* context, const char* sourceText, const char*, int) const override {
        return QString::fromUtf8(context) == "Orvella" && QString::fromUtf8(sourceText) == "Date" ? m_caption
                                                                                                  : QString();
    }
    bool isEmpty() const override { return false; }

private:
    QString m_caption;
};

// A text that is 52 points wide once rounded up to whole points, as captions are fitted.
QString captionOfWidth52(const Font& font) {
    for (int wide = 0; wide < 4; ++wide) {
        for (int narrow = 0; narrow < 12; ++narrow) {
            for (int middle = 0; middle < 4; ++middle) {
                const QString text = QString(wide, 'W') + QString(middle, 'e') + QString(narrow, 'i');
                if (std::ceil(StringDrawing::sizeWithFont(text, font).width()) == 52.0) {
                    return text;
                }
            }
        }
    }
    return {};
}

QString editorFrameText(const View& view) {
    return QStringLiteral("%1/%2").arg(view.frame().x()).arg(view.frame().width());
}

class EventDetailsViewControllerTest : public testing::Test {
protected:
    double pickerY() { return screen.editor->timePicker()->frame().y(); }
    std::shared_ptr<Hint> hint(const QString& identifier) { return Hint::hintByIdentifier(identifier); }
    QStringList titlesOn(const Day& day) {
        QStringList titles;
        const EventList events = screen.harness.eventService().synchronousFindEventsForEntireDay(day);
        for (const auto& event : events.events()) {
            titles.append(event->title());
        }
        return titles;
    }

    EditorScreen screen;
};

} // namespace

TEST(EventDetailsLayoutTest, wideCaptionsPushTheInputsRightAndNarrowThem) {
    ScreenHarness harness;
    auto plain = std::make_shared<EventDetailsViewController>();
    plain->view();
    EXPECT_EQ(editorFrameText(*plain->titleField()), "62/245");
    EXPECT_EQ(editorFrameText(*plain->timeButton()), "62/91");
    EXPECT_EQ(editorFrameText(*plain->moveButton()), "62/245");

    const QString caption = captionOfWidth52(plain->dateLabel()->font());
    ASSERT_FALSE(caption.isEmpty());
    DateCaptionTranslator translator(caption);
    ASSERT_TRUE(QCoreApplication::installTranslator(&translator));
    auto wide = std::make_shared<EventDetailsViewController>();
    wide->view();
    QCoreApplication::removeTranslator(&translator);
    EXPECT_DOUBLE_EQ(wide->dateLabel()->frame().width(), 52.0);
    EXPECT_EQ(editorFrameText(*wide->moveButton()), "74/233");
    EXPECT_EQ(editorFrameText(*wide->timeButton()), "74/79");
    EXPECT_EQ(editorFrameText(*wide->titleField()), "74/233");
    // The all-day switch fits its title and keeps its right edge.
    EXPECT_DOUBLE_EQ(wide->allDaySwitch()->frame().maxX(), 307.0);
}

TEST_F(EventDetailsViewControllerTest, allDayHidesTheTimeRowAndRaisesTheKeyboardAndOffOffersNoon) {
    const auto meeting =
        screen.addEvent("Meeting", WeekScreen::at(2026, 12, 8, 9, 30), WeekScreen::at(2026, 12, 8, 10));
    screen.openEvent(meeting);
    ASSERT_TRUE(screen.editorOnTop());
    EventDetailsViewController& editor = *screen.editor;
    EXPECT_EQ(editor.title(), "Edit Event");
    EXPECT_DOUBLE_EQ(pickerY(), 200.0);
    EXPECT_EQ(editor.timeButton()->currentTitle(),
              DateTimeFormatter::instance().formatTime(WeekScreen::at(2026, 12, 8, 9, 30)));
    EXPECT_FALSE(editor.doneButtonItem()->enabled());
    EXPECT_FALSE(editor.deleteButton()->hidden());

    screen.tapView(*editor.allDaySwitch());
    EXPECT_TRUE(editor.allDaySwitch()->isOn());
    for (const View* part : {static_cast<const View*>(editor.timeLabel().get()),
                             static_cast<const View*>(editor.timeButton().get()),
                             static_cast<const View*>(editor.orLabel().get())}) {
        EXPECT_DOUBLE_EQ(part->alpha(), 0.0);
    }
    EXPECT_DOUBLE_EQ(pickerY(), 416.0);
    EXPECT_TRUE(editor.titleField()->isFirstResponder());
    EXPECT_TRUE(screen.harness.window().keyboard().isShown());
    EXPECT_TRUE(editor.doneButtonItem()->enabled());

    screen.tapView(*editor.allDaySwitch());
    EXPECT_DOUBLE_EQ(editor.timeButton()->alpha(), 1.0);
    EXPECT_DOUBLE_EQ(pickerY(), 200.0);
    EXPECT_FALSE(editor.titleField()->isFirstResponder());
    screen.navigation->popViewControllerAnimated(false);
    screen.settle();

    // An all-day event offers noon of its day when switched off.
    const auto holiday =
        screen.addEvent("Holiday", WeekScreen::at(2026, 12, 10), WeekScreen::at(2026, 12, 11), true);
    screen.openEvent(holiday);
    EXPECT_TRUE(editor.allDaySwitch()->isOn());
    EXPECT_DOUBLE_EQ(pickerY(), 416.0);
    EXPECT_TRUE(editor.titleField()->isFirstResponder());
    screen.tapView(*editor.allDaySwitch());
    EXPECT_DOUBLE_EQ(pickerY(), 200.0);
    EXPECT_EQ(editor.timePicker()->date(), WeekScreen::at(2026, 12, 10, 12));
    EXPECT_EQ(editor.timeButton()->currentTitle(),
              DateTimeFormatter::instance().formatTime(WeekScreen::at(2026, 12, 10, 12)));
    screen.tapView(*screen.editor->doneButtonItem()->view());
    const auto saved = screen.harness.eventStore().eventWithIdentifier(holiday->eventIdentifier());
    EXPECT_FALSE(saved->allDay());
    EXPECT_EQ(saved->startDate(), WeekScreen::at(2026, 12, 10, 12));
    EXPECT_EQ(saved->endDate(), WeekScreen::at(2026, 12, 10, 13));

    // Noon on the wall clock, also on the day the clocks go forward.
    screen.navigation->popViewControllerAnimated(false);
    screen.settle();
    const auto spring =
        screen.addEvent("Spring", WeekScreen::at(2027, 3, 28), WeekScreen::at(2027, 3, 29), true);
    screen.openEvent(spring);
    EXPECT_EQ(DateTimeFormatter::instance().formatTime(editor.timePicker()->date()), "12:00\u202fPM");
}

TEST_F(EventDetailsViewControllerTest, movingOnlyTheDayTeachesQuickMoveAndADayAndTextChangeDoesNot) {
    const auto event =
        screen.addEvent("Dentist", WeekScreen::at(2026, 12, 8, 15), WeekScreen::at(2026, 12, 8, 16));
    const int hintsBefore = hint("quickMoveHint")->triggerCount();
    screen.openEvent(event);
    screen.tapView(*screen.editor->moveButton());
    EXPECT_FALSE(screen.editorOnTop());
    EXPECT_TRUE(CopyMoveEventMode::sharedInstance().moveActivated());
    screen.tapDay(3);
    ASSERT_TRUE(screen.editorOnTop());
    EXPECT_FALSE(CopyMoveEventMode::sharedInstance().activated());
    EXPECT_TRUE(screen.editor->dateChanged());
    EXPECT_TRUE(screen.editor->moveButton()->currentTitle().contains("December 10"));
    screen.tapView(*screen.editor->doneButtonItem()->view());
    EXPECT_EQ(screen.reports->lines.join(", "), "toggle, toggle, saved new=0 spans=0, moved");
    EXPECT_EQ(hint("quickMoveHint")->triggerCount(), hintsBefore + 1);
    EXPECT_EQ(screen.harness.eventStore().eventWithIdentifier(event->eventIdentifier())->startDate(),
              WeekScreen::at(2026, 12, 10, 15));
    const auto& thursday = screen.screen->weekViews()[1]->dayViewControllers()[3];
    EXPECT_TRUE(thursday->displayedEvents().contains(*event));

    screen.reports->lines.clear();
    screen.openEvent(screen.harness.eventStore().eventWithIdentifier(event->eventIdentifier()));
    screen.tapView(*screen.editor->moveButton());
    screen.tapDay(4);
    screen.tapView(*screen.editor->titleField());
    screen.type("s");
    screen.tapView(*screen.editor->doneButtonItem()->view());
    EXPECT_EQ(screen.reports->lines.join(", "), "toggle, toggle, saved new=0 spans=0, moved");
    EXPECT_EQ(hint("quickMoveHint")->triggerCount(), hintsBefore + 1);
    const auto moved = screen.harness.eventStore().eventWithIdentifier(event->eventIdentifier());
    EXPECT_EQ(moved->title(), "Dentists");
    EXPECT_EQ(moved->startDate(), WeekScreen::at(2026, 12, 11, 15));
}

TEST_F(EventDetailsViewControllerTest, cancelInTheSaveChoiceKeepsTheEditorAndSavingAsksAgain) {
    const auto series = screen.addWeeklyEvent("Yoga", WeekScreen::at(2026, 12, 8, 18));
    screen.openEvent(series);
    screen.tapView(*screen.editor->titleField());
    screen.type("!");
    screen.pressReturn();
    const std::shared_ptr<ActionSheet> choice = screen.editor->saveChoice();
    ASSERT_TRUE(choice && choice->isVisible());
    EXPECT_EQ(choice->title(), "This is a repeating event.");
    EXPECT_EQ(choice->numberOfButtons(), 3);
    screen.chooseInSheet(*choice, "Cancel");
    EXPECT_TRUE(screen.editorOnTop());
    EXPECT_FALSE(screen.editor->doneEditing());
    EXPECT_TRUE(screen.reports->lines.isEmpty());
    EXPECT_EQ(screen.harness.eventStore().eventWithIdentifier(series->eventIdentifier())->title(), "Yoga");

    screen.tapView(*screen.editor->doneButtonItem()->view());
    ASSERT_TRUE(choice->isVisible());
    screen.chooseInSheet(*choice, "Save for future events");
    EXPECT_FALSE(screen.editorOnTop());
    EXPECT_EQ(screen.reports->lines.join(", "), "saved new=0 spans=1");
    const EventList week = screen.harness.eventService().findEventsInWeek(Week::currentWeek().addWeeks(1));
    ASSERT_EQ(week.size(), 1);
    EXPECT_EQ(week.array()[0]->title(), "Yoga!");
}

TEST_F(EventDetailsViewControllerTest, theFullEditorDeletingTwoOccurrencesOneAfterTheOtherReportsEach) {
    screen.addWeeklyEvent("Call", WeekScreen::at(2026, 12, 7, 11));
    EKEventStore& store = screen.harness.eventStore();
    const auto occurrences = store.eventsMatchingPredicate(store.predicateForEvents(
        WeekScreen::at(2026, 12, 7), WeekScreen::at(2026, 12, 21), store.calendars()));
    ASSERT_EQ(occurrences.size(), 2u);
    for (const auto& occurrence : occurrences) {
        screen.openEvent(occurrence);
        screen.tapView(*screen.editor->moreButton());
        const std::shared_ptr<EKEventEditViewController> full = screen.editor->nativeEditor();
        ASSERT_TRUE(full);
        EXPECT_EQ(screen.editor->modalViewController(), full);
        full->form().deleteEvent();
        screen.settle();
        const std::shared_ptr<ActionSheet> sheet = screen.shownSheet();
        ASSERT_TRUE(sheet);
        screen.chooseInSheet(*sheet, "Delete this event only");
        screen.settle();
        EXPECT_TRUE(screen.editor->doneEditing());
        EXPECT_EQ(screen.navigation->topViewController(), screen.screen);
    }
    EXPECT_EQ(screen.reports->lines.join(", "), "deleted recurring=1, deleted recurring=1");
    EXPECT_TRUE(store
                    .eventsMatchingPredicate(store.predicateForEvents(
                        WeekScreen::at(2026, 12, 7), WeekScreen::at(2026, 12, 21), store.calendars()))
                    .empty());
}

TEST_F(EventDetailsViewControllerTest, cancellingTheFullEditorForANewEventKeepsTheTextWithAFreshEvent) {
    screen.tapDay(2);
    ASSERT_TRUE(screen.editorOnTop());
    EXPECT_EQ(screen.editor->title(), "Add Event");
    EXPECT_TRUE(screen.editor->deleteButton()->hidden());
    EXPECT_DOUBLE_EQ(pickerY(), 200.0);
    EXPECT_EQ(screen.editor->timePicker()->date(), WeekScreen::at(2026, 12, 9, 12));
    screen.tapView(*screen.editor->titleField());
    screen.type("Lunch");
    const std::shared_ptr<EKEvent> before = screen.editor->event();
    screen.tapView(*screen.editor->moreButton());
    ASSERT_TRUE(screen.editor->nativeEditor());
    screen.editor->nativeEditor()->form().cancel();
    screen.settle();
    EXPECT_TRUE(screen.editorOnTop());
    EXPECT_FALSE(screen.editor->modalViewController());
    EXPECT_NE(screen.editor->event(), before);
    EXPECT_TRUE(screen.editor->event()->title().isEmpty());
    EXPECT_EQ(screen.editor->event()->startDate(), WeekScreen::at(2026, 12, 9, 12));
    EXPECT_EQ(screen.editor->titleField()->text(), "Lunch");

    screen.pressReturn();
    EXPECT_EQ(screen.reports->lines.join(", "), "saved new=1 spans=0");
    EXPECT_EQ(titlesOn(Day(2026, 12, 9)), QStringList{"Lunch"});
}

TEST_F(EventDetailsViewControllerTest, deleteButtonLidOpensInFourStepsAndCloses) {
    const auto event =
        screen.addEvent("Call", WeekScreen::at(2026, 12, 9, 11), WeekScreen::at(2026, 12, 9, 12));
    screen.openEvent(event);
    DeleteButton& lid = *screen.editor->deleteButton();
    lid.animateForward();
    std::vector<int> steps;
    for (int tick = 0; tick < 5; ++tick) {
        screen.harness.advance(DeleteButton::stepInterval);
        steps.push_back(lid.imageIndex());
    }
    EXPECT_EQ(steps, (std::vector<int>{1, 2, 3, 4, 4}));
    lid.animateBackward();
    screen.harness.advance(0.5);
    EXPECT_EQ(lid.imageIndex(), 0);
}

TEST_F(EventDetailsViewControllerTest, theDeleteChoiceClosesTheLidOnCancelAndReportsADeletion) {
    const auto event =
        screen.addEvent("Call", WeekScreen::at(2026, 12, 9, 11), WeekScreen::at(2026, 12, 9, 12));
    screen.openEvent(event);
    screen.tapView(*screen.editor->deleteButton());
    std::shared_ptr<ActionSheet> sheet = screen.shownSheet();
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(sheet->title().isEmpty());
    EXPECT_EQ(sheet->numberOfButtons(), 2);
    EXPECT_EQ(screen.editor->deleteButton()->imageIndex(), 4);
    screen.chooseInSheet(*sheet, "Cancel");
    EXPECT_EQ(screen.editor->deleteButton()->imageIndex(), 0);
    EXPECT_TRUE(screen.editorOnTop());

    screen.tapView(*screen.editor->deleteButton());
    sheet = screen.shownSheet();
    ASSERT_TRUE(sheet);
    screen.chooseInSheet(*sheet, "Delete Event");
    EXPECT_EQ(screen.reports->lines.join(", "), "deleted recurring=0");
    EXPECT_TRUE(screen.editor->doneEditing());
    EXPECT_FALSE(screen.editorOnTop());
    EXPECT_FALSE(screen.harness.eventStore().eventWithIdentifier(event->eventIdentifier()));
}

TEST_F(EventDetailsViewControllerTest, theTappedEventFlashesWhenTheWeekReturnsFromTheMoveRoundTrip) {
    const auto event =
        screen.addEvent("Dentist", WeekScreen::at(2026, 12, 8, 15), WeekScreen::at(2026, 12, 8, 16));
    screen.settle();
    const auto rowOn = [this, &event](int weekday) {
        return screen.screen->weekViews()[1]
            ->dayViewControllers()[static_cast<std::size_t>(weekday)]
            ->findEventViewByEventIdentifier(event->eventIdentifier());
    };
    // Whether the row's bar shows within a second of the screen's return.
    const auto flashes = [this](const std::function<std::shared_ptr<EventView>()>& row) {
        bool lit = false;
        for (int step = 0; step < 20; ++step) {
            screen.harness.advance(0.05);
            const std::shared_ptr<EventView> shown = row();
            lit = lit || (shown && !shown->selectedBackgroundImage()->hidden());
        }
        screen.settle();
        return lit;
    };
    // Tuesday's first row.
    screen.harness.tap(Point(80, EditorScreen::contentTop + 1 + 138.5 + 23 + 10));
    screen.settle();
    ASSERT_TRUE(screen.editorOnTop());
    screen.harness.tap(screen.editor->moveButton()
                           ->convertRectToView(screen.editor->moveButton()->bounds(), nullptr)
                           .center());
    screen.settle();
    screen.tapDay(3);
    screen.harness.tap(screen.editor->doneButtonItem()
                           ->view()
                           ->convertRectToView(screen.editor->doneButtonItem()->view()->bounds(), nullptr)
                           .center());
    EXPECT_TRUE(flashes([&] { return rowOn(1); }));
}

TEST_F(EventDetailsViewControllerTest, onAnOlderDeviceThePickerStaysWhereItWasShown) {
    const QString platform = Device::current().platformString();
    Device::current().setPlatformString("iPhone1,2");
    const auto meeting =
        screen.addEvent("Meeting", WeekScreen::at(2026, 12, 8, 9), WeekScreen::at(2026, 12, 8, 10));
    screen.openEvent(meeting);
    EXPECT_DOUBLE_EQ(pickerY(), 200.0);
    screen.tapView(*screen.editor->allDaySwitch());
    EXPECT_DOUBLE_EQ(pickerY(), 200.0);
    EXPECT_DOUBLE_EQ(screen.editor->timeButton()->alpha(), 0.0);
    Device::current().setPlatformString(platform);
}

TEST_F(EventDetailsViewControllerTest, aMemoryWarningDropsTheEditorOnlyWhileItIsAwayAndNotMoving) {
    const auto event =
        screen.addEvent("Dentist", WeekScreen::at(2026, 12, 8, 15), WeekScreen::at(2026, 12, 8, 16));
    screen.openEvent(event);
    screen.tapView(*screen.editor->moveButton());
    ViewController::sendMemoryWarningToAll();
    EXPECT_EQ(screen.screen->getOrCreateEventDetailsController(), screen.editor);
    screen.tapDay(3);
    // The form came back as it was left.
    EXPECT_EQ(screen.editor->titleField()->text(), "Dentist");
    EXPECT_TRUE(screen.editor->moveButton()->currentTitle().contains("December 10"));
    screen.navigation->popViewControllerAnimated(false);
    screen.settle();
    ViewController::sendMemoryWarningToAll();
    EXPECT_NE(screen.screen->getOrCreateEventDetailsController(), screen.editor);
}

TEST_F(EventDetailsViewControllerTest, abandonedEditsLeaveTheShownEventAsItWas) {
    const auto dentist =
        screen.addEvent("Dentist", WeekScreen::at(2026, 12, 8, 15), WeekScreen::at(2026, 12, 8, 16));
    const auto yoga = screen.addWeeklyEvent("Yoga", WeekScreen::at(2026, 12, 8, 18));
    screen.settle();
    const auto shown = [this](const std::shared_ptr<EKEvent>& event) {
        const auto row =
            screen.screen->weekViews()[1]->dayViewControllers()[1]->findEventViewByEventIdentifier(
                event->eventIdentifier());
        return row ? row->event() : nullptr;
    };
    const auto abandon = [this] {
        screen.navigation->popViewControllerAnimated(false);
        screen.settle();
        ASSERT_FALSE(screen.editorOnTop());
    };
    // "More", then "Cancel" in the full editor, then back.
    screen.openEvent(shown(dentist));
    screen.tapView(*screen.editor->allDaySwitch());
    screen.tapView(*screen.editor->moreButton());
    ASSERT_TRUE(screen.editor->nativeEditor());
    screen.editor->nativeEditor()->form().cancel();
    screen.settle();
    abandon();
    ASSERT_TRUE(shown(dentist));
    EXPECT_FALSE(shown(dentist)->allDay());
    EXPECT_EQ(shown(dentist)->startDate(), WeekScreen::at(2026, 12, 8, 15));
    // "Cancel" in the save choice of a repeating event, then back.
    screen.openEvent(shown(yoga));
    screen.tapView(*screen.editor->allDaySwitch());
    screen.tapView(*screen.editor->doneButtonItem()->view());
    ASSERT_TRUE(screen.editor->saveChoice());
    screen.chooseInSheet(*screen.editor->saveChoice(), "Cancel");
    abandon();
    ASSERT_TRUE(shown(yoga));
    EXPECT_FALSE(shown(yoga)->allDay());
    // Reopened, the form shows the stored event, and an unrelated change saves only itself.
    screen.openEvent(shown(dentist));
    EXPECT_FALSE(screen.editor->allDaySwitch()->isOn());
    EXPECT_EQ(screen.editor->timePicker()->date(), WeekScreen::at(2026, 12, 8, 15));
    screen.tapView(*screen.editor->titleField());
    screen.type("!");
    screen.pressReturn();
    EXPECT_EQ(screen.reports->lines.join(", "), "saved new=0 spans=0");
    const auto stored = screen.harness.eventStore().eventWithIdentifier(dentist->eventIdentifier());
    EXPECT_EQ(stored->title(), "Dentist!");
    EXPECT_FALSE(stored->allDay());
    EXPECT_EQ(stored->startDate(), WeekScreen::at(2026, 12, 8, 15));
    EXPECT_EQ(shown(dentist)->title(), "Dentist!");
}

TEST_F(EventDetailsViewControllerTest, typingOnANewEventFillsItsTitleWhileTheTimePickerShows) {
    screen.tapDay(2);
    ASSERT_TRUE(screen.editorOnTop());
    ASSERT_DOUBLE_EQ(pickerY(), 200.0);
    ASSERT_FALSE(screen.editor->titleField()->isFirstResponder());
    // A shortcut is no text and leaves the form alone.
    KeyInput shortcut;
    shortcut.key = Qt::Key_S;
    shortcut.text = QStringLiteral("s");
    shortcut.modifiers = Qt::ControlModifier;
    EXPECT_FALSE(screen.harness.window().keyInput(shortcut));
    EXPECT_DOUBLE_EQ(pickerY(), 200.0);

    screen.type("Lunch");
    screen.settle();
    EXPECT_TRUE(screen.editor->titleField()->isFirstResponder());
    EXPECT_EQ(screen.editor->titleField()->text(), "Lunch");
    EXPECT_GT(pickerY(), 400.0);
    screen.pressReturn();
    EXPECT_EQ(screen.reports->lines.join(", "), "saved new=1 spans=0");
    EXPECT_EQ(titlesOn(Day(2026, 12, 9)), QStringList{"Lunch"});
}

TEST_F(EventDetailsViewControllerTest, doneAsksBeforeSavingOverAChangeThatCameInMeanwhile) {
    const auto event =
        screen.addEvent("Dentist", WeekScreen::at(2026, 12, 8, 15), WeekScreen::at(2026, 12, 8, 16));
    const auto stored = [&] {
        return screen.harness.eventStore().eventWithIdentifier(event->eventIdentifier());
    };
    const auto editAndChangeElsewhere = [&](const QString& location) {
        screen.openEvent(stored());
        screen.tapView(*screen.editor->titleField());
        screen.type("s");
        const auto other = stored();
        other->setLocation(location);
        StoreError error;
        ASSERT_TRUE(screen.harness.eventStore().saveEvent(other, EKSpan::ThisEvent, &error));
        screen.tapView(*screen.editor->doneButtonItem()->view());
    };

    // The other version kept: the editor closes, its text change goes, the other change stays.
    editAndChangeElsewhere("Room 1");
    auto alerts = AlertView::queuedAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts.front()->title(), "Changed Elsewhere");
    screen.settle();
    SamplePictures::keep(screen.harness.render(), "editor-changed-elsewhere.png");
    screen.tapView(*alerts.front()->buttons().front());
    EXPECT_FALSE(screen.editorOnTop());
    EXPECT_EQ(stored()->title(), "Dentist");
    EXPECT_EQ(stored()->location(), "Room 1");

    // Saved over it when the person says so.
    editAndChangeElsewhere("Room 2");
    alerts = AlertView::queuedAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    screen.tapView(*alerts.front()->buttons().at(1));
    EXPECT_EQ(stored()->title(), "Dentists");
}
