#include "ui/editing/TextFieldTableViewCell.h"

#include "foundation/Localization.h"
#include "kit/Font.h"
#include "kit/TextField.h"

TextFieldTableViewCell::TextFieldTableViewCell(const QString& reuseIdentifier)
    : TableViewCell(Style::Default, reuseIdentifier), m_textField(std::make_shared<TextField>()) {
    setSelectionStyle(SelectionStyle::None);
    m_textField->setBorderStyle(TextField::BorderStyle::None);
    m_textField->setFont(Font::systemFontOfSize(17));
    m_textField->setContentVerticalAlignment(TextField::VerticalAlignment::Center);
    m_textField->setClearButtonMode(TextField::ViewMode::WhileEditing);
    m_textField->setPlaceholder(localizedString(QStringLiteral("Text")));
    contentView().addSubview(m_textField);
}

void TextFieldTableViewCell::layoutSubviews() {
    TableViewCell::layoutSubviews();
    const Rect row = bounds().inset(horizontalInset, verticalInset);
    const Rect content = contentView().frame();
    m_textField->setFrame(row.offset(-content.x(), -content.y()));
}
