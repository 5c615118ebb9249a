#include "ui/week/BackgroundView.h"

#include "ui/week/TouchableViewDelegate.h"

void BackgroundView::touchesEnded(const TouchSet&, const TouchEvent&) {
    if (auto delegate = m_delegate.lock()) {
        delegate->viewTouched();
    }
}
