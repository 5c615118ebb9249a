#pragma once

#include "core/calendar/Week.h"

#include <memory>
#include <optional>
#include <vector>

class EventTouchLock;
class GestureRecognizer;
class Hint;
class ImageView;
class LoadingIndicator;
class ScrollView;
class ViewController;
class WeekViewController;

// What the pages need of the screen that shows them.
class WeekPagerHost {
public:
    virtual ~WeekPagerHost() = default;
    virtual ViewController& weekScreen() = 0;
    virtual const std::shared_ptr<ScrollView>& scrollView() const = 0;
    virtual const std::shared_ptr<LoadingIndicator>& loadingIndicator() const = 0;
    // A page whose rows take their touches under `touchLock`, the lock of all pages.
    virtual std::shared_ptr<WeekViewController>
    newWeekViewController(std::shared_ptr<EventTouchLock> touchLock) = 0;
    // An upward swipe on a page.
    virtual void toggleSearch(GestureRecognizer& recognizer) = 0;
    virtual void updateHeaderWithWeek(const Week& week) = 0;
    // A far jump moved the middle page `dx` points sideways, in front of the blurred picture.
    virtual void middlePageMovedForJump(double dx) = 0;
};

// The three pages of the week screen at page positions 99, 100 and 101 of a content 201 pages
// wide: the middle one shows the displayed week, the outer ones are recycled as the user drags
// past them, and a jump of more than one week crosses a blurred picture instead of the weeks in
// between. Also counts how often the user pages in the same direction.
class WeekPager : public std::enable_shared_from_this<WeekPager> {
public:
    static constexpr int pageCount = 201;
    static constexpr int middlePagePosition = 100;

    // Starts at the present week; someone paging week by week is pointed to `weekPickerHint`.
    explicit WeekPager(std::shared_ptr<Hint> weekPickerHint);
    ~WeekPager();
    WeekPager(const WeekPager&) = delete;
    WeekPager& operator=(const WeekPager&) = delete;

    void setHost(std::weak_ptr<WeekPagerHost> host) { m_host = std::move(host); }

    const Week& displayedWeek() const { return m_displayedWeek; }
    const std::vector<std::shared_ptr<WeekViewController>>& weekViews() const { return m_weekViews; }
    // Whether the three pages stand (not between an unload and the next load).
    bool hasPages() const { return m_weekViews.size() == 3; }
    std::shared_ptr<WeekViewController> middlePage() const { return m_weekViews[1]; }
    const std::shared_ptr<ImageView>& fuzzyTransitionView() const { return m_fuzzyTransitionView; }
    const std::optional<Week>& targetWeek() const { return m_targetWeek; }
    int sameDirectionCount() const { return m_sameDirectionCount; }
    int lastDirection() const { return m_lastDirection; }
    bool firstWeekLoaded() const { return m_firstWeekLoaded; }

    // Makes the three pages in the host's scroll view, reading the displayed week first.
    void loadPages();
    void unloadPages();
    // Three new pages around the present week, as at launch.
    void rebuildWeekViewsForCurrentWeek();

    // A drag moved the content: the outer page beyond the drag goes to the other side.
    void recyclePagesAfterScroll();
    // Puts the pages back around the middle after a drag ended; the number of pages the drag
    // moved by (-1, 0 or 1).
    int settleAfterDrag();
    // Starts the way to `week`; false when it is not animated, and so already over.
    bool scrollToWeek(const Week& week, bool animated);
    // After a jump's scroll: the target week becomes the displayed one.
    void finishJump();
    void resetDirectionCount();
    // Touches on the pages and the navigation bar.
    void setTouchesOnPagesEnabled(bool enabled);
    // Touches on the navigation bar alone: back as soon as the finger lifts, so that "Today" and
    // the other buttons work while the pages still glide.
    void setTouchesOnBarEnabled(bool enabled);
    // Puts the three pages around the displayed week and reads them.
    void initializeViews(bool firstTime);
    // A week chosen elsewhere (the three-weeks view) becomes the displayed one; the pages follow
    // at the next initializeViews.
    void setDisplayedWeek(const Week& week) { m_displayedWeek = week; }

private:
    void initializeWeekViews();
    void fadeOutLoadingIndicator();
    void applyWeekViewPositions();
    void removeWeekViews();
    std::shared_ptr<WeekViewController> currentViewInMiddleOfScreen() const;
    void prepareFuzzyTransitionStartingAtPosition(int position);
    void countDirection(int page);
    void scrollToPagePosition(int position, bool animated);

    std::weak_ptr<WeekPagerHost> m_host;
    std::shared_ptr<Hint> m_weekPickerHint;
    Week m_displayedWeek;
    std::optional<Week> m_targetWeek;
    std::vector<std::shared_ptr<WeekViewController>> m_weekViews;
    // A touch on a row of one page keeps the rows of every page from a touch of their own.
    std::shared_ptr<EventTouchLock> m_eventTouchLock;
    std::shared_ptr<ImageView> m_fuzzyTransitionView;
    double m_width = 320.0;
    double m_height = 416.0;
    int m_sameDirectionCount = 0;
    int m_lastDirection = 0;
    bool m_firstWeekLoaded = false;
};
