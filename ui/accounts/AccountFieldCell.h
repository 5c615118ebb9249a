#pragma once

#include "kit/TableViewCell.h"

#include <memory>

class TextField;

// A row of the account form: the field's name in bold on the left and its text field filling
// the rest of the row.
class AccountFieldCell : public TableViewCell {
public:
    static constexpr double nameWidth = 125.0;

    explicit AccountFieldCell(const QString& name);

    TextField& textField() { return *m_textField; }

protected:
    void layoutSubviews() override;

private:
    std::shared_ptr<TextField> m_textField;
};
