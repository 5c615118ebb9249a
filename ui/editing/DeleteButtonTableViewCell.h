#pragma once

#include "kit/TableViewCell.h"

#include <memory>

class Button;

// A table row that is one wide red button titled "Delete Calendar" (the screen may retitle it
// and binds its action), on a clear background.
class DeleteButtonTableViewCell : public TableViewCell {
public:
    explicit DeleteButtonTableViewCell(const QString& reuseIdentifier = QString());

    Button& button() { return *m_button; }

protected:
    void layoutSubviews() override;

private:
    std::shared_ptr<Button> m_button;
};
