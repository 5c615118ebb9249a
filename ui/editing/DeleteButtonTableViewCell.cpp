#include "ui/editing/DeleteButtonTableViewCell.h"

#include "foundation/Localization.h"
#include "kit/Artwork.h"
#include "kit/Button.h"
#include "kit/Font.h"
#include "kit/Label.h"
#include "kit/Screen.h"
#include "ui/editing/EditorArtwork.h"

namespace {

constexpr double deleteRowButtonHeight = 46.0;
constexpr double deleteRowButtonTop = -1.0;
constexpr double denseScreenScale = 2.0;

// On a dense screen half points keep the red face on whole pixels beside the grouped rows.
double deleteRowButtonMargin() {
    return Screen::main().scale() == denseScreenScale ? 8.5 : 8.0;
}

} // namespace

DeleteButtonTableViewCell::DeleteButtonTableViewCell(const QString& reuseIdentifier)
    : TableViewCell(Style::Default, reuseIdentifier), m_button(std::make_shared<Button>()) {
    EditorArtwork::registerImages();
    setSelectionStyle(SelectionStyle::None);
    auto background = std::make_shared<View>();
    background->setBackgroundColor(Color(0, 0, 0, 0));
    setBackgroundView(background);
    m_button->setBackgroundImage(Artwork::imageNamed(QStringLiteral("delete-button")).stretchableImage(9, 0));
    m_button->setTitle(localizedString(QStringLiteral("Delete Calendar")));
    m_button->setTitleColor(Color(1, 1, 1));
    m_button->setTitleShadowColor(Color(0, 0, 0, 0.5));
    m_button->titleLabel().setFont(Font::boldSystemFontOfSize(20));
    m_button->titleLabel().setShadowOffset(Size(0, -1));
    contentView().addSubview(m_button);
}

void DeleteButtonTableViewCell::layoutSubviews() {
    TableViewCell::layoutSubviews();
    const double margin = deleteRowButtonMargin();
    const Rect content = contentView().frame();
    m_button->setFrame(Rect(margin - content.x(), deleteRowButtonTop - content.y(),
                            bounds().width() - 2 * margin, deleteRowButtonHeight));
}
