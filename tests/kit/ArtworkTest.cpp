#include "kit/Artwork.h"
#include "foundation/Log.h"
#include "testing/LogCapture.h"
#include "kit/GraphicsContext.h"

#include <gtest/gtest.h>

namespace {

class ArtworkTest : public testing::Test {
protected:
    void TearDown() override { Artwork::setScreenScale(2.0); }
};

} // namespace

TEST_F(ArtworkTest, ImagesAreDrawnAtTheScreenScaleOncePerScale) {
    int draws = 0;
    Artwork::registerImage("test-dot", Size(14, 14), [&draws](GraphicsContext& context, Size size) {
        ++draws;
        context.setFillColor(Color(1, 0, 0));
        context.addEllipseInRect(Rect(1, 1, size.width() - 2, size.height() - 2));
        context.fillPath();
    });
    EXPECT_TRUE(Artwork::isRegistered("test-dot"));
    Artwork::setScreenScale(2.0);
    const Image dense = Artwork::imageNamed("test-dot");
    EXPECT_EQ(dense.pixelWidth(), 28);
    EXPECT_EQ(dense.size(), Size(14, 14));
    EXPECT_EQ(dense.colorAtPoint(Point(7, 7)), Color(1, 0, 0, 1));
    EXPECT_TRUE(Artwork::imageNamed("test-dot").isSameImage(dense));
    EXPECT_EQ(draws, 1);
    Artwork::setScreenScale(1.0);
    const Image single = Artwork::imageNamed("test-dot");
    EXPECT_EQ(single.pixelWidth(), 14);
    EXPECT_EQ(single.scale(), 1.0);
    EXPECT_EQ(draws, 2);
    Artwork::setScreenScale(2.0);
    EXPECT_TRUE(Artwork::imageNamed("test-dot").isSameImage(dense));
    EXPECT_EQ(draws, 2);
}

TEST_F(ArtworkTest, RegisteringAgainReplacesTheDrawing) {
    Artwork::registerImage("test-square", Size(4, 4), [](GraphicsContext& context, Size size) {
        context.setFillColor(Color(0, 0, 1));
        context.fillRect(Rect(Point(), size));
    });
    EXPECT_EQ(Artwork::imageNamed("test-square").colorAtPoint(Point(2, 2)), Color(0, 0, 1, 1));
    Artwork::registerImage("test-square", Size(4, 4), [](GraphicsContext& context, Size size) {
        context.setFillColor(Color(0, 1, 0));
        context.fillRect(Rect(Point(), size));
    });
    EXPECT_EQ(Artwork::imageNamed("test-square").colorAtPoint(Point(2, 2)), Color(0, 1, 0, 1));
}

TEST_F(ArtworkTest, UnknownNamesGiveANullImageAndOneWarning) {
    LogCapture capture;
    EXPECT_TRUE(Artwork::imageNamed("no-such-image").isNull());
    EXPECT_TRUE(Artwork::imageNamed("no-such-image").isNull());
    EXPECT_FALSE(Artwork::isRegistered("no-such-image"));
    int warnings = 0;
    for (const QString& line : capture.lines()) {
        if (line.contains("no-such-image")) {
            ++warnings;
        }
    }
    EXPECT_EQ(warnings, 1);
    EXPECT_TRUE(capture.contains(Log::Level::Warning, "artwork", "no-such-image"));
}
