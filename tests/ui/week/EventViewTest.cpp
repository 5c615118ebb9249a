#include "ui/daybox/EventView.h"
#include "SamplePictures.h"
#include "core/events/EventsTestSupport.h"
#include "core/eventstore/EKEvent.h"
#include "kit/Animator.h"
#include "kit/Artwork.h"
#include "kit/Device.h"
#include "kit/Screen.h"
#include "kit/TouchRouter.h"
#include "ui/copymove/CopyMoveEventMode.h"
#include "ui/daybox/BirthdayIconView.h"
#include "ui/daybox/EventTouchLock.h"
#include "ui/daybox/EventViewDelegate.h"
#include "ui/daybox/SelectedBackgroundView.h"
#include "ui/search/SearchResultHighlightView.h"

#include <QFile>

#include <map>

namespace {

// Writes every report of a row as "report:title".
class RowDelegateSpy : public EventViewDelegate {
public:
    void beforeEventSelected(EventView& row) override { record("before", row); }
    void eventSelected(EventView& row) override { record("selected", row); }
    void eventLongPressed(EventView& row) override { record("longPressed", row); }
    void removeAnimationFinished(EventView& row) override { record("removed", row); }

    std::string log() const { return m_log; }
    void clear() { m_log.clear(); }

private:
    void record(const char* report, EventView& row) {
        if (!m_log.empty()) {
            m_log += " ";
        }
        m_log +=
            std::string(report) + ":" + (row.event() ? row.event()->title().toStdString() : std::string("-"));
    }
    std::string m_log;
};

// A time label that claims whatever fitted width the test asks for.
class FixedWidthLabel : public Label {
public:
    double fittedWidth = 34.0;

protected:
    Size fittingSize(Size) const override { return Size(fittedWidth, 15.0); }
};

class FixedWidthTimeRow : public EventView {
public:
    using EventView::EventView;
    static std::shared_ptr<FixedWidthTimeRow> make(const Rect& frame) {
        auto row = std::make_shared<FixedWidthTimeRow>(frame, std::make_shared<EventTouchLock>());
        row->buildSubviews();
        return row;
    }
    std::shared_ptr<FixedWidthLabel> label;

protected:
    std::shared_ptr<Label> newTimeLabel() override {
        label = std::make_shared<FixedWidthLabel>();
        label->setFrame(Rect(4, 1, 34, 22));
        return label;
    }
};

// Rows on a 160-point wide day box inside a 320 × 480 root, with a manual clock, an event store
// and touches delivered as the window would.
class EventViewTest : public EventsTest {
protected:
    void SetUp() override {
        EventsTest::SetUp();
        m_previousScale = Screen::main().scale();
        m_previousPlatform = Device::current().platformString();
        Screen::main().setScale(1.0);
        m_root->addSubview(m_dayBox);
    }

    void TearDown() override {
        CopyMoveEventMode::sharedInstance().deactivate();
        for (const auto& row : m_rows) {
            row->stopMoveAnimation();
        }
        m_router.reset();
        m_loop->advance(2.0);
        EXPECT_FALSE(Animator::hasRunningAnimations());
        SearchResultHighlightView::selectedResultInstance()->hide();
        SearchResultHighlightView::selectedResultInstance()->setSearchBackgroundView(nullptr);
        Device::current().setPlatformString(m_previousPlatform);
        Screen::main().setScale(m_previousScale);
        EventsTest::TearDown();
    }

    std::shared_ptr<EventView> addRow(int index) {
        auto row = EventView::create(Rect(0, 20 + 23 * index, 160, 23), m_touchLock);
        row->setDelegate(m_spy);
        m_dayBox->addSubview(row);
        m_rows.push_back(row);
        return row;
    }

    // Wednesday 13 March 2024 and the days around it.
    Date day(int dayOfMonth) { return local(2024, 3, dayOfMonth); }

