#pragma once

#include "foundation/Date.h"
#include "kit/Image.h"
#include "kit/View.h"

#include <QString>

// The cake in front of a birthday row, with the age the person turns in the displayed year.
class BirthdayIconView : public View {
public:
    explicit BirthdayIconView(const Rect& frame);

    // The age is left empty for birth years before 1901 (a birthday without a known year) and
    // for ages above 199.
    void setBirthday(Date birthDate, Date displayedDate);
    void setHighlighted(bool highlighted);

    const QString& age() const { return m_age; }
    bool highlighted() const { return m_highlighted; }

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override;
    void layoutSubviews() override;

private:
    Image m_image;
    Image m_highlightedImage;
    QString m_age = QStringLiteral("0");
    bool m_highlighted = false;
};
