#include "demo_tiles.h"

#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace DemoTiles {
namespace {

using Paint = std::function<void(QPainter&)>;

// A small deterministic generator for grain, so the pictures are the same on every run.
struct Grain {
    quint32 state;
    explicit Grain(quint32 seed) : state(seed * 2654435761u + 12345u) {}
    int next(int range)
    {
        state = state * 1103515245u + 12345u;
        return int((state >> 16) % quint32(range));
    }
};

QRect cell(int tile)
{
    return QRect((tile % Columns) * TileSize, (tile / Columns) * TileSize, TileSize, TileSize);
}

// Paints one tile: the painter's origin is the tile's top-left pixel, drawing is clipped to it.
void paintTile(QImage& sheet, int tile, const Paint& paint)
{
    QPainter p(&sheet);
    const QRect r = cell(tile);
    p.setClipRect(r);
    p.translate(r.topLeft());
    paint(p);
}

// Paints a picture of 2 x 2 tiles and puts its quarters into four tiles: top-left,
// top-right, bottom-left, bottom-right.
void paintQuad(QImage& sheet, int first, const Paint& paint)
{
    QImage picture(2 * TileSize, 2 * TileSize, QImage::Format_RGB32);
    picture.fill(Qt::black);
    {
        QPainter p(&picture);
        paint(p);
    }
    QPainter out(&sheet);
    for (int q = 0; q < 4; ++q)
        out.drawImage(cell(first + q).topLeft(), picture,
                      QRect((q % 2) * TileSize, (q / 2) * TileSize, TileSize, TileSize));
}

void speckle(QPainter& p, quint32 seed, const QColor& colour, int count, int size = 1)
{
    Grain g(seed);
    for (int i = 0; i < count; ++i)
        p.fillRect(g.next(TileSize - size + 1), g.next(TileSize - size + 1), size, size, colour);
}

// ---- outdoor ground ---------------------------------------------------------

const QColor grassGreen(88, 176, 72);
const QColor grassDark(56, 128, 48);
const QColor pathTan(216, 184, 120);
const QColor pathDark(176, 144, 88);
const QColor waterBlue(56, 112, 216);
const QColor waterLight(136, 184, 248);
const QColor outline(40, 32, 32);

void grass(QPainter& p, quint32 seed)
{
    p.fillRect(0, 0, TileSize, TileSize, grassGreen);
    Grain g(seed);
    for (int i = 0; i < 5; ++i) {
        const int x = g.next(14) + 1, y = g.next(13) + 2;
        p.setPen(grassDark);
        p.drawLine(x, y, x - 1, y - 2);
        p.drawLine(x + 1, y, x + 2, y - 2);
    }
}

void flowers(QPainter& p, const QColor& petal, quint32 seed)
{
    grass(p, seed);
    const QPoint spots[] = {{3, 3}, {11, 5}, {6, 11}, {13, 13}};
    for (const QPoint& s : spots) {
        p.fillRect(s.x() - 1, s.y(), 3, 1, petal);
        p.fillRect(s.x(), s.y() - 1, 1, 3, petal);
        p.fillRect(s.x(), s.y(), 1, 1, QColor(255, 240, 120));
    }
}

void tallGrass(QPainter& p, int shift)
{
    p.fillRect(0, 0, TileSize, TileSize, QColor(64, 148, 56));
    p.setPen(QPen(QColor(32, 96, 32), 1));
    for (int x = shift; x < TileSize; x += 4)
        for (int y = 6; y <= 16; y += 8) {
            p.drawLine(x, y, x + 2, y - 6);
            p.drawLine(x + 2, y - 6, x + 3, y);
        }
}

void path(QPainter& p, quint32 seed, bool pebbles)
{
    p.fillRect(0, 0, TileSize, TileSize, pathTan);
    speckle(p, seed, pathDark, 6);
    if (pebbles)
        speckle(p, seed + 7, QColor(140, 130, 120), 4, 2);
}

void sand(QPainter& p, quint32 seed, bool shell)
{
    p.fillRect(0, 0, TileSize, TileSize, QColor(240, 224, 160));
    speckle(p, seed, QColor(208, 188, 120), 7);
    if (shell) {
        p.setPen(QColor(232, 128, 128));
        p.setBrush(QColor(252, 200, 200));
        p.drawPie(QRect(5, 6, 6, 6), 0, 180 * 16);
    }
}

void paving(QPainter& p, bool offset)
{
    p.fillRect(0, 0, TileSize, TileSize, QColor(200, 196, 188));
    p.setPen(QColor(150, 144, 136));
    p.drawLine(0, 7, 15, 7);
    p.drawLine(0, 15, 15, 15);
    const int a = offset ? 3 : 7, b = offset ? 11 : 15;
    p.drawLine(a, 0, a, 7);
    p.drawLine(b, 8, b, 15);
}

void water(QPainter& p, int shift)
{
    p.fillRect(0, 0, TileSize, TileSize, waterBlue);
    p.setPen(waterLight);
    for (int y = 3; y < TileSize; y += 6) {
        const int x = (y * 3 + shift) % 10;
        p.drawLine(x, y, x + 2, y - 1);
        p.drawLine(x + 3, y - 1, x + 5, y);
    }
}

// Water with a strip of grass along the sides given (shore seen from the water).
void shore(QPainter& p, bool north, bool south, bool west, bool east)
{
    water(p, 1);
    const int w = 5;
    QRegion land;
    if (north) land += QRect(0, 0, TileSize, w);
    if (south) land += QRect(0, TileSize - w, TileSize, w);
    if (west) land += QRect(0, 0, w, TileSize);
    if (east) land += QRect(TileSize - w, 0, w, TileSize);
    p.save();
    p.setClipRegion(land, Qt::IntersectClip);
    grass(p, 99);
    p.restore();
    p.setPen(QPen(QColor(232, 240, 255), 1));
    if (north) p.drawLine(west ? w : 0, w, east ? TileSize - w - 1 : 15, w);
    if (south) p.drawLine(west ? w : 0, TileSize - w - 1, east ? TileSize - w - 1 : 15, TileSize - w - 1);
    if (west) p.drawLine(w, north ? w : 0, w, south ? TileSize - w - 1 : 15);
    if (east) p.drawLine(TileSize - w - 1, north ? w : 0, TileSize - w - 1, south ? TileSize - w - 1 : 15);
}

// Path with a grass verge on one side.
void pathEdge(QPainter& p, int side)
{
    path(p, 40 + side, false);
    const QRect verge[] = {{0, 0, 16, 4}, {0, 12, 16, 4}, {0, 0, 4, 16}, {12, 0, 4, 16}};
    p.save();
    p.setClipRect(verge[side], Qt::IntersectClip);
    grass(p, 60 + side);
    p.restore();
}

void roundTree(QPainter& p)
{
    grass(p, 5);
    p.save(); p.translate(16, 0); grass(p, 6); p.restore();
    p.save(); p.translate(0, 16); grass(p, 7); p.restore();
    p.save(); p.translate(16, 16); grass(p, 8); p.restore();
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(13, 22, 6, 9, QColor(120, 72, 32));
    p.setPen(QPen(QColor(24, 72, 24), 1.5));
    p.setBrush(QColor(40, 136, 48));
    p.drawEllipse(QRectF(2, 1, 28, 24));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(96, 192, 88));
    p.drawEllipse(QRectF(7, 5, 9, 7));
    p.drawEllipse(QRectF(18, 10, 6, 5));
}

