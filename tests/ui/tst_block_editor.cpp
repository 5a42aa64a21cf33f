// The block editor: opening, picking and placing tiles, saving a block.
#include "ui_support/map_rig.h"

#include "ui/map/image_box.h"

#include <QLabel>
#include <QPushButton>

namespace {
QPoint tilePoint(int tile) { return QPoint((tile % 16) * 16 + 5, (tile / 16) * 16 + 5); }

bool openEditor(MapRig& r)
{
    r.editor->BlockEditor1Click();
    return QTest::qWaitForWindowActive(r.editor.get());
}

void pickTile(MapRig& r, QPoint at) { QTest::mouseClick(r.editor->Image1, Qt::LeftButton, {}, at); }
void place(MapRig& r, QPoint at) { QTest::mouseClick(r.editor->TileBox, Qt::LeftButton, {}, at); }
void chooseRow(MapRig& r, int row)
{
    r.editor->ScrollBox1->ensureVisible(10, 64 * row + 10, 0, 20);
    QTest::mouseClick(r.editor->BlockBox, Qt::LeftButton, {}, QPoint(10, 64 * row + 10));
}
std::array<int, 16> tilesOf(const TBlockEditorForm& e)
{
    std::array<int, 16> t{};
    for (int i = 0; i < 16; ++i)
        t[size_t(i)] = e.BlockTiles[size_t(i)];
    return t;
}
}

class TestBlockEditor : public QObject {
    Q_OBJECT
private slots:
    void warnsBeforeAnyMap();
    void openingShowsRowZero();
    void saveRightAfterOpeningRewritesRowZero();
    void picksTilesFromThePicture_data();
    void picksTilesFromThePicture();
    void gridPressesOutsideTheGridDoNothing_data();
    void gridPressesOutsideTheGridDoNothing();
    void saveWritesFileAndRefreshesPaletteAndMap();
    void readouts();
    void everythingFitsAtAnyTextSize_data();
    void everythingFitsAtAnyTextSize();
    void choosingAnotherBlockDropsPlacements();
    void saveFailureKeepsTheEdit();
    void followsAMapPickWhileOpen();
    void saveAfterLoadRomIsRefused();
    void pickedTileSurvivesReopening();
};

void TestBlockEditor::warnsBeforeAnyMap()
{
    MapRig r;
    const QByteArray file = r.dir.read(QStringLiteral("game.gbc"));
    r.editor->BlockEditor1Click();
    QCOMPARE(r.prompts.shown.size(), size_t(1));
    QCOMPARE(r.prompts.shown[0].kind, Prompts::Kind::Warning);
    QCOMPARE(r.prompts.shown[0].text, QStringLiteral("Load tileset first!"));
    QCOMPARE(r.prompts.shown[0].buttons, Prompts::Buttons::Ok);
    QVERIFY(!r.editor->isVisible());
    QCOMPARE(r.editor->windowTitle(), QStringLiteral("Block Editor"));
    QCOMPARE(r.dir.read(QStringLiteral("game.gbc")), file);
}

void TestBlockEditor::openingShowsRowZero()
{
    MapRig r;
    QVERIFY(r.pick(QStringLiteral("Cave")));
    QVERIFY(openEditor(r));
    QVERIFY(r.prompts.shown.empty());
    QCOMPARE(r.editor->windowTitle(), QStringLiteral("Block Editor - Tileset3"));
    QCOMPARE(r.editor->BlockOffset, rig::Tileset3Start);
    QCOMPARE(r.editor->BlockIndex, 0);
    const auto row0 = rig::romBlock(r.core->rom, rig::Tileset3Start);
    QVERIFY(tilesOf(*r.editor) == row0);
    QVERIFY(rig::showsBlock(r.editor->TileBox->image(), QPoint(0, 0), row0));
    QCOMPARE(r.editor->TileBox->image().size(), QSize(64, 64));
    QCOMPARE(r.editor->BlockBox->size(), QSize(64, 640));
    QCOMPARE(r.editor->BlockBox->image(), r.page->paletteImage());
    QCOMPARE(r.editor->Image1->image(), r.Pics.image());
    // The read-outs tell of the block under edit from the start.
    QCOMPARE(r.editor->Label1->text(), QStringLiteral("Tile: 00"));
    QCOMPARE(r.editor->Label2->text(), QStringLiteral("Block: 00"));
    QCOMPARE(r.editor->Label3->text(), QStringLiteral("Offset: 2000"));
    QVERIFY(r.window.isVisible());  // modeless: the main window stays
}

