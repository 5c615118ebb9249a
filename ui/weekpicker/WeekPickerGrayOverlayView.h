#pragma once

#include "kit/View.h"

#include <memory>

class InfiniteScrollView;

// The dimmed cover over the week screen while the week picker is open. Every touch on it goes
// to the picker's scroller, so that a drag anywhere scrolls the months.
class WeekPickerGrayOverlayView : public View {
public:
    using View::View;

    void setInfiniteScrollView(const std::weak_ptr<InfiniteScrollView>& scrollView) {
        m_infiniteScrollView = scrollView;
    }

protected:
    std::shared_ptr<View> hitTestView(Point point) override;

private:
    std::weak_ptr<InfiniteScrollView> m_infiniteScrollView;
};
