#include "ui/settings/ValueCell.h"

#include "kit/Font.h"
#include "kit/Label.h"

namespace {
constexpr double valueLabelCheckedWidth = 255.0;
constexpr double valueLabelUncheckedWidth = 276.0;
} // namespace

ValueCell::ValueCell()
    : TableViewCell(Style::Default, QString::fromLatin1(reuseIdentifier)),
      m_valueTextLabel(std::make_shared<Label>(Rect(23, 11, valueLabelUncheckedWidth, 22))) {
    m_valueTextLabel->setBackgroundColor(Color(0, 0, 0, 0));
    m_valueTextLabel->setFont(Font::boldSystemFontOfSize(17));
    m_valueTextLabel->setHighlightedTextColor(Color(1, 1, 1));
    contentView().addSubview(m_valueTextLabel);
}

void ValueCell::setChecked(bool checked) {
    m_valueTextLabel->setFrameWidth(checked ? valueLabelCheckedWidth : valueLabelUncheckedWidth);
    setAccessoryType(checked ? AccessoryType::Checkmark : AccessoryType::None);
}