void TestBlockEditor::saveRightAfterOpeningRewritesRowZero()
{
    MapRig r;
    QVERIFY(r.pick(QStringLiteral("Cave")));
    QVERIFY(openEditor(r));
    r.dir.write(QStringLiteral("game.gbc"), "stale");
    const QByteArray image = r.core->rom.bytes();
    const QImage picture = r.pictures.picture(3, 0).copy();
    QTest::mouseClick(r.editor->Button1, Qt::LeftButton);
    QVERIFY(r.prompts.shown.empty());
    QCOMPARE(r.core->rom.bytes(), image);
    QCOMPARE(r.dir.read(QStringLiteral("game.gbc")), image);
    QCOMPARE(r.pictures.picture(3, 0), picture);
}

void TestBlockEditor::picksTilesFromThePicture_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<int>("tile");
    QTest::newRow("left edge") << QPoint(0, 1) << 0;
    QTest::newRow("second column") << QPoint(17, 3) << 1;
    QTest::newRow("row 5, last pixel row of the picture") << QPoint(0, 95) << 80;
    QTest::newRow("tile 95") << QPoint(255, 95) << 95;
    QTest::newRow("lowest rows, left") << QPoint(0, 96) << 96;
    QTest::newRow("lowest rows, right") << QPoint(255, 97) << 111;
    QTest::newRow("lowest rows, middle") << QPoint(130, 97) << 104;
}

void TestBlockEditor::picksTilesFromThePicture()
{
    QFETCH(QPoint, at);
    QFETCH(int, tile);
    MapRig r;
    QVERIFY(r.pick(QStringLiteral("Town")));
    QVERIFY(openEditor(r));
    QTest::mouseMove(r.editor->Image1, at);
    QCOMPARE(r.editor->Label1->text(), QStringLiteral("Tile: ") + QString::number(tile, 16).toUpper().rightJustified(2, QLatin1Char('0')));
    pickTile(r, at);
    QCOMPARE(r.editor->PickedTile, tile);
    place(r, QPoint(20, 36));  // column 1, row 2: entry 9
    QCOMPARE(r.editor->BlockTiles[9], tile);
    QCOMPARE(r.editor->TileBox->image().pixel(24, 40), rig::tileRgb(tile));
    QCOMPARE(r.core->rom.byteAt(rig::Tileset1Start + 9), int(rig::blockTile(0, 9)));
    QTest::mouseClick(r.editor->Button1, Qt::LeftButton);
    QCOMPARE(r.core->rom.byteAt(rig::Tileset1Start + 9), tile);
    QCOMPARE(int(quint8(r.dir.read(QStringLiteral("game.gbc")).at(rig::Tileset1Start + 9))), tile);
}

void TestBlockEditor::gridPressesOutsideTheGridDoNothing_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<int>("entry");  // -1: nothing changes
    QTest::newRow("65th column") << QPoint(64, 0) << -1;
    QTest::newRow("65th row") << QPoint(10, 64) << -1;
    QTest::newRow("corner outside") << QPoint(64, 64) << -1;
    QTest::newRow("last grid pixel") << QPoint(63, 63) << 15;
    QTest::newRow("first column") << QPoint(0, 15) << 0;
    QTest::newRow("column 1") << QPoint(16, 0) << 1;
    QTest::newRow("row 1") << QPoint(0, 16) << 4;
}

void TestBlockEditor::gridPressesOutsideTheGridDoNothing()
{
    QFETCH(QPoint, at);
    QFETCH(int, entry);
    MapRig r;
    QVERIFY(r.pick(QStringLiteral("Town")));
    QVERIFY(openEditor(r));
    pickTile(r, tilePoint(77));
    auto expected = tilesOf(*r.editor);
    const QImage before = r.editor->TileBox->image().copy();
    place(r, at);
    if (entry >= 0)
        expected[size_t(entry)] = 77;
    QVERIFY(tilesOf(*r.editor) == expected);
    if (entry < 0)
        QCOMPARE(r.editor->TileBox->image(), before);
    QVERIFY(rig::showsBlock(r.editor->TileBox->image(), QPoint(0, 0), expected));
}

