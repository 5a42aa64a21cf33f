#include "model/map/region_origin.h"

#include "model/map/map_region.h"

#include <QDataStream>
#include <QIODevice>
#include <QMimeData>

void setRegionOrigin(QMimeData& data, QPoint cell)
{
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out << qint32(cell.x()) << qint32(cell.y());
    data.setData(QLatin1String(RegionOriginMimeType), payload);
}

std::optional<QPoint> regionOrigin(const QMimeData& data)
{
    if (!data.hasFormat(QLatin1String(RegionOriginMimeType)))
        return std::nullopt;
    const QByteArray payload = data.data(QLatin1String(RegionOriginMimeType));
    if (payload.size() != 8)
        return std::nullopt;
    QDataStream in(payload);
    qint32 x = 0, y = 0;
    in >> x >> y;
    // No map has a cell beyond its largest side.
    if (x < 0 || y < 0 || x >= BlockRegion::MaxSide || y >= BlockRegion::MaxSide)
        return std::nullopt;
    return QPoint(x, y);
}
