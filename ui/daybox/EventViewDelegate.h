#pragma once

class EventView;

// What an event row reports to its day box.
class EventViewDelegate {
public:
    virtual ~EventViewDelegate() = default;
    // A touch went down on the row, which now shows its selection bar.
    virtual void beforeEventSelected(EventView& eventView) = 0;
    // The touch ended on or near the row.
    virtual void eventSelected(EventView& eventView) = 0;
    virtual void eventLongPressed(EventView& eventView) = 0;
    // The row has faded out; the day box lays its rows out again.
    virtual void removeAnimationFinished(EventView& eventView) = 0;
};
