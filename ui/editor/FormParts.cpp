#include "ui/editor/FormParts.h"

#include "kit/Artwork.h"
#include "kit/Button.h"
#include "kit/Font.h"
#include "kit/Label.h"
#include "kit/StringDrawing.h"

#include <cmath>

namespace {

constexpr int faceLeftCap = 13;

} // namespace

namespace FormParts {

Color background() {
    return Color::fromRgb255(192, 203, 211);
}

std::shared_ptr<Label> caption(const Rect& frame) {
    auto label = std::make_shared<Label>(frame);
    label->setFont(Font::boldSystemFontOfSize(15));
    label->setTextColor(Color::fromRgb255(54, 64, 82));
    label->setShadowColor(Color(1, 1, 1, 0.7));
    label->setShadowOffset(Size(0, 1));
    label->setBackgroundColor(std::nullopt);
    return label;
}

double fitCaption(Label& label) {
    const double width = std::ceil(StringDrawing::sizeWithFont(label.text(), label.font()).width());
    label.setFrameWidth(width);
    return width;
}

std::shared_ptr<Button> faceButton(const Rect& frame) {
    auto button = std::make_shared<Button>(frame);
    button->titleLabel().setFont(Font::boldSystemFontOfSize(16));
    button->titleLabel().setShadowOffset(Size(0, 1));
    button->setTitleColor(Color(0, 0, 0));
    button->setBackgroundImage(face(QStringLiteral("edit-button-bg")));
    return button;
}

Image face(const QString& name, int topCap) {
    return Artwork::imageNamed(name).stretchableImage(faceLeftCap, topCap);
}

} // namespace FormParts