void TestBlockEditor::saveWritesFileAndRefreshesPaletteAndMap()
{
    MapRig r;
    QVERIFY(r.pick(QStringLiteral("Town")));
    QVERIFY(openEditor(r));
    chooseRow(r, 2);
    QCOMPARE(r.editor->BlockIndex, 2);
    QCOMPARE(r.editor->BlockOffset, rig::Tileset1Start + 32);
    std::array<int, 16> fresh{};
    for (int i = 0; i < 16; ++i) {
        fresh[size_t(i)] = 60 + i;
        pickTile(r, tilePoint(60 + i));
        place(r, QPoint(16 * (i % 4) + 3, 16 * (i / 4) + 3));
    }
    QVERIFY(tilesOf(*r.editor) == fresh);
    QTest::mouseMove(r.page->MapBox, r.cellCentre(1, 1));  // the map view does not touch the pick
    QCOMPARE(r.editor->PickedTile, 75);
    QTest::mouseClick(r.editor->Button1, Qt::LeftButton);

    const QByteArray file = r.dir.read(QStringLiteral("game.gbc"));
    QCOMPARE(file, r.core->rom.bytes());
    for (int i = 0; i < 16; ++i)
        QCOMPARE(int(quint8(file.at(rig::Tileset1Start + 32 + i))), 60 + i);
    QVERIFY(rig::showsBlock(r.pictures.picture(1, 2), QPoint(0, 0), fresh));
    QVERIFY(rig::showsBlock(r.page->paletteImage(), QPoint(0, 128), fresh));
    QVERIFY(rig::showsBlock(r.editor->BlockBox->image(), QPoint(0, 128), fresh));
    int cellsWithBlock = 0;
    const QImage view = r.view();
    for (int cell = 0; cell < 360; ++cell)
        if (r.state.MapBytes[size_t(cell)] == 3) {
            ++cellsWithBlock;
            QVERIFY(rig::showsBlock(view, r.cellOrigin(cell % 20, cell / 20), fresh));
        }
    QVERIFY(cellsWithBlock > 10);
    // Other blocks are as they were.
    QVERIFY(rig::showsBlock(r.page->paletteImage(), QPoint(0, 64), rig::romBlock(r.core->rom, rig::Tileset1Start + 16)));
}

void TestBlockEditor::readouts()
{
    MapRig r;
    QVERIFY(r.pick(QStringLiteral("Town")));
    QVERIFY(openEditor(r));
    r.editor->ScrollBox1->ensureVisible(10, 64 * 10 + 10, 0, 20);
    QTest::mouseMove(r.editor->BlockBox, QPoint(10, 64 * 10 + 10));
    QCOMPARE(r.editor->Label2->text(), QStringLiteral("Block: 0A"));
    QCOMPARE(r.editor->Label3->text(), QStringLiteral("Offset: 10A0"));
    QCOMPARE(r.editor->Label1->text(), QStringLiteral("Tile: 00"));
    QTest::mouseMove(r.editor->Image1, tilePoint(31));
    QCOMPARE(r.editor->Label1->text(), QStringLiteral("Tile: 1F"));
    QCOMPARE(r.editor->BlockIndex, 0);  // pointing chooses nothing
}

void TestBlockEditor::everythingFitsAtAnyTextSize_data()
{
    QTest::addColumn<int>("points");
    QTest::newRow("8 points") << 8;
    QTest::newRow("16 points") << 16;
    QTest::newRow("28 points") << 28;
}

void TestBlockEditor::everythingFitsAtAnyTextSize()
{
    QFETCH(int, points);
    MapRig r;
    QFont font = r.editor->font();
    font.setPointSize(points);
    r.editor->setFont(font);
    QVERIFY(r.pick(QStringLiteral("Town")));
    QVERIFY(openEditor(r));
    QTest::mouseMove(r.editor->Image1, tilePoint(95));
    QCOMPARE(r.editor->Label1->text(), QStringLiteral("Tile: 5F"));
    const QRect inside = r.editor->rect();
    for (QWidget* part : std::initializer_list<QWidget*>{r.editor->ScrollBox1, r.editor->TileBox, r.editor->Image1,
                                                         r.editor->Label1, r.editor->Label2, r.editor->Label3,
                                                         r.editor->Button1}) {
        QVERIFY2(inside.contains(part->geometry()), qPrintable(part->objectName()));
        if (auto* label = qobject_cast<QLabel*>(part))
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
    }
    // The tile picture's bottom row of tiles is shown whole.
    QVERIFY(r.editor->Image1->height() >= r.editor->Image1->image().height());
    QCOMPARE(r.editor->Image1->image().height(), 96);
}

void TestBlockEditor::choosingAnotherBlockDropsPlacements()
{
    MapRig r;
    QVERIFY(r.pick(QStringLiteral("Town")));
    QVERIFY(openEditor(r));
    pickTile(r, tilePoint(90));
    place(r, QPoint(5, 5));
    QCOMPARE(r.editor->BlockTiles[0], 90);
    chooseRow(r, 1);
    QVERIFY(tilesOf(*r.editor) == rig::romBlock(r.core->rom, rig::Tileset1Start + 16));
    chooseRow(r, 0);
    QVERIFY(tilesOf(*r.editor) == rig::romBlock(r.core->rom, rig::Tileset1Start));
    QCOMPARE(r.core->rom.byteAt(rig::Tileset1Start), int(rig::blockTile(0, 0)));
}