void pineTree(QPainter& p)
{
    p.fillRect(0, 0, 32, 32, grassGreen);
    speckle(p, 31, grassDark, 20);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(14, 25, 4, 6, QColor(104, 64, 32));
    p.setPen(QPen(QColor(16, 56, 32), 1));
    for (int tier = 0; tier < 3; ++tier) {
        const qreal top = 1 + tier * 7, bottom = 12 + tier * 7, half = 7 + tier * 3;
        QPainterPath tri;
        tri.moveTo(16, top);
        tri.lineTo(16 + half, bottom);
        tri.lineTo(16 - half, bottom);
        tri.closeSubpath();
        p.setBrush(QColor(32, 104 - tier * 8, 64));
        p.drawPath(tri);
    }
}

// ---- houses -----------------------------------------------------------------

// A roof tile: shingles, with the roof's outline on the sides given; the bottom
// row (eave) has a shadowed overhang. Grass shows outside the roof's outline.
void roof(QPainter& p, const QColor& colour, bool top, bool bottom, bool left, bool right, bool chimney = false)
{
    grass(p, 77);
    const QRect r(left ? 2 : 0, top ? 2 : 0, TileSize - (left ? 2 : 0) - (right ? 2 : 0), TileSize - (top ? 2 : 0));
    p.fillRect(r, colour);
    p.setPen(colour.darker(140));
    for (int y = r.top() + 3; y < r.bottom(); y += 4) {
        p.drawLine(r.left(), y, r.right(), y);
        for (int x = r.left() + ((y / 4) % 2) * 3; x < r.right(); x += 6)
            p.drawLine(x, y - 3, x, y);
    }
    p.setPen(outline);
    if (top) p.drawLine(r.left(), r.top(), r.right(), r.top());
    if (left) p.drawLine(r.left(), r.top(), r.left(), r.bottom());
    if (right) p.drawLine(r.right(), r.top(), r.right(), r.bottom());
    if (top) p.fillRect(r.left(), r.top() + 1, r.width(), 2, colour.darker(170));
    if (bottom) {
        p.fillRect(r.left(), 12, r.width(), 4, colour.darker(200));
        p.drawLine(r.left(), 11, r.right(), 11);
    }
    if (chimney) {
        p.fillRect(5, 1, 6, 9, QColor(150, 90, 70));
        p.setPen(outline);
        p.drawRect(5, 1, 5, 8);
        p.fillRect(4, 0, 8, 2, QColor(90, 90, 90));
    }
}

const QColor wallCream(240, 224, 184);

void wall(QPainter& p, bool left, bool right, bool base)
{
    p.fillRect(0, 0, TileSize, TileSize, wallCream);
    p.setPen(wallCream.darker(125));
    for (int y = 3; y < TileSize; y += 4)
        p.drawLine(0, y, 15, y);
    p.setPen(outline);
    if (left) { p.fillRect(0, 0, 2, TileSize, QColor(150, 100, 60)); p.drawLine(0, 0, 0, 15); }
    if (right) { p.fillRect(14, 0, 2, TileSize, QColor(150, 100, 60)); p.drawLine(15, 0, 15, 15); }
    if (base) {
        p.fillRect(0, 11, TileSize, 5, QColor(128, 124, 120));
        p.setPen(QColor(88, 84, 80));
        p.drawLine(0, 11, 15, 11);
        p.drawLine(5, 11, 5, 15);
        p.drawLine(11, 11, 11, 15);
    }
}

