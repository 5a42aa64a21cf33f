#pragma once

#include "events/event_records.h"

#include <QImage>
#include <QRect>

class EventIcons;

// Composing the event picture: the map view's picture with one icon per
// event on its square (warps, then signposts, then people on top).

// The pixel rectangle of square (x, y).
inline QRect squareRect(int x, int y) { return QRect(x * 32, y * 32, 32, 32); }

// The whole picture: `surface` becomes a copy of `background` with every icon.
void composeEvents(QImage& surface, const QImage& background, const EventState& state,
                   const EventIcons& icons);
// Redraws only square (x, y) of a picture composed from the same background:
// the result equals a full composeEvents. Returns the area changed (empty
// when the square lies outside the picture).
QRect recomposeSquare(QImage& surface, const QImage& background, const EventState& state,
                      const EventIcons& icons, int x, int y);
