#pragma once

#include "ui/week/DateTitleFaceView.h"

#include <QString>

// The date title's text face: one centred line of text; pressed, a rounded outline fits
// around it.
class DateTitleTextButtonView : public DateTitleFaceView {
public:
    explicit DateTitleTextButtonView(const Rect& frame);

    const QString& text() const { return m_text; }
    void setText(const QString& text);

    virtual Size getShadowOffset() const { return getTextShadowOffset(); }
    // The font size the text is drawn at.
    double fontSize() const;

    // The pressed outline extends this far beyond the text, half on either side.
    static constexpr double outlineExtraWidth = 20.0;

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override;

private:
    QString m_text;
};
