#pragma once

#include "foundation/Date.h"
#include "kit/Label.h"
#include "kit/View.h"
#include "ui/common/ColoredBackground.h"
#include "ui/copymove/CopyMoveMenuRow.h"

#include <functional>
#include <memory>

class BirthdayIconView;
class EKEvent;
class EventTouchLock;
class EventViewDelegate;
class LongPressGestureRecognizer;
class SelectedBackgroundView;

// One line of a day box: the event's time (or "↳" on its later days) and its title and
// location, with the calendar's colour behind. It turns touches into selection and long-press
// reports and runs every row-level effect: fading on change, the selection bar, removal, flash,
// the copy/move pulsing and the birthday age. The day box sets its frame; without an event the
// row is hidden. While one row is touched, the rows sharing its touch lock take no new touch.
class EventView : public View, public CopyMoveMenuRow {
public:
    // How far above or below a row (or a card) a finger still counts as on it.
    static constexpr double touchBand = 70.0;

    static std::shared_ptr<EventView> create(const Rect& frame, std::shared_ptr<EventTouchLock> touchLock);
    // Builds no subviews; create() does, once the row is held by a shared pointer.
    EventView(const Rect& frame, std::shared_ptr<EventTouchLock> touchLock);
    ~EventView() override;

    const std::shared_ptr<EKEvent>& event() const { return m_event; }
    void setDelegate(std::weak_ptr<EventViewDelegate> delegate);

    // Binds the row to the event as shown on the day starting at `displayedDate`; without an
    // event the row empties and hides.
    void initializeWithEvent(std::shared_ptr<EKEvent> event, Date displayedDate, bool animated);
    void removeEventAnimated(bool animated, bool delayed);
    void deselectAnimated(bool animated, bool delayed);
    // Deselects at once, animated.
    void deselectForClosedMenu() override;
    void flashDelayed(bool delayed);
    void disableTouch(bool disabled);
    void startMoveAnimation();
    void stopMoveAnimation();
    void highlightAsSearchResult();
    void hideSelectedBackgroundImage(bool hide);
    void setHighlighted(bool highlighted);
    void hideTimeLabel(bool hide);
    void updateTextColor();

    bool selected() const { return m_selected; }
    bool touchDisabled() const { return m_touchDisabled; }
    bool moveAnimationRunning() const { return m_moveAnimationRunning; }
    bool eventViewHighlighted() const { return m_eventViewHighlighted; }
    bool allDay() const { return m_allDay; }
    const std::shared_ptr<Label>& timeLabel() const { return m_timeLabel; }
    const std::shared_ptr<Label>& titleLabel() const { return m_titleLabel; }
    Rect originalTitleFrame() const { return m_originalTitleFrame; }
    const std::shared_ptr<SelectedBackgroundView>& selectedBackgroundImage() const {
        return m_selectedBackgroundImage;
    }
    // Null until the row first shows a birthday.
    const std::shared_ptr<BirthdayIconView>& birthdayIconView() const { return m_birthdayIconView; }
    const ColoredBackground& coloredBackground() const { return m_coloredBackground; }
    bool hasLongPressGesture() const;

    bool canBecomeFirstResponder() override { return true; }

protected:
    // Read out as one element: the time as shown, then the title and location.
    AccessibilityDescription describeAccessibility() const override;
    // Layout hooks, overridden by the tablet row.
    virtual std::shared_ptr<Label> newTimeLabel();
    virtual std::shared_ptr<Label> newTitleLabel();
    virtual void adjustTitleLabelFrame(Label& titleLabel, const Label& timeLabel);
    virtual void setTitleLabelFrameToAllDay(Label& titleLabel);
    virtual std::shared_ptr<SelectedBackgroundView> newSelectedBackgroundView();
    // An event of the birthday calendar, which shows the age icon before its title.
    bool isBirthdayEvent() const;

    void drawRect(GraphicsContext& context, const Rect& rect) override;
    void touchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    void touchesMoved(const TouchSet& touches, const TouchEvent& event) override;
    void touchesEnded(const TouchSet& touches, const TouchEvent& event) override;
    void touchesCancelled(const TouchSet& touches, const TouchEvent& event) override;

    // Builds the labels, bar and recogniser through the hooks; create() of a subclass calls it.
    void buildSubviews();

private:
    void bindEvent(Date displayedDate, bool animated);
    void unbindEvent(bool animated);
    void clearRow();
    void fadeOutSelectedBackground();
    bool isCopyMoveEvent() const;
    void fitTimeLabelWidth();
    void fitTitleLabelWidth();
    void attachLongPress(bool attach);
    void applyCopyMoveState(Date displayedDate);
    void updateBirthdayIcon(Date displayedDate);
    void longPressed();
    bool isWithinTouchBand(double y) const;
    Rect timeBoxRect() const;
    Rect rowBoxRect() const;
    std::shared_ptr<EventViewDelegate> delegate() const { return m_delegate.lock(); }

    std::shared_ptr<EKEvent> m_event;
    std::weak_ptr<EventViewDelegate> m_delegate;
    std::shared_ptr<EventTouchLock> m_touchLock;
    Date m_displayedDate;
    std::shared_ptr<Label> m_timeLabel;
    std::shared_ptr<Label> m_titleLabel;
    Rect m_originalTitleFrame;
    bool m_allDay = false;
    bool m_selected = false;
    bool m_touchingDown = false;
    bool m_touchDisabled = false;
    bool m_moveAnimationRunning = false;
    bool m_eventViewHighlighted = false;
    std::shared_ptr<LongPressGestureRecognizer> m_longPressGesture;
    std::shared_ptr<BirthdayIconView> m_birthdayIconView;
    std::shared_ptr<SelectedBackgroundView> m_selectedBackgroundImage;
    ColoredBackground m_coloredBackground;
};
