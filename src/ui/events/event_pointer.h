#pragma once

#include "model/events/event_records.h"

// What the pointer does on the event view: the event last pressed on (the
// one the dialogs edit), the one under the pointer, and whether a press is
// dragging it. A map pick forgets all three.
struct EventPointer {
    TEventData PickedEvent;
    TEventData HoverEvent;
    bool DraggingEvent = false;
};
