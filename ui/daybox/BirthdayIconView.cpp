#include "ui/daybox/BirthdayIconView.h"

#include "core/calendar/DateUtilities.h"
#include "kit/Artwork.h"
#include "kit/Font.h"
#include "kit/GraphicsContext.h"
#include "kit/StringDrawing.h"
#include "ui/daybox/EventRowArtwork.h"

namespace {

// Birthdays without a known year are stored in a year before this one.
constexpr int firstKnownBirthYear = 1901;
constexpr int oldestAge = 199;
// The age stands centred on the cake's body.
constexpr double ageCenterX = 11.5;
constexpr double ageY = 8.0;

} // namespace

BirthdayIconView::BirthdayIconView(const Rect& frame) : View(frame) {
    EventRowArtwork::registerImages();
    m_image = Artwork::imageNamed(QStringLiteral("birthday"));
    m_highlightedImage = Artwork::imageNamed(QStringLiteral("highlighted-birthday"));
    setBackgroundColor(std::nullopt);
}

void BirthdayIconView::setBirthday(Date birthDate, Date displayedDate) {
    const int birthYear = DateUtilities::year(birthDate);
    const int age = DateUtilities::year(displayedDate) - birthYear;
    if (birthYear >= firstKnownBirthYear && age <= oldestAge) {
        m_age = QString::number(age);
    } else {
        m_age.clear();
    }
    setNeedsDisplay();
}

void BirthdayIconView::setHighlighted(bool highlighted) {
    if (highlighted == m_highlighted) {
        return;
    }
    m_highlighted = highlighted;
    setNeedsDisplay();
}

void BirthdayIconView::layoutSubviews() {
    setNeedsDisplay();
}

void BirthdayIconView::drawRect(GraphicsContext& context, const Rect&) {
    const Font font = Font::boldSystemFontOfSize(9);
    const double x = ageCenterX - StringDrawing::sizeWithFont(m_age, font).width() / 2.0;
    if (!m_highlighted) {
        context.drawImage(m_image, Point(0, 0));
        context.setFillColor(Color(0, 0, 0));
        context.drawText(m_age, Point(x, ageY), font);
        return;
    }
    context.drawImage(m_highlightedImage, Point(0, 0));
    context.setFillColor(Color(0, 0, 0));
    context.drawText(m_age, Point(x + 1, ageY + 1), font);
    context.setFillColor(Color(1, 1, 1));
    context.drawText(m_age, Point(x, ageY), font);
}