    void down(Point p) { m_router->deliver(m_router->touchBegan(0, p)); }
    void move(Point p) { m_router->deliver(m_router->touchMoved(0, p)); }
    void up(Point p) { m_router->deliver(m_router->touchEnded(0, p)); }
    void cancel() { m_router->deliver(m_router->touchCancelled(0)); }
    void advance(double seconds) { m_loop->advance(seconds); }

    std::shared_ptr<EKCalendar> subscribedCalendar() {
        const QString path = m_folder.filePath("holidays.ics");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//EN\r\n"
                   "BEGIN:VEVENT\r\nUID:holiday-1@test\r\nDTSTAMP:20240101T000000Z\r\n"
                   "DTSTART:20240313T090000Z\r\nDTEND:20240313T100000Z\r\nSUMMARY:Lecture\r\n"
                   "END:VEVENT\r\nEND:VCALENDAR\r\n");
        file.close();
        StoreError error;
        auto calendar = store().addSubscribedCalendar("Lectures", path, &error);
        EXPECT_TRUE(calendar) << error.localizedDescription.toStdString();
        return calendar;
    }

    // Birthdays of two people, one with and one without a known birth year.
    void addBirthdays() {
        const QString path = m_folder.filePath("contacts.vcf");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(
            "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann Example\r\nUID:ann\r\nBDAY:1990-03-13\r\nEND:VCARD\r\n"
            "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Bob Example\r\nUID:bob\r\nBDAY:--0313\r\nEND:VCARD\r\n");
        file.close();
        StoreError error;
        EXPECT_TRUE(store().setBirthdaysContactsFile(path, &error))
            << error.localizedDescription.toStdString();
    }

    std::shared_ptr<EKEvent> eventOnDay(const QString& titlePrefix, Date dayStart) {
        const EventList events =
            service().synchronousFindAllEventsFromDateTime(dayStart, dayStart.addingTimeInterval(86399.0));
        for (const auto& event : events.events()) {
            if (event->title().startsWith(titlePrefix)) {
                return event;
            }
        }
        ADD_FAILURE() << "no event " << titlePrefix.toStdString();
        return nullptr;
    }

    static std::string frameText(const Rect& r) {
        return QStringLiteral("%1 %2 %3 %4")
            .arg(r.x())
            .arg(r.y())
            .arg(r.width())
            .arg(r.height())
            .toStdString();
    }

    double m_previousScale = 2.0;
    QString m_previousPlatform;
    std::shared_ptr<RowDelegateSpy> m_spy = std::make_shared<RowDelegateSpy>();
    // The rows of one test share a lock, as the rows of the week screen do.
    std::shared_ptr<EventTouchLock> m_touchLock = std::make_shared<EventTouchLock>();
    std::shared_ptr<View> m_root = std::make_shared<View>(Rect(0, 0, 320, 480));
    std::shared_ptr<View> m_dayBox = std::make_shared<View>(Rect(0, 0, 160, 140));
    std::vector<std::shared_ptr<EventView>> m_rows;
    std::unique_ptr<TouchRouter> m_router = std::make_unique<TouchRouter>(m_root);
};

} // namespace

TEST_F(EventViewTest, RowStartsHiddenWithTheLayoutOfItsScale) {
    auto row = addRow(0);
    EXPECT_TRUE(row->hidden());
    EXPECT_FALSE(row->clipsToBounds());
    EXPECT_TRUE(row->selectedBackgroundImage()->hidden());
    EXPECT_EQ(frameText(row->timeLabel()->frame()), "4 1 34 22");
    EXPECT_EQ(frameText(row->titleLabel()->frame()), "43 0 117 22");
    EXPECT_EQ(frameText(row->selectedBackgroundImage()->frame()), "1 3 158 19");

    Screen::main().setScale(2.0);
    auto denseRow = addRow(1);
    EXPECT_EQ(frameText(denseRow->timeLabel()->frame()), "4.5 1.5 34 21.5");
    EXPECT_EQ(frameText(denseRow->titleLabel()->frame()), "42.5 0 117.5 22");
    EXPECT_EQ(frameText(denseRow->selectedBackgroundImage()->frame()), "1 3 158 18");
}

