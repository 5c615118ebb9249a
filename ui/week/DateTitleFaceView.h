#pragma once

#include "foundation/Color.h"
#include "kit/Font.h"
#include "kit/View.h"

#include <QString>

#include <functional>

class GestureRecognizer;

// What the two faces of the date title share: the pressed look, the landscape flag, the tap
// handler, the press recogniser that drives them, and the colours and geometry both draw with.
// A face fills the title's bounds, has a clear background and draws itself.
class DateTitleFaceView : public View {
public:
    // The text sits in this vertical band of the face, the outline around it.
    struct Band {
        double top;
        double bottom;
        double height() const { return bottom - top; }
    };

    explicit DateTitleFaceView(const Rect& frame);

    bool selected() const { return m_selected; }
    void setSelected(bool selected);
    bool landscape() const { return m_landscape; }
    void setLandscape(bool landscape);
    const std::function<void()>& onTapped() const { return m_onTapped; }
    void setOnTapped(std::function<void()> onTapped) { m_onTapped = std::move(onTapped); }

    // The press follows the finger: pressed while it stays above twice the face's height, and
    // a release while pressed is a tap.
    void viewTapped(GestureRecognizer& recognizer);

    // The colours; the tablet's faces give their own.
    virtual Color getTextColor() const;
    virtual Color getSelectedTextColor() const;
    virtual Color getTextShadowColor() const;
    virtual Size getTextShadowOffset() const;
    virtual Color getLineColor() const;
    static Color pressedFillColor();

    // Texts fit within the face's width less this.
    static constexpr double horizontalInset = 24.0;
    static constexpr double cornerRadius = 5.0;

    Band band() const;
    // The bold system font at the face's starting size, shrunk until `text` fits the face's
    // width less the inset; there is no lower limit.
    Font fittingBoldFont(const QString& text) const;
    // The y of a text of `textHeight` centred in the band, on the pixel grid: a half point on a
    // dense screen, a whole point otherwise.
    double centredTextY(double textHeight) const;

protected:
    Color currentTextColor() const { return m_selected ? getSelectedTextColor() : getTextColor(); }
    // The rounded outline across the band from `x` over `width`, laid on the pixel grid, filled
    // with the pressed fill first when `filled`.
    void drawOutline(GraphicsContext& context, double x, double width, bool filled) const;

private:
    bool m_selected = false;
    bool m_landscape = false;
    std::function<void()> m_onTapped;
};
