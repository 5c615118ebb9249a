#pragma once

#include "foundation/Color.h"

#include <QString>

// A named colour offered for a calendar.
struct ColorOption {
    Color color;
    QString name;
};