void window(QPainter& p, bool flowerBox)
{
    wall(p, false, false, false);
    p.fillRect(3, 2, 10, 9, QColor(120, 80, 48));
    p.fillRect(4, 3, 8, 7, QColor(160, 216, 248));
    p.fillRect(4, 3, 3, 2, QColor(232, 248, 255));
    p.setPen(QColor(120, 80, 48));
    p.drawLine(8, 3, 8, 9);
    p.drawLine(4, 6, 11, 6);
    if (flowerBox) {
        p.fillRect(2, 11, 12, 3, QColor(136, 88, 48));
        p.fillRect(3, 10, 2, 2, QColor(232, 64, 96));
        p.fillRect(7, 10, 2, 2, QColor(248, 200, 64));
        p.fillRect(11, 10, 2, 2, QColor(232, 64, 96));
    }
}

void door(QPainter& p)
{
    for (int x = 0; x < 32; x += 16) {
        p.save(); p.translate(x, 0); wall(p, false, false, false); p.restore();
        p.save(); p.translate(x, 16); wall(p, false, false, true); p.restore();
    }
    p.fillRect(7, 3, 18, 29, outline);
    p.fillRect(8, 4, 16, 28, QColor(152, 88, 40));
    p.setPen(QColor(112, 60, 24));
    p.drawRect(10, 7, 5, 9);
    p.drawRect(17, 7, 5, 9);
    p.drawRect(10, 19, 12, 9);
    p.fillRect(20, 17, 2, 2, QColor(248, 216, 64));
    p.fillRect(6, 30, 20, 2, QColor(176, 168, 160));
}

// ---- outdoor objects ---------------------------------------------------------

void fence(QPainter& p, bool horizontal, bool vertical)
{
    grass(p, 88);
    const QColor wood(200, 144, 80);
    p.setPen(outline);
    p.setBrush(wood);
    if (horizontal) {
        p.drawRect(0, 5, 15, 2);
        p.drawRect(0, 10, 15, 2);
    }
    if (vertical) {
        p.drawRect(5, 0, 2, 15);
        p.drawRect(10, 0, 2, 15);
    }
    if (horizontal == vertical)
        p.drawRect(5, 2, 6, 12);
}

void sign(QPainter& p)
{
    grass(p, 91);
    p.fillRect(7, 9, 2, 7, QColor(120, 72, 32));
    p.setPen(outline);
    p.setBrush(QColor(216, 168, 96));
    p.drawRect(1, 2, 13, 8);
    p.setPen(QColor(96, 56, 24));
    p.drawLine(3, 4, 12, 4);
    p.drawLine(3, 6, 10, 6);
    p.drawLine(3, 8, 11, 8);
}

void mailbox(QPainter& p)
{
    grass(p, 92);
    p.fillRect(7, 8, 2, 8, QColor(120, 72, 32));
    p.setPen(outline);
    p.setBrush(QColor(64, 96, 200));
    p.drawRoundedRect(3, 2, 10, 7, 2, 2);
    p.fillRect(12, 1, 1, 4, QColor(224, 48, 48));
}

void lamp(QPainter& p, bool top)
{
    path(p, top ? 93 : 94, false);
    p.setPen(outline);
    if (top) {
        p.setBrush(QColor(255, 240, 160));
        p.drawRect(4, 4, 7, 8);
        p.fillRect(3, 2, 10, 2, QColor(48, 48, 56));
        p.fillRect(7, 12, 2, 4, QColor(48, 48, 56));
    } else {
        p.fillRect(7, 0, 2, 13, QColor(48, 48, 56));
        p.fillRect(4, 12, 8, 3, QColor(72, 72, 80));
    }
}

void well(QPainter& p)
{
    grass(p, 95);
    p.setPen(outline);
    p.setBrush(QColor(150, 150, 160));
    p.drawEllipse(1, 5, 13, 10);
    p.setBrush(QColor(32, 48, 120));
    p.drawEllipse(4, 7, 7, 5);
    p.fillRect(1, 1, 2, 9, QColor(120, 72, 32));
    p.fillRect(13, 1, 2, 9, QColor(120, 72, 32));
    p.fillRect(1, 0, 14, 2, QColor(168, 56, 40));
}

void boulder(QPainter& p, bool onGrass)
{
    if (onGrass) grass(p, 96); else path(p, 97, false);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(64, 64, 72), 1));
    p.setBrush(QColor(150, 150, 160));
    p.drawEllipse(QRectF(1.5, 3.5, 13, 11));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 200, 208));
    p.drawEllipse(QRectF(4, 5, 5, 3));
}

void cliff(QPainter& p, bool top, int variant)
{
    p.fillRect(0, 0, TileSize, TileSize, QColor(168, 120, 80));
    p.setPen(QColor(120, 80, 48));
    for (int y = 3 + variant; y < TileSize; y += 5)
        p.drawLine(variant * 3, y, 12 + variant, y - 2);
    if (top) {
        p.save();
        p.setClipRect(0, 0, TileSize, 6, Qt::IntersectClip);
        grass(p, 98);
        p.restore();
        p.fillRect(0, 6, TileSize, 2, QColor(96, 64, 40));
    }
}

void caveMouth(QPainter& p)
{
    for (int q = 0; q < 4; ++q) {
        p.save(); p.translate((q % 2) * 16, (q / 2) * 16); cliff(p, false, q % 3); p.restore();
    }
    QPainterPath mouth;
    mouth.moveTo(3, 32);
    mouth.lineTo(3, 14);
    mouth.quadTo(16, -2, 29, 14);
    mouth.lineTo(29, 32);
    mouth.closeSubpath();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(72, 48, 32), 2));
    p.setBrush(QColor(16, 12, 16));
    p.drawPath(mouth);
}

