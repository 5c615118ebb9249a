#include "kit/WheelScrolling.h"

#include "foundation/RunLoop.h"
#include "kit/KeyInput.h"
#include "kit/ScrollView.h"
#include "kit/Window.h"

#include <algorithm>
#include <cmath>

namespace {

// A finger number no screen or mouse uses.
constexpr int wheelFinger = 1000;
// A sideways scroll that pauses this long has ended: short enough that the finger's speed is
// still known when it lifts.
constexpr double quietInterval = 0.06;

} // namespace

WheelScrolling::~WheelScrolling() {
    if (m_quietTimer) {
        m_quietTimer->invalidate();
    }
}

void WheelScrolling::scroll(Point location, Point movement, Phase phase, bool notched) {
    const std::shared_ptr<Window> window = m_window.lock();
    if (!window) {
        return;
    }
    const bool sideways = std::abs(movement.x()) > std::abs(movement.y());
    if (notched && sideways) {
        pageBy(*window, movement.x());
        return;
    }
    if (m_fingerAt || sideways) {
        if (movement.x() != 0.0) {
            dragBy(*window, location, movement.x());
        }
        if (phase == Phase::End) {
            letGo();
        }
        return;
    }
    if (movement.y() != 0.0 && !scrollListUnder(*window, location, movement.y())) {
        pageBy(*window, movement.y());
    }
}

void WheelScrolling::dragBy(Window& window, Point location, double dx) {
    if (!m_fingerAt) {
        m_fingerAt = location;
        window.fingerDown(wheelFinger, location);
    }
    m_fingerAt = Point(m_fingerAt->x() + dx, m_fingerAt->y());
    window.fingerMoved(wheelFinger, *m_fingerAt);
    if (m_quietTimer) {
        m_quietTimer->invalidate();
    }
    const std::weak_ptr<Window> weakWindow = m_window;
    m_quietTimer = RunLoop::main().scheduleTimer(quietInterval, false, [weakWindow] {
        if (const auto shown = weakWindow.lock()) {
            shown->wheelScrolling().letGo();
        }
    });
}

void WheelScrolling::letGo() {
    if (m_quietTimer) {
        m_quietTimer->invalidate();
        m_quietTimer.reset();
    }
    const std::optional<Point> fingerAt = std::exchange(m_fingerAt, std::nullopt);
    if (const std::shared_ptr<Window> window = m_window.lock(); window && fingerAt) {
        window->fingerUp(wheelFinger, *fingerAt);
    }
}

bool WheelScrolling::scrollListUnder(Window& window, Point location, double dy) {
    for (std::shared_ptr<View> view = window.hitTest(location); view; view = view->superview()) {
        auto* list = dynamic_cast<ScrollView*>(view.get());
        if (list == nullptr || !list->scrollEnabled()) {
            continue;
        }
        const double lowest = std::max(0.0, list->contentSize().height() - list->bounds().height());
        if (lowest <= 0.0) {
            continue;
        }
        const Point offset = list->contentOffset();
        list->setContentOffset(Point(offset.x(), std::clamp(offset.y() - dy, 0.0, lowest)));
        return true;
    }
    return false;
}

void WheelScrolling::pageBy(Window& window, double distance) {
    m_pagingDistance += distance;
    if (std::abs(m_pagingDistance) < notch) {
        return;
    }
    KeyInput page;
    page.key = m_pagingDistance > 0 ? Qt::Key_PageUp : Qt::Key_PageDown;
    m_pagingDistance = 0.0;
    window.keyInput(page);
}
