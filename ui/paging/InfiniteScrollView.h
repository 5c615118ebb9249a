#pragma once

#include "core/paging/PageItem.h"
#include "kit/ScrollViewDelegate.h"
#include "kit/View.h"

#include <any>
#include <functional>
#include <memory>
#include <vector>

class InfiniteScrollPageView;
class PageDataLoader;
class PageScrollView;

// A horizontal pager over an endless, ordered sequence of items. It shows a main page and as
// many neighbours as fit around it, recycling a fixed number of page views in either direction;
// a jump of any distance crosses at most ten pages, whose items are spread over the distance
// with only the last three exact. Each page's data is computed in the background, nearest pages
// first, and cached. The owner supplies the item arithmetic, the page views and the data through
// the operation properties; the pager knows nothing of what the items are.
//
// The inner area's content is 10,000 pages wide with the start in the middle and is re-centred
// after every rest, which makes the sequence endless both ways.
class InfiniteScrollView : public View, public ScrollViewDelegate {
public:
    // Far jumps cross this many pages.
    static constexpr int maximumPagesCrossed = 10;
    static constexpr double contentPages = 10000.0;
    static constexpr double centrePage = 5000.0;

    static std::shared_ptr<InfiniteScrollView> create(const Rect& frame);
    explicit InfiniteScrollView(const Rect& frame);
    ~InfiniteScrollView() override;

    using CreatePageView = std::function<std::shared_ptr<InfiniteScrollPageView>(const PageItem& item)>;
    using InitializePageView = std::function<void(InfiniteScrollPageView& pageView)>;
    using ItemCallback = std::function<void(const PageItem& item)>;
    using OtherPageItem = std::function<PageItem(const PageItem& item, int count)>;
    using DistanceBetweenItems = std::function<int(const PageItem& from, const PageItem& to)>;
    using ScrollCallback = std::function<void(const PageItem& item, double x)>;
    using LoadData = std::function<std::any(const PageItem& item)>;

    void setToCreatePageView(CreatePageView toCreatePageView) {
        m_toCreatePageView = std::move(toCreatePageView);
    }
    void setToInitializePageView(InitializePageView toInitializePageView) {
        m_toInitializePageView = std::move(toInitializePageView);
    }
    void setOnCurrentPageChanged(ItemCallback onCurrentPageChanged) {
        m_onCurrentPageChanged = std::move(onCurrentPageChanged);
    }
    void setToGetOtherPageItem(OtherPageItem toGetOtherPageItem) {
        m_toGetOtherPageItem = std::move(toGetOtherPageItem);
    }
    void setToGetDistanceBetweenItems(DistanceBetweenItems toGetDistanceBetweenItems) {
        m_toGetDistanceBetweenItems = std::move(toGetDistanceBetweenItems);
    }
    void setOnScroll(ScrollCallback onScroll) { m_onScroll = std::move(onScroll); }
    void setOnScrollEnded(ItemCallback onScrollEnded) { m_onScrollEnded = std::move(onScrollEnded); }
    // Runs on a background queue, one item at a time; it must not touch views.
    void setToLoadData(LoadData toLoadData);

    Rect mainPageFrame() const { return m_mainPageFrame; }
    void setMainPageFrame(const Rect& frame);
    double pageWidth() const { return m_pageWidth; }
    int pagesBefore() const { return m_pagesBefore; }
    int pagesAfter() const { return m_pagesAfter; }
    int totalPages() const { return m_totalPages; }

    // The first call builds the pages around the item; later calls scroll there.
    void setCurrentPageItem(const PageItem& item, bool animated = false);
    PageItem currentPageItem() const;
    std::shared_ptr<InfiniteScrollPageView> currentPageViewAtCenterOfScreen() const;
    std::shared_ptr<InfiniteScrollPageView> pageViewAtPositionX(double x) const;
    // Left to right.
    const std::vector<std::shared_ptr<InfiniteScrollPageView>>& pageViews() const { return m_pageViews; }

