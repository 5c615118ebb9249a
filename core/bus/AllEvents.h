#pragma once

// The whole catalogue of bus events.
#include "core/bus/ActivateCopyMoveEvent.h"
#include "core/bus/ApplicationActivatedEvent.h"
#include "core/bus/DateSelectedEvent.h"
#include "core/bus/DeleteEventEvent.h"
#include "core/bus/EventSelectedEvent.h"
#include "core/bus/EventStoreChangedEvent.h"
#include "core/bus/ListEventsEvent.h"
#include "core/bus/TimeZoneChangedEvent.h"
#include "core/bus/UserChangedEvent.h"
#include "core/bus/UserIsActiveEvent.h"
#include "core/bus/UserIsIdleEvent.h"
#include "core/bus/VisibleCalendarsChangedEvent.h"
#include "core/bus/WeekNumberMethodChangedEvent.h"
#include "core/bus/WeekendDaysChangedEvent.h"
