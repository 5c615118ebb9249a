#pragma once

#include "core/paging/PageItem.h"
#include "kit/View.h"

#include <memory>

class InfiniteScrollView;

// A page of an InfiniteScrollView: it shows one item and draws it from the scroller's data.
class InfiniteScrollPageView : public View {
public:
    using View::View;

    virtual PageItem pageItem() const = 0;
    virtual void setPageItem(const PageItem& item) = 0;
    // Draws again from the scroller's data of the page's item.
    virtual void refreshContent() = 0;
    // Given once, when the scroller makes the page.
    virtual void setInfiniteScrollView(const std::weak_ptr<InfiniteScrollView>& /*scrollView*/) {}
};
