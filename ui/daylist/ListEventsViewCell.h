#pragma once

#include "foundation/Color.h"
#include "foundation/Date.h"
#include "kit/TableViewCell.h"

#include <memory>

class BirthdayIconView;
class ColoredBackgroundView;
class EKEvent;
class Label;
class ListEventsViewCellDelegate;
class LongPressGestureRecognizer;
class Timer;

// One row of the day list: the event's start time (or "↳" on its later days) and its title and
// location, on the calendar's colour. Rows of writable events offer the copy/move menu on a long
// press.
class ListEventsViewCell : public TableViewCell {
public:
    static constexpr double rowWidth = 298.0;
    static constexpr double rowHeight = 26.0;
    static constexpr double longPressSeconds = 1.0;

    static const QString& reuseIdentifierName();
    // A row laid out at its design width, with its parts in place.
    static std::shared_ptr<ListEventsViewCell> create();
    ListEventsViewCell();
    ~ListEventsViewCell() override;

    void setDelegate(std::weak_ptr<ListEventsViewCellDelegate> delegate) { m_delegate = std::move(delegate); }
    Date displayedDate() const { return m_displayedDate; }
    void setDisplayedDate(Date date) { m_displayedDate = date; }
    void render(const std::shared_ptr<EKEvent>& event);

    const std::shared_ptr<EKEvent>& event() const { return m_event; }
    const std::shared_ptr<Label>& timeLabel() const { return m_timeLabel; }
    const std::shared_ptr<Label>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<ColoredBackgroundView>& coloredBackgroundView() const {
        return m_coloredBackgroundView;
    }
    // Null until the row first shows a birthday.
    const std::shared_ptr<BirthdayIconView>& birthdayIconView() const { return m_birthdayIconView; }
    bool hasLongPressGesture() const;

    // The row takes the copy/move menu.
    bool canBecomeFirstResponder() override { return true; }

protected:
    void selectionChanged(bool animated) override;

private:
    void buildParts();
    void captureOriginalLayout();
    void layoutTimedEvent();
    void layoutAllDayEvent();
    void updateBirthdayIcon();
    void attachLongPress(bool attach);
    bool isBirthdayEvent() const;
    void onHighlight();

    std::shared_ptr<EKEvent> m_event;
    Date m_displayedDate;
    std::weak_ptr<ListEventsViewCellDelegate> m_delegate;
    std::shared_ptr<Label> m_timeLabel;
    std::shared_ptr<Label> m_titleLabel;
    std::shared_ptr<LongPressGestureRecognizer> m_longPressGesture;
    bool m_originalLayoutCaptured = false;
    double m_originalTitleX = 0.0;
    double m_originalTitleWidth = 0.0;
    Color m_originalTimeColor;
    Color m_originalTitleColor;
    std::shared_ptr<ColoredBackgroundView> m_coloredBackgroundView;
    std::shared_ptr<BirthdayIconView> m_birthdayIconView;
    std::shared_ptr<Timer> m_highlightTimer;
};
