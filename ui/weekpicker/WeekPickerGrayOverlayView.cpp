#include "ui/weekpicker/WeekPickerGrayOverlayView.h"

#include "ui/paging/InfiniteScrollView.h"

std::shared_ptr<View> WeekPickerGrayOverlayView::hitTestView(Point point) {
    if (!pointInside(point)) {
        return nullptr;
    }
    const std::shared_ptr<InfiniteScrollView> scrollView = m_infiniteScrollView.lock();
    if (!scrollView) {
        return shared_from_this();
    }
    return scrollView->hitTestInternalScrollView(convertPointToView(point, scrollView.get()));
}
