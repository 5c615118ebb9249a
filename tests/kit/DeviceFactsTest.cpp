#include "kit/Device.h"
#include "kit/DeviceDependentValues.h"
#include "kit/InterfaceOrientation.h"
#include "kit/Screen.h"

#include <gtest/gtest.h>

namespace {

TEST(DeviceDependentValuesTest, HairlinesAreHalfAPointOnlyAtScaleTwo) {
    struct Expected {
        double scale;
        double width;
        double offset;
        double offsetX2;
        bool retina;
    };
    for (const Expected& expected : {Expected{1.0, 1.0, 0.5, 1.0, false}, Expected{2.0, 0.5, 0.25, 0.5, true},
                                     Expected{3.0, 1.0, 0.5, 1.0, false}}) {
        SCOPED_TRACE(expected.scale);
        DeviceDependentValues::initValuesForScale(expected.scale);
        EXPECT_EQ(DeviceDependentValues::singlePixelLineWidth(), expected.width);
        EXPECT_EQ(DeviceDependentValues::singlePixelLineOffset(), expected.offset);
        EXPECT_EQ(DeviceDependentValues::singlePixelLineOffsetX2(), expected.offsetX2);
        EXPECT_EQ(DeviceDependentValues::deviceHasRetinaScreen(), expected.retina);
    }
}

TEST(DeviceDependentValuesTest, InitValuesReadsTheMainScreen) {
    Screen& screen = Screen::main();
    const double previous = screen.scale();
    ASSERT_TRUE(screen.setScale(1.0));
    DeviceDependentValues::initValues();
    EXPECT_EQ(DeviceDependentValues::singlePixelLineWidth(), 1.0);
    ASSERT_TRUE(screen.setScale(2.0));
    DeviceDependentValues::initValues();
    EXPECT_EQ(DeviceDependentValues::singlePixelLineWidth(), 0.5);
    EXPECT_FALSE(screen.setScale(1.5));
    EXPECT_EQ(screen.scale(), 2.0);
    screen.setScale(previous);
}

TEST(ScreenTest, PhoneAndTabletSizesTurnInLandscape) {
    Screen& screen = Screen::main();
    EXPECT_EQ(screen.bounds(), Rect(0, 0, 320, 480));
    EXPECT_EQ(screen.sizeForLandscape(true), Size(480, 320));
    screen.setIdiom(Screen::Idiom::Tablet);
    EXPECT_EQ(screen.bounds(), Rect(0, 0, 768, 1024));
    EXPECT_EQ(screen.sizeForLandscape(true), Size(1024, 768));
    screen.setIdiom(Screen::Idiom::Phone);
}

class DeviceTest : public testing::Test {
protected:
    void TearDown() override {
        device().setPlatformString(m_platform);
        device().setSystemVersion(m_version);
    }
    static Device& device() { return Device::current(); }

    QString m_platform = Device::current().platformString();
    QString m_version = Device::current().systemVersion();
};

TEST_F(DeviceTest, KnownModelsMapToTheirNumbersAndOthersToTen) {
    const std::pair<const char*, int> cases[] = {
        {"i386", 0},        {"iPod1,1", 1},   {"iPod4,1", 4},   {"iPhone1,1", 5},
        {"iPhone1,2", 6},   {"iPhone2,1", 7}, {"iPhone3,1", 8}, {"iPad1,1", 9},
        {"iPhone14,2", 10}, {"x86_64", 10},   {"ipod1,1", 10},  {"iPod1,1 ", 10},
    };
    for (const auto& [identifier, expected] : cases) {
        SCOPED_TRACE(identifier);
        device().setPlatformString(QString::fromLatin1(identifier));
        EXPECT_EQ(device().platform(), expected);
    }
}

TEST_F(DeviceTest, OnlyTheFirstPlayersAndPhonesAreOfTheOlderGeneration) {
    for (const char* older : {"iPod1,1", "iPod2,1", "iPhone1,1", "iPhone1,2"}) {
        device().setPlatformString(QString::fromLatin1(older));
        EXPECT_TRUE(device().isOlderGeneration()) << older;
    }
    for (const char* newer : {"i386", "iPod3,1", "iPhone2,1", "iPhone3,1", "iPad1,1", "iPhone14,2"}) {
        device().setPlatformString(QString::fromLatin1(newer));
        EXPECT_FALSE(device().isOlderGeneration()) << newer;
    }
}

TEST_F(DeviceTest, ThisMachineIsACurrentDevice) {
    EXPECT_FALSE(device().platformString().isEmpty());
    EXPECT_FALSE(device().isOlderGeneration());
}

TEST_F(DeviceTest, VersionsCompareNumberByNumber) {
    for (const char* version : {"5.0", "5.0.1", "5.1", "10.0", "12"}) {
        device().setSystemVersion(QString::fromLatin1(version));
        EXPECT_TRUE(device().isAtLeastVersion(QStringLiteral("5.0"))) << version;
    }
    for (const char* version : {"4.3.5", "4", "4.9.9"}) {
        device().setSystemVersion(QString::fromLatin1(version));
        EXPECT_FALSE(device().isAtLeastVersion(QStringLiteral("5.0"))) << version;
    }
}

TEST(InterfaceOrientationTest, LandscapeSidesFollowThePlatformNumbering) {
    EXPECT_EQ(InterfaceOrientation::interfaceOrientation(), 0);
    InterfaceOrientation::setInterfaceOrientation(3);
    EXPECT_TRUE(InterfaceOrientation::isLandscape());
    EXPECT_TRUE(InterfaceOrientation::isLandscapeRight());
    EXPECT_FALSE(InterfaceOrientation::isLandscapeLeft());
    InterfaceOrientation::setInterfaceOrientation(4);
    EXPECT_TRUE(InterfaceOrientation::isLandscapeLeft());
    for (int portrait : {1, 2}) {
        InterfaceOrientation::setInterfaceOrientation(portrait);
        EXPECT_FALSE(InterfaceOrientation::isLandscape());
    }
    InterfaceOrientation::setInterfaceOrientation(0);
}

} // namespace
