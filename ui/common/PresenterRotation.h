#pragma once

#include "kit/ViewController.h"

// For screens presented over the week screen that turn exactly as the screen they were presented
// from does: each of the four rotation calls goes to that screen. Without one, only portrait is
// allowed and the calls end here.
namespace PresenterRotation {

bool shouldAutorotateToInterfaceOrientation(const ViewController& screen, int orientation);
void willRotateToInterfaceOrientation(const ViewController& screen, int orientation, double duration);
void willAnimateRotationToInterfaceOrientation(const ViewController& screen, int orientation,
                                               double duration);
void didRotateFromInterfaceOrientation(const ViewController& screen, int fromOrientation);

} // namespace PresenterRotation

// A screen that turns as the screen it was presented from does: `Base` is the kind of screen it
// is (a ViewController or one of its subclasses).
template <typename Base> class FollowsPresenterRotation : public Base {
public:
    using Base::Base;

    bool shouldAutorotateToInterfaceOrientation(int orientation) override {
        return PresenterRotation::shouldAutorotateToInterfaceOrientation(*this, orientation);
    }
    void willRotateToInterfaceOrientation(int orientation, double duration) override {
        PresenterRotation::willRotateToInterfaceOrientation(*this, orientation, duration);
    }
    void willAnimateRotationToInterfaceOrientation(int orientation, double duration) override {
        PresenterRotation::willAnimateRotationToInterfaceOrientation(*this, orientation, duration);
    }
    void didRotateFromInterfaceOrientation(int fromOrientation) override {
        PresenterRotation::didRotateFromInterfaceOrientation(*this, fromOrientation);
    }
};
