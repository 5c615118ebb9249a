#include "ui/editor/AllDaySwitch.h"

#include "foundation/Localization.h"
#include "kit/Artwork.h"
#include "kit/Font.h"
#include "kit/Label.h"
#include "kit/StringDrawing.h"
#include "ui/editing/EditorArtwork.h"

namespace {

constexpr double allDayTitleFontSize = 15.0;
// Room for the check box and the margins beside the title.
constexpr double allDayExtraWidth = 43.0;
constexpr double allDayPartShift = 3.0;
constexpr int allDayFaceLeftCap = 13;
constexpr int allDayFaceTopCap = 17;

Image allDayFace(const QString& name) {
    return Artwork::imageNamed(name).stretchableImage(allDayFaceLeftCap, allDayFaceTopCap);
}

} // namespace

AllDaySwitch::AllDaySwitch(const Rect& frame) : Button(frame) {
    EditorArtwork::registerImages();
    const QString title = localizedString(QStringLiteral("All-day"));
    const Font font = Font::boldSystemFontOfSize(allDayTitleFontSize);
    setTitle(title);
    titleLabel().setFont(font);
    titleLabel().setShadowOffset(Size(0, -1));
    setTitleColor(Color(0, 0, 0));
    setTitleShadowColor(Color(0, 0, 0, 0));
    setTitleColor(Color(1, 1, 1), ControlState::Highlighted);
    setTitleShadowColor(Color(0, 0, 0), ControlState::Highlighted);
    setImage(Artwork::imageNamed(QStringLiteral("edit-checkbox")));
    setBackgroundImage(allDayFace(QStringLiteral("edit-button-bg")));
    setBackgroundImage(allDayFace(QStringLiteral("edit-button-bg-selected")), ControlState::Highlighted);
    setImageEdgeInsets(EdgeInsets(0, -allDayPartShift, 0, allDayPartShift));
    setTitleEdgeInsets(EdgeInsets(0, allDayPartShift, 0, -allDayPartShift));

    const double width = StringDrawing::sizeWithFont(title, font).width() + allDayExtraWidth;
    const double right = frame.maxX();
    setFrame(Rect(right - width, frame.y(), width, frame.height()));

    onTouchUpInside = [this] {
        toggle(!m_on);
        if (onSwitched) {
            onSwitched();
        }
    };
}

void AllDaySwitch::toggle(bool on) {
    if (on) {
        setBackgroundImage(allDayFace(QStringLiteral("edit-button-bg-selected")));
        setImage(Artwork::imageNamed(QStringLiteral("edit-checkbox-selected")));
        setTitleColor(Color(1, 1, 1));
        setTitleShadowColor(Color(0, 0, 0));
    } else {
        setImage(Artwork::imageNamed(QStringLiteral("edit-checkbox")));
        setTitleColor(Color(0, 0, 0));
        setTitleShadowColor(Color(0, 0, 0, 0));
        setBackgroundImage(allDayFace(QStringLiteral("edit-button-bg")));
    }
    m_on = on;
}
