#pragma once

#include "kit/View.h"

#include <memory>

class TouchableViewDelegate;

// A plain view that tells its delegate when a touch ends on it.
class BackgroundView : public View {
public:
    using View::View;

    void setDelegate(std::weak_ptr<TouchableViewDelegate> delegate) { m_delegate = std::move(delegate); }

protected:
    void touchesEnded(const TouchSet& touches, const TouchEvent& event) override;

private:
    std::weak_ptr<TouchableViewDelegate> m_delegate;
};
