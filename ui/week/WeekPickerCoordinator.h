#pragma once

#include "core/calendar/Week.h"

#include <functional>
#include <memory>
#include <optional>

class BarButtonItem;
class DateTitleView;
class Hint;
class ScrollView;
class ViewController;
class WeekPickerController;

// What the week picker needs of the screen it opens over.
class WeekPickerHost {
public:
    virtual ~WeekPickerHost() = default;
    virtual ViewController& weekScreen() = 0;
    virtual Week currentWeek() const = 0;
    virtual const std::shared_ptr<DateTitleView>& dateTitleView() const = 0;
    virtual const std::shared_ptr<ScrollView>& scrollView() const = 0;
    virtual void jumpToWeek(const Week& week) = 0;
};

// The week picker, opened over the pages by a tap on the title (or from the actions menu). While
// it is open, the bar shows "Cancel" and "Go" and the title names the picked week.
class WeekPickerCoordinator : public std::enable_shared_from_this<WeekPickerCoordinator> {
public:
    // Choosing a week with "Go" invalidates `weekPickerHint`.
    explicit WeekPickerCoordinator(std::shared_ptr<Hint> weekPickerHint);
    void setHost(std::weak_ptr<WeekPickerHost> host) { m_host = std::move(host); }

    const std::shared_ptr<WeekPickerController>& weekPickerController() const {
        return m_weekPickerController;
    }

    void dateTitleTapped();
    void openWeekPicker(bool fromMenu);
    void closeWeekPickerAnimated(bool animated, std::function<void()> completion);
    void handleWeekPickerCancelButton();
    void handleWeekPickerGoButton();
    // A picker made under other settings is made again on next use; an open one closes first.
    void dropWeekPickerController();
    void dropWeekPickerControllerIfOffScreen();
    // A picker on screen takes the layout of the orientation the screen turns to.
    void configureForOrientation(bool landscape);

private:
    void createWeekPickerController();
    void weekPickerSelectionChanged(const std::optional<Week>& week);
    void closeWeekPickerAndJumpToWeek(const std::optional<Week>& week);

    std::weak_ptr<WeekPickerHost> m_host;
    std::shared_ptr<Hint> m_weekPickerHint;
    std::shared_ptr<WeekPickerController> m_weekPickerController;
    std::shared_ptr<BarButtonItem> m_savedLeftBarButtonItem;
    std::shared_ptr<BarButtonItem> m_savedRightBarButtonItem;
    bool m_savedLeftBarButtonItemEnabled = true;
    bool m_savedRightBarButtonItemEnabled = true;
};
