#include "TouchTestSupport.h"
#include "kit/DatePicker.h"
#include "kit/GraphicsContext.h"
#include "kit/Layer.h"
#include "kit/SegmentedControl.h"
#include "kit/Slider.h"
#include "kit/Switch.h"
#include "kit/ViewRenderer.h"

#include <QDir>
#include <QString>

#include "SamplePictures.h"
#include "kit/RoundedRectangle.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

void keep(const Image& image, const QString& name) {
    SamplePictures::keep(image, name);
}

class ControlsSampleTest : public ManualMainLoop, public testing::Test {};

} // namespace

TEST_F(ControlsSampleTest, SwitchesOffOnAndPressed) {
    auto sheet = std::make_shared<View>(Rect(0, 0, 320, 110));
    sheet->setBackgroundColor(Color(1, 1, 1));
    auto off = std::make_shared<Switch>(Rect(8, 16, 0, 0));
    auto on = std::make_shared<Switch>(Rect(112, 16, 0, 0));
    on->setOn(true);
    auto pressed = std::make_shared<Switch>(Rect(216, 16, 0, 0));
    pressed->setHighlighted(true);
    auto disabledOff = std::make_shared<Switch>(Rect(8, 66, 0, 0));
    disabledOff->setEnabled(false);
    auto disabledOn = std::make_shared<Switch>(Rect(112, 66, 0, 0));
    disabledOn->setOn(true);
    disabledOn->setEnabled(false);
    // Half way, as while sliding.
    auto sliding = std::make_shared<Switch>(Rect(216, 66, 0, 0));
    sliding->layer().setValue(QStringLiteral("knobPosition"), 0.5);
    for (const auto& each : {off, on, pressed, disabledOff, disabledOn, sliding}) {
        sheet->addSubview(each);
    }
    const Image image = ViewRenderer::render(*sheet);
    keep(image, "switches.png");
    // Off shows grey left of the knob's right side; on shows blue left of the knob.
    const Color offStrip = image.colorAtPoint(Point(8 + 60, 16 + 22));
    const Color onStrip = image.colorAtPoint(Point(112 + 30, 16 + 22));
    EXPECT_GT(offStrip.red(), 0.85);
    EXPECT_GT(onStrip.blue(), onStrip.red() + 0.4);
    // The knob is light grey and round: its bounding corner is the sheet.
    EXPECT_GT(image.colorAtPoint(Point(112 + 80, 16 + 13)).red(), 0.8);
    EXPECT_EQ(image.colorAtPoint(Point(8.3, 16.3)), Color(1, 1, 1));
}

TEST_F(ControlsSampleTest, SlidersInTheirLooks) {
    auto sheet = std::make_shared<View>(Rect(0, 0, 320, 100));
    sheet->setBackgroundColor(Color::fromRgb255(197, 204, 212));
    auto plain = std::make_shared<Slider>(Rect(20, 10, 280, 23));
    plain->setValue(0.3);
    auto pressed = std::make_shared<Slider>(Rect(20, 40, 280, 23));
    pressed->setValue(0.8);
    pressed->setHighlighted(true);
    auto rainbow = std::make_shared<Slider>(Rect(20, 70, 280, 23));
    const Image gradient = Image::draw(Size(280, 13), 2.0, [](GraphicsContext& context) {
        RoundedRectangle(Rect(0, 0, 280, 13), 8).drawRoundedRectPath(context);
        context.clip();
        context.drawLinearGradient({{0, Color(1, 0, 0)}, {0.5, Color(0, 1, 0)}, {1, Color(0, 0, 1)}},
                                   Point(0, 0), Point(280, 0));
    });
    rainbow->setMinimumTrackImage(gradient);
    rainbow->setMaximumTrackImage(gradient);
    rainbow->setValue(0.5);
    for (const auto& each : {plain, pressed, rainbow}) {
        sheet->addSubview(each);
    }
    const Image image = ViewRenderer::render(*sheet);
    keep(image, "sliders.png");
    const Color minimum = image.colorAtPoint(Point(40, 21.5));
    const Color maximum = image.colorAtPoint(Point(250, 21.5));
    EXPECT_GT(minimum.blue(), minimum.red() + 0.3);
    EXPECT_GT(maximum.red(), 0.8);
    // One image over both sides runs unsqueezed: green at the middle of the track.
    const Color middle = image.colorAtPoint(Point(20 + 60, 76.5));
    const Color quarter = Color(0.5, 0.5, 0.0);
    EXPECT_NEAR(middle.red(), quarter.red(), 0.15);
    EXPECT_NEAR(middle.green(), quarter.green(), 0.15);
}

TEST_F(ControlsSampleTest, TimePickersInBothClocks) {
    auto twelve = std::make_shared<DatePicker>();
    twelve->setLocale("en_US");
    twelve->setTimeZone(TimeZone::withName("UTC"));
    twelve->setMinuteInterval(5);
    twelve->setDate(Date::withTimeIntervalSince1970(1796688000.0 + 14 * 3600 + 35 * 60));
    const Image image = ViewRenderer::render(*twelve);
    keep(image, "timepicker-12h.png");
    // The middle line's bar is blue-grey over white; the frame's corner is grey.
    const Color bar = image.colorAtPoint(Point(160, 90));
    EXPECT_GT(bar.blue(), bar.red());
    const Color corner = image.colorAtPoint(Point(2, 2));
    EXPECT_NEAR(corner.red(), corner.blue(), 0.1);
    EXPECT_LT(corner.red(), 0.75);

    auto twentyFour = std::make_shared<DatePicker>();
    twentyFour->setLocale("de_DE");
    twentyFour->setTimeZone(TimeZone::withName("UTC"));
    twentyFour->setDate(Date::withTimeIntervalSince1970(1796688000.0 + 9 * 3600 + 41 * 60));
    keep(ViewRenderer::render(*twentyFour), "timepicker-24h.png");
}

TEST_F(ControlsSampleTest, SegmentedControlsInBothStyles) {
    auto sheet = std::make_shared<View>(Rect(0, 0, 320, 110));
    sheet->setBackgroundColor(Color::fromRgb255(197, 204, 212));
    auto bordered = std::make_shared<SegmentedControl>(QStringList{"Day", "Week", "Month"});
    bordered->setFrame(Rect(10, 10, 300, 44));
    bordered->setSelectedSegmentIndex(1);
    bordered->setEnabled(false, 2);
    auto bar = std::make_shared<SegmentedControl>(QStringList{"List", "Grid"});
    bar->setSegmentedControlStyle(SegmentedControl::Style::Bar);
    bar->setFrame(Rect(60, 66, 200, 30));
    bar->setSelectedSegmentIndex(0);
    sheet->addSubview(bordered);
    sheet->addSubview(bar);
    const Image image = ViewRenderer::render(*sheet);
    keep(image, "segmented.png");
    const Color selected = image.colorAtPoint(Point(120, 20));
    EXPECT_GT(selected.blue(), selected.red() + 0.3);
    const Color barSelected = image.colorAtPoint(Point(70, 90));
    const Color barOther = image.colorAtPoint(Point(250, 90));
    EXPECT_LT(barSelected.blue(), barOther.blue());
}
