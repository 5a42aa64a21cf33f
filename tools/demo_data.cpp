#include "demo_data.h"

#include "demo_bmp.h"
#include "demo_cartridge.h"
#include "demo_world.h"

#include "base/safe_write.h"
#include "model/rom/cartridge_header.h"

#include <QDir>
#include <algorithm>

namespace {

constexpr qint64 ImageSize = 1024 * 1024;

// The image under construction. Every piece of data is placed through `place`,
// which refuses pieces that leave the image or overlap another one.
class ImageLayout {
public:
    ImageLayout() : image(ImageSize, char(0xFF)) {}

    bool place(qint64 offset, const QByteArray& data, const QString& what, QString* error)
    {
        if (offset < 0 || offset + data.size() > image.size()) {
            *error = QStringLiteral("%1 does not fit in the image").arg(what);
            return false;
        }
        for (const Piece& p : pieces) {
            if (offset < p.end && p.start < offset + data.size()) {
                *error = QStringLiteral("%1 overlaps %2").arg(what, p.what);
                return false;
            }
        }
        pieces.append({offset, offset + data.size(), what});
        std::copy(data.begin(), data.end(), image.begin() + offset);
        return true;
    }

    QByteArray image;

private:
    struct Piece { qint64 start, end; QString what; };
    QVector<Piece> pieces;
};

// The catalogue files use every integer form the editor reads.
QString number(qint64 value, int form)
{
    switch (form % 3) {
    case 1: return QStringLiteral("0x%1").arg(value, 0, 16).toUpper().replace(QLatin1String("0X"), QLatin1String("0x"));
    case 2: return QStringLiteral("$%1").arg(value, 0, 16).toUpper();
    default: return QString::number(value);
    }
}

// An INI file's text, with CRLF line ends as Windows writes them.
class IniText {
public:
    void section(const QString& name)
    {
        if (!text.isEmpty())
            text += QStringLiteral("\r\n");
        text += QLatin1Char('[') + name + QStringLiteral("]\r\n");
    }
    void key(const QString& name, const QString& value) { text += name + QLatin1Char('=') + value + QStringLiteral("\r\n"); }
    QByteArray bytes() const { return text.toUtf8(); }

private:
    QString text;
};

bool saveFile(const QString& path, const QByteArray& content, QString* error)
{
    if (!writeFileAtomically(path, content)) {
        *error = QStringLiteral("Cannot create file %1").arg(path);
        return false;
    }
    return true;
}

// The eight start-menu entries: a call each, standing in the menu's code.
constexpr qint64 StartMenuEntries[8] = {0x12C00, 0x12C0B, 0x12C1D, 0x12C29, 0x12C2E, 0x12C42, 0x12C47, 0x12C4C};
constexpr qint64 StartMenuCodeStart = 0x12BF8, StartMenuCodeEnd = 0x12C54;
constexpr qint64 ShopCodeStart = 0x1624C, ShopCall = 0x16251;

QByteArray startMenuCode()
{
    // Filler instructions between the calls: ld a,(D15C); bit 0,a; jr z,+3; ld hl,D35C; inc (hl).
    static const quint8 filler[] = {0xFA, 0x5C, 0xD1, 0xCB, 0x47, 0x28, 0x03, 0x21, 0x5C, 0xD3, 0x34};
    QByteArray code;
    for (qint64 i = StartMenuCodeStart; i < StartMenuCodeEnd; ++i)
        code.append(char(filler[(i - StartMenuCodeStart) % sizeof filler]));
    for (int e = 0; e < 8; ++e) {
        // The almanac entry is taken out of this demo's menu (three nops).
        const bool shown = e != 0;
        const qint64 at = StartMenuEntries[e] - StartMenuCodeStart;
        code[at] = char(shown ? 0xCD : 0x00);
        code[at + 1] = char(shown ? 0x67 : 0x00);
        code[at + 2] = char(shown ? 0x6C : 0x00);
    }
    return code;
}

QByteArray shopCode()
{
    // ld a,(D13A); and a; ret z; call 311E (pay); ld hl,D358; ret.
    static const quint8 code[] = {0xFA, 0x3A, 0xD1, 0xA7, 0xC8, 0xCD, 0x1E, 0x31, 0x21, 0x58, 0xD3, 0xC9};
    static_assert(ShopCall - ShopCodeStart == 5);
    return QByteArray(reinterpret_cast<const char*>(code), sizeof code);
}

struct Option { const char* name; qint64 offset; int changed, defaultValue; bool on; };

const Option options[] = {
    {"Faster text", 0x0A3C, 1, 3, false},
    {"Skip the title demo", 0x1B27, 0x18, 0x20, false},
    {"Always run", 0x4195, 0, 2, true},
    {"Double prize money", 0x5E10, 2, 1, false},
    {"No wild critters at night", 0x6A41, 0, 8, false},
    {"Bright palette", 0x7473, 31, 24, true},
};

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(quint8(v)));
    return b;
}

