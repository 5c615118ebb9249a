#include "core/calendar/DateUtilities.h"
#include "core/eventstore/EKCalendar.h"
#include "core/eventstore/EKEvent.h"
#include "kit/Gradient.h"
#include "kit/GraphicsContext.h"
#include "kit/Image.h"
#include "kit/Label.h"
#include "kit/RoundedRectangle.h"
#include "kit/Screen.h"
#include "ui/calendars/ColorOption.h"
#include "ui/common/ColorExtensions.h"
#include "ui/common/ColoredBackground.h"
#include "ui/common/ColoredBackgroundView.h"
#include "ui/common/DotImage.h"
#include "ui/common/HsbColor.h"
#include "ui/common/Rgb.h"

#include "SamplePictures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <type_traits>

namespace {

// Pixels hold 8 bits per component, so drawn colours are compared to within two steps.
::testing::AssertionResult closeColor(const Color& actual, const Color& expected,
                                      double maxDifference = 2.5 / 255.0) {
    if (std::abs(actual.red() - expected.red()) <= maxDifference &&
        std::abs(actual.green() - expected.green()) <= maxDifference &&
        std::abs(actual.blue() - expected.blue()) <= maxDifference &&
        std::abs(actual.alpha() - expected.alpha()) <= maxDifference) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "(" << actual.red() << ", " << actual.green() << ", " << actual.blue() << ", " << actual.alpha()
           << ") instead of (" << expected.red() << ", " << expected.green() << ", " << expected.blue()
           << ", " << expected.alpha() << ")";
}

bool isClear(const Color& color) {
    return color.alpha() < 0.02;
}

Image drawAt1x(Size size, const std::function<void(GraphicsContext&)>& draw) {
    return Image::draw(size, 1.0, draw);
}

const Color kBlueOption = Color(14.0 / 255.0, 97.0 / 255.0, 185.0 / 255.0);

} // namespace

// ---- Colour arithmetic ----

TEST(CalendarColors, HsbOfPrimaryAndGreyColours) {
    static_assert(std::is_same_v<decltype(HsbColor::hue), float>);
    const HsbColor pureRed(Color(1, 0, 0));
    EXPECT_FLOAT_EQ(pureRed.hue, 0.0f);
    EXPECT_FLOAT_EQ(pureRed.saturation, 1.0f);
    EXPECT_FLOAT_EQ(pureRed.brightness, 1.0f);

    const HsbColor grey(Color(0.5, 0.5, 0.5));
    EXPECT_FLOAT_EQ(grey.hue, 0.0f);
    EXPECT_FLOAT_EQ(grey.saturation, 0.0f);
    EXPECT_FLOAT_EQ(grey.brightness, 0.5f);

    const HsbColor pureBlack(Color(0, 0, 0));
    EXPECT_FLOAT_EQ(pureBlack.hue, 0.0f);
    EXPECT_FLOAT_EQ(pureBlack.saturation, 0.0f);
    EXPECT_FLOAT_EQ(pureBlack.brightness, 0.0f);

    EXPECT_NEAR(HsbColor(Color(0, 1, 0)).hue, 1.0 / 3.0, 1e-6);
    EXPECT_NEAR(HsbColor(Color(0, 0, 1)).hue, 2.0 / 3.0, 1e-6);
    // Red is the largest with blue above green: the negative hue wraps round.
    EXPECT_NEAR(HsbColor(Color(1, 0, 1)).hue, 5.0 / 6.0, 1e-6);
    EXPECT_NEAR(HsbColor(Color(1, 0, 0.5)).hue, 11.0 / 12.0, 1e-6);
    const HsbColor dull(Color(0.4, 0.2, 0.2));
    EXPECT_NEAR(dull.saturation, 0.5, 1e-6);
    EXPECT_NEAR(dull.brightness, 0.4, 1e-6);
}

