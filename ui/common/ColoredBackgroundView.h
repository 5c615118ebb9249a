#pragma once

#include "kit/View.h"
#include "ui/common/ColoredBackground.h"

#include <memory>

class EKEvent;
class Label;

// The background of a day-list row: the event's fill behind the whole row, or its bar under
// the row's time label. Transparent otherwise.
class ColoredBackgroundView : public View {
public:
    ColoredBackgroundView();
    explicit ColoredBackgroundView(const Rect& frame);

    // The row's time label, held weakly; the bar is drawn under it.
    std::shared_ptr<Label> timeLabel() const { return m_timeLabel.lock(); }
    void setTimeLabel(const std::shared_ptr<Label>& label);

    const ColoredBackground& coloredBackground() const { return m_coloredBackground; }
    // Applies the event's colouring and redraws when it changed.
    void applyColorForEvent(const EKEvent& event, Date displayedDate);

    // Where the fill and the bar go, in this view's coordinates. Without a time label the bar
    // rectangle is empty.
    Rect backgroundRect() const;
    Rect barRect() const;

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override;

private:
    ColoredBackground m_coloredBackground;
    std::weak_ptr<Label> m_timeLabel;
};
