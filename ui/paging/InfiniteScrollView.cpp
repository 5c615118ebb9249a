#include "ui/paging/InfiniteScrollView.h"

#include "core/paging/PageDataLoader.h"
#include "foundation/ListExtensions.h"
#include "foundation/RunLoop.h"
#include "ui/paging/InfiniteScrollPageView.h"
#include "ui/paging/PageScrollView.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Big steps round their counts half up (the values are mostly positive; a negative one rounds
// towards the next integer up as well, which keeps the last three pages exact either way).
int roundPagesHalfUp(double value) {
    return static_cast<int>(std::floor(value + 0.5));
}

// The last pages before a far jump stops show exact items.
constexpr int exactPagesBeforeStop = 3;

} // namespace

std::shared_ptr<InfiniteScrollView> InfiniteScrollView::create(const Rect& frame) {
    auto view = std::make_shared<InfiniteScrollView>(frame);
    view->connectScrollView();
    return view;
}

InfiniteScrollView::InfiniteScrollView(const Rect& frame)
    : View(frame), m_scrollView(std::make_shared<PageScrollView>(bounds())),
      m_loader(PageDataLoader::create()), m_mainPageFrame(frame) {
    setBackgroundColor(std::nullopt);
    m_scrollView->setBackgroundColor(std::nullopt);
    m_scrollView->setPagingEnabled(true);
    m_scrollView->setShowsHorizontalScrollIndicator(false);
    m_scrollView->setShowsVerticalScrollIndicator(false);
    configureScrollParameters();
    m_scrollView->setClipsToBounds(false);
    setClipsToBounds(true);
}

InfiniteScrollView::~InfiniteScrollView() = default;

// A view links to its superview weakly, which needs the shared owner made by create.
void InfiniteScrollView::connectScrollView() {
    addSubview(m_scrollView);
    m_scrollView->setDelegate(weakSelf());
}

std::weak_ptr<InfiniteScrollView> InfiniteScrollView::weakSelf() {
    return std::static_pointer_cast<InfiniteScrollView>(shared_from_this());
}

void InfiniteScrollView::setToLoadData(LoadData toLoadData) {
    m_loader->setToLoadData(std::move(toLoadData));
}

void InfiniteScrollView::setMainPageFrame(const Rect& frame) {
    m_mainPageFrame = frame;
    configureScrollParameters();
}

void InfiniteScrollView::configureScrollParameters() {
    const double w = m_mainPageFrame.width();
    const double x0 = m_mainPageFrame.x();
    const int oldPagesBefore = m_pagesBefore;
    m_pageWidth = w;
    m_swapThreshold = w / 3;
    if (w > 0) {
        m_pagesBefore = static_cast<int>(std::ceil((x0 + w / 3) / w));
        m_pagesAfter = static_cast<int>(std::ceil((bounds().width() - x0 - w + w / 3) / w));
        m_pagesBefore = std::max(m_pagesBefore, 0);
        m_pagesAfter = std::max(m_pagesAfter, 0);
    } else {
        m_pagesBefore = 0;
        m_pagesAfter = 0;
    }
    if (!m_pageViews.empty()) {
        addMissingPages(oldPagesBefore);
        // A shrinking layout keeps its pages: the counts say how many there are on each side
        // of the main page, so that the next layout adds only what is missing.
        m_pagesBefore = std::max(m_pagesBefore, oldPagesBefore);
        m_pagesAfter = static_cast<int>(m_pageViews.size()) - 1 - m_pagesBefore;
    }
    m_totalPages = m_pagesBefore + m_pagesAfter + 1;

    // The pages keep their places relative to the offset, so that the main page stays the one
    // in the main page frame.
    const double shift = centrePage * w - m_scrollView->contentOffset().x();
    for (const auto& page : m_pageViews) {
        page->moveFrameX(shift);
    }
    m_ignoreScrolls = true;
    m_scrollView->setFrame(m_mainPageFrame);
    m_scrollView->setContentSize(Size(contentPages * w, bounds().height()));
    m_scrollView->setContentOffset(Point(centrePage * w, 0), false);
    m_ignoreScrolls = false;
}

