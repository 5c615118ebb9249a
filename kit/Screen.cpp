#include "kit/Screen.h"

Screen& Screen::main() {
    static Screen screen;
    return screen;
}

bool Screen::setScale(double scale) {
    if (scale != 1.0 && scale != 2.0 && scale != 3.0) {
        return false;
    }
    m_scale = scale;
    return true;
}

Rect Screen::bounds() const {
    return isTablet() ? Rect(0, 0, 768, 1024) : Rect(0, 0, 320, 480);
}

Size Screen::sizeForLandscape(bool landscape) const {
    const Size portrait = bounds().size();
    return landscape ? Size(portrait.height(), portrait.width()) : portrait;
}