TEST(CalendarColors, HsbKeepsItsSourceAndGoesBackToTheSameColour) {
    const HsbColor blueOption(kBlueOption);
    EXPECT_FLOAT_EQ(blueOption.rgb.red, static_cast<float>(14.0 / 255.0));
    EXPECT_FLOAT_EQ(blueOption.rgb.maximum, static_cast<float>(185.0 / 255.0));
    EXPECT_FLOAT_EQ(blueOption.rgb.minimum, static_cast<float>(14.0 / 255.0));
    EXPECT_TRUE(closeColor(blueOption.color(), kBlueOption, 1e-5));

    HsbColor copy = blueOption.copy();
    copy.hue = 0.0f;
    EXPECT_NE(copy.hue, blueOption.hue);
    EXPECT_FLOAT_EQ(copy.saturation, blueOption.saturation);
}

TEST(CalendarColors, HsbColourClampsEachValue) {
    const HsbColor outside(1.5f, -0.25f, 2.0f);
    EXPECT_TRUE(closeColor(outside.color(), Color(1, 1, 1), 1e-9));
    EXPECT_TRUE(closeColor(HsbColor(-1.0f, 1.0f, 1.0f).color(), Color(1, 0, 0), 1e-9));
    EXPECT_EQ(HsbColor(0.3f, 0.5f, 0.5f).color().alpha(), 1.0);
}

TEST(CalendarColors, RgbLimitsItsExtremes) {
    const Rgb negative = Rgb::rgb(Color(-0.5, -0.2, -0.1));
    EXPECT_FLOAT_EQ(negative.maximum, 0.0f);
    EXPECT_FLOAT_EQ(negative.minimum, -0.5f);
    const Rgb bright = Rgb::rgb(Color(1.5, 2.0, 3.0));
    EXPECT_FLOAT_EQ(bright.maximum, 3.0f);
    EXPECT_FLOAT_EQ(bright.minimum, 1.0f);
}

TEST(CalendarColors, Rgb255MakesTheBlueOption) {
    const ColorOption option{kBlueOption, "Blue"};
    EXPECT_EQ(ColorExtensions::rgb255(14, 97, 185), option.color);
    EXPECT_EQ(ColorExtensions::rgb255(255, 0, 51), Color(1.0, 0.0, 0.2, 1.0));
}

TEST(CalendarColors, BrightnessAndFactorAdjustments) {
    const Color color(0.2, 0.4, 1.0, 0.5);
    EXPECT_TRUE(closeColor(ColorExtensions::adjustBrightness(color, 0.5), Color(0.6, 0.7, 1.0, 0.5), 1e-12));
    EXPECT_TRUE(closeColor(ColorExtensions::adjustBrightness(color, 1.0), color, 1e-12));
    EXPECT_TRUE(closeColor(ColorExtensions::adjustBrightness(color, 0.0), Color(1, 1, 1, 0.5), 1e-12));
    EXPECT_TRUE(
        closeColor(ColorExtensions::adjustRGBValuesWithFactor(color, 0.5), Color(0.1, 0.2, 0.5, 0.5), 1e-12));
    EXPECT_TRUE(closeColor(DotImage::adjust(std::nullopt, 0.3), Color(0.5, 0.5, 0.5), 1e-12));
    EXPECT_TRUE(closeColor(ColoredBackground::adjust(color, 0.75), Color(0.4, 0.55, 1.0, 0.5), 1e-12));
}

// ---- Event colouring ----

class EventColoring : public testing::Test {
protected:
    std::shared_ptr<EKEvent> event(EKCalendarType type, std::optional<Color> color, Date start, bool allDay) {
        auto calendar = std::make_shared<EKCalendar>("calendar", type, nullptr);
        calendar->setColor(color);
        auto result = std::make_shared<EKEvent>();
        result->setCalendar(calendar);
        result->setStartDate(start);
        result->setEndDate(start.addingTimeInterval(3600));
        result->setAllDay(allDay);
        return result;
    }

    const Date day = DateUtilities::dateWithYear(2026, 3, 10);
    const Date noon = day.addingTimeInterval(12 * 3600);
    const Date dayBefore = DateUtilities::addDays(day, -1).addingTimeInterval(22 * 3600);
    const Color green = Color::fromRgb255(68, 167, 3);
};