TEST_F(EventViewTest, TimedEventShowsItsTimeAndTitleBesideIt) {
    const auto event = addEvent("Dentist", local(2024, 3, 13, 9, 0), local(2024, 3, 13, 10, 0), false,
                                nullptr, "Main Street");
    auto row = addRow(0);
    row->initializeWithEvent(event, day(13), false);

    EXPECT_FALSE(row->hidden());
    EXPECT_EQ(row->timeLabel()->text(), "9a");
    EXPECT_FALSE(row->timeLabel()->hidden());
    EXPECT_EQ(row->timeLabel()->textColor(), Color(1, 1, 1));
    const double timeWidth = row->timeLabel()->frame().width();
    EXPECT_EQ(row->titleLabel()->frame().x(), timeWidth + 9);
    EXPECT_EQ(frameText(row->originalTitleFrame()),
              frameText(Rect(timeWidth + 9, 0, 160 - timeWidth - 9, 23)));
    EXPECT_TRUE(row->coloredBackground().displayedCalendarColor().has_value());
    EXPECT_TRUE(row->hasLongPressGesture());
    EXPECT_TRUE(row->userInteractionEnabled());
}

TEST_F(EventViewTest, MultiDayAllDayEventIsTintedOnEveryDayAndMarkedOnTheLaterOnes) {
    const auto event = addEvent("Trip", day(13), day(15), true);
    auto first = addRow(0);
    first->initializeWithEvent(event, day(13), false);
    EXPECT_TRUE(first->timeLabel()->hidden());
    EXPECT_EQ(frameText(first->titleLabel()->frame()).substr(0, 4), "5 0 ");
    EXPECT_TRUE(first->coloredBackground().displayedBackgroundCalendarColor().has_value());

    auto second = addRow(1);
    second->initializeWithEvent(event, day(14), false);
    EXPECT_FALSE(second->timeLabel()->hidden());
    EXPECT_EQ(second->timeLabel()->text(), QString(QChar(0x21B3)));
    EXPECT_EQ(second->timeLabel()->textColor(), Color::fromRgb255(58, 58, 58));
    EXPECT_FALSE(second->timeLabel()->shadowColor().has_value());
    EXPECT_TRUE(second->coloredBackground().displayedBackgroundCalendarColor().has_value());

    Screen::main().setScale(2.0);
    auto dense = addRow(2);
    dense->initializeWithEvent(event, day(13), false);
    EXPECT_EQ(dense->titleLabel()->frame().x(), 4.5);
}

TEST_F(EventViewTest, TimedEventPastMidnightShowsTheMarkWithoutColourOnTheNextDay) {
    const auto event = addEvent("Party", local(2024, 3, 13, 22, 0), local(2024, 3, 14, 2, 0));
    auto row = addRow(0);
    row->initializeWithEvent(event, day(14), false);
    EXPECT_EQ(row->timeLabel()->text(), QString(QChar(0x21B3)));
    EXPECT_FALSE(row->coloredBackground().displayedCalendarColor().has_value());
    EXPECT_FALSE(row->coloredBackground().displayedBackgroundCalendarColor().has_value());
}

TEST_F(EventViewTest, OnlyATimeTextOfExactly35PointsIsWidened) {
    const auto event = addEvent("Dentist", local(2024, 3, 13, 9, 0), local(2024, 3, 13, 10, 0));
    auto row = FixedWidthTimeRow::make(Rect(0, 0, 160, 23));
    for (const auto& [fitted, expected] : std::map<double, double>{{34, 34}, {35, 36}, {37, 37}}) {
        row->label->fittedWidth = fitted;
        row->initializeWithEvent(event, day(13), false);
        EXPECT_EQ(row->timeLabel()->frame().width(), expected) << fitted;
        EXPECT_EQ(row->originalTitleFrame().x(), expected + 9) << fitted;
    }
}

