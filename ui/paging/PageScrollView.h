#pragma once

#include "kit/ScrollView.h"

// The inner scrolling area of an InfiniteScrollView. Its pages stand beside its frame as well
// as inside it, so a touch is hit-tested against the pages wherever it falls; empty space takes
// no touches. Touches of the pages arrive here and go on to the InfiniteScrollView.
class PageScrollView : public ScrollView {
public:
    using ScrollView::ScrollView;

protected:
    std::shared_ptr<View> hitTestView(Point point) override;
};