TEST_F(EventColoring, TimedEventStartingOnTheDayGetsABar) {
    ColoredBackground background;
    EXPECT_TRUE(background.applyColorForEvent(*event(EKCalendarType::Local, green, noon, false), day));
    EXPECT_EQ(background.displayedCalendarColor(), green);
    EXPECT_FALSE(background.displayedBackgroundCalendarColor());
}

TEST_F(EventColoring, AllDayEventGetsAFillUnlessItIsABirthday) {
    ColoredBackground background;
    EXPECT_TRUE(background.applyColorForEvent(*event(EKCalendarType::CalDAV, green, day, true), day));
    EXPECT_EQ(background.displayedBackgroundCalendarColor(), green);
    EXPECT_FALSE(background.displayedCalendarColor());

    EXPECT_TRUE(background.applyColorForEvent(*event(EKCalendarType::Birthday, green, day, true), day));
    EXPECT_FALSE(background.displayedBackgroundCalendarColor());
    EXPECT_FALSE(background.displayedCalendarColor());
}

TEST_F(EventColoring, TimedEventFromAnEarlierDayGetsNothing) {
    ColoredBackground background;
    background.applyCalendarColor(green);
    EXPECT_TRUE(background.applyColorForEvent(*event(EKCalendarType::Local, green, dayBefore, false), day));
    EXPECT_FALSE(background.displayedCalendarColor());
    EXPECT_FALSE(background.displayedBackgroundCalendarColor());
    EXPECT_FALSE(background.applyColorForEvent(*event(EKCalendarType::Local, green, dayBefore, false), day));
}

TEST_F(EventColoring, CalendarWithoutColourIsGrey) {
    ColoredBackground background;
    background.applyColorForEvent(*event(EKCalendarType::Local, std::nullopt, noon, false), day);
    EXPECT_EQ(background.displayedCalendarColor(), Color(0.6, 0.6, 0.6));
    auto orphan = std::make_shared<EKEvent>();
    orphan->setStartDate(day);
    orphan->setAllDay(true);
    background.applyColorForEvent(*orphan, day);
    EXPECT_EQ(background.displayedBackgroundCalendarColor(), Color(0.6, 0.6, 0.6));
}

TEST_F(EventColoring, OneModeClearsTheOtherAndRepeatsChangeNothing) {
    ColoredBackground background;
    EXPECT_TRUE(background.applyColor(green, false));
    EXPECT_FALSE(background.applyColor(green, false));
    EXPECT_TRUE(background.applyColor(green, true));
    EXPECT_EQ(background.displayedBackgroundCalendarColor(), green);
    EXPECT_FALSE(background.displayedCalendarColor());
    EXPECT_FALSE(background.applyBackgroundCalendarColor(green));
    EXPECT_TRUE(background.applyBackgroundCalendarColor(kBlueOption));
    EXPECT_TRUE(background.applyCalendarColor(kBlueOption));
    EXPECT_EQ(background.displayedCalendarColor(), kBlueOption);
    EXPECT_FALSE(background.displayedBackgroundCalendarColor());
}

// ---- Drawing ----

TEST(CalendarDrawing, GreyCalendarDrawsGreyBarAndFill) {
    ColoredBackground bar;
    bar.applyCalendarColor(Color(0.6, 0.6, 0.6));
    const Image barImage = drawAt1x(Size(60, 20), [&](GraphicsContext& context) {
        bar.draw(context, Rect(0, 0, 60, 20), Rect(0, 0, 60, 20));
    });
    // Grey 0.6 lightened by 0.7 is 0.72 at the bottom; the top is that times 0.65.
    EXPECT_TRUE(closeColor(barImage.pixelColor(30, 19), Color(0.72, 0.72, 0.72), 0.03));
    EXPECT_TRUE(closeColor(barImage.pixelColor(30, 0), Color(0.468, 0.468, 0.468), 0.03));
    EXPECT_TRUE(isClear(barImage.pixelColor(0, 0)));

    ColoredBackground fill;
    fill.applyBackgroundCalendarColor(Color(0.6, 0.6, 0.6, 0.2));
    const Image fillImage = drawAt1x(Size(60, 20), [&](GraphicsContext& context) {
        fill.draw(context, Rect(0, 0, 60, 20), Rect(0, 0, 60, 20));
    });
    EXPECT_TRUE(closeColor(fillImage.pixelColor(30, 10), Color(0.88, 0.88, 0.88)));
    EXPECT_TRUE(isClear(fillImage.pixelColor(0, 0)));

    ColoredBackground none;
    const Image noneImage = drawAt1x(Size(20, 20), [&](GraphicsContext& context) {
        none.draw(context, Rect(0, 0, 20, 20), Rect(0, 0, 20, 20));
    });
    EXPECT_TRUE(isClear(noneImage.pixelColor(10, 10)));
}

