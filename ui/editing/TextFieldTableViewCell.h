#pragma once

#include "kit/TableViewCell.h"

#include <memory>

class TextField;

// A table row that is one text field: the row less 20 points at each side and 11 at top and
// bottom, without border, 17-point system font, a clear button while editing, and "Text" as
// placeholder until the screen sets its own.
class TextFieldTableViewCell : public TableViewCell {
public:
    static constexpr double horizontalInset = 20.0;
    static constexpr double verticalInset = 11.0;

    explicit TextFieldTableViewCell(const QString& reuseIdentifier = QString());

    TextField& textField() { return *m_textField; }

protected:
    void layoutSubviews() override;

private:
    std::shared_ptr<TextField> m_textField;
};