void bridge(QPainter& p, bool horizontal)
{
    p.fillRect(0, 0, TileSize, TileSize, QColor(184, 136, 80));
    p.setPen(QColor(112, 72, 40));
    for (int i = 3; i < TileSize; i += 4) {
        if (horizontal) p.drawLine(i, 0, i, 15); else p.drawLine(0, i, 15, i);
    }
    p.setPen(outline);
    if (horizontal) { p.drawLine(0, 0, 15, 0); p.drawLine(0, 15, 15, 15); }
    else { p.drawLine(0, 0, 0, 15); p.drawLine(15, 0, 15, 15); }
}

void stairs(QPainter& p)
{
    for (int i = 0; i < 4; ++i) {
        p.fillRect(0, i * 4, TileSize, 4, QColor(176 - i * 16, 168 - i * 16, 160 - i * 16));
        p.fillRect(0, i * 4 + 3, TileSize, 1, QColor(80, 76, 72));
    }
}

void ladder(QPainter& p, const QColor& ground)
{
    p.fillRect(0, 0, TileSize, TileSize, ground);
    p.fillRect(3, 0, 2, TileSize, QColor(136, 88, 40));
    p.fillRect(11, 0, 2, TileSize, QColor(136, 88, 40));
    for (int y = 2; y < TileSize; y += 4)
        p.fillRect(5, y, 6, 2, QColor(176, 120, 64));
}

void crate(QPainter& p, const QColor& ground)
{
    p.fillRect(0, 0, TileSize, TileSize, ground);
    p.setPen(outline);
    p.setBrush(QColor(192, 136, 72));
    p.drawRect(2, 2, 11, 11);
    p.setPen(QColor(128, 80, 40));
    p.drawLine(3, 3, 12, 12);
    p.drawLine(12, 3, 3, 12);
}

// ---- cave ------------------------------------------------------------------

const QColor caveFloor(152, 128, 104);
const QColor caveRock(88, 72, 72);

void floor(QPainter& p, quint32 seed, int pebbles = 0)
{
    p.fillRect(0, 0, TileSize, TileSize, caveFloor);
    speckle(p, seed, caveFloor.darker(120), 8);
    speckle(p, seed + 3, caveFloor.lighter(115), 4);
    if (pebbles)
        speckle(p, seed + 5, QColor(104, 92, 84), pebbles, 2);
}

void rock(QPainter& p, quint32 seed)
{
    p.fillRect(0, 0, TileSize, TileSize, caveRock);
    Grain g(seed);
    p.setPen(caveRock.lighter(140));
    for (int i = 0; i < 4; ++i) {
        const int x = g.next(12), y = g.next(14) + 1;
        p.drawLine(x, y, x + 3, y);
    }
    p.setPen(caveRock.darker(150));
    for (int i = 0; i < 4; ++i) {
        const int x = g.next(12), y = g.next(14) + 1;
        p.drawLine(x, y, x + 2, y + 1);
    }
}

void wallFace(QPainter& p, int variant)
{
    p.fillRect(0, 0, TileSize, TileSize, QColor(120, 96, 88));
    p.setPen(QColor(72, 56, 56));
    for (int x = 2 + variant * 2; x < TileSize; x += 5)
        p.drawLine(x, 0, x - 1, 15);
    p.fillRect(0, 0, TileSize, 2, caveRock);
}

// Floor with rock along the sides given; `inner` puts a small rock corner instead.
void caveEdge(QPainter& p, bool north, bool south, bool west, bool east)
{
    floor(p, 140 + north + 2 * south + 4 * west + 8 * east);
    const int w = 6;
    QRegion solid;
    if (north) solid += QRect(0, 0, TileSize, w);
    if (south) solid += QRect(0, TileSize - w, TileSize, w);
    if (west) solid += QRect(0, 0, w, TileSize);
    if (east) solid += QRect(TileSize - w, 0, w, TileSize);
    p.save();
    p.setClipRegion(solid, Qt::IntersectClip);
    rock(p, 150);
    p.restore();
    p.setPen(QColor(48, 36, 36));
    if (north) p.drawLine(0, w, 15, w);
    if (south) p.drawLine(0, TileSize - w - 1, 15, TileSize - w - 1);
    if (west) p.drawLine(w, 0, w, 15);
    if (east) p.drawLine(TileSize - w - 1, 0, TileSize - w - 1, 15);
}

void innerCorner(QPainter& p, int corner)
{
    floor(p, 160 + corner);
    const QRect r((corner % 2) ? TileSize - 6 : 0, (corner / 2) ? TileSize - 6 : 0, 6, 6);
    p.save();
    p.setClipRect(r, Qt::IntersectClip);
    rock(p, 170);
    p.restore();
    p.setPen(QColor(48, 36, 36));
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

void caveLadder(QPainter& p, bool up)
{
    for (int q = 0; q < 4; ++q) {
        p.save(); p.translate((q % 2) * 16, (q / 2) * 16); floor(p, 180 + q + (up ? 0 : 4)); p.restore();
    }
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(32, 24, 24), 1.5));
    p.setBrush(up ? QColor(40, 32, 32) : QColor(8, 8, 8));
    if (up) p.drawRect(QRectF(4, 1, 24, 12)); else p.drawEllipse(QRectF(3, 6, 26, 22));
    p.setPen(Qt::NoPen);
    const QColor wood(176, 120, 64);
    const qreal top = up ? 2 : 8, bottom = up ? 30 : 26;
    p.fillRect(QRectF(9, top, 2.5, bottom - top), wood);
    p.fillRect(QRectF(20.5, top, 2.5, bottom - top), wood);
    for (qreal y = top + 2; y < bottom; y += 4.5)
        p.fillRect(QRectF(11, y, 10, 2), wood.lighter(115));
}