TEST(CalendarDrawing, BarModeDrawsOnlyTheBarRectangle) {
    ColoredBackground background;
    background.applyCalendarColor(kBlueOption);
    const Image image = drawAt1x(Size(100, 40), [&](GraphicsContext& context) {
        background.draw(context, Rect(0, 0, 100, 10), Rect(0, 20, 100, 20));
    });
    EXPECT_FALSE(isClear(image.pixelColor(50, 5)));
    EXPECT_TRUE(isClear(image.pixelColor(50, 30)));
}

TEST(CalendarDrawing, DotImageSizeAndColours) {
    const Image dot = DotImage::dotImageForColor(kBlueOption);
    EXPECT_EQ(dot.size().width(), 14.0);
    EXPECT_EQ(dot.size().height(), 14.0);
    EXPECT_EQ(dot.pixelWidth(), static_cast<int>(14 * Screen::main().scale()));
    EXPECT_TRUE(
        closeColor(dot.colorAtPoint(Point(7, 7)), ColorExtensions::adjustBrightness(kBlueOption, 0.45)));
    // The 1-point rim is centred on the ellipse's edge at x = 1.
    EXPECT_TRUE(
        closeColor(dot.colorAtPoint(Point(1.1, 7)), ColorExtensions::adjustBrightness(kBlueOption, 0.75)));
    EXPECT_TRUE(isClear(dot.colorAtPoint(Point(0.5, 0.5))));
    EXPECT_TRUE(isClear(dot.colorAtPoint(Point(13.8, 13.8))));

    const Image grey = DotImage::dotImageForColor(std::nullopt);
    EXPECT_TRUE(closeColor(grey.colorAtPoint(Point(7, 7)), Color(0.5, 0.5, 0.5)));
}

TEST(CalendarDrawing, DotImageFollowsTheScreenScale) {
    const double previous = Screen::main().scale();
    ASSERT_TRUE(Screen::main().setScale(3.0));
    const Image dot = DotImage::dotImageForColor(kBlueOption);
    Screen::main().setScale(previous);
    EXPECT_EQ(dot.pixelWidth(), 42);
    EXPECT_EQ(dot.pixelHeight(), 42);
    EXPECT_EQ(dot.size().width(), 14.0);
}

TEST(RoundedRectangleTest, PathStartsAtTheLeftMiddleAndCoversTheRect) {
    RoundedRectangle shape = RoundedRectangle::rectangleWithRect(Rect(10, 20, 100, 40), 8);
    Image::draw(Size(120, 80), 1.0, [&](GraphicsContext& context) {
        shape.drawRoundedRectPath(context);
        EXPECT_DOUBLE_EQ(context.pathStartPoint().x(), 10.0);
        EXPECT_DOUBLE_EQ(context.pathStartPoint().y(), 40.0);
        const Rect box = context.pathBoundingBox();
        EXPECT_NEAR(box.minX(), 10.0, 1e-6);
        EXPECT_NEAR(box.minY(), 20.0, 1e-6);
        EXPECT_NEAR(box.maxX(), 110.0, 1e-6);
        EXPECT_NEAR(box.maxY(), 60.0, 1e-6);
        EXPECT_FALSE(context.pathContainsPoint(Point(11, 21)));
        EXPECT_TRUE(context.pathContainsPoint(Point(60, 21)));
    });
}

