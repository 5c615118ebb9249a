#include "ui/weekpicker/WeekPickerController.h"

#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/EventStoreChangedEvent.h"
#include "core/bus/UserChangedEvent.h"
#include "core/bus/VisibleCalendarsChangedEvent.h"
#include "core/calendar/Month.h"
#include "core/calendar/MonthsPeriodHolidays.h"
#include "core/calendar/Quarter.h"
#include "core/calendar/TwoMonths.h"
#include "core/events/EventService.h"
#include "core/eventstore/EKCalendar.h"
#include "core/eventstore/EKEvent.h"
#include "core/hints/Hint.h"
#include "kit/InterfaceOrientation.h"
#include "ui/common/ColorExtensions.h"
#include "ui/weekpicker/MonthsPeriodItem.h"
#include "ui/weekpicker/WeekPickerGrayOverlayView.h"
#include "ui/weekpicker/WeekPickerPageView.h"
#include "ui/weekpicker/WeekPickerPanelView.h"
#include "ui/weekpicker/WeekPickerScrollView.h"

namespace {

// The picker's frames in one orientation.
struct WeekPickerGeometry {
    Rect overlay;
    Rect panel;
    double scrollerY;
    double mainPageX;
};

const WeekPickerGeometry portraitPickerGeometry{Rect(0, 0, 320, 416), Rect(10, 0, 299, 402), 4, 0};
const WeekPickerGeometry landscapePickerGeometry{Rect(0, 0, 480, 300), Rect(17, 0, 446, 270), 3, 147};
constexpr double weekPickerPageWidth = 147.0;
constexpr double holidayColorBrightness = 0.3;

std::optional<Color> holidayBarColor(const Holiday& holiday) {
    const std::shared_ptr<EKCalendar> calendar = holiday.event() ? holiday.event()->calendar() : nullptr;
    if (!calendar || !calendar->color()) {
        return std::nullopt;
    }
    return ColorExtensions::adjustBrightness(*calendar->color(), holidayColorBrightness);
}

} // namespace

WeekPickerController::WeekPickerController(const Rect& frame) : m_frame(frame) {}

WeekPickerController::~WeekPickerController() {
    ApplicationEventDispatcher::sharedInstance().unregisterAllEventsForTarget(this);
}

std::weak_ptr<WeekPickerController> WeekPickerController::weakSelf() {
    return std::static_pointer_cast<WeekPickerController>(shared_from_this());
}

void WeekPickerController::loadView() {
    m_grayOverlayView = std::make_shared<WeekPickerGrayOverlayView>(m_frame);
    m_pickerPanelView = std::make_shared<WeekPickerPanelView>(Rect());
    m_pickerPanelView->setBackgroundColor(std::nullopt);
    m_grayOverlayView->addSubview(m_pickerPanelView);
    m_infiniteScrollView = WeekPickerScrollView::create(Rect());
    m_pickerPanelView->addSubview(m_infiniteScrollView);
    wireScrollView();
    m_grayOverlayView->setInfiniteScrollView(m_infiniteScrollView);
    setView(m_grayOverlayView);
    m_landscape = InterfaceOrientation::isLandscape();
    configureFor(m_landscape);

    ApplicationEventDispatcher& dispatcher = ApplicationEventDispatcher::sharedInstance();
    dispatcher.registerTarget<UserChangedEvent>(this, &WeekPickerController::refreshCachedData);
    dispatcher.registerTarget<EventStoreChangedEvent>(this, &WeekPickerController::refreshCachedData);
    dispatcher.registerTarget<VisibleCalendarsChangedEvent>(this, &WeekPickerController::refreshCachedData);
}

void WeekPickerController::viewDidUnload() {
    ApplicationEventDispatcher::sharedInstance().unregisterAllEventsForTarget(this);
    m_grayOverlayView.reset();
    m_pickerPanelView.reset();
    m_infiniteScrollView.reset();
    m_visible = false;
}