TEST_F(EventViewTest, LongTitleIsCutAtItsSlotAndShortOneShrinks) {
    auto row = addRow(0);
    row->initializeWithEvent(addEvent("A very long title that cannot possibly fit into the row",
                                      local(2024, 3, 13, 9, 0), local(2024, 3, 13, 10, 0)),
                             day(13), false);
    EXPECT_EQ(row->titleLabel()->frame().width(), row->originalTitleFrame().width());
    row->initializeWithEvent(addEvent("Tea", local(2024, 3, 13, 11, 0), local(2024, 3, 13, 12, 0)), day(13),
                             false);
    EXPECT_LT(row->titleLabel()->frame().width(), row->originalTitleFrame().width());
}

TEST_F(EventViewTest, SecondRowIsLockedOutForOneSecondAfterATouchThatNeverEnded) {
    const auto a = addEvent("A", local(2024, 3, 13, 9, 0), local(2024, 3, 13, 10, 0));
    const auto b = addEvent("B", local(2024, 3, 13, 11, 0), local(2024, 3, 13, 12, 0));
    auto first = addRow(0);
    auto second = addRow(1);
    first->initializeWithEvent(a, day(13), false);
    second->initializeWithEvent(b, day(13), false);

    down(Point(80, 30));
    cancel();
    EXPECT_TRUE(m_touchLock->locked());
    advance(0.9);
    down(Point(80, 53));
    up(Point(80, 53));
    EXPECT_EQ(m_spy->log(), "before:A");
    EXPECT_FALSE(second->selected());

    advance(0.2);
    EXPECT_FALSE(m_touchLock->locked());
    down(Point(80, 53));
    up(Point(80, 53));
    EXPECT_EQ(m_spy->log(), "before:A before:B selected:B");
    EXPECT_FALSE(m_touchLock->locked());
    // The row keeps its bar after the tap; the day box deselects it.
    EXPECT_TRUE(second->selected());
    EXPECT_FALSE(second->selectedBackgroundImage()->hidden());
}

TEST_F(EventViewTest, FingerLiftedBeyondSeventyPointsSelectsNothing) {
    auto row = addRow(0);
    row->initializeWithEvent(addEvent("A", local(2024, 3, 13, 9, 0), local(2024, 3, 13, 10, 0)), day(13),
                             false);
    const double bottom = 20 + 23;

    down(Point(80, 30));
    move(Point(80, bottom + 71));
    EXPECT_FALSE(row->selected());
    EXPECT_TRUE(row->selectedBackgroundImage()->hidden());
    up(Point(80, bottom + 71));
    EXPECT_EQ(m_spy->log(), "before:A");

    m_spy->clear();
    down(Point(80, 30));
    move(Point(80, bottom + 71));
    move(Point(80, bottom + 69));
    EXPECT_TRUE(row->selected());
    EXPECT_FALSE(row->selectedBackgroundImage()->hidden());
    up(Point(80, bottom + 69));
    EXPECT_EQ(m_spy->log(), "before:A selected:A");
}

TEST_F(EventViewTest, OnlyWritableEventsReportALongPress) {
    subscribedCalendar();
    auto readOnly = addRow(0);
    readOnly->initializeWithEvent(eventOnDay("Lecture", day(13)), day(13), false);
    auto writable = addRow(1);
    writable->initializeWithEvent(addEvent("Gym", local(2024, 3, 13, 18, 0), local(2024, 3, 13, 19, 0)),
                                  day(13), false);
    EXPECT_FALSE(readOnly->hasLongPressGesture());

    down(Point(80, 30));
    advance(1.5);
    up(Point(80, 30));
    advance(1.0);
    down(Point(80, 53));
    advance(0.99);
    EXPECT_EQ(m_spy->log(), "before:Lecture selected:Lecture before:Gym");
    advance(0.02);
    up(Point(80, 53));
    EXPECT_EQ(m_spy->log(), "before:Lecture selected:Lecture before:Gym longPressed:Gym");

    // Binding the writable row to the read-only event takes the long press away.
    writable->initializeWithEvent(readOnly->event(), day(13), false);
    EXPECT_FALSE(writable->hasLongPressGesture());
}