void TestBlockEditor::saveFailureKeepsTheEdit()
{
    MapRig r;
    QVERIFY(r.pick(QStringLiteral("Town")));
    QVERIFY(openEditor(r));
    const QString target = r.dir.file(QStringLiteral("missing/game.gbc"));
    r.core->RomFileName = target;
    const QImage palette = r.page->paletteImage().copy();
    pickTile(r, tilePoint(44));
    place(r, QPoint(5, 5));
    QTest::mouseClick(r.editor->Button1, Qt::LeftButton);
    QCOMPARE(r.prompts.lastText(), QStringLiteral("Cannot create file %1").arg(target));
    QCOMPARE(r.core->rom.byteAt(rig::Tileset1Start), 44);
    QCOMPARE(r.pictures.picture(1, 0).pixel(8, 8), rig::tileRgb(44));
    // The edit stays in the image (and in the history); the views show it.
    QVERIFY(r.page->paletteImage() != palette);
    QCOMPARE(r.page->paletteImage().pixel(8, 8), rig::tileRgb(44));
    QCOMPARE(r.session.undoStack().count(), 1);
    QVERIFY(!QFile::exists(target));
}

void TestBlockEditor::followsAMapPickWhileOpen()
{
    MapRig r;
    QVERIFY(r.pick(QStringLiteral("Cave")));
    QVERIFY(openEditor(r));
    chooseRow(r, 1);
    pickTile(r, tilePoint(12));
    place(r, QPoint(5, 5));
    QVERIFY(r.pick(QStringLiteral("Town")));
    QCOMPARE(r.editor->windowTitle(), QStringLiteral("Block Editor - Tileset1"));
    QCOMPARE(r.editor->BlockOffset, rig::Tileset1Start);
    QCOMPARE(r.editor->BlockIndex, 0);
    QVERIFY(tilesOf(*r.editor) == rig::romBlock(r.core->rom, rig::Tileset1Start));
    QCOMPARE(r.editor->BlockBox->height(), 20 * 64);
    QCOMPARE(r.editor->BlockBox->image(), r.page->paletteImage());
    // Save writes tileset 1's block and leaves tileset 3's alone.
    const QImage cave = r.pictures.picture(3, 0).copy();
    QTest::mouseClick(r.editor->Button1, Qt::LeftButton);
    QCOMPARE(r.pictures.picture(3, 0), cave);
    QCOMPARE(r.core->rom.byteAt(rig::Tileset3Start + 16), int(rig::blockTile(41, 0)));

    // A hidden editor takes its copies on the next opening only.
    r.editor->close();
    QVERIFY(r.pick(QStringLiteral("Cave")));
    QCOMPARE(r.editor->windowTitle(), QStringLiteral("Block Editor - Tileset1"));
    QVERIFY(openEditor(r));
    QCOMPARE(r.editor->windowTitle(), QStringLiteral("Block Editor - Tileset3"));
}

void TestBlockEditor::saveAfterLoadRomIsRefused()
{
    MapRig r;
    QVERIFY(r.pick(QStringLiteral("Town")));
    QVERIFY(openEditor(r));
    pickTile(r, tilePoint(33));
    place(r, QPoint(5, 5));
    r.loadRom();
    const QByteArray file = r.dir.read(QStringLiteral("game.gbc"));
    const QByteArray image = r.core->rom.bytes();
    QTest::mouseClick(r.editor->Button1, Qt::LeftButton);
    QCOMPARE(r.prompts.lastText(), QStringLiteral("Load tileset first!"));
    QCOMPARE(r.core->rom.bytes(), image);
    QCOMPARE(r.dir.read(QStringLiteral("game.gbc")), file);
    QVERIFY(!r.pictures.built(1));
}

void TestBlockEditor::pickedTileSurvivesReopening()
{
    MapRig r;
    QVERIFY(r.pick(QStringLiteral("Town")));
    QVERIFY(openEditor(r));
    pickTile(r, tilePoint(58));
    r.editor->close();
    QVERIFY(openEditor(r));
    QCOMPARE(r.editor->PickedTile, 58);
    place(r, QPoint(50, 50));
    QCOMPARE(r.editor->BlockTiles[15], 58);
}

QTEST_MAIN(TestBlockEditor)
#include "tst_block_editor.moc"
