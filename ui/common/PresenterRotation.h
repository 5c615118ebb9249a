#pragma once

class ViewController;

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
