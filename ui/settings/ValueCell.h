#pragma once

#include "kit/TableViewCell.h"

#include <memory>

class Label;

// A row of an option list: the option's text in bold, and a check mark at the chosen option.
class ValueCell : public TableViewCell {
public:
    static constexpr const char* reuseIdentifier = "ValueCell";

    ValueCell();

    Label& valueTextLabel() { return *m_valueTextLabel; }
    // The check mark takes room from the text.
    void setChecked(bool checked);

private:
    std::shared_ptr<Label> m_valueTextLabel;
};
