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

// The language the screens of the pictures speak, from ORVELLA_SAMPLE_LANGUAGE ("de", "fr"):
// the screen harness installs its translation and gives the locale its language. Empty (the
// test's own locale and English texts) when unset or when no pictures are wanted.
inline QString language() {
    return wanted() ? qEnvironmentVariable("ORVELLA_SAMPLE_LANGUAGE") : QString();
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
