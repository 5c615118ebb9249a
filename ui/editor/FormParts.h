#pragma once

#include "kit/Image.h"

#include <QString>

#include <memory>

class Button;
class Color;
class Label;
class Rect;

// The pieces the quick editor's form is made of: its background, captions and button faces.
namespace FormParts {

Color background();
// A caption of the caption column: bold, dark blue-grey, with a light shadow.
std::shared_ptr<Label> caption(const Rect& frame);
// Fits a caption to its text, rounded up to whole points as the platform's labels do; gives the width.
double fitCaption(Label& label);
// A button on the form's light face with a bold black title.
std::shared_ptr<Button> faceButton(const Rect& frame);
// A named face image, stretched between its 13-point side caps (and `topCap` when given).
Image face(const QString& name, int topCap = 0);

} // namespace FormParts