QByteArray eventBlock(const DemoWorld::Map& m)
{
    // count, warps, 0, count, signposts, count, people: the event builder's layout.
    QByteArray b;
    b.append(char(m.warps.size()));
    for (const auto& w : m.warps)
        b.append(bytes({w.y, w.x, w.warpTo, w.bank, w.number}));
    b.append('\0');
    b.append(char(m.signposts.size()));
    for (const auto& s : m.signposts)
        b.append(bytes({s.y, s.x, s.hiddenItem, s.textBlock, s.textBank}));
    b.append(char(m.people.size()));
    for (const auto& p : m.people)
        b.append(bytes({p.picture, p.y + 4, p.x + 4, p.facing, p.movement, p.unk1, p.unk2, p.function, p.unk3,
                        p.textBlock, p.textBank, p.when, p.hiddenFlag}));
    return b;
}

} // namespace

bool writeDemoData(const QString& directory, QString* error)
{
    QString ignored;
    QString& err = error ? *error : ignored;
    const DemoWorld::World world = DemoWorld::buildWorld(&err);
    if (world.maps.isEmpty())
        return false;

    ImageLayout layout;
    DemoCartridge::writeHeader(layout.image, QStringLiteral("KARTOLA DEMO"));
    if (!layout.place(0, layout.image.left(0x153), QStringLiteral("the cartridge header"), &err)
        || !layout.place(StartMenuCodeStart, startMenuCode(), QStringLiteral("the start menu"), &err)
        || !layout.place(ShopCodeStart, shopCode(), QStringLiteral("the shop code"), &err))
        return false;

    IniText main, maps, tilesets, critters, events, optionsIni;

    // Tilesets: blocks of 16 tile numbers from bank 5 on.
    qint64 blockOffset = 0x14000;
    for (const DemoWorld::Tileset& t : world.tilesets) {
        QByteArray blockBytes;
        for (const DemoWorld::Block& b : t.blocks)
            blockBytes.append(reinterpret_cast<const char*>(b.data()), int(b.size()));
        if (!layout.place(blockOffset, blockBytes, QStringLiteral("the blocks of tileset %1").arg(t.number), &err))
            return false;
        tilesets.section(QString::number(t.number));
        tilesets.key(QStringLiteral("Blocks"), QString::number(t.shownBlocks()));
        tilesets.key(QStringLiteral("Start offset"), number(blockOffset, t.number));
        tilesets.key(QStringLiteral("Tiles"), t.tiles);
        blockOffset += 0x400;
    }

    for (const QString& category : world.categories) {
        main.section(category);
        int key = 1;
        for (const DemoWorld::Map& m : world.maps)
            if (m.category == category)
                main.key(QString::number(key++), m.name);
    }

    critters.section(QStringLiteral("Settings"));
    critters.key(QStringLiteral("Grid"), QStringLiteral("0"));

    events.section(QStringLiteral("Hidden/shown"));
    const char* conditions[] = {"Always", "After getting the badge", "Before the festival", "After the ferry leaves",
                                "Until Echo Hollow is explored", "After beating the rival"};
    for (int i = 0; i < 6; ++i)
        events.key(QString::number(i), QString::fromLatin1(conditions[i]));

    qint64 mapOffset = 0x20000, eventOffset = 0x28000, encounterOffset = 0x2C000;
    int index = 0;
    for (const DemoWorld::Map& m : world.maps) {
        const int form = index++;
        if (!layout.place(mapOffset, m.blocks, QStringLiteral("the blocks of %1").arg(m.name), &err))
            return false;
        maps.section(m.name);
        maps.key(QStringLiteral("Start offset"), number(mapOffset, form));
        maps.key(QStringLiteral("End offset"), number(mapOffset + m.blocks.size() - 1, form));
        maps.key(QStringLiteral("X size"), QString::number(m.width));
        maps.key(QStringLiteral("Y size"), QString::number(m.height));
        maps.key(QStringLiteral("Tileset"), QString::number(m.tileset));
        maps.key(QStringLiteral("Comment"), m.comment);
        mapOffset = (mapOffset + m.blocks.size() + 0x0F) & ~qint64(0x0F);

        const QByteArray block = eventBlock(m);
        if (!layout.place(eventOffset, block, QStringLiteral("the events of %1").arg(m.name), &err))
            return false;
        const qint64 warps = eventOffset + 1;
        const qint64 signposts = warps + 5 * m.warps.size() + 2;
        const qint64 people = signposts + 5 * m.signposts.size() + 1;
        events.section(m.name);
        events.key(QStringLiteral("Warps"), QString::number(m.warps.size()));
        events.key(QStringLiteral("Warp offset"), number(warps, form));
        events.key(QStringLiteral("Singposts"), QString::number(m.signposts.size()));
        events.key(QStringLiteral("Singpost offset"), number(signposts, form));
        events.key(QStringLiteral("Peoples"), QString::number(m.people.size()));
        events.key(QStringLiteral("People offset"), number(people, form));
        eventOffset += block.size();

        if (!m.encounters.isEmpty()) {
            // Before each table: the map's bank and number and the three encounter rates.
            const QByteArray head = bytes({m.bank, m.number, 0x19, 0x19, 0x0A});
            if (!layout.place(encounterOffset, head, QStringLiteral("the encounter rates of %1").arg(m.name), &err)
                || !layout.place(encounterOffset + head.size(), m.encounters,
                                 QStringLiteral("the wild critters of %1").arg(m.name), &err))
                return false;
            critters.section(m.name);
            critters.key(QStringLiteral("Start offset"), number(encounterOffset + head.size(), form));
            encounterOffset += head.size() + m.encounters.size();
        }
    }
    // Room after the last map's events, so that the event builder can give it more.
    if (!layout.place(eventOffset, QByteArray(0x400, '\0'), QStringLiteral("the free event room"), &err))
        return false;

    int form = 0;
    for (const Option& o : options) {
        const QByteArray byte(1, char(o.on ? o.changed : o.defaultValue));
        if (!layout.place(o.offset, byte, QStringLiteral("option %1").arg(QLatin1String(o.name)), &err))
            return false;
        optionsIni.section(QString::fromLatin1(o.name));
        optionsIni.key(QStringLiteral("Offset"), number(o.offset, form));
        optionsIni.key(QStringLiteral("Changed value"), number(o.changed, form + 1));
        optionsIni.key(QStringLiteral("Default value"), number(o.defaultValue, form + 2));
        ++form;
    }

    CartridgeHeader::setChecksums(layout.image);

    const QDir dir(directory);
    if (!QDir().mkpath(directory)) {
        err = QStringLiteral("Cannot create folder %1").arg(directory);
        return false;
    }
    for (const DemoWorld::Tileset& t : world.tilesets) {
        const QString path = dir.filePath(t.pictureFile);
        if (!QDir().mkpath(QFileInfo(path).path())) {
            err = QStringLiteral("Cannot create folder %1").arg(QFileInfo(path).path());
            return false;
        }
        if (!saveFile(path, demoBmp24(t.picture), &err))
            return false;
    }
    return saveFile(dir.filePath(QStringLiteral("Main.Ini")), main.bytes(), &err)
        && saveFile(dir.filePath(QStringLiteral("Maps.Ini")), maps.bytes(), &err)
        && saveFile(dir.filePath(QStringLiteral("Tilesets.ini")), tilesets.bytes(), &err)
        && saveFile(dir.filePath(QStringLiteral("Critters.ini")), critters.bytes(), &err)
        && saveFile(dir.filePath(QStringLiteral("Events.ini")), events.bytes(), &err)
        && saveFile(dir.filePath(QStringLiteral("Options.ini")), optionsIni.bytes(), &err)
        && saveFile(dir.filePath(QStringLiteral("demo.gbc")), layout.image, &err);
}
