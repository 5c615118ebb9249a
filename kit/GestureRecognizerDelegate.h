#pragma once

class GestureRecognizer;
class Touch;

// Lets an owner veto or combine gestures; every operation is optional.
class GestureRecognizerDelegate {
public:
    virtual ~GestureRecognizerDelegate() = default;

    // Asked when the recogniser is about to begin (or, for a discrete gesture, to recognise);
    // false makes it fail instead.
    virtual bool gestureRecognizerShouldBegin(GestureRecognizer& /*recognizer*/) { return true; }
    // Asked when a touch begins in the recogniser's view; false keeps the touch from it.
    virtual bool gestureRecognizerShouldReceiveTouch(GestureRecognizer& /*recognizer*/,
                                                     const Touch& /*touch*/) {
        return true;
    }
    // Asked when one of two recognisers sharing a touch begins while the other is still in
    // play; true lets both go on instead of the first one winning.
    virtual bool gestureRecognizerShouldRecognizeSimultaneously(GestureRecognizer& /*recognizer*/,
                                                                GestureRecognizer& /*other*/) {
        return false;
    }
};