TEST(RoundedRectangleTest, RadiusBeyondHalfTheHeightGivesFullyRoundedEnds) {
    const RoundedRectangle pill = RoundedRectangle::rectangleWithRect(Rect(0, 0, 100, 20), 50);
    const Image image =
        drawAt1x(Size(100, 20), [&](GraphicsContext& context) { pill.fill(context, Color(1, 0, 0)); });
    // Each end is a half circle of radius 10 around (10, 10) and (90, 10).
    EXPECT_TRUE(isClear(image.pixelColor(1, 1)));
    EXPECT_TRUE(isClear(image.pixelColor(1, 2)));
    EXPECT_TRUE(isClear(image.pixelColor(2, 1)));
    EXPECT_TRUE(isClear(image.pixelColor(98, 18)));
    EXPECT_TRUE(closeColor(image.pixelColor(0, 10), Color(1, 0, 0), 0.6));
    EXPECT_TRUE(closeColor(image.pixelColor(10, 0), Color(1, 0, 0), 0.6));
    EXPECT_TRUE(closeColor(image.pixelColor(50, 0), Color(1, 0, 0)));
    EXPECT_TRUE(closeColor(image.pixelColor(50, 19), Color(1, 0, 0)));
    EXPECT_TRUE(closeColor(image.pixelColor(5, 10), Color(1, 0, 0)));
    // The radius 10 ends meet the straight edges: nothing is rounded in the middle.
    EXPECT_TRUE(closeColor(image.pixelColor(11, 0), Color(1, 0, 0), 0.3));
}

TEST(RoundedRectangleTest, SharpCornersAreRightAngles) {
    RoundedRectangle shape = RoundedRectangle::rectangleWithRect(Rect(0, 0, 40, 40), 15);
    shape.sharpUpperLeftCorner = true;
    shape.sharpLowerRightCorner = true;
    const Image image =
        drawAt1x(Size(40, 40), [&](GraphicsContext& context) { shape.fill(context, Color(0, 0, 1)); });
    EXPECT_TRUE(closeColor(image.pixelColor(0, 0), Color(0, 0, 1)));
    EXPECT_TRUE(closeColor(image.pixelColor(39, 39), Color(0, 0, 1)));
    EXPECT_TRUE(isClear(image.pixelColor(39, 0)));
    EXPECT_TRUE(isClear(image.pixelColor(0, 39)));

    shape.sharpUpperLeftCorner = false;
    shape.sharpUpperRightCorner = true;
    shape.sharpLowerLeftCorner = true;
    shape.sharpLowerRightCorner = false;
    const Image flipped =
        drawAt1x(Size(40, 40), [&](GraphicsContext& context) { shape.fill(context, Color(0, 0, 1)); });
    EXPECT_TRUE(isClear(flipped.pixelColor(0, 0)));
    EXPECT_TRUE(isClear(flipped.pixelColor(39, 39)));
    EXPECT_TRUE(closeColor(flipped.pixelColor(39, 0), Color(0, 0, 1)));
    EXPECT_TRUE(closeColor(flipped.pixelColor(0, 39), Color(0, 0, 1)));
}