// The scroller and its pages outlive no controller: every handler sees it weakly.
void WeekPickerController::wireScrollView() {
    const std::weak_ptr<WeekPickerController> weakSelf = this->weakSelf();
    WeekPickerScrollView& scroller = *m_infiniteScrollView;
    scroller.setToCreatePageView([weakSelf](const PageItem&) -> std::shared_ptr<InfiniteScrollPageView> {
        const auto self = weakSelf.lock();
        return self ? self->newPageView() : std::make_shared<WeekPickerPageView>(Rect());
    });
    scroller.setToInitializePageView([weakSelf](InfiniteScrollPageView& pageView) {
        if (const auto self = weakSelf.lock()) {
            auto& page = static_cast<WeekPickerPageView&>(pageView);
            page.setInitiallySelectedWeekInMonth(self->m_initiallySelectedWeekInMonth);
            page.setSelectedWeekInMonth(self->m_selectedWeekInMonth);
        }
    });
    scroller.setToGetOtherPageItem([](const PageItem& item, int count) {
        return MonthsPeriodItem::itemOf(*MonthsPeriodItem::periodOf(item)->addMonthsPeriod(count));
    });
    scroller.setToGetDistanceBetweenItems([](const PageItem& from, const PageItem& to) {
        return MonthsPeriodItem::periodOf(from)->monthsPeriodsTo(*MonthsPeriodItem::periodOf(to));
    });
    scroller.setToLoadData(
        [](const PageItem& item) { return loadDataForMonthsPeriod(*MonthsPeriodItem::periodOf(item)); });
    scroller.setOnCurrentPageChanged([weakSelf](const PageItem&) {
        if (const auto self = weakSelf.lock()) {
            self->emitWeekSelectionChanged();
        }
    });
}

std::shared_ptr<WeekPickerPageView> WeekPickerController::newPageView() {
    const Rect main = m_infiniteScrollView->mainPageFrame();
    auto page = std::make_shared<WeekPickerPageView>(Rect(0, 0, main.width(), main.height()));
    const std::weak_ptr<WeekPickerController> weakSelf = this->weakSelf();
    const std::weak_ptr<WeekPickerPageView> weakPage = page;
    page->setOnSelectedWeekInMonthChanged([weakSelf, weakPage](const WeekInMonth& weekInMonth) {
        const auto self = weakSelf.lock();
        const auto changed = weakPage.lock();
        if (self && changed) {
            self->pageSelectedWeekInMonth(*changed, weekInMonth);
        }
    });
    page->setOnSecondTapOnWeek([weakSelf](const WeekInMonth& weekInMonth) {
        const auto self = weakSelf.lock();
        if (self && self->m_onSecondTapOnWeek) {
            self->m_onSecondTapOnWeek(weekInMonth.week());
        }
    });
    return page;
}

void WeekPickerController::pageSelectedWeekInMonth(const WeekPickerPageView& page,
                                                   const WeekInMonth& weekInMonth) {
    m_selectedWeekInMonth = weekInMonth;
    for (const auto& other : m_infiniteScrollView->pageViews()) {
        if (other.get() != &page) {
            static_cast<WeekPickerPageView&>(*other).setSelectedWeekInMonth(std::nullopt);
        }
    }
    emitWeekSelectionChanged();
}

void WeekPickerController::selectWeekInMonth(const WeekInMonth& weekInMonth) {
    view();
    m_initiallySelectedWeekInMonth = weekInMonth;
    m_selectedWeekInMonth.reset();
    for (const auto& pageView : m_infiniteScrollView->pageViews()) {
        auto& page = static_cast<WeekPickerPageView&>(*pageView);
        page.setInitiallySelectedWeekInMonth(m_initiallySelectedWeekInMonth);
        page.setSelectedWeekInMonth(m_selectedWeekInMonth);
    }
    const Month& month = weekInMonth.month();
    if (m_landscape) {
        m_infiniteScrollView->setCurrentPageItem(PageItem(month.twoMonths()));
    } else {
        m_infiniteScrollView->setCurrentPageItem(PageItem(month.quarter()));
    }
}

// Orientation.

void WeekPickerController::configureForCurrentOrientation() {
    const bool landscape = InterfaceOrientation::isLandscape();
    if (landscape && !m_landscape) {
        configureForLandscape();
    } else if (!landscape && m_landscape) {
        configureForPortrait();
    }
}

void WeekPickerController::configureForLandscape() {
    configureFor(true);
}

void WeekPickerController::configureForPortrait() {
    configureFor(false);
}

void WeekPickerController::configureFor(bool landscape) {
    view();
    const PageItem currentItem = m_infiniteScrollView->currentPageItem();
    const MonthsPeriod* current = MonthsPeriodItem::periodOf(currentItem);
    std::unique_ptr<MonthsPeriod> item;
    if (current) {
        item = landscape ? current->lastMonth().twoMonths().clone() : current->firstMonth().quarter().clone();
    }
    m_landscape = landscape;
    const WeekPickerGeometry& geometry = landscape ? landscapePickerGeometry : portraitPickerGeometry;
    m_grayOverlayView->setFrame(geometry.overlay);
    m_pickerPanelView->setFrame(geometry.panel);
    const Rect scroller(3, geometry.scrollerY, geometry.panel.width() - 6, geometry.panel.height() + 5);
    m_infiniteScrollView->setFrame(scroller);
    m_infiniteScrollView->setMainPageFrame(
        Rect(geometry.mainPageX, 0, weekPickerPageWidth, scroller.height()));
    if (item && !m_infiniteScrollView->pageViews().empty()) {
        m_infiniteScrollView->reorganizePagesAssigningMainPageTheItem(*item);
    }
    emitWeekSelectionChanged();
}