TEST_F(EventViewTest, BirthdayShowsTheAgeOnlyWhenTheYearIsKnown) {
    addBirthdays();
    auto ann = addRow(0);
    ann->initializeWithEvent(eventOnDay("Ann", day(13)), day(13), false);
    ASSERT_TRUE(ann->birthdayIconView());
    EXPECT_EQ(ann->birthdayIconView()->superview(), ann);
    EXPECT_EQ(ann->birthdayIconView()->age(), "34");
    EXPECT_EQ(frameText(ann->birthdayIconView()->frame()), "3.5 1 21 20");
    EXPECT_EQ(frameText(ann->titleLabel()->frame()).substr(0, 5), "27 0 ");
    EXPECT_FALSE(ann->coloredBackground().displayedBackgroundCalendarColor().has_value());

    auto bob = addRow(1);
    bob->initializeWithEvent(eventOnDay("Bob", day(13)), day(13), false);
    ASSERT_TRUE(bob->birthdayIconView());
    EXPECT_EQ(bob->birthdayIconView()->age(), "");

    const auto icon = ann->birthdayIconView();
    ann->initializeWithEvent(addEvent("Lunch", local(2024, 3, 13, 12, 0), local(2024, 3, 13, 13, 0)), day(13),
                             false);
    EXPECT_EQ(icon->superview(), nullptr);
}

TEST_F(EventViewTest, BirthdayAgeLimits) {
    BirthdayIconView icon(Rect(0, 0, 21, 20));
    icon.setBirthday(local(1901, 5, 1), local(2024, 5, 1));
    EXPECT_EQ(icon.age(), "123");
    icon.setBirthday(local(1900, 5, 1), local(2024, 5, 1));
    EXPECT_EQ(icon.age(), "");
    icon.setBirthday(local(1901, 5, 1), local(2100, 5, 1));
    EXPECT_EQ(icon.age(), "199");
    icon.setBirthday(local(1901, 5, 1), local(2101, 5, 1));
    EXPECT_EQ(icon.age(), "");
}

TEST_F(EventViewTest, RebindingFadesOnlyWhenTheTextsChangeAndNeverOnOlderDevices) {
    const auto event = addEvent("Dentist", local(2024, 3, 13, 9, 0), local(2024, 3, 13, 10, 0));
    auto row = addRow(0);
    row->initializeWithEvent(event, day(13), true);
    EXPECT_EQ(row->presentationAlpha(), 0.0);
    advance(0.1);
    EXPECT_GT(row->presentationAlpha(), 0.2);
    EXPECT_LT(row->presentationAlpha(), 0.8);
    advance(0.11);
    EXPECT_EQ(row->presentationAlpha(), 1.0);

    row->initializeWithEvent(event, day(13), true);
    EXPECT_FALSE(Animator::hasRunningAnimations());
    EXPECT_EQ(row->presentationAlpha(), 1.0);

    Device::current().setPlatformString("iPhone1,2");
    row->initializeWithEvent(addEvent("Other", local(2024, 3, 13, 11, 0), local(2024, 3, 13, 12, 0)), day(13),
                             true);
    EXPECT_FALSE(Animator::hasRunningAnimations());
    row->initializeWithEvent(nullptr, day(13), true);
    EXPECT_FALSE(Animator::hasRunningAnimations());
    EXPECT_TRUE(row->hidden());
}

TEST_F(EventViewTest, EmptiedRowFadesOutUnlessBoundAgainMeanwhile) {
    const auto event = addEvent("Dentist", local(2024, 3, 13, 9, 0), local(2024, 3, 13, 10, 0));
    auto row = addRow(0);
    row->initializeWithEvent(event, day(13), false);
    row->initializeWithEvent(nullptr, day(13), true);
    EXPECT_FALSE(row->hidden());
    EXPECT_FALSE(row->userInteractionEnabled());
    advance(0.25);
    EXPECT_TRUE(row->hidden());
    EXPECT_EQ(row->titleLabel()->text(), "");

    row->initializeWithEvent(event, day(13), false);
    row->initializeWithEvent(nullptr, day(13), true);
    advance(0.1);
    row->initializeWithEvent(event, day(13), false);
    advance(0.5);
    EXPECT_FALSE(row->hidden());
    EXPECT_EQ(row->titleLabel()->text(), "Dentist");
    EXPECT_EQ(row->presentationAlpha(), 1.0);
}

