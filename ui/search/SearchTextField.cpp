#include "ui/search/SearchTextField.h"

#include "foundation/Localization.h"
#include "kit/Artwork.h"
#include "kit/Font.h"
#include "kit/ImageView.h"
#include "kit/KeyInput.h"
#include "kit/MenuController.h"
#include "ui/search/SearchArtwork.h"

#include <Qt>

SearchTextField::SearchTextField(const Rect& frame) : TextField(frame) {
    SearchArtwork::registerImages();
    setPlaceholder(localizedString(QStringLiteral("Search")));
    setLeftView(std::make_shared<ImageView>(Artwork::imageNamed(QStringLiteral("search-icon"))));
    setLeftViewMode(ViewMode::Always);
    setClearButtonMode(ViewMode::Always);
    setFont(Font::systemFontOfSize(15));
    setAutocapitalizationType(AutocapitalizationType::None);
    setAutocorrectionType(AutocorrectionType::No);
    setReturnKeyType(ReturnKeyType::Search);
    setEnablesReturnKeyAutomatically(true);
    setBorderStyle(BorderStyle::None);
    setContentVerticalAlignment(VerticalAlignment::Center);
    setBackground(Artwork::imageNamed(QStringLiteral("search-input")).stretchableImage(14, 12));
}

bool SearchTextField::canPerformAction(const QString&) {
    MenuController::sharedMenuController().setMenuVisible(false);
    return false;
}

bool SearchTextField::handleKeyInput(const KeyInput& input) {
    const bool stepKey = input.key == Qt::Key_Escape || input.key == Qt::Key_Up ||
                         input.key == Qt::Key_Down ||
                         ((input.key == Qt::Key_Return || input.key == Qt::Key_Enter) &&
                          (input.modifiers & Qt::ShiftModifier) != 0);
    if (input.type == KeyInput::Type::Press && stepKey && onSearchKey && onSearchKey(input)) {
        return true;
    }
    return TextField::handleKeyInput(input);
}
