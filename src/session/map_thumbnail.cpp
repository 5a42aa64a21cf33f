#include "session/map_thumbnail.h"

#include "model/map/map_state.h"
#include "model/map/tileset_build.h"
#include "session/map_pick.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>

namespace {

// FNV-1a, 64 bits: quick, and enough to tell a changed map from an unchanged one.
class Fingerprint {
public:
    void add(const void* data, qint64 n)
    {
        const auto* p = static_cast<const uchar*>(data);
        for (qint64 i = 0; i < n; ++i) {
            m_value ^= p[i];
            m_value *= 0x100000001b3ULL;
        }
    }
    void add(qint64 value) { add(&value, sizeof value); }
    void add(const QString& text) { add(text.constData(), qint64(text.size()) * qint64(sizeof(QChar))); add(text.size()); }
    // The bytes [offset, offset + n) of the image, or only their length when
    // they do not lie inside it.
    void addRange(const RomImage& rom, qint64 offset, qint64 n)
    {
        add(offset);
        add(n);
        if (n > 0 && rom.contains(offset, n))
            add(rom.bytes().constData() + offset, n);
    }
    quint64 value() const { return m_value == 0 ? 1 : m_value; }

private:
    quint64 m_value = 0xcbf29ce484222325ULL;
};

quint64 tilesetKey(const RomImage& rom, const MapRecord& record, const QString& tilesPath)
{
    Fingerprint f;
    f.add(record.TilesetNumber);
    f.add(record.TilesetBlocks);
    f.add(tilesPath);
    f.addRange(rom, record.TilesetStart, qint64(BlockSize) * (qint64(record.TilesetBlocks) + 1));
    return f.value();
}

quint64 mapKey(const RomImage& rom, const MapRecord& record, quint64 tileset)
{
    Fingerprint f;
    f.add(qint64(tileset));
    f.add(record.MapWidth);
    f.add(record.MapHeight);
    f.addRange(rom, record.MapStart, record.byteCount());
    return f.value();
}

} // namespace

MapThumbnailDrawer::MapThumbnailDrawer(const Catalogue& catalogue, const QByteArray& image)
    : m_catalogue(catalogue)
{
    m_rom.setBytes(image);
}

int MapThumbnailDrawer::blockPixels(int columns, int rows, int maxSide)
{
    const int longest = std::max({columns, rows, 1});
    return std::clamp(maxSide / longest, 1, MaxBlockPixels);
}

MapThumbnailDrawer::Tileset& MapThumbnailDrawer::tileset(const MapRecord& record, const TilePicture& pics,
                                                         quint64 key)
{
    Tileset& set = m_tilesets[size_t(record.TilesetNumber - 1)];
    if (set.key != key) {
        // Another tileset record, or other block bytes: build it again.
        for (int r = 0; r < BlockPlaces; ++r)
            m_pictures.setPicture(record.TilesetNumber, r, QImage());
        set.built = buildTileset(m_rom, record, pics, m_pictures);
        set.reduced.clear();
        set.key = key;
    }
    return set;
}

const std::vector<QImage>& MapThumbnailDrawer::reduced(Tileset& set, int tilesetNumber, int blocks, int side)
{
    auto found = set.reduced.find(side);
    if (found != set.reduced.end())
        return *found;
    std::vector<QImage> pictures;
    pictures.resize(size_t(BlockPlaces));
    for (int r = 0; r <= blocks && r < BlockPlaces; ++r) {
        if (m_pictures.has(tilesetNumber, r))
            pictures[size_t(r)] = m_pictures.picture(tilesetNumber, r)
                                      .scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                      .convertToFormat(QImage::Format_RGB32);
    }
    return *set.reduced.insert(side, std::move(pictures));
}

MapThumbnail MapThumbnailDrawer::draw(const QString& name, quint64 knownKey)
{
    MapThumbnail result;
    result.name = name;
    // The pick's own checks: a map it refuses shows the refusal.
    const std::optional<PreparedPick> pick = prepareMapPick(m_catalogue, m_rom, name, true, &result.refusal);
    if (!pick) {
        if (result.refusal.isEmpty())
            result.refusal = QStringLiteral("Map \"%1\" has no section in Maps.Ini.").arg(name);
        return result;
    }
    const MapRecord& record = pick->record;
    const quint64 setKey = tilesetKey(m_rom, record, m_catalogue.programFile(record.tiles));
    result.key = mapKey(m_rom, record, setKey);
    if (knownKey != 0 && knownKey == result.key) {
        result.unchanged = true;
        return result;
    }

    result.picture = drawPick(*pick);
    return result;
}

QImage MapThumbnailDrawer::drawPick(const PreparedPick& pick, int maxSide)
{
    const MapRecord& record = pick.record;
    const quint64 setKey = tilesetKey(m_rom, record, m_catalogue.programFile(record.tiles));
    // The map's cells as a pick reads them; cells without a byte stay black.
    auto bytes = std::make_unique<MapState>();
    bytes->readMap(m_rom, record);
    Tileset& set = tileset(record, pick.picture, setKey);
    const int side = blockPixels(record.MapWidth, record.MapHeight, maxSide);
    const std::vector<QImage>& blocks = reduced(set, record.TilesetNumber, record.TilesetBlocks, side);

    const int columns = std::max(record.MapWidth, 1), rows = std::max(record.MapHeight, 1);
    QImage picture(columns * side, rows * side, QImage::Format_RGB32);
    picture.fill(Qt::black);
    for (int y = 0; y < record.MapHeight; ++y) {
        for (int x = 0; x < record.MapWidth; ++x) {
            const qint32 cell = y * record.MapWidth + x;
            const int n = bytes->cellHasByte(cell) ? bytes->MapBytes[size_t(cell)] : 0;
            if (n < 1 || size_t(n - 1) >= blocks.size() || blocks[size_t(n - 1)].isNull())
                continue;
            const QImage& block = blocks[size_t(n - 1)];
            for (int line = 0; line < side; ++line) {
                std::memcpy(reinterpret_cast<QRgb*>(picture.scanLine(y * side + line)) + x * side,
                            block.constScanLine(line), size_t(side) * sizeof(QRgb));
            }
        }
    }
    return picture;
}
