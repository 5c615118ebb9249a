#include "ui/copymove/MoveEventBarView.h"

#include "foundation/Localization.h"
#include "kit/Artwork.h"
#include "kit/Font.h"
#include "kit/ImageView.h"
#include "kit/Label.h"
#include "ui/copymove/CopyMoveArtwork.h"

namespace {

constexpr double moveBarWidth = 320.0;

} // namespace

std::shared_ptr<MoveEventBarView> MoveEventBarView::create() {
    auto bar = std::make_shared<MoveEventBarView>();
    bar->addSubview(bar->m_backgroundView);
    bar->addSubview(bar->m_label);
    return bar;
}

MoveEventBarView::MoveEventBarView()
    : View(Rect(0, -barHeight, moveBarWidth, barHeight)),
      m_backgroundView(std::make_shared<ImageView>(Rect(0, 0, moveBarWidth, barHeight))),
      m_label(std::make_shared<Label>(Rect(0, 0, moveBarWidth, barHeight - 1))) {
    CopyMoveArtwork::registerImages();
    m_label->setBackgroundColor(Color(0, 0, 0, 0));
    m_label->setFont(Font::boldSystemFontOfSize(15));
    m_label->setTextColor(Color(1, 1, 1));
    m_label->setShadowColor(Color(0, 0, 0));
    m_label->setShadowOffset(Size(1, 1));
    m_label->setTextAlignment(TextAlignment::Center);
}

void MoveEventBarView::setCopyMode() {
    setMode(QStringLiteral("copy-top-bar"), localizationKey("Select date to copy the event to"));
}

void MoveEventBarView::setMoveMode() {
    setMode(QStringLiteral("move-top-bar"), localizationKey("Select a new date for the event"));
}

void MoveEventBarView::setMode(const QString& imageName, const QString& text) {
    m_backgroundView->setImage(Artwork::imageNamed(imageName));
    m_label->setText(localizedString(text));
}
