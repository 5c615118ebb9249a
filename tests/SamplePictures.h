#pragma once

#include "kit/Image.h"

#include <QDir>
#include <QString>

#include <gtest/gtest.h>

// Pictures for a person to look at: written into the folder named by the environment variable
// ORVELLA_SAMPLE_PNG_DIR, and not at all when it is unset, so that normal runs write nothing.
namespace SamplePictures {

inline QString folder() {
    return qEnvironmentVariable("ORVELLA_SAMPLE_PNG_DIR");
}

inline bool wanted() {
    return !folder().isEmpty();
}

// Writes the image as `name` when pictures are wanted; a failed write fails the test.
inline void keep(const Image& image, const QString& name) {
    if (!wanted()) {
        return;
    }
    QDir().mkpath(folder());
    EXPECT_TRUE(image.savePng(QDir(folder()).filePath(name))) << name.toStdString();
}

} // namespace SamplePictures