// Pages are only ever added: a shrinking layout keeps the pages it has.
void InfiniteScrollView::addMissingPages(int oldPagesBefore) {
    int pagesAfterMain = static_cast<int>(m_pageViews.size()) - 1 - oldPagesBefore;
    while (pagesAfterMain < m_pagesAfter) {
        const std::shared_ptr<InfiniteScrollPageView> last = m_pageViews.back();
        std::shared_ptr<InfiniteScrollPageView> page =
            createPageView(m_toGetOtherPageItem(last->pageItem(), 1));
        page->setFrameX(last->frame().x() + last->frame().width());
        m_pageViews.push_back(page);
        ++pagesAfterMain;
    }
    for (int pagesBeforeMain = oldPagesBefore; pagesBeforeMain < m_pagesBefore; ++pagesBeforeMain) {
        const std::shared_ptr<InfiniteScrollPageView> first = m_pageViews.front();
        std::shared_ptr<InfiniteScrollPageView> page =
            createPageView(m_toGetOtherPageItem(first->pageItem(), -1));
        page->setFrameX(first->frame().x() - page->frame().width());
        m_pageViews.insert(m_pageViews.begin(), page);
    }
}

std::shared_ptr<InfiniteScrollPageView> InfiniteScrollView::createPageView(const PageItem& item) {
    std::shared_ptr<InfiniteScrollPageView> page = m_toCreatePageView(item);
    page->setPageItem(item);
    initializePageView(*page);
    m_scrollView->addSubview(page);
    page->setInfiniteScrollView(weakSelf());
    return page;
}

void InfiniteScrollView::initializePageView(InfiniteScrollPageView& pageView) {
    if (m_toInitializePageView) {
        m_toInitializePageView(pageView);
    }
}

void InfiniteScrollView::setCurrentPageItem(const PageItem& item, bool animated) {
    if (m_pageViews.empty()) {
        buildPages(item);
        return;
    }
    stopScrollBeforeBlock([weakSelf = weakSelf(), item, animated] {
        if (auto self = weakSelf.lock()) {
            self->scrollToItem(item, animated);
        }
    });
}

void InfiniteScrollView::buildPages(const PageItem& item) {
    m_pageViews.reserve(static_cast<std::size_t>(m_totalPages));
    PageItem pageItem = m_toGetOtherPageItem(item, -m_pagesBefore);
    double x = m_scrollView->contentOffset().x() - m_pagesBefore * m_pageWidth;
    for (int i = 0; i < m_totalPages; ++i) {
        std::shared_ptr<InfiniteScrollPageView> page = createPageView(pageItem);
        page->setFrameX(x);
        m_pageViews.push_back(page);
        pageItem = m_toGetOtherPageItem(pageItem, 1);
        x += m_pageWidth;
    }
    triggerLoadingData();
}

void InfiniteScrollView::scrollToItem(const PageItem& item, bool animated) {
    const std::shared_ptr<InfiniteScrollPageView> centre = currentPageViewAtCenterOfScreen();
    if (!centre) {
        return;
    }
    const int distance = m_toGetDistanceBetweenItems(centre->pageItem(), item);
    if (std::abs(distance) <= maximumPagesCrossed) {
        setScrollContentOffset(Point(centre->frame().x() + distance * m_pageWidth, 0), animated);
        return;
    }
    const int pagesCrossed = std::clamp(distance, -maximumPagesCrossed, maximumPagesCrossed);
    m_bigStepsModeEnabled = true;
    m_bigStepsTargetItem = item;
    m_bigStepsTargetX = centre->frame().x() + pagesCrossed * m_pageWidth;
    setScrollContentOffset(Point(m_bigStepsTargetX, 0), animated);
}

PageItem InfiniteScrollView::currentPageItem() const {
    const std::shared_ptr<InfiniteScrollPageView> centre = currentPageViewAtCenterOfScreen();
    return centre ? centre->pageItem() : PageItem();
}

