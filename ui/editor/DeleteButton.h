#pragma once

#include "kit/Button.h"

#include <memory>

class Timer;

// The editor's delete button: a waste bin whose lid opens in five steps while the delete
// choice is shown and closes again after it. Each step lasts 0.05 seconds, so a run shows the
// four further steps over 0.2 seconds.
class DeleteButton : public Button {
public:
    static constexpr double stepInterval = 0.05;

    explicit DeleteButton(const Rect& frame);
    ~DeleteButton() override;

    void animateForward();
    void animateBackward();
    // The step shown now, from 0 (closed) to 4 (open).
    int imageIndex() const { return m_imageIndex; }

private:
    void start(int index, int direction);
    void step();
    void showStep();

    int m_imageIndex = 0;
    int m_direction = 1;
    std::shared_ptr<Timer> m_timer;
};
