#pragma once

// A small editor for the map tests: a program directory with catalogue files,
// tile pictures and a ROM image, an editing session with the Map page and the
// block editor on it. Load Rom and the map pick are the session's own.

#include "session/editor_session.h"
#include "session/editor_core.h"
#include "ui/map/block_editor_form.h"
#include "model/map/block_pictures.h"
#include "ui/map/map_page.h"
#include "model/map/map_state.h"
#include "model/map/tile_picture.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"
#include "ui/map/map_view.h"

#include <QAction>
#include <QEvent>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QtTest>

#include <array>
#include <memory>

namespace rig {

constexpr qint32 Tileset1Start = 0x1000;  // tileset 1: Blocks 20
constexpr qint32 Tileset3Start = 0x2000;  // tileset 3: Blocks 10
constexpr qint32 TownStart = 0x4000;      // 20 x 18, tileset 1
constexpr qint32 CaveStart = 0x5000;      // 4 x 3, tileset 3
constexpr qint32 RouteStart = 0x5100;     // 5 x 4, tileset 1
constexpr int RomSize = 0x8000;

inline QRgb tileRgb(int tile)
{
    return QRgb(TestDir::tileColor(tile > 95 || tile < 0 ? 0 : tile));
}

// The tile number stored at (tileset start) + 16 * row + i in the test ROM.
inline quint8 blockTile(int row, int i) { return quint8((row * 7 + i) % 96); }

inline QByteArray testRom()
{
    QByteArray rom = TestDir::patternRom(RomSize);
    for (int r = 0; r < 21; ++r)
        for (int i = 0; i < 16; ++i)
            rom[Tileset1Start + 16 * r + i] = char(blockTile(r, i));
    for (int r = 0; r < 11; ++r)
        for (int i = 0; i < 16; ++i)
            rom[Tileset3Start + 16 * r + i] = char(blockTile(r + 40, i));
    // Map bytes: block numbers 1..21 in turn (tileset 1), 1..11 for the cave.
    for (int i = 0; i < 20 * 18; ++i)
        rom[TownStart + i] = char(1 + i % 21);
    for (int i = 0; i < 12; ++i)
        rom[CaveStart + i] = char(1 + i % 11);
    for (int i = 0; i < 20; ++i)
        rom[RouteStart + i] = char(1 + (i * 3) % 21);
    return rom;
}

// True when the 64 x 64 picture at `origin` shows the 16 tiles (checked at
// every tile cell's centre and at a pixel inside each cell's corner).
inline bool showsBlock(const QImage& image, QPoint origin, const std::array<int, 16>& tiles)
{
    for (int i = 0; i < 16; ++i) {
        const QPoint cell = origin + QPoint(16 * (i % 4), 16 * (i / 4));
        const QRgb want = tileRgb(tiles[size_t(i)]);
        if (image.pixel(cell + QPoint(8, 8)) != want || image.pixel(cell + QPoint(2, 2)) != want)
            return false;
    }
    return true;
}

inline std::array<int, 16> romBlock(const RomImage& rom, qint64 offset)
{
    std::array<int, 16> tiles{};
    for (int i = 0; i < 16; ++i)
        tiles[size_t(i)] = rom.byteAt(offset + i);
    return tiles;
}

// True when every pixel of the 64 x 64 square at `origin` is black.
inline bool allBlack(const QImage& image, QPoint origin)
{
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            if (image.pixel(origin + QPoint(x, y)) != 0xFF000000u)
                return false;
    return true;
}

// True when the outermost pixels of the square are black (a grid frame).
inline bool framed(const QImage& image, QPoint origin)
{
    for (int k = 0; k < 64; ++k) {
        for (QPoint p : {QPoint(k, 0), QPoint(k, 63), QPoint(0, k), QPoint(63, k)})
            if (image.pixel(origin + p) != 0xFF000000u)
                return false;
    }
    return true;
}

} // namespace rig