    bool freeScroll() const { return m_freeScroll; }
    // Off: paging by whole pages. On: free scrolling that settles on the centre page.
    void setFreeScroll(bool freeScroll);
    bool scrollEnabled() const;
    void setScrollEnabled(bool enabled);

    // The cached data of the item; empty when there is none.
    std::any dataForItem(const PageItem& item) const;
    // Loads the next page whose data is not current, nearest to the middle first.
    void triggerLoadingData();
    // Marks every item's data stale and loads it again; the old data shows meanwhile.
    void refreshCachedData();

    // Stops any motion, then runs `step`.
    void stopScrollBeforeBlock(std::function<void()> step);
    void setScrollContentOffset(Point offset, bool animated);
    void emitScrollEnded();

    // For touches tracked across the pages: the inner area while it moves, else the page view
    // (or the inner area) under the point, given in this view's coordinates.
    std::shared_ptr<View> hitTestInternalScrollView(Point point);

    const std::shared_ptr<PageScrollView>& scrollView() const { return m_scrollView; }

    // ScrollViewDelegate.
    void scrollViewDidScroll(ScrollView& scrollView) override;
    void scrollViewDidEndDragging(ScrollView& scrollView, bool willDecelerate) override;
    void scrollViewDidEndDecelerating(ScrollView& scrollView) override;
    void scrollViewDidEndScrollingAnimation(ScrollView& scrollView) override;

protected:
    // Adds the inner area and makes it report to this view; part of every create.
    void connectScrollView();
    std::shared_ptr<View> hitTestView(Point point) override;
    // Recycles pages so that the pages cover the visible width with a third of a page to spare.
    void makeSureAllPagesAreVisible();

private:
    void configureScrollParameters();
    void addMissingPages(int oldPagesBefore);
    std::shared_ptr<InfiniteScrollPageView> createPageView(const PageItem& item);
    void buildPages(const PageItem& item);
    void scrollToItem(const PageItem& item, bool animated);
    void recycleLastPageToFront();
    void recycleFirstPageToEnd();
    PageItem bigStepItemMovingLeft(double x, const PageItem& firstItem);
    PageItem bigStepItemMovingRight(double x, const PageItem& lastItem);
    void initializePageView(InfiniteScrollPageView& pageView);
    void scrollViewReallyDidEndDecelerating();
    void scrollViewReallyDidEndScrollingAnimation();
    void scrollToCentrePageOrigin();
    void reassignPageItems();
    void recenterViews();
    void loadDataForItem(const PageItem& item);
    void pageDataLoaded(const PageItem& item);
    std::function<void()> clearingBigStepsBefore(std::function<void()> step);
    std::weak_ptr<InfiniteScrollView> weakSelf();

    std::shared_ptr<PageScrollView> m_scrollView;
    std::vector<std::shared_ptr<InfiniteScrollPageView>> m_pageViews;
    bool m_ignoreScrolls = false;
    PageItem m_lastItemWhenPageChanged;
    double m_pageWidth = 0.0;
    int m_pagesBefore = 0;
    int m_pagesAfter = 0;
    int m_totalPages = 0;
    double m_swapThreshold = 0.0;
    bool m_bigStepsModeEnabled = false;
    PageItem m_bigStepsTargetItem;
    double m_bigStepsTargetX = 0.0;
    std::shared_ptr<PageDataLoader> m_loader;
    bool m_isAnimated = false;
    std::function<void()> m_afterScrollAnimationBlock;
    std::function<void()> m_afterScrollDecelerationBlock;
    CreatePageView m_toCreatePageView;
    InitializePageView m_toInitializePageView;
    ItemCallback m_onCurrentPageChanged;
    OtherPageItem m_toGetOtherPageItem;
    DistanceBetweenItems m_toGetDistanceBetweenItems;
    Rect m_mainPageFrame;
    bool m_freeScroll = false;
    ScrollCallback m_onScroll;
    ItemCallback m_onScrollEnded;
};