TEST_F(EventViewTest, AnimatedDeselectionDimsThenHidesTheBar) {
    auto row = addRow(0);
    row->initializeWithEvent(addEvent("A", local(2024, 3, 13, 9, 0), local(2024, 3, 13, 10, 0)), day(13),
                             false);
    row->flashDelayed(true);
    EXPECT_FALSE(row->selected());
    EXPECT_TRUE(row->eventViewHighlighted());
    const auto& bar = row->selectedBackgroundImage();
    advance(0.3);
    EXPECT_EQ(bar->presentationAlpha(), 1.0);
    advance(0.151);
    EXPECT_TRUE(row->eventViewHighlighted() == false);
    EXPECT_FALSE(bar->hidden());
    advance(0.151);
    EXPECT_TRUE(bar->hidden());

    // Touched again while dimming: the new selection keeps its bar.
    row->flashDelayed(false);
    advance(0.1);
    down(Point(80, 30));
    advance(0.5);
    EXPECT_TRUE(row->selected());
    EXPECT_FALSE(bar->hidden());
    EXPECT_TRUE(row->eventViewHighlighted());
    up(Point(80, 30));
}

TEST_F(EventViewTest, RemovalReportsWhenTheFadeEnds) {
    auto row = addRow(0);
    row->initializeWithEvent(addEvent("A", local(2024, 3, 13, 9, 0), local(2024, 3, 13, 10, 0)), day(13),
                             false);
    row->removeEventAnimated(true, true);
    EXPECT_FALSE(row->selectedBackgroundImage()->hidden());
    advance(0.59);
    EXPECT_EQ(m_spy->log(), "");
    advance(0.02);
    EXPECT_EQ(m_spy->log(), "removed:A");
    EXPECT_TRUE(row->selectedBackgroundImage()->hidden());

    m_spy->clear();
    row->initializeWithEvent(addEvent("B", local(2024, 3, 13, 11, 0), local(2024, 3, 13, 12, 0)), day(13),
                             false);
    row->removeEventAnimated(false, false);
    EXPECT_EQ(m_spy->log(), "removed:-");
    EXPECT_TRUE(row->hidden());
}

TEST_F(EventViewTest, HeldCopyMoveEventPulsesAndSurvivesQuietDeselection) {
    const auto event = addEvent("A", local(2024, 3, 13, 9, 0), local(2024, 3, 13, 10, 0));
    CopyMoveEventMode::sharedInstance().activateMove(event, local(2024, 3, 13, 9, 0));
    auto row = addRow(0);
    row->initializeWithEvent(event, day(13), false);
    EXPECT_TRUE(row->moveAnimationRunning());
    EXPECT_TRUE(row->selected());
    EXPECT_TRUE(row->titleLabel()->highlighted());
    advance(0.3);
    EXPECT_NEAR(row->selectedBackgroundImage()->presentationAlpha(), 0.6, 0.05);

    row->deselectAnimated(false, false);
    EXPECT_TRUE(row->moveAnimationRunning());
    auto otherDay = addRow(1);
    otherDay->initializeWithEvent(event, day(14), false);
    EXPECT_FALSE(otherDay->moveAnimationRunning());

    row->deselectAnimated(true, false);
    EXPECT_FALSE(row->moveAnimationRunning());
    EXPECT_FALSE(row->selected());
}

