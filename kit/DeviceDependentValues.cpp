#include "kit/DeviceDependentValues.h"

#include "kit/Screen.h"

void DeviceDependentValues::initValues() {
    initValuesForScale(Screen::main().scale());
}

void DeviceDependentValues::initValuesForScale(double scale) {
    s_deviceHasRetinaScreen = scale == 2.0;
    s_singlePixelLineWidth = s_deviceHasRetinaScreen ? 0.5 : 1.0;
    s_singlePixelLineOffset = s_singlePixelLineWidth / 2.0;
    s_singlePixelLineOffsetX2 = s_singlePixelLineOffset * 2.0;
}
