#include "core/bus/BusReceiver.h"

#include "core/bus/ApplicationEventDispatcher.h"

BusReceiver::~BusReceiver() {
    m_lifetimeToken.reset();
    ApplicationEventDispatcher::sharedInstance().unregisterAllEventsForTarget(this);
}