TEST(RoundedRectangleTest, StrokeDashAndFillLeaveTheStateAsFound) {
    const RoundedRectangle shape = RoundedRectangle::rectangleWithRect(Rect(10, 10, 80, 30), 0);
    int solidCount = 0;
    int dashedCount = 0;
    const Image solid = drawAt1x(Size(100, 50), [&](GraphicsContext& context) {
        context.setLineWidth(3);
        shape.stroke(context, Color(0, 0, 0), 2);
        EXPECT_EQ(context.lineWidth(), 3.0);
    });
    const Image dashed = drawAt1x(Size(100, 50), [&](GraphicsContext& context) {
        context.setStrokeColor(Color(0, 1, 0));
        shape.dash(context, Color(0, 0, 0), 2, 5);
        EXPECT_EQ(context.strokeColor(), Color(0, 1, 0));
    });
    for (int x = 12; x < 88; ++x) {
        solidCount += isClear(solid.pixelColor(x, 10)) ? 0 : 1;
        dashedCount += isClear(dashed.pixelColor(x, 10)) ? 0 : 1;
    }
    EXPECT_EQ(solidCount, 76);
    EXPECT_GT(dashedCount, 25);
    EXPECT_LT(dashedCount, 51);
    // Inside stays empty for outlines.
    EXPECT_TRUE(isClear(solid.pixelColor(50, 25)));

    const Image both = drawAt1x(Size(100, 50), [&](GraphicsContext& context) {
        shape.strokeFill(context, Color(0, 0, 0), Color(1, 1, 0), 2);
        shape.dashPhaseFill(context, Color(0, 0, 0), 2, 4, Color(1, 1, 0), 2);
    });
    EXPECT_TRUE(closeColor(both.pixelColor(50, 25), Color(1, 1, 0)));
    EXPECT_TRUE(closeColor(both.pixelColor(50, 10), Color(0, 0, 0)));
}

TEST(RoundedRectangleTest, GradientIsClippedToTheShape) {
    const RoundedRectangle shape = RoundedRectangle::rectangleWithRect(Rect(0, 0, 40, 40), 10);
    const Gradient gradient = Gradient::gradientFromColor(Color(1, 0, 0), Color(0, 0, 1));
    const Image image = drawAt1x(Size(40, 40), [&](GraphicsContext& context) {
        shape.applyGradient(context, gradient, Point(20, 0), Point(20, 40));
        // The clip ended with the gradient.
        context.setFillColor(Color(0, 1, 0));
        context.fillRect(Rect(39, 39, 1, 1));
    });
    EXPECT_TRUE(isClear(image.pixelColor(0, 0)));
    EXPECT_TRUE(closeColor(image.pixelColor(20, 0), Color(1, 0, 0), 0.05));
    EXPECT_TRUE(closeColor(image.pixelColor(20, 39), Color(0, 0, 1), 0.05));
    EXPECT_TRUE(closeColor(image.pixelColor(39, 39), Color(0, 1, 0)));
}

TEST(ColoredBackgroundViewTest, FillAndBarPlacement) {
    auto view = std::make_shared<ColoredBackgroundView>();
    EXPECT_EQ(view->frame().width(), 283.0);
    EXPECT_EQ(view->frame().height(), 28.0);
    EXPECT_FALSE(view->backgroundColor());
    EXPECT_EQ(view->backgroundRect().x(), 4.0);
    EXPECT_EQ(view->backgroundRect().y(), 3.0);
    EXPECT_EQ(view->backgroundRect().width(), 275.0);
    EXPECT_EQ(view->backgroundRect().height(), 19.0);

    auto label = std::make_shared<Label>(Rect(10, 4, 40, 12));
    view->addSubview(label);
    view->setTimeLabel(label);
    EXPECT_EQ(view->barRect().y(), 4.0);
    EXPECT_EQ(view->barRect().height(), 12.0);
    EXPECT_EQ(view->barRect().width(), 40.0);

    auto calendar = std::make_shared<EKCalendar>("c", EKCalendarType::Local, nullptr);
    calendar->setColor(kBlueOption);
    auto event = std::make_shared<EKEvent>();
    event->setCalendar(calendar);
    const Date day = DateUtilities::dateWithYear(2026, 5, 4);
    event->setStartDate(day);
    event->setAllDay(true);
    view->applyColorForEvent(*event, day);
    Image image = view->renderToImage(1.0);
    EXPECT_TRUE(closeColor(image.pixelColor(100, 10), ColorExtensions::adjustBrightness(kBlueOption, 0.3)));
    EXPECT_TRUE(isClear(image.pixelColor(100, 1)));

    event->setAllDay(false);
    event->setStartDate(day.addingTimeInterval(9 * 3600));
    view->applyColorForEvent(*event, day);
    image = view->renderToImage(1.0);
    EXPECT_TRUE(isClear(image.pixelColor(100, 10)));
    EXPECT_FALSE(isClear(image.pixelColor(30, 10)));
    EXPECT_TRUE(isClear(image.pixelColor(30, 22)));

    // A label at the row's edge keeps its pill inside the row.
    label->setFrame(Rect(10, -2, 40, 32));
    EXPECT_EQ(view->barRect().y(), 0.0);
    EXPECT_EQ(view->barRect().height(), 28.0);
}

