#include "session/block_stamp.h"

#include "model/map/region_flip.h"

void BlockStamp::setSelectedBlock(qint32 block)
{
    m_selected = block;
    dropRegion();
    emit selectedBlockChanged(block);
}

BlockRegion BlockStamp::stamp(qint32 tileset) const
{
    if (!m_region.isEmpty())
        return m_region;
    return BlockRegion::single(quint8(m_selected & 0xFF), tileset);
}

void BlockStamp::setRegion(const BlockRegion& region)
{
    m_region = region;
    emit stampChanged();
}

void BlockStamp::dropRegion()
{
    if (m_region.isEmpty())
        return;
    m_region = BlockRegion{};
    emit stampChanged();
}

void BlockStamp::flip(bool horizontal)
{
    if (m_region.isEmpty())
        return;
    setRegion(flippedRegion(m_region, horizontal));
}

SessionOutcome BlockStamp::paste(const QMimeData& data, qint32 tileset)
{
    QString error;
    const std::optional<BlockRegion> region = regionFromMimeData(data, &error);
    if (!region)
        return SessionOutcome::refused(error);
    setRegion(*region);
    if (region->tileset != 0 && tileset != 0 && region->tileset != tileset)
        emit statusText(QStringLiteral("The blocks pasted come from tileset %1; this map uses tileset %2.")
                            .arg(region->tileset)
                            .arg(tileset));
    return SessionOutcome::done();
}
