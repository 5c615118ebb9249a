#include "ui/daybox/SelectedBackgroundView.h"

#include "kit/Artwork.h"
#include "ui/daybox/EventRowArtwork.h"

namespace {

constexpr int leftCap = 90;

} // namespace

SelectedBackgroundView::SelectedBackgroundView(const Rect& frame) : ImageView(frame) {
    EventRowArtwork::registerImages();
    setImage(Artwork::imageNamed(QStringLiteral("selected-row")).stretchableImage(leftCap, 0));
}
