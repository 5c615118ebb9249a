#pragma once

#include "foundation/Date.h"
#include "kit/Size.h"
#include "ui/daybox/CalendarBoxView.h"

#include <memory>
#include <optional>
#include <vector>

class Button;
class EventView;
class ImageView;
class Label;
class TouchableViewDelegate;

// The card of one day: draws the day's header and body, shows a pressed look while a finger is
// on it outside the rows, and reports taps to its delegate (the day's controller) or, on the
// header, asks for the day's list.
class DayView : public CalendarBoxView {
public:
    using EventViewList = std::vector<std::shared_ptr<EventView>>;

    static std::shared_ptr<DayView> create(Point point, bool halfSize);
    DayView(const Rect& frame, bool halfSize);

    // The card's size when made: 158 × 137 (158.5 × 137.5 on a dense screen), 68 high when half.
    static Size cardSize(bool halfSize);

    std::optional<Date> displayedDate() const { return m_displayedDate; }
    void setDisplayedDate(Date date);
    void highlight(bool highlighted);
    // The rows and the more button show pressed (or not) with the card.
    void highlightAllText(bool highlighted);
    // Takes the pressed look away; returns whether it was showing.
    bool deselectAnimated(bool animated, bool delayed);
    // The keyboard's selection of the day itself (a day without rows): its header shows pressed.
    void showKeyboardSelection(bool selected);

    void setDelegate(std::weak_ptr<TouchableViewDelegate> delegate) { m_delegate = std::move(delegate); }
    // The controller's row list, shared so that the card can highlight the rows.
    void setEventViews(std::shared_ptr<EventViewList> eventViews) { m_eventViews = std::move(eventViews); }
    const std::shared_ptr<Button>& moreEventsButton() const { return m_moreEventsButton; }
    bool halfSized() const { return m_halfSized; }
    bool touchingDown() const { return m_touchingDown; }
    Size originalDayViewSize() const { return m_originalDayViewSize; }
    // Null until the first touch makes the pressed look.
    const std::shared_ptr<ImageView>& selectedHeaderImage() const { return m_selectedHeaderImage; }
    const std::shared_ptr<ImageView>& selectedBackgroundImage() const { return m_selectedBackgroundImage; }
    const std::shared_ptr<Label>& dayOfWeekLabel() const { return m_dayOfWeekLabel; }
    const std::shared_ptr<Label>& dayOfMonthLabel() const { return m_dayOfMonthLabel; }

    // How many events the day has, shown in rows or behind the more button; read out with the
    // date.
    int eventCount() const { return m_eventCount; }
    void setEventCount(int count) { m_eventCount = count; }

    // The widths of the pressed header's titles.
    double getDayOfMonthLabelWidth() const { return dayOfMonthLabelWidth(); }
    double getDayOfWeekLabelWidth() const { return dayOfWeekLabelWidth(); }

protected:
    // Adds the more button and the plain look; create() of a subclass calls it.
    void buildSubviews();
    // The card's geometry and texts, overridden by the tablet's larger card.
    virtual double dayOfMonthLabelWidth() const { return 66.0; }
    virtual double dayOfWeekLabelWidth() const { return 86.0; }
    virtual Rect moreEventsButtonFrame() const;
    virtual Font moreEventsButtonFont() const;
    // The header's titles for the date: the day of the week at the left, the day of the month at
    // the right.
    virtual void setLeftAndRightTitle(Date date);
    AccessibilityDescription describeAccessibility() const override;
    void drawRect(GraphicsContext& context, const Rect& rect) override;
    void touchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    void touchesMoved(const TouchSet& touches, const TouchEvent& event) override;
    void touchesEnded(const TouchSet& touches, const TouchEvent& event) override;
    void touchesCancelled(const TouchSet& touches, const TouchEvent& event) override;

private:
    std::shared_ptr<Button> newMoreEventsButton() const;
    void createSelectedHeaderAndBackground();
    std::shared_ptr<Label> newHeaderLabel(const Rect& frame) const;
    bool touchedHeader(const TouchSet& touches) const;
    bool isVeiled() const;
    void showPressed(ImageView& image, double alpha);
    void hidePressed(ImageView& image);
    void listDayEvents();

    std::shared_ptr<ImageView> m_selectedHeaderImage;
    std::shared_ptr<ImageView> m_selectedBackgroundImage;
    std::shared_ptr<Label> m_dayOfWeekLabel;
    std::shared_ptr<Label> m_dayOfMonthLabel;
    std::optional<Date> m_displayedDate;
    bool m_touchingDown = false;
    Size m_originalDayViewSize;
    std::shared_ptr<EventViewList> m_eventViews = std::make_shared<EventViewList>();
    std::shared_ptr<Button> m_moreEventsButton;
    std::weak_ptr<TouchableViewDelegate> m_delegate;
    bool m_halfSized = false;
    int m_eventCount = 0;
};
