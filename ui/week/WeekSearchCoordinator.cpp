#include "ui/week/WeekSearchCoordinator.h"

#include "core/calendar/DateUtilities.h"
#include "core/events/SearchService.h"
#include "core/hints/Hint.h"
#include "foundation/RunLoop.h"
#include "kit/KeyInput.h"
#include "kit/ScrollView.h"
#include "kit/ViewController.h"
#include "ui/copymove/CopyMoveEventMode.h"
#include "ui/search/SearchBarView.h"
#include "ui/search/SearchResultHighlightView.h"
#include "ui/week/WeekViewController.h"

#include <Qt>

WeekSearchCoordinator::WeekSearchCoordinator(EventService& eventService, CopyMoveEventMode& copyMoveEventMode)
    : m_eventService(eventService), m_copyMoveEventMode(copyMoveEventMode) {}

Week WeekSearchCoordinator::currentWeek() const {
    const auto host = m_host.lock();
    return host ? host->currentWeek() : Week::currentWeek();
}

void WeekSearchCoordinator::openSearch() {
    const auto host = m_host.lock();
    if (!host || m_copyMoveEventMode.activated() || host->weekViews().size() != 3) {
        return;
    }
    if (auto hint = Hint::hintByIdentifier(QStringLiteral("searchHint"))) {
        hint->invalidate();
    }
    initializeSearchBar();
    m_searchBar->showSearchIsOpeningIndication();
    host->weekViews()[1]->deselectEventsAnimated(false, false);
    if (m_searchModeActivated) {
        m_searchBar->showKeyboard(false);
        return;
    }
    const std::weak_ptr<WeekSearchCoordinator> weakSelf = weak_from_this();
    RunLoop::main().post([weakSelf] {
        const auto self = weakSelf.lock();
        if (self && !self->m_searchModeActivated) {
            self->toggleSearchBarAnimated(true);
        }
    });
}

void WeekSearchCoordinator::initializeSearchBar() {
    const auto host = m_host.lock();
    if (m_searchBar || !host) {
        return;
    }
    m_searchService = std::make_shared<SearchService>(m_eventService);
    m_searchBar = SearchBarView::create(m_searchService);
    m_searchBar->setDelegate(std::static_pointer_cast<SearchBarViewDelegate>(shared_from_this()));
    m_searchBar->setScrollView(host->scrollView());
    m_searchBar->displayedWeekChanged(host->currentWeek());
}

void WeekSearchCoordinator::toggleSearchBarAnimated(bool animated) {
    const auto host = m_host.lock();
    if (!host) {
        return;
    }
    host->showOrHideMoveEventBarAnimated(animated, true);
    initializeSearchBar();
    m_searchModeActivated = !m_searchModeActivated;
    if (m_searchModeActivated) {
        host->weekScreen().view()->addSubview(m_searchBar);
        host->scrollView()->setScrollEnabled(false);
        m_searchBar->showKeyboard(true);
    } else {
        hideSearchHighlight();
        m_searchResult.reset();
        m_searchBar->close();
        host->scrollView()->setScrollEnabled(true);
    }
    for (const auto& page : host->weekViews()) {
        page->disableMoreButton(m_searchModeActivated);
    }
}

void WeekSearchCoordinator::doneSearching(bool animated) {
    toggleSearchBarAnimated(animated);
}

void WeekSearchCoordinator::showSearchResult(const std::optional<SearchResult>& result) {
    const auto host = m_host.lock();
    if (!host) {
        return;
    }
    if (!result) {
        m_searchBar->enableButtons();
        return;
    }
    const Week week = DateUtilities::week(result->dateTime());
    if (week != host->currentWeek()) {
        m_searchBar->disableButtons();
        host->scrollToWeek(week, true, false);
    } else {
        for (const auto& page : host->weekViews()) {
            page->highlightSearchResult(*result);
        }
        m_searchBar->enableButtons();
    }
    m_searchResult = result;
}

void WeekSearchCoordinator::highlightSearchResultAfterScroll() {
    const auto host = m_host.lock();
    if (m_searchResult && host) {
        for (const auto& page : host->weekViews()) {
            page->highlightSearchResult(*m_searchResult);
        }
    } else {
        hideSearchHighlight();
    }
    if (m_searchBar) {
        m_searchBar->enableButtons();
    }
}

void WeekSearchCoordinator::hideSearchHighlight() {
    SearchResultHighlightView::selectedResultInstance()->hide();
}

void WeekSearchCoordinator::displayedWeekChanged(const Week& week) {
    if (m_searchModeActivated && m_searchBar) {
        m_searchBar->displayedWeekChanged(week);
    }
}

void WeekSearchCoordinator::pagesSettledAfterDrag(const Week& displayedWeek, bool movedToOtherWeek) {
    if (m_searchModeActivated && m_searchBar) {
        m_searchBar->displayedWeekChanged(displayedWeek);
        if (movedToOtherWeek) {
            hideSearchHighlight();
        }
    }
}

void WeekSearchCoordinator::jumpSettled() {
    if (m_searchModeActivated) {
        highlightSearchResultAfterScroll();
    }
}

void WeekSearchCoordinator::middlePageMovedForJump(double dx) {
    if (!m_searchModeActivated) {
        return;
    }
    // The bubble stays on its event, which moved with the middle page.
    const std::shared_ptr<SearchResultHighlightView>& bubble =
        SearchResultHighlightView::selectedResultInstance();
    if (bubble->superview()) {
        bubble->moveFrameX(dx);
    }
}

bool WeekSearchCoordinator::handleScreenKey(const KeyInput& input) {
    const bool controlF = input.type == KeyInput::Type::Press && input.key == Qt::Key_F &&
                          (input.modifiers & Qt::ControlModifier) != 0;
    if (controlF) {
        openSearch();
        return true;
    }
    return m_searchModeActivated && m_searchBar && m_searchBar->handleSearchKey(input);
}

void WeekSearchCoordinator::openSearchFromMenu() {
    const auto host = m_host.lock();
    if (!host || m_copyMoveEventMode.activated() || host->weekViews().size() != 3) {
        return;
    }
    initializeSearchBar();
    if (m_searchModeActivated) {
        m_searchBar->showKeyboard(false);
    } else {
        toggleSearchBarAnimated(true);
    }
    m_searchBar->setActivatedUsingMenu(true);
}

void WeekSearchCoordinator::closeSearchForMenuScreen() {
    if (m_searchModeActivated && m_searchBar) {
        m_searchBar->closeSearch(false);
    }
}
