#pragma once

// Marker base of every bus event. Events are delivered by their exact dynamic type, so no event
// class derives from another.
class ApplicationEvent {
public:
    virtual ~ApplicationEvent() = default;

protected:
    ApplicationEvent() = default;
    ApplicationEvent(const ApplicationEvent&) = default;
    ApplicationEvent& operator=(const ApplicationEvent&) = default;
};