std::shared_ptr<InfiniteScrollPageView> InfiniteScrollView::currentPageViewAtCenterOfScreen() const {
    return pageViewAtPositionX(m_scrollView->contentOffset().x() + m_scrollView->bounds().width() / 2);
}

std::shared_ptr<InfiniteScrollPageView> InfiniteScrollView::pageViewAtPositionX(double x) const {
    for (const auto& page : m_pageViews) {
        const Rect frame = page->frame();
        if (x >= frame.x() && x <= frame.x() + frame.width()) {
            return page;
        }
    }
    return nullptr;
}

void InfiniteScrollView::setFreeScroll(bool freeScroll) {
    m_freeScroll = freeScroll;
    m_scrollView->setPagingEnabled(!freeScroll);
}

bool InfiniteScrollView::scrollEnabled() const {
    return m_scrollView->scrollEnabled();
}

void InfiniteScrollView::setScrollEnabled(bool enabled) {
    m_scrollView->setScrollEnabled(enabled);
}

// Recycling.

void InfiniteScrollView::makeSureAllPagesAreVisible() {
    if (m_pageViews.size() < 2 || m_pageWidth <= 0) {
        return;
    }
    bool moved = false;
    const double left = m_scrollView->contentOffset().x() - m_mainPageFrame.x();
    while (left < m_pageViews.front()->frame().x() + m_swapThreshold) {
        recycleLastPageToFront();
        moved = true;
    }
    const double right = left + bounds().width();
    while (right > m_pageViews.back()->frame().maxX() - m_swapThreshold) {
        recycleFirstPageToEnd();
        moved = true;
    }
    if (moved) {
        triggerLoadingData();
    }
}

void InfiniteScrollView::recycleLastPageToFront() {
    const std::shared_ptr<InfiniteScrollPageView> page = Move::moveLastObjectToBegin(m_pageViews);
    const InfiniteScrollPageView& oldFirst = *m_pageViews[1];
    page->setFrameX(oldFirst.frame().x() - page->frame().width());
    page->setPageItem(m_bigStepsModeEnabled ? bigStepItemMovingLeft(page->frame().x(), oldFirst.pageItem())
                                            : m_toGetOtherPageItem(oldFirst.pageItem(), -1));
    initializePageView(*page);
}

void InfiniteScrollView::recycleFirstPageToEnd() {
    const std::shared_ptr<InfiniteScrollPageView> page = Move::moveFirstObjectToEnd(m_pageViews);
    const InfiniteScrollPageView& oldLast = *m_pageViews[m_pageViews.size() - 2];
    page->setFrameX(oldLast.frame().x() + page->frame().width());
    page->setPageItem(m_bigStepsModeEnabled ? bigStepItemMovingRight(page->frame().x(), oldLast.pageItem())
                                            : m_toGetOtherPageItem(oldLast.pageItem(), 1));
    initializePageView(*page);
}

// A page passing by during a far jump to the left: the last pages before the stop are exact,
// the others spread the remaining distance evenly.
PageItem InfiniteScrollView::bigStepItemMovingLeft(double x, const PageItem& firstItem) {
    const double distance = x - m_bigStepsTargetX;
    const int pages = roundPagesHalfUp(distance / m_pageWidth);
    const int spread = roundPagesHalfUp((distance - 2 * m_pageWidth) / m_pageWidth);
    if (pages < exactPagesBeforeStop || spread <= 0) {
        m_bigStepsModeEnabled = false;
        return m_toGetOtherPageItem(m_bigStepsTargetItem, pages);
    }
    const int items = m_toGetDistanceBetweenItems(m_bigStepsTargetItem, firstItem);
    const int step = roundPagesHalfUp(double(items - 2) / spread);
    return m_toGetOtherPageItem(firstItem, -step);
}

