#pragma once

#include "kit/View.h"

#include <functional>

// The round control at the left of a row in editing mode: a red disc with a white bar to delete
// (the bar turns upright while the row asks to confirm its deletion) or a green disc with a white
// cross to insert. A tap on it calls `onTapped`.
class TableViewCellEditingControl : public View {
public:
    static constexpr double width = 32.0;

    explicit TableViewCellEditingControl(bool insert);

    bool isInsert() const { return m_insert; }
    void setInsert(bool insert);
    // The delete bar stands upright.
    bool confirming() const { return m_confirming; }
    void setConfirming(bool confirming);

    std::function<void()> onTapped;

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override;
    void touchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    void touchesEnded(const TouchSet& touches, const TouchEvent& event) override;
    void touchesCancelled(const TouchSet& touches, const TouchEvent& event) override;

private:
    bool m_insert;
    bool m_confirming = false;
    bool m_tracking = false;
};