void bigBoulder(QPainter& p)
{
    for (int q = 0; q < 4; ++q) {
        p.save(); p.translate((q % 2) * 16, (q / 2) * 16); floor(p, 190 + q); p.restore();
    }
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 36, 40), 1.5));
    p.setBrush(QColor(128, 120, 128));
    p.drawEllipse(QRectF(2, 4, 28, 25));
    p.setPen(QPen(QColor(88, 80, 88), 1));
    p.drawLine(QPointF(10, 14), QPointF(18, 20));
    p.drawLine(QPointF(18, 20), QPointF(24, 16));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(184, 176, 184));
    p.drawEllipse(QRectF(8, 8, 8, 4));
}

void stalagmite(QPainter& p, int variant)
{
    floor(p, 200 + variant);
    QPainterPath spike;
    spike.moveTo(3 + variant, 15);
    spike.lineTo(8, 1 + variant * 3);
    spike.lineTo(13 - variant, 15);
    spike.closeSubpath();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(56, 44, 40), 1));
    p.setBrush(QColor(176, 152, 128));
    p.drawPath(spike);
}

void crystal(QPainter& p, const QColor& colour)
{
    floor(p, 210 + colour.red());
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour.darker(170), 1));
    p.setBrush(colour);
    const QPointF big[] = {{6, 15}, {4, 6}, {7, 1}, {10, 6}, {9, 15}};
    const QPointF small[] = {{10, 15}, {11, 9}, {13, 7}, {14, 10}, {13, 15}};
    p.drawPolygon(big, 5);
    p.drawPolygon(small, 5);
    p.setPen(colour.lighter(160));
    p.drawLine(QPointF(6, 3), QPointF(6, 12));
}

void caveWater(QPainter& p, int shift)
{
    p.fillRect(0, 0, TileSize, TileSize, QColor(32, 72, 136));
    p.setPen(QColor(96, 144, 208));
    for (int y = 4; y < TileSize; y += 6) {
        const int x = (y * 5 + shift) % 9;
        p.drawLine(x, y, x + 4, y);
    }
}

void caveShore(QPainter& p, int side)
{
    caveWater(p, side);
    const QRect land[] = {{0, 0, 16, 5}, {0, 11, 16, 5}, {0, 0, 5, 16}, {11, 0, 5, 16}};
    p.save();
    p.setClipRect(land[side], Qt::IntersectClip);
    floor(p, 220 + side);
    p.restore();
}

void exitLight(QPainter& p)
{
    for (int q = 0; q < 4; ++q) {
        p.save(); p.translate((q % 2) * 16, (q / 2) * 16); rock(p, 230 + q); p.restore();
    }
    QPainterPath hole;
    hole.moveTo(4, 32);
    hole.lineTo(4, 14);
    hole.quadTo(16, 0, 28, 14);
    hole.lineTo(28, 32);
    hole.closeSubpath();
    QLinearGradient light(0, 4, 0, 32);
    light.setColorAt(0, QColor(255, 252, 216));
    light.setColorAt(1, QColor(248, 216, 120));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(48, 36, 36), 1.5));
    p.setBrush(light);
    p.drawPath(hole);
}

void track(QPainter& p, bool horizontal)
{
    floor(p, horizontal ? 240 : 241);
    const QColor sleeper(120, 80, 48), rail(160, 160, 176);
    for (int i = 1; i < TileSize; i += 5) {
        if (horizontal) p.fillRect(i, 3, 3, 10, sleeper); else p.fillRect(3, i, 10, 3, sleeper);
    }
    if (horizontal) { p.fillRect(0, 4, 16, 2, rail); p.fillRect(0, 10, 16, 2, rail); }
    else { p.fillRect(4, 0, 2, 16, rail); p.fillRect(10, 0, 2, 16, rail); }
}

void torch(QPainter& p)
{
    wallFace(p, 1);
    p.fillRect(7, 7, 2, 8, QColor(112, 72, 40));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(248, 144, 32));
    p.drawEllipse(QRectF(5, 1, 6, 8));
    p.setBrush(QColor(255, 232, 120));
    p.drawEllipse(QRectF(6.5, 3.5, 3, 4));
}

void mushroom(QPainter& p, bool glowing)
{
    floor(p, glowing ? 250 : 251);
    const QColor cap = glowing ? QColor(120, 248, 200) : QColor(200, 64, 48);
    p.fillRect(5, 9, 2, 5, QColor(232, 224, 208));
    p.fillRect(10, 10, 2, 4, QColor(232, 224, 208));
    p.setPen(cap.darker(160));
    p.setBrush(cap);
    p.drawChord(2, 5, 8, 8, 0, 180 * 16);
    p.drawChord(8, 7, 6, 6, 0, 180 * 16);
    if (!glowing) {
        p.fillRect(4, 6, 1, 1, Qt::white);
        p.fillRect(7, 7, 1, 1, Qt::white);
    }
}

void caveStairs(QPainter& p)
{
    for (int i = 0; i < 8; ++i) {
        p.fillRect(0, i * 4, 32, 4, QColor(160 - i * 12, 136 - i * 12, 112 - i * 10));
        p.fillRect(0, i * 4 + 3, 32, 1, QColor(56, 44, 40));
    }
    p.fillRect(0, 0, 3, 32, caveRock);
    p.fillRect(29, 0, 3, 32, caveRock);
}