struct MapRig {
    TestDir dir;
    bool catalogueWritten;
    EditorState editorState;
    EditorCore* core = &editorState.core;
    MapState& state = editorState.map;
    BlockPictures& pictures = editorState.pictures;
    TilePicture& Pics = editorState.Pics;
    ScriptedPrompts prompts;
    EditorSession session;
    BlockStamp& stamp = session.stamp();
    QWidget window;
    QAction* Grid1 = nullptr;
    MapPage* page = nullptr;
    std::unique_ptr<TBlockEditorForm> editor;
    int tilesetBuilds = 0;          // tileset builds started
    int lastProgress = -1, lastProgressMaximum = -1;
    QStringList statusTexts;

    explicit MapRig(bool grid = false)
        : catalogueWritten(writeCatalogue(dir, grid)), editorState(dir.path()), session(editorState, prompts)
    {
        loadRom();
        auto* layout = new QVBoxLayout(&window);
        Grid1 = new QAction(QStringLiteral("Show Grid"), &window);
        Grid1->setObjectName(QStringLiteral("Grid1"));
        Grid1->setCheckable(true);
        Grid1->setChecked(session.grid().on());
        page = new MapPage(session, &window);
        layout->addWidget(page, 1);
        QObject::connect(Grid1, &QAction::triggered, &window, [this](bool on) {
            const SessionOutcome set = session.grid().set(on);
            if (set.isRefused())
                prompts.error(set.refusal);
        });
        QObject::connect(&session.grid(), &GridSetting::changed, Grid1, &QAction::setChecked);
        QObject::connect(page, &MapPage::statusText, &window, [this](const QString& text) { statusTexts << text; });
        QObject::connect(&session, &EditorSession::tilesetProgress, &window, [this](int value, int maximum) {
            tilesetBuilds += value == 0;
            lastProgress = value;
            lastProgressMaximum = maximum;
        });
        editor = std::make_unique<TBlockEditorForm>(session);
        // Side by side on the screen: the pointer reaches each window.
        window.setGeometry(0, 0, 780, 390);
        editor->move(0, 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

    static bool writeCatalogue(TestDir& dir, bool grid)
    {
        dir.write(QStringLiteral("Maps.Ini"),
                  "[Town]\r\nStart offset=$4000\r\nEnd offset=$4167\r\nX size=20\r\nY size=18\r\nTileset=1\r\nComment=A town\r\n"
                  "[Cave]\r\nStart offset=$5000\r\nEnd offset=$500B\r\nX size=4\r\nY size=3\r\nTileset=3\r\n"
                  "[Route]\r\nStart offset=$5100\r\nEnd offset=$5113\r\nX size=5\r\nY size=4\r\nTileset=1\r\n");
        dir.write(QStringLiteral("Tilesets.ini"),
                  "[1]\r\nStart offset=$1000\r\nBlocks=20\r\nTiles=tiles1.bmp\r\n"
                  "[3]\r\nStart offset=$2000\r\nBlocks=10\r\nTiles=tiles3.bmp\r\n");
        dir.write(QStringLiteral("Critters.ini"), grid ? "[Settings]\r\nGrid=1\r\n" : "[Settings]\r\nGrid=0\r\n");
        dir.writeTilePicture(QStringLiteral("tiles1.bmp"));
        dir.writeTilePicture(QStringLiteral("tiles3.bmp"));
        dir.write(QStringLiteral("game.gbc"), rig::testRom());
        return true;
    }

    // Load Rom of the file game.gbc, through the session.
    void loadRom()
    {
        QVERIFY(session.loadRom(dir.file(QStringLiteral("game.gbc"))).isDone());
    }

    // The map pick, through the session; false when it was refused.
    bool pick(const QString& name)
    {
        return session.pickMap(name).outcome.isDone();
    }

    // What the map view shows, drawn afresh.
    QImage view() const { return page->MapBox->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QPoint cellOrigin(int column, int row) const { return QPoint(64 * column, 64 * row); }
    QPoint cellCentre(int column, int row) const { return QPoint(64 * column + 32, 64 * row + 32); }
};