// Draws a sheet of every piece; kept as pictures when sample pictures are wanted.
TEST(CalendarDrawing, SamplePicture) {
    const std::vector<Color> colors = {
        ColorExtensions::rgb255(185, 14, 0),  ColorExtensions::rgb255(246, 79, 0),
        ColorExtensions::rgb255(230, 200, 0), ColorExtensions::rgb255(68, 167, 3),
        ColorExtensions::rgb255(14, 97, 185), ColorExtensions::rgb255(113, 26, 118),
        ColorExtensions::rgb255(136, 47, 0),  Color(0.6, 0.6, 0.6)};
    const Image sample = Image::draw(Size(320, 260), 2.0, [&](GraphicsContext& context) {
        context.setFillColor(Color(1, 1, 1));
        context.fillRect(Rect(0, 0, 320, 260));
        for (std::size_t i = 0; i < colors.size(); ++i) {
            const double x = 10 + static_cast<double>(i) * 38;
            context.drawImage(DotImage::dotImageForColor(colors[i]), Point(x, 10));
            ColoredBackground bar;
            bar.applyCalendarColor(colors[i]);
            bar.drawCalendarColor(context, Rect(x, 34, 30, 4));
            ColoredBackground fill;
            fill.applyBackgroundCalendarColor(colors[i]);
            fill.drawBackgroundCalendarColor(context, Rect(x, 46, 30, 19));
        }
        RoundedRectangle sharp = RoundedRectangle::rectangleWithRect(Rect(10, 80, 140, 60), 14);
        sharp.sharpUpperLeftCorner = true;
        sharp.sharpLowerRightCorner = true;
        sharp.strokeFill(context, Color(0.2, 0.2, 0.2), Color(0.85, 0.9, 1.0), 1);
        RoundedRectangle pill = RoundedRectangle::rectangleWithRect(Rect(170, 80, 140, 24), 40);
        pill.applyGradient(context, Gradient::gradientFromColor(Color(0.3, 0.5, 0.9), Color(0.1, 0.2, 0.5)),
                           Point(240, 80), Point(240, 104));
        RoundedRectangle::rectangleWithRect(Rect(170, 116, 140, 24), 6)
            .dash(context, Color(0.3, 0.3, 0.3), 1, 4);
        RoundedRectangle::rectangleWithRect(Rect(10, 160, 300, 40), 10)
            .dashPhaseFill(context, Color(0.7, 0.1, 0.1), 3, 6, Color(1.0, 0.95, 0.9), 2);
    });
    SamplePictures::keep(sample, "calendar-colors.png");
    EXPECT_EQ(sample.pixelWidth(), 640);
    EXPECT_NE(sample.colorAtPoint(Point(17, 17)), Color(1, 1, 1)); // the first dot

    auto row = std::make_shared<ColoredBackgroundView>();
    row->setBackgroundColor(Color(1, 1, 1));
    auto label = std::make_shared<Label>(Rect(8, 4, 44, 14));
    label->setText("12:00");
    row->addSubview(label);
    row->setTimeLabel(label);
    auto calendar = std::make_shared<EKCalendar>("c", EKCalendarType::Local, nullptr);
    calendar->setColor(kBlueOption);
    EKEvent event;
    event.setCalendar(calendar);
    const Date day = DateUtilities::dateWithYear(2026, 5, 4);
    event.setStartDate(day.addingTimeInterval(12 * 3600));
    row->applyColorForEvent(event, day);
    SamplePictures::keep(row->renderToImage(2.0), "colored-row-bar.png");
    event.setAllDay(true);
    row->applyColorForEvent(event, day);
    SamplePictures::keep(row->renderToImage(2.0), "colored-row-fill.png");
}
