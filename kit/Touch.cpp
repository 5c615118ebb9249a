#include "kit/Touch.h"

#include "kit/View.h"

Touch::Touch(int finger, Point location, double timestamp)
    : m_finger(finger), m_location(location), m_previousLocation(location), m_timestamp(timestamp) {}

Point Touch::locationInView(const View* view) const {
    return view ? view->convertPointFromView(m_location, nullptr) : m_location;
}

Point Touch::previousLocationInView(const View* view) const {
    return view ? view->convertPointFromView(m_previousLocation, nullptr) : m_previousLocation;
}
