#include "kit/Button.h"
#include "kit/GraphicsContext.h"
#include "kit/ImageView.h"
#include "kit/Label.h"
#include "kit/LoadingIndicator.h"
#include "kit/View.h"
#include "kit/ViewRenderer.h"

#include <QString>

#include "SamplePictures.h"
#include "kit/RoundedRectangle.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

std::shared_ptr<Label> addLabel(View& parent, const Rect& frame, const QString& text, const Font& font) {
    auto label = std::make_shared<Label>(frame);
    label->setText(text);
    label->setFont(font);
    parent.addSubview(label);
    return label;
}

Image buttonBackground(const Color& top, const Color& bottom) {
    return Image::draw(Size(27, 35), 2.0, [&](GraphicsContext& context) {
        RoundedRectangle(Rect(0.5, 0.5, 26, 34), 6).drawRoundedRectPath(context);
        context.clip();
        context.drawLinearGradient({{0, top}, {1, bottom}}, Point(0, 0), Point(0, 35));
    });
}

} // namespace

// A sheet of the text and control looks, also kept for a person to look at (SamplePictures).
TEST(SampleSheetTest, TheSheetShowsEveryPart) {
    auto sheet = std::make_shared<View>(Rect(0, 0, 320, 420));
    sheet->setBackgroundColor(Color(0.85, 0.87, 0.9));
    addLabel(*sheet, Rect(10, 10, 300, 22), "System 17: Week 48 2026", Font::systemFontOfSize(17));
    addLabel(*sheet, Rect(10, 34, 300, 22), "Helvetica-Bold 17: Today",
             Font::fontWithName("Helvetica-Bold", 17));
    auto time = addLabel(*sheet, Rect(10, 60, 34, 22), "10:45", Font::boldSystemFontOfSize(12));
    time->setTextColor(Color(1, 1, 1));
    time->setShadowColor(Color(0, 0, 0));
    time->setShadowOffset(Size(1, 1));
    auto title = addLabel(*sheet, Rect(48, 60, 110, 22), "Dentist appointment at the clinic downtown",
                          Font::systemFontOfSize(13));
    title->setLineBreakMode(LineBreakMode::TailTruncation);
    auto arrow =
        addLabel(*sheet, Rect(170, 60, 30, 22), QString(QChar(0x21B3)), Font::boldSystemFontOfSize(12));
    auto shrunk =
        addLabel(*sheet, Rect(210, 60, 100, 22), "14 more events ...", Font::boldSystemFontOfSize(13));
    shrunk->setAdjustsFontSizeToFitWidth(true);
    shrunk->setMinimumFontSize(10);
    auto hint = addLabel(*sheet, Rect(10, 90, 220, 90),
                         "Tap on the week/year button at the top to directly jump to the desired week.",
                         Font::systemFontOfSize(17));
    hint->setNumberOfLines(0);
    hint->setLineBreakMode(LineBreakMode::WordWrap);
    hint->setTextAlignment(TextAlignment::Center);
    hint->setTextColor(Color(1, 1, 1));
    hint->setShadowColor(Color(0, 0, 0));
    hint->setShadowOffset(Size(-1, 1));
    hint->setBackgroundColor(Color(80 / 255.0, 80 / 255.0, 80 / 255.0, 0.85));

    const Image normal =
        buttonBackground(Color(0.95, 0.95, 0.97), Color(0.75, 0.78, 0.83)).stretchableImage(13, 17);
    const Image pressed =
        buttonBackground(Color(0.2, 0.4, 0.8), Color(0.1, 0.25, 0.6)).stretchableImage(13, 17);
    const char* states[] = {"Normal", "Highlighted", "Selected", "Disabled"};
    for (int i = 0; i < 4; ++i) {
        auto button = std::make_shared<Button>(Rect(10 + i * 76, 190, 72, 35));
        button->setBackgroundImage(normal);
        button->setBackgroundImage(pressed, ControlState::Highlighted);
        button->setBackgroundImage(pressed, ControlState::Selected);
        button->setTitle(states[i]);
        button->setTitleColor(Color(0, 0, 0));
        button->setTitleColor(Color(1, 1, 1), ControlState::Highlighted);
        button->setTitleColor(Color(1, 1, 1), ControlState::Selected);
        button->setTitleShadowColor(Color(0, 0, 0), ControlState::Highlighted);
        button->titleLabel().setFont(Font::boldSystemFontOfSize(13));
        button->titleLabel().setShadowOffset(Size(0, -1));
        button->setHighlighted(i == 1);
        button->setSelected(i == 2);
        button->setEnabled(i != 3);
        sheet->addSubview(button);
    }
    auto wide = std::make_shared<ImageView>(Rect(10, 235, 300, 35));
    wide->setImage(normal);
    sheet->addSubview(wide);

    auto shadowed = std::make_shared<View>(Rect(10, 280, 300, 60));
    sheet->addSubview(shadowed);
    auto shadowText = addLabel(*sheet, Rect(20, 290, 280, 40), "Pick a Week", Font::boldSystemFontOfSize(20));
    shadowText->setTextAlignment(TextAlignment::Center);
    shadowText->setTextColor(Color(1, 1, 1));
    shadowText->setShadowColor(Color(0.5, 0.5, 0.5));
    shadowText->setShadowOffset(Size(0, -1));
    shadowText->setBackgroundColor(Color(0.35, 0.45, 0.6));

    auto spinner = std::make_shared<LoadingIndicator>(LoadingIndicator::Style::WhiteLarge);
    spinner->setCenter(Point(40, 380));
    spinner->setHidden(false);
    sheet->addSubview(spinner);
    auto gray = std::make_shared<LoadingIndicator>(LoadingIndicator::Style::Gray);
    gray->setCenter(Point(90, 380));
    gray->setHidden(false);
    sheet->addSubview(gray);

    const Image image = ViewRenderer::render(*sheet, 2.0);
    SamplePictures::keep(image, QStringLiteral("text-and-controls.png"));
    EXPECT_EQ(image.pixelWidth(), 640);
    // The highlighted button's background is the pressed one, the normal one's the light one.
    EXPECT_LT(image.colorAtPoint(Point(10 + 76 + 4, 200)).red(), 0.4);
    EXPECT_GT(image.colorAtPoint(Point(14, 200)).red(), 0.8);
    // The stretched image keeps its rounded corner: the very corner is the sheet's colour.
    EXPECT_NEAR(image.colorAtPoint(Point(10.2, 235.2)).blue(), 0.9, 0.05);
}
