#pragma once

#include "ui/search/SearchBarViewDelegate.h"

#include <memory>
#include <optional>
#include <vector>

class CopyMoveEventMode;
class EventService;
class ScrollView;
class SearchBarView;
class SearchService;
class ViewController;
class WeekViewController;
struct KeyInput;

// What search needs of the week screen it searches.
class WeekSearchHost {
public:
    virtual ~WeekSearchHost() = default;
    virtual ViewController& weekScreen() = 0;
    virtual Week currentWeek() const = 0;
    virtual const std::vector<std::shared_ptr<WeekViewController>>& weekViews() const = 0;
    virtual const std::shared_ptr<ScrollView>& scrollView() const = 0;
    virtual void scrollToWeek(const Week& week, bool animated, bool closeListEventsPopup) = 0;
    // With `bottomBar`, makes room for the search bar at the bottom of the pages (or gives it
    // back).
    virtual void showOrHideMoveEventBarAnimated(bool animated, bool bottomBar) = 0;
};

// The search bar at the bottom of the week screen: opened by an upward swipe, Ctrl+F or the
// actions menu, it steps through the results week by week and marks the one it found.
class WeekSearchCoordinator : public SearchBarViewDelegate,
                              public std::enable_shared_from_this<WeekSearchCoordinator> {
public:
    WeekSearchCoordinator(EventService& eventService, CopyMoveEventMode& copyMoveEventMode);
    void setHost(std::weak_ptr<WeekSearchHost> host) { m_host = std::move(host); }

    bool searchModeActivated() const { return m_searchModeActivated; }
    // Null until search is first opened.
    const std::shared_ptr<SearchBarView>& searchBar() const { return m_searchBar; }

    void openSearch();
    // Unlike the swipe, the menu leaves the search hint valid: closing search shows it.
    void openSearchFromMenu();
    void closeSearchForMenuScreen();
    // Ctrl+F opens search; the open search takes Escape, Return and the arrows.
    bool handleScreenKey(const KeyInput& input);

    // SearchBarViewDelegate.
    Week currentWeek() const override;
    void showSearchResult(const std::optional<SearchResult>& result) override;
    void doneSearching(bool animated) override;

    // The pages' movements, as far as the open search follows them.
    void forgetSearchResult() { m_searchResult.reset(); }
    void displayedWeekChanged(const Week& week);
    void pagesSettledAfterDrag(const Week& displayedWeek, bool movedToOtherWeek);
    void jumpSettled();
    void middlePageMovedForJump(double dx);

private:
    void initializeSearchBar();
    void toggleSearchBarAnimated(bool animated);
    // Marks the kept search result on every page, or hides the bubble when there is none.
    void highlightSearchResultAfterScroll();
    void hideSearchHighlight();

    std::weak_ptr<WeekSearchHost> m_host;
    EventService& m_eventService;
    CopyMoveEventMode& m_copyMoveEventMode;
    std::shared_ptr<SearchService> m_searchService;
    std::shared_ptr<SearchBarView> m_searchBar;
    bool m_searchModeActivated = false;
    // Highlighted once the jump to its week has settled.
    std::optional<SearchResult> m_searchResult;
};