void oreVein(QPainter& p, int variant)
{
    rock(p, 260 + variant);
    const QColor ore = (variant % 2) ? QColor(248, 208, 64) : QColor(200, 216, 232);
    Grain g(270 + variant);
    for (int i = 0; i < 4; ++i)
        p.fillRect(g.next(13), g.next(13), 3, 2, ore);
}

void crackedFloor(QPainter& p, int variant)
{
    floor(p, 280 + variant);
    p.setPen(QColor(88, 72, 56));
    Grain g(290 + variant);
    int x = g.next(6) + 1, y = 0;
    while (y < TileSize) {
        const int nx = qBound(0, x + g.next(7) - 3, 15), ny = y + 3 + g.next(3);
        p.drawLine(x, y, nx, ny);
        x = nx;
        y = ny;
    }
}

void pit(QPainter& p)
{
    for (int q = 0; q < 4; ++q) {
        p.save(); p.translate((q % 2) * 16, (q / 2) * 16); floor(p, 300 + q); p.restore();
    }
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient dark(16, 18, 14);
    dark.setColorAt(0, Qt::black);
    dark.setColorAt(1, QColor(48, 36, 32));
    p.setPen(QPen(QColor(96, 80, 64), 1.5));
    p.setBrush(dark);
    p.drawEllipse(QRectF(3, 5, 26, 24));
}

void chest(QPainter& p)
{
    floor(p, 310);
    p.setPen(outline);
    p.setBrush(QColor(168, 96, 40));
    p.drawRect(2, 5, 11, 9);
    p.fillRect(3, 6, 10, 3, QColor(200, 128, 56));
    p.fillRect(2, 9, 12, 1, QColor(232, 192, 64));
    p.fillRect(7, 8, 2, 3, QColor(248, 224, 96));
}

void bones(QPainter& p)
{
    floor(p, 320);
    const QColor bone(240, 232, 216);
    p.setPen(QPen(bone, 2));
    p.drawLine(3, 12, 12, 4);
    p.drawLine(4, 4, 12, 12);
    p.fillRect(2, 11, 3, 3, bone);
    p.fillRect(11, 3, 3, 3, bone);
}

void brazier(QPainter& p)
{
    floor(p, 330);
    p.fillRect(4, 9, 8, 5, QColor(80, 72, 72));
    p.fillRect(3, 8, 10, 2, QColor(112, 104, 104));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(248, 120, 32));
    p.drawEllipse(4, 1, 8, 8);
    p.setBrush(QColor(255, 224, 96));
    p.drawEllipse(6, 4, 4, 4);
}

} // namespace

