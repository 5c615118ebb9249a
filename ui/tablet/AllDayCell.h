#pragma once

#include "kit/TableViewCell.h"

#include <memory>

class Switch;

// The tablet editor's all-day row: the label "All-day" and a switch at its right end.
class AllDayCell : public TableViewCell {
public:
    static constexpr double switchRightMargin = 14.0;
    static constexpr double switchY = 9.0;

    AllDayCell();

    const std::shared_ptr<Switch>& allDaySwitch() const { return m_allDaySwitch; }

protected:
    void layoutSubviews() override;

private:
    std::shared_ptr<Switch> m_allDaySwitch;
};