// Selection.

std::optional<Week> WeekPickerController::selectedWeek() const {
    if (!m_infiniteScrollView) {
        return std::nullopt;
    }
    for (const auto& pageView : m_infiniteScrollView->pageViews()) {
        const auto& page = static_cast<const WeekPickerPageView&>(*pageView);
        if (page.selectedWeekInMonth()) {
            return page.selectedWeekInMonth()->week();
        }
    }
    return std::nullopt;
}

void WeekPickerController::emitWeekSelectionChanged() {
    if (!m_onWeekSelectionChanged) {
        return;
    }
    const PageItem currentItem = m_infiniteScrollView ? m_infiniteScrollView->currentPageItem() : PageItem();
    const MonthsPeriod* current = MonthsPeriodItem::periodOf(currentItem);
    if (!current || !m_selectedWeekInMonth) {
        m_onWeekSelectionChanged(std::nullopt);
        return;
    }
    const Month first = m_landscape ? current->addMonthsPeriod(-1)->firstMonth() : current->firstMonth();
    const Month last = current->addMonthsPeriod(1)->lastMonth();
    const Month& month = m_selectedWeekInMonth->month();
    const bool inView = !month.isEarlierThan(first) && !month.isLaterThan(last);
    m_onWeekSelectionChanged(inView ? std::optional<Week>(m_selectedWeekInMonth->week()) : std::nullopt);
}

// Opening and closing.

void WeekPickerController::setVisible(bool visible) {
    const bool appearing = visible && !m_visible;
    m_visible = visible;
    if (appearing && m_infiniteScrollView) {
        m_infiniteScrollView->triggerLoadingData();
    }
}

void WeekPickerController::openAnimated() {
    view();
    configureForCurrentOrientation();
    m_pickerPanelView->setFrameY(-m_pickerPanelView->frame().height());
    m_grayOverlayView->setBackgroundColor(Color(0, 0, 0, 0));
    const std::shared_ptr<WeekPickerPanelView> panel = m_pickerPanelView;
    const std::shared_ptr<WeekPickerGrayOverlayView> overlay = m_grayOverlayView;
    View::animate(slideDuration, 0, AnimationCurve::easeOut, AnimationOptions(), [panel, overlay] {
        panel->setFrameY(0);
        overlay->setBackgroundColor(Color(0, 0, 0, overlayOpacity));
    });
    setVisible(true);
    if (const std::shared_ptr<Hint> hint = Hint::hintByIdentifier(QStringLiteral("holidaysHint"))) {
        hint->trigger();
    }
}

void WeekPickerController::closeAnimated(bool animated, std::function<void()> completion) {
    setVisible(false);
    if (!isViewLoaded()) {
        if (completion) {
            completion();
        }
        return;
    }
    const std::shared_ptr<WeekPickerPanelView> panel = m_pickerPanelView;
    const std::shared_ptr<WeekPickerGrayOverlayView> overlay = m_grayOverlayView;
    const double hiddenY = -m_infiniteScrollView->frame().height();
    const auto slideOut = [panel, overlay, hiddenY] {
        panel->setFrameY(hiddenY);
        overlay->setBackgroundColor(std::nullopt);
    };
    if (!animated) {
        slideOut();
        if (completion) {
            completion();
        }
        return;
    }
    View::animate(slideDuration, 0, AnimationCurve::easeIn, AnimationOptions(), slideOut,
                  [completion = std::move(completion)](bool) {
                      if (completion) {
                          completion();
                      }
                  });
}

void WeekPickerController::refreshCachedData() {
    if (!m_infiniteScrollView) {
        return;
    }
    m_infiniteScrollView->refreshCachedData();
    if (m_visible) {
        m_infiniteScrollView->triggerLoadingData();
    }
}

std::any WeekPickerController::loadDataForMonthsPeriod(const MonthsPeriod& period) {
    const EventList events = EventService::sharedInstance().synchronousFindAllEventsFromDateTime(
        MonthsPeriodHolidays::fetchStartForMonthsPeriod(period),
        MonthsPeriodHolidays::fetchEndForMonthsPeriod(period));
    const std::vector<Holiday> holidays = EventService::extractHolidaysFromEvents(events);
    return std::make_shared<const MonthsPeriodHolidays>(
        MonthsPeriodHolidays::layoutForMonthsPeriod(period, holidays, holidayBarColor));
}
