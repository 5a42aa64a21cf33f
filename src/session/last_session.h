#pragma once

#include <QByteArray>
#include <QString>

// Where the user left off: kept when the window closes, brought back at the
// next start.
struct LastSession {
    QString rom;          // the ROM file; empty when none was loaded
    QString catalogue;    // the catalogue folder
    QString category;
    QString map;
    int page = -1;        // the notebook page; -1: none kept
    int zoom = 0;         // percent; 0: none kept
    QByteArray geometry;  // the window's, as Qt saves it
};

// What a start brings back of the last session.
struct SessionStart {
    QString rom;              // the ROM file to open; empty: none
    QString catalogue;        // the catalogue folder to read
    bool restoreMap = false;  // the category and map come back too
};

// `romArgument` and `catalogueArgument` are the command line's (empty when
// not given), `programDir` the catalogue folder of a plain start. Without a
// ROM argument the last ROM file comes back when it still exists; with one,
// its map comes back when it is the last session's file. The last catalogue
// folder comes back with the map unless the command line names another one.
SessionStart planStart(const LastSession& last, const QString& romArgument, const QString& catalogueArgument,
                       const QString& programDir);
