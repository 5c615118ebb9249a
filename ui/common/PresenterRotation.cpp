#include "ui/common/PresenterRotation.h"

#include "kit/InterfaceOrientation.h"
#include "kit/ViewController.h"

namespace PresenterRotation {

bool shouldAutorotateToInterfaceOrientation(const ViewController& screen, int orientation) {
    if (const auto presenter = screen.presentingViewController()) {
        return presenter->shouldAutorotateToInterfaceOrientation(orientation);
    }
    return orientation == InterfaceOrientation::Portrait;
}

void willRotateToInterfaceOrientation(const ViewController& screen, int orientation, double duration) {
    if (const auto presenter = screen.presentingViewController()) {
        presenter->willRotateToInterfaceOrientation(orientation, duration);
    }
}

void willAnimateRotationToInterfaceOrientation(const ViewController& screen, int orientation,
                                               double duration) {
    if (const auto presenter = screen.presentingViewController()) {
        presenter->willAnimateRotationToInterfaceOrientation(orientation, duration);
    }
}

void didRotateFromInterfaceOrientation(const ViewController& screen, int fromOrientation) {
    if (const auto presenter = screen.presentingViewController()) {
        presenter->didRotateFromInterfaceOrientation(fromOrientation);
    }
}

} // namespace PresenterRotation
