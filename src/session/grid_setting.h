#pragma once

#include "session/session_outcome.h"

#include <QObject>

struct Catalogue;

// The grid over the map and the palette: the setting the catalogue keeps,
// read once at start and written at each change.
class GridSetting : public QObject {
    Q_OBJECT
public:
    explicit GridSetting(Catalogue& catalogue, QObject* parent = nullptr);

    bool on() const { return m_on; }
    // A failed write keeps the old setting and refuses with the message;
    // `changed` tells the setting in force either way.
    SessionOutcome set(bool on);

signals:
    void changed(bool on);

private:
    Catalogue& m_catalogue;
    bool m_on = false;
};
