#pragma once

#include "model/events/event_records.h"

#include <QString>

class IniFile;
class RomImage;

// Reading, writing and editing the working copy of a map's three event
// tables. Every change of an event record goes through these operations.

inline constexpr int WarpRecordSize = 5;
inline constexpr int SingpostRecordSize = 5;
inline constexpr int PeopleRecordSize = 13;
// Persons' Y and X lie 4 squares further in the ROM than in the working copy.
inline constexpr int PeoplePositionBias = 4;

// Reads the map's six keys of Events.ini and its three tables from the ROM.
// The previous working copy is replaced; the pick and the drag are kept.
// A count outside 0 to MaxEventCount, or a table that does not lie wholly
// inside the ROM image, refuses the map's events: the working copy is then
// empty and the result is a short message. Empty result: loaded.
QString loadEventTables(const IniFile& eventsIni, const QString& section, const RomImage& rom,
                        EventState& state);
// Writes the working tables into the ROM image at the offsets held in the
// working copy (persons' positions biased back). Never grows the image; a
// table outside it is not written and named in the returned message.
QString saveEventTables(const EventState& state, RomImage& rom);

// The view is shown when any offset is non-zero; the builder may run when all
// three are above 0.
bool eventsPresent(const EventState& state);
bool eventsBuildable(const EventState& state);

// Records 1 to the count of each kind are the map's events.
int eventCount(const EventState& state, quint8 kind);
bool isEventRecord(const EventState& state, TEventData event);
// Byte `byte` of the named record as held in the working copy, -1 when the
// event or the byte does not exist.
int eventByte(const EventState& state, TEventData event, int byte);
// Stores the low 8 bits of `value` in byte `byte` of the named record.
// Refused (false, nothing changed) for an event that is not a record of the map.
bool setEventByte(EventState& state, TEventData event, int byte, int value);
// Places the event on square (x, y), each stored as its low 8 bits.
bool moveEvent(EventState& state, TEventData event, int x, int y);
// The square of the event, or false when it is not a record of the map.
bool eventSquare(const EventState& state, TEventData event, int* x, int* y);

// The event on square (x, y): the last match of warps, then signposts, then
// people, which is the one whose icon lies on top.
TEventData GetEventData(const EventState& state, int x, int y);
// The status read-out for the pointer over square (x, y); `hover` receives the event.
QString eventStatusText(const EventState& state, int x, int y, TEventData* hover = nullptr);
