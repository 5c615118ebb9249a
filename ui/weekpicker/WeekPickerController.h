#pragma once

#include "core/bus/BusReceiver.h"
#include "core/calendar/WeekInMonth.h"
#include "kit/Rect.h"
#include "kit/ViewController.h"

#include <any>
#include <functional>
#include <memory>
#include <optional>

class MonthsPeriod;
class WeekPickerGrayOverlayView;
class WeekPickerPageView;
class WeekPickerPanelView;
class WeekPickerScrollView;

// The week picker: a panel of scrolling mini months that slides down over the week screen, six
// months in view (two columns of three in portrait, three of two in landscape), endless both
// ways, with holidays as coloured bars. A tap or a drag selects a week; a second tap on it asks
// the week screen to jump there.
class WeekPickerController : public ViewController, public BusReceiver {
public:
    static constexpr double slideDuration = 0.3;
    static constexpr double overlayOpacity = 0.5;

    explicit WeekPickerController(const Rect& frame);
    ~WeekPickerController() override;

    // Opens on the week's month with the week marked as the one the week screen shows.
    void selectWeekInMonth(const WeekInMonth& weekInMonth);
    void openAnimated();
    void closeAnimated(bool animated, std::function<void()> completion);

    void configureForCurrentOrientation();
    void configureForLandscape();
    void configureForPortrait();

    // The week selected on the pages, or none.
    std::optional<Week> selectedWeek() const;
    const std::optional<WeekInMonth>& selectedWeekInMonth() const { return m_selectedWeekInMonth; }
    const std::optional<WeekInMonth>& initiallySelectedWeekInMonth() const {
        return m_initiallySelectedWeekInMonth;
    }
    bool landscape() const { return m_landscape; }
    bool visible() const { return m_visible; }
    void setVisible(bool visible);

    // The holidays are read again (after a change of the store or of the visible calendars).
    void refreshCachedData();
    // Tells the selected week, or none when it is not among the months in view.
    void emitWeekSelectionChanged();
    // The holiday bars of the period from the store; runs on a background queue.
    static std::any loadDataForMonthsPeriod(const MonthsPeriod& period);

    using WeekHandler = std::function<void(const Week& week)>;
    using WeekSelectionHandler = std::function<void(const std::optional<Week>& week)>;
    void setOnSecondTapOnWeek(WeekHandler handler) { m_onSecondTapOnWeek = std::move(handler); }
    void setOnWeekSelectionChanged(WeekSelectionHandler handler) {
        m_onWeekSelectionChanged = std::move(handler);
    }

    const std::shared_ptr<WeekPickerGrayOverlayView>& grayOverlayView() const { return m_grayOverlayView; }
    const std::shared_ptr<WeekPickerPanelView>& pickerPanelView() const { return m_pickerPanelView; }
    const std::shared_ptr<WeekPickerScrollView>& infiniteScrollView() const { return m_infiniteScrollView; }

protected:
    void loadView() override;
    // A view dropped off screen is built anew, with its registrations, at the next use.
    void viewDidUnload() override;

private:
    void wireScrollView();
    void configureFor(bool landscape);
    std::shared_ptr<WeekPickerPageView> newPageView();
    void pageSelectedWeekInMonth(const WeekPickerPageView& page, const WeekInMonth& weekInMonth);
    std::weak_ptr<WeekPickerController> weakSelf();

    Rect m_frame;
    std::shared_ptr<WeekPickerGrayOverlayView> m_grayOverlayView;
    std::shared_ptr<WeekPickerPanelView> m_pickerPanelView;
    std::shared_ptr<WeekPickerScrollView> m_infiniteScrollView;
    std::optional<WeekInMonth> m_initiallySelectedWeekInMonth;
    std::optional<WeekInMonth> m_selectedWeekInMonth;
    bool m_landscape = false;
    bool m_visible = false;
    WeekHandler m_onSecondTapOnWeek;
    WeekSelectionHandler m_onWeekSelectionChanged;
};
