#pragma once

#include "session/session_outcome.h"
#include "model/map/map_region.h"

#include <QObject>

class QMimeData;

// What painting puts down: the block chosen in the palette, or a region of
// several cells taken from the map or pasted from the clipboard. Choosing a
// block drops the region.
class BlockStamp : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    qint32 selectedBlock() const { return m_selected; }
    void setSelectedBlock(qint32 block);

    // The region when one was taken, else the selected block alone (its low
    // 8 bits), marked as a block of `tileset`.
    BlockRegion stamp(qint32 tileset) const;
    bool hasRegion() const { return !m_region.isEmpty(); }
    void setRegion(const BlockRegion& region);
    void dropRegion();
    // Mirrors the region taken, left to right or top to bottom; a single
    // block stays as it is.
    void flip(bool horizontal);

    // The clipboard becomes the stamp. Blocks of another tileset than
    // `tileset` are said once, on the status line.
    SessionOutcome paste(const QMimeData& data, qint32 tileset);

signals:
    void selectedBlockChanged(qint32 block);
    void stampChanged();
    void statusText(const QString& text);

private:
    qint32 m_selected = 0;
    BlockRegion m_region;   // empty: the selected block is the stamp
};