PageItem InfiniteScrollView::bigStepItemMovingRight(double x, const PageItem& lastItem) {
    const double distance = m_bigStepsTargetX - x;
    const int pages = roundPagesHalfUp(distance / m_pageWidth);
    const int spread = roundPagesHalfUp((distance - 2 * m_pageWidth) / m_pageWidth);
    if (pages < exactPagesBeforeStop || spread <= 0) {
        m_bigStepsModeEnabled = false;
        return m_toGetOtherPageItem(m_bigStepsTargetItem, -pages);
    }
    const int items = m_toGetDistanceBetweenItems(lastItem, m_bigStepsTargetItem);
    const int step = roundPagesHalfUp(double(items - 2) / spread);
    return m_toGetOtherPageItem(lastItem, step);
}

// Scroll reports.

void InfiniteScrollView::scrollViewDidScroll(ScrollView&) {
    if (!m_ignoreScrolls) {
        makeSureAllPagesAreVisible();
    }
    const std::shared_ptr<InfiniteScrollPageView> centre = currentPageViewAtCenterOfScreen();
    if (!centre) {
        return;
    }
    const PageItem item = centre->pageItem();
    if (m_onScroll) {
        m_onScroll(item, centre->frame().x() - m_scrollView->contentOffset().x() + m_mainPageFrame.x());
    }
    if (m_onCurrentPageChanged && !(item == m_lastItemWhenPageChanged)) {
        m_lastItemWhenPageChanged = item;
        m_onCurrentPageChanged(item);
    }
}

void InfiniteScrollView::scrollViewDidEndDragging(ScrollView&, bool willDecelerate) {
    if (!m_freeScroll || willDecelerate) {
        emitScrollEnded();
        return;
    }
    scrollToCentrePageOrigin();
}

void InfiniteScrollView::scrollToCentrePageOrigin() {
    const std::shared_ptr<InfiniteScrollPageView> centre = currentPageViewAtCenterOfScreen();
    if (centre && centre->frame().x() != m_scrollView->contentOffset().x()) {
        setScrollContentOffset(Point(centre->frame().x(), 0), true);
    }
}

void InfiniteScrollView::scrollViewDidEndDecelerating(ScrollView&) {
    RunLoop::main().post([weakSelf = weakSelf()] {
        if (auto self = weakSelf.lock()) {
            self->scrollViewReallyDidEndDecelerating();
        }
    });
}

void InfiniteScrollView::scrollViewReallyDidEndDecelerating() {
    if (m_afterScrollDecelerationBlock) {
        const std::function<void()> step = std::move(m_afterScrollDecelerationBlock);
        m_afterScrollDecelerationBlock = nullptr;
        step();
        return;
    }
    const std::shared_ptr<InfiniteScrollPageView> centre = currentPageViewAtCenterOfScreen();
    if (!m_freeScroll || (centre && centre->frame().x() == m_scrollView->contentOffset().x())) {
        recenterViews();
        emitScrollEnded();
    } else if (!m_isAnimated) {
        scrollToCentrePageOrigin();
    }
}

void InfiniteScrollView::scrollViewDidEndScrollingAnimation(ScrollView&) {
    RunLoop::main().post([weakSelf = weakSelf()] {
        if (auto self = weakSelf.lock()) {
            self->scrollViewReallyDidEndScrollingAnimation();
        }
    });
}

void InfiniteScrollView::scrollViewReallyDidEndScrollingAnimation() {
    m_isAnimated = false;
    reassignPageItems();
    m_bigStepsModeEnabled = false;
    if (m_afterScrollAnimationBlock) {
        const std::function<void()> step = std::move(m_afterScrollAnimationBlock);
        m_afterScrollAnimationBlock = nullptr;
        step();
    } else {
        recenterViews();
        emitScrollEnded();
    }
    m_ignoreScrolls = false;
}

// After a far jump the pages passed on the way may stand beside the stop with spread-out items.
void InfiniteScrollView::reassignPageItems() {
    const std::shared_ptr<InfiniteScrollPageView> centre = currentPageViewAtCenterOfScreen();
    if (!centre) {
        return;
    }
    const auto index = std::find(m_pageViews.begin(), m_pageViews.end(), centre) - m_pageViews.begin();
    PageItem expected = m_toGetOtherPageItem(centre->pageItem(), -static_cast<int>(index));
    bool changed = false;
    for (const auto& page : m_pageViews) {
        if (!(page->pageItem() == expected)) {
            page->setPageItem(expected);
            changed = true;
        }
        expected = m_toGetOtherPageItem(expected, 1);
    }
    if (changed) {
        triggerLoadingData();
    }
}

