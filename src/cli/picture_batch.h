#pragma once

#include <QString>

struct Catalogue;
class QTextStream;
class RomImage;

// The pictures of --export-pictures: every map of Main.Ini once, picked as
// the map chooser picks it, drawn and written as DIR/<map>.png. The maps are
// drawn and written on `threads` threads, a few at a time, each thread with
// block pictures of its own; what is said about them ("[i/n] map", what the
// pick says, a file that cannot be written) goes to `err` in the order of the
// maps, and the files and lines are those of a run on one thread.
struct PictureBatch {
    const Catalogue& catalogue;
    const RomImage& rom;
    QString folder;
    bool grid = false;
    int threads = 1;

    // False when any map could not be picked or written. A folder found full
    // after a picture failed there is said once, and the batch stops.
    bool run(QTextStream& err) const;
};

// A file name for a map: characters that no file system takes become "_".
QString pictureName(const QString& map);