QImage outdoorTiles()
{
    using namespace Outdoor;
    QImage s(Columns * TileSize, Rows * TileSize, QImage::Format_RGB32);
    s.fill(Qt::black);
    auto t = [&](int tile, const Paint& paint) { paintTile(s, tile, paint); };

    t(Grass, [](QPainter& p) { grass(p, 1); });
    t(Grass2, [](QPainter& p) { grass(p, 2); });
    t(Grass3, [](QPainter& p) { grass(p, 3); speckle(p, 4, QColor(120, 200, 96), 6); });
    t(FlowersRed, [](QPainter& p) { flowers(p, QColor(232, 56, 72), 11); });
    t(FlowersYellow, [](QPainter& p) { flowers(p, QColor(248, 216, 48), 12); });
    t(TallGrass, [](QPainter& p) { tallGrass(p, 0); });
    t(TallGrass2, [](QPainter& p) { tallGrass(p, 2); });
    t(Path, [](QPainter& p) { path(p, 21, false); });
    t(Path2, [](QPainter& p) { path(p, 22, true); });
    t(Sand, [](QPainter& p) { sand(p, 23, false); });
    t(Sand2, [](QPainter& p) { sand(p, 24, true); });
    t(Paving, [](QPainter& p) { paving(p, false); });
    t(Paving2, [](QPainter& p) { paving(p, true); });
    t(Water, [](QPainter& p) { water(p, 0); });
    t(Water2, [](QPainter& p) { water(p, 5); });
    t(LilyPad, [](QPainter& p) {
        water(p, 3);
        p.setPen(QColor(24, 96, 40));
        p.setBrush(QColor(64, 168, 72));
        p.drawPie(2, 3, 11, 10, 30 * 16, 320 * 16);
        p.fillRect(9, 5, 2, 2, QColor(248, 160, 200));
    });
    t(ShoreN, [](QPainter& p) { shore(p, true, false, false, false); });
    t(ShoreS, [](QPainter& p) { shore(p, false, true, false, false); });
    t(ShoreW, [](QPainter& p) { shore(p, false, false, true, false); });
    t(ShoreE, [](QPainter& p) { shore(p, false, false, false, true); });
    t(ShoreNW, [](QPainter& p) { shore(p, true, false, true, false); });
    t(ShoreNE, [](QPainter& p) { shore(p, true, false, false, true); });
    t(ShoreSW, [](QPainter& p) { shore(p, false, true, true, false); });
    t(ShoreSE, [](QPainter& p) { shore(p, false, true, false, true); });
    t(PathN, [](QPainter& p) { pathEdge(p, 0); });
    t(PathS, [](QPainter& p) { pathEdge(p, 1); });
    t(PathW, [](QPainter& p) { pathEdge(p, 2); });
    t(PathE, [](QPainter& p) { pathEdge(p, 3); });
    paintQuad(s, TreeTL, roundTree);
    paintQuad(s, PineTL, pineTree);
    t(Bush, [](QPainter& p) {
        grass(p, 30);
        p.setPen(QColor(24, 80, 32));
        p.setBrush(QColor(48, 144, 56));
        p.drawEllipse(1, 3, 14, 12);
        p.fillRect(4, 6, 3, 2, QColor(104, 200, 96));
    });
    t(Stump, [](QPainter& p) {
        grass(p, 31);
        p.setPen(outline);
        p.setBrush(QColor(136, 88, 48));
        p.drawRect(3, 6, 10, 8);
        p.setBrush(QColor(216, 176, 120));
        p.drawEllipse(3, 3, 10, 6);
        p.setPen(QColor(160, 112, 64));
        p.drawEllipse(6, 5, 4, 2);
    });
    t(Hedge, [](QPainter& p) {
        p.fillRect(0, 0, 16, 16, QColor(40, 120, 48));
        speckle(p, 32, QColor(24, 80, 32), 12, 2);
        speckle(p, 33, QColor(88, 176, 80), 8, 2);
    });
    t(Boulder, [](QPainter& p) { boulder(p, true); });
    t(FenceH, [](QPainter& p) { fence(p, true, false); });
    t(FenceV, [](QPainter& p) { fence(p, false, true); });
    t(FencePost, [](QPainter& p) { fence(p, false, false); });
    t(Sign, sign);
    t(Mailbox, mailbox);
    t(LampTop, [](QPainter& p) { lamp(p, true); });
    t(LampBottom, [](QPainter& p) { lamp(p, false); });
    t(Well, well);

    const QColor red(200, 64, 48), blue(64, 104, 200);
    for (int r = 0; r < 2; ++r) {
        const QColor colour = r ? blue : red;
        const int base = r ? BlueRoofTL : RedRoofTL;
        t(base + 0, [=](QPainter& p) { roof(p, colour, true, false, true, false); });
        t(base + 1, [=](QPainter& p) { roof(p, colour, true, false, false, false); });
        t(base + 2, [=](QPainter& p) { roof(p, colour, true, false, false, true); });
        t(base + 3, [=](QPainter& p) { roof(p, colour, false, false, true, false); });
        t(base + 4, [=](QPainter& p) { roof(p, colour, false, false, false, false); });
        t(base + 5, [=](QPainter& p) { roof(p, colour, false, false, false, true); });
        t(base + 6, [=](QPainter& p) { roof(p, colour, false, true, true, false); });
        t(base + 7, [=](QPainter& p) { roof(p, colour, false, true, false, false); });
        t(base + 8, [=](QPainter& p) { roof(p, colour, false, true, false, true); });
        t(base + 9, [=](QPainter& p) { roof(p, colour, false, false, false, false, true); });
    }
    t(WallL, [](QPainter& p) { wall(p, true, false, false); });
    t(WallM, [](QPainter& p) { wall(p, false, false, false); });
    t(WallR, [](QPainter& p) { wall(p, false, true, false); });
    t(Window, [](QPainter& p) { window(p, false); });
    t(WindowFlowers, [](QPainter& p) { window(p, true); });
    paintQuad(s, DoorTL, door);
    t(WallBaseL, [](QPainter& p) { wall(p, true, false, true); });
    t(WallBaseM, [](QPainter& p) { wall(p, false, false, true); });
    t(WallBaseR, [](QPainter& p) { wall(p, false, true, true); });
    t(CliffTop, [](QPainter& p) { cliff(p, true, 0); });
    t(CliffFace, [](QPainter& p) { cliff(p, false, 1); });
    t(CliffFace2, [](QPainter& p) { cliff(p, false, 2); });
    paintQuad(s, CaveMouthTL, caveMouth);
    t(Ledge, [](QPainter& p) {
        grass(p, 41);
        p.fillRect(0, 9, 16, 3, QColor(136, 104, 64));
        p.fillRect(0, 12, 16, 2, QColor(88, 64, 40));
    });
    t(BridgeH, [](QPainter& p) { bridge(p, true); });
    t(BridgeV, [](QPainter& p) { bridge(p, false); });
    t(Stairs, stairs);
    t(Ladder, [](QPainter& p) { ladder(p, QColor(168, 120, 80)); });
    t(SmallRocks, [](QPainter& p) {
        path(p, 42, false);
        p.setPen(QColor(72, 72, 80));
        p.setBrush(QColor(160, 160, 168));
        p.drawEllipse(2, 3, 5, 4);
        p.drawEllipse(9, 8, 5, 5);
        p.drawEllipse(4, 10, 3, 3);
    });
    t(FlowerPot, [](QPainter& p) {
        paving(p, false);
        p.setPen(outline);
        p.setBrush(QColor(200, 104, 56));
        p.drawRect(4, 8, 7, 6);
        p.setBrush(QColor(48, 144, 56));
        p.drawEllipse(3, 2, 9, 7);
        p.fillRect(7, 4, 2, 2, QColor(240, 80, 160));
    });
    t(Crate, [](QPainter& p) { crate(p, pathTan); });
    t(NoticeBoard, [](QPainter& p) {
        paving(p, true);
        p.fillRect(2, 10, 2, 6, QColor(104, 64, 32));
        p.fillRect(12, 10, 2, 6, QColor(104, 64, 32));
        p.setPen(outline);
        p.setBrush(QColor(232, 216, 176));
        p.drawRect(1, 1, 13, 10);
        p.fillRect(3, 3, 4, 3, QColor(248, 248, 248));
        p.fillRect(8, 4, 4, 5, QColor(248, 240, 160));
        p.fillRect(4, 7, 3, 3, QColor(176, 208, 248));
    });
    return s;
}

