#include "ui/common/BackgroundView.h"

#include "ui/common/TouchableViewDelegate.h"

void BackgroundView::touchesEnded(const TouchSet&, const TouchEvent&) {
    if (auto delegate = m_delegate.lock()) {
        delegate->viewTouched();
    }
}