TEST_F(EventViewTest, SearchHighlightGetsTheEventAndTheRowCorner) {
    auto row = addRow(2);
    const auto event = addEvent("A", local(2024, 3, 13, 9, 0), local(2024, 3, 13, 10, 0));
    row->initializeWithEvent(event, day(13), false);
    const auto& bubble = SearchResultHighlightView::selectedResultInstance();
    row->highlightAsSearchResult(); // no open search: nothing happens
    EXPECT_FALSE(bubble->superview());

    auto dimmedArea = std::make_shared<View>(Rect(-100, 0, 1600, 416));
    m_root->addSubview(dimmedArea);
    bubble->setSearchBackgroundView(dimmedArea);
    m_dayBox->setFrameOrigin(Point(160, 100));
    row->highlightAsSearchResult();
    m_loop->advance(1.0);
    EXPECT_EQ(bubble->superview(), dimmedArea);
    EXPECT_EQ(bubble->titleLabel()->text(), "A");
    // The row's corner (160, 166) in the dimmed area, less the bubble's own offset.
    EXPECT_EQ(bubble->frame().origin(), Point(258, 159));
}

TEST_F(EventViewTest, DisabledRowPassesTouchesToItsDayBox) {
    class DayBoxSpy : public View {
    public:
        using View::View;
        std::string log;

    protected:
        void touchesBegan(const TouchSet&, const TouchEvent&) override { log += "began "; }
        void touchesEnded(const TouchSet&, const TouchEvent&) override { log += "ended"; }
    };
    auto box = std::make_shared<DayBoxSpy>(Rect(0, 200, 160, 140));
    m_root->addSubview(box);
    auto row = EventView::create(Rect(0, 20, 160, 23), m_touchLock);
    row->setDelegate(m_spy);
    box->addSubview(row);
    row->initializeWithEvent(addEvent("A", local(2024, 3, 13, 9, 0), local(2024, 3, 13, 10, 0)), day(13),
                             false);
    row->disableTouch(true);
    down(Point(80, 230));
    up(Point(80, 230));
    EXPECT_EQ(box->log, "began ended");
    EXPECT_EQ(m_spy->log(), "");
    EXPECT_FALSE(m_touchLock->locked());
}

TEST_F(EventViewTest, RowsLookRightAtBothScales) {
    addBirthdays();
    const auto timed = addEvent("Dentist", local(2024, 3, 13, 9, 0), local(2024, 3, 13, 10, 0), false,
                                nullptr, "Main Street 4");
    const auto allDay = addEvent("Holiday in Rome", day(13), day(15), true);
    const auto late = addEvent("Night train", local(2024, 3, 13, 22, 30), local(2024, 3, 14, 6, 0));
    const auto selected = addEvent("Team meeting", local(2024, 3, 14, 14, 0), local(2024, 3, 14, 15, 0));
    const auto ann = eventOnDay("Ann", day(13));
    for (const double scale : {1.0, 2.0}) {
        Screen::main().setScale(scale);
        const double previousArtworkScale = Artwork::screenScale();
        Artwork::setScreenScale(scale);
        auto sheet = std::make_shared<View>(Rect(0, 0, 160, 172));
        sheet->setBackgroundColor(Color::fromRgb255(250, 246, 232));
        const std::vector<std::pair<std::shared_ptr<EKEvent>, Date>> rows = {
            {timed, day(13)}, {allDay, day(13)},   {allDay, day(14)}, {late, day(14)},
            {ann, day(13)},   {selected, day(14)}, {ann, day(13)}};
        std::vector<std::shared_ptr<EventView>> views;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            auto row = EventView::create(Rect(0, 5 + 23 * static_cast<double>(i), 160, 23), m_touchLock);
            sheet->addSubview(row);
            row->initializeWithEvent(rows[i].first, rows[i].second, false);
            views.push_back(row);
        }
        // Selected rows show their bar; the clock does not move, so the flash stays at its start.
        for (std::size_t i = rows.size() - 2; i < rows.size(); ++i) {
            views[i]->flashDelayed(false);
        }
        const Image image = sheet->renderToImage(scale);
        EXPECT_FALSE(image.isNull());
        SamplePictures::keep(image, QStringLiteral("event-rows@%1x.png").arg(scale));
        for (const auto& row : views) {
            row->selectedBackgroundImage()->removeAllAnimations();
        }
        Artwork::setScreenScale(previousArtworkScale);
    }
}
