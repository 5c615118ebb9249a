#include "ui/paging/PageScrollView.h"

std::shared_ptr<View> PageScrollView::hitTestView(Point point) {
    for (const std::shared_ptr<View>& subview : subviews()) {
        if (subview->frame().contains(point)) {
            return subview->hitTest(convertPointToView(point, subview.get()));
        }
    }
    return nullptr;
}