QImage caveTiles()
{
    using namespace Cave;
    QImage s(Columns * TileSize, Rows * TileSize, QImage::Format_RGB32);
    s.fill(Qt::black);
    auto t = [&](int tile, const Paint& paint) { paintTile(s, tile, paint); };

    t(Floor, [](QPainter& p) { floor(p, 1); });
    t(Floor2, [](QPainter& p) { floor(p, 2); });
    t(Floor3, [](QPainter& p) { floor(p, 3, 4); });
    t(FloorCrack, [](QPainter& p) { crackedFloor(p, 9); });
    t(Gravel, [](QPainter& p) { floor(p, 4, 12); });
    t(Puddle, [](QPainter& p) {
        floor(p, 5);
        p.setPen(QColor(64, 96, 152));
        p.setBrush(QColor(72, 120, 184));
        p.drawEllipse(3, 5, 10, 6);
    });
    t(Moss, [](QPainter& p) { floor(p, 6); speckle(p, 7, QColor(88, 136, 64), 14, 2); });
    t(DarkFloor, [](QPainter& p) {
        p.fillRect(0, 0, 16, 16, caveFloor.darker(150));
        speckle(p, 8, caveFloor.darker(190), 8);
    });
    t(Rock, [](QPainter& p) { rock(p, 11); });
    t(Rock2, [](QPainter& p) { rock(p, 12); });
    t(WallFace, [](QPainter& p) { wallFace(p, 0); });
    t(WallFace2, [](QPainter& p) { wallFace(p, 2); });
    t(EdgeN, [](QPainter& p) { caveEdge(p, true, false, false, false); });
    t(EdgeS, [](QPainter& p) { caveEdge(p, false, true, false, false); });
    t(EdgeW, [](QPainter& p) { caveEdge(p, false, false, true, false); });
    t(EdgeE, [](QPainter& p) { caveEdge(p, false, false, false, true); });
    t(EdgeNW, [](QPainter& p) { caveEdge(p, true, false, true, false); });
    t(EdgeNE, [](QPainter& p) { caveEdge(p, true, false, false, true); });
    t(EdgeSW, [](QPainter& p) { caveEdge(p, false, true, true, false); });
    t(EdgeSE, [](QPainter& p) { caveEdge(p, false, true, false, true); });
    for (int c = 0; c < 4; ++c)
        t(InnerNW + c, [c](QPainter& p) { innerCorner(p, c); });
    paintQuad(s, LadderUpTL, [](QPainter& p) { caveLadder(p, true); });
    paintQuad(s, LadderDownTL, [](QPainter& p) { caveLadder(p, false); });
    paintQuad(s, BoulderTL, bigBoulder);
    t(Stalagmite, [](QPainter& p) { stalagmite(p, 0); });
    t(Stalagmite2, [](QPainter& p) { stalagmite(p, 2); });
    t(CrystalBlue, [](QPainter& p) { crystal(p, QColor(96, 176, 248)); });
    t(CrystalPink, [](QPainter& p) { crystal(p, QColor(240, 128, 200)); });
    t(Water, [](QPainter& p) { caveWater(p, 0); });
    t(Water2, [](QPainter& p) { caveWater(p, 4); });
    for (int side = 0; side < 4; ++side)
        t(WaterShoreN + side, [side](QPainter& p) { caveShore(p, side); });
    t(BridgeH, [](QPainter& p) { bridge(p, true); });
    t(BridgeV, [](QPainter& p) { bridge(p, false); });
    paintQuad(s, ExitTL, exitLight);
    t(TrackH, [](QPainter& p) { track(p, true); });
    t(TrackV, [](QPainter& p) { track(p, false); });
    t(Torch, torch);
    t(Crate, [](QPainter& p) { crate(p, caveFloor); });
    t(SmallRock, [](QPainter& p) {
        floor(p, 13);
        p.setPen(QColor(56, 48, 48));
        p.setBrush(QColor(136, 128, 128));
        p.drawEllipse(4, 5, 8, 7);
    });
    t(RockCluster, [](QPainter& p) {
        floor(p, 14);
        p.setPen(QColor(56, 48, 48));
        p.setBrush(QColor(120, 112, 112));
        p.drawEllipse(1, 2, 7, 6);
        p.drawEllipse(8, 6, 7, 7);
        p.drawEllipse(2, 9, 5, 5);
    });
    t(Mushroom, [](QPainter& p) { mushroom(p, false); });
    t(GlowMoss, [](QPainter& p) { mushroom(p, true); });
    paintQuad(s, StairsTL, caveStairs);
    for (int v = 0; v < 8; ++v) {
        t(FloorVariant0 + v, [v](QPainter& p) { floor(p, 400 + v, v % 3); });
        t(RockVariant0 + v, [v](QPainter& p) { rock(p, 500 + v); });
    }
    for (int v = 0; v < 4; ++v) {
        t(OreVein0 + v, [v](QPainter& p) { oreVein(p, v); });
        t(CrackedFloor0 + v, [v](QPainter& p) { crackedFloor(p, v); });
    }
    paintQuad(s, PitTL, pit);
    t(Chest, chest);
    t(CaveSign, [](QPainter& p) {
        floor(p, 340);
        p.fillRect(7, 9, 2, 7, QColor(96, 60, 28));
        p.setPen(outline);
        p.setBrush(QColor(184, 144, 88));
        p.drawRect(1, 2, 13, 8);
        p.setPen(QColor(80, 48, 24));
        p.drawLine(3, 5, 12, 5);
        p.drawLine(3, 7, 9, 7);
    });
    t(Bones, bones);
    t(Brazier, brazier);
    return s;
}

}