void InfiniteScrollView::recenterViews() {
    const double centreX = centrePage * m_pageWidth;
    const double shift = centreX - m_scrollView->contentOffset().x();
    for (const auto& page : m_pageViews) {
        page->moveFrameX(shift);
    }
    const bool ignoredScrolls = m_ignoreScrolls;
    m_ignoreScrolls = true;
    m_scrollView->setContentOffset(Point(centreX, 0), false);
    m_ignoreScrolls = ignoredScrolls;
}

// Programmatic moves.

std::function<void()> InfiniteScrollView::clearingBigStepsBefore(std::function<void()> step) {
    return [weakSelf = weakSelf(), step = std::move(step)] {
        if (auto self = weakSelf.lock()) {
            self->m_bigStepsModeEnabled = false;
            step();
        }
    };
}

void InfiniteScrollView::stopScrollBeforeBlock(std::function<void()> step) {
    const Point offset = m_scrollView->contentOffset();
    if (m_isAnimated) {
        m_afterScrollAnimationBlock = clearingBigStepsBefore(std::move(step));
        setScrollContentOffset(offset, false);
    } else if (m_scrollView->isDecelerating()) {
        m_afterScrollDecelerationBlock = clearingBigStepsBefore(std::move(step));
        setScrollContentOffset(offset, false);
    } else {
        setScrollContentOffset(offset, false);
        m_bigStepsModeEnabled = false;
        step();
    }
}

void InfiniteScrollView::setScrollContentOffset(Point offset, bool animated) {
    m_isAnimated = animated;
    m_scrollView->setContentOffset(offset, animated);
    if (!animated) {
        emitScrollEnded();
    }
}

void InfiniteScrollView::emitScrollEnded() {
    if (m_onScrollEnded) {
        m_onScrollEnded(currentPageItem());
    }
}

// Touches.

std::shared_ptr<View> InfiniteScrollView::hitTestView(Point point) {
    if (!pointInside(point)) {
        return nullptr;
    }
    return m_scrollView->hitTest(convertPointToView(point, m_scrollView.get()));
}

std::shared_ptr<View> InfiniteScrollView::hitTestInternalScrollView(Point point) {
    if (!pointInside(point) || m_scrollView->isDragging() || m_scrollView->isDecelerating()) {
        return m_scrollView;
    }
    std::shared_ptr<View> hit = m_scrollView->hitTest(convertPointToView(point, m_scrollView.get()));
    return hit ? hit : m_scrollView;
}

// Data.

std::any InfiniteScrollView::dataForItem(const PageItem& item) const {
    return m_loader->dataForItem(item);
}

void InfiniteScrollView::triggerLoadingData() {
    if (!m_loader->toLoadData() || m_loader->isLoading()) {
        return;
    }
    const int count = static_cast<int>(m_pageViews.size());
    for (int i = 0; i <= std::max(m_pagesBefore, m_pagesAfter); ++i) {
        for (const int index : {m_pagesBefore + i, m_pagesBefore - i}) {
            if (index >= 0 && index < count && !m_loader->isLoaded(m_pageViews[index]->pageItem())) {
                loadDataForItem(m_pageViews[index]->pageItem());
                return;
            }
        }
    }
}

void InfiniteScrollView::loadDataForItem(const PageItem& item) {
    m_loader->loadDataForItem(item, [weakSelf = weakSelf()](const PageItem& loaded) {
        if (auto self = weakSelf.lock()) {
            self->pageDataLoaded(loaded);
        }
    });
}

void InfiniteScrollView::pageDataLoaded(const PageItem& item) {
    for (const auto& page : m_pageViews) {
        if (page->pageItem() == item) {
            page->refreshContent();
            break;
        }
    }
    triggerLoadingData();
}

void InfiniteScrollView::refreshCachedData() {
    m_loader->refreshCachedData();
    triggerLoadingData();
}
