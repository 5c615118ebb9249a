#pragma once

// The interface orientation last reported, in the platform's numbering. Process-wide, written
// on the main thread.
class InterfaceOrientation {
public:
    enum Value { Unknown = 0, Portrait = 1, PortraitUpsideDown = 2, LandscapeRight = 3, LandscapeLeft = 4 };

    static void setInterfaceOrientation(int orientation) { s_orientation = orientation; }
    static int interfaceOrientation() { return s_orientation; }
    static bool isLandscape() { return s_orientation == LandscapeRight || s_orientation == LandscapeLeft; }
    static bool isLandscapeLeft() { return s_orientation == LandscapeLeft; }
    static bool isLandscapeRight() { return s_orientation == LandscapeRight; }

private:
    static inline int s_orientation = Unknown;
};
