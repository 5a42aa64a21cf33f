// The editor on the demo data: every map of the demo catalogue opens, and the
// ROM-wide commands find what they need in the demo image.
#include "session/editor_state.h"
#include "ui/main/main_form.h"
#include "ui_support/editor_fixture.h"
#include "demo_data.h"
#include "ui/encounters/wild_critters_page.h"
#include "ui/events/events_editor.h"
#include "ui/events/warp_form.h"
#include "ui/map/block_editor_form.h"
#include "ui/map/map_page.h"
#include "ui/events/event_view.h"
#include "ui/map/map_view.h"
#include "ui/patches/rom_options_form.h"
#include "ui/patches/start_menu_options.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QtTest>

class TestDemoEditor : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void everyMapOpens();
    void startMenuAndOptions();
    void unchangedSaveKeepsImage();
    void paintThenSaveWritesByte();
    void mapFileRoundTripThroughMenus();
    void gridToggleStoredAndDrawn();
    void eventPressOpensDialog();
    void blockEditorOpensOnCurrentTileset();

private:
    struct Editor {
        explicit Editor(const QString& dir) : state(dir), form(state, prompts) {}
        ScriptedPrompts prompts;
        EditorState state;
        TMainForm form;
    };
    void pick(Editor& e, const QString& category, const QString& map);
    TestDir m_dir;
};

void TestDemoEditor::initTestCase()
{
    QString error;
    QVERIFY2(writeDemoData(m_dir.path(), &error), qPrintable(error));
}

void TestDemoEditor::pick(Editor& e, const QString& category, const QString& map)
{
    e.form.MainBox->setCurrentIndex(e.form.MainBox->findText(category));
    e.form.MainBoxClick();
    e.form.SubBox->setCurrentIndex(e.form.SubBox->findText(map));
    emit e.form.SubBox->textActivated(map);
}

void TestDemoEditor::everyMapOpens()
{
    Editor e(m_dir.path());
    QVERIFY(e.form.loadRom(m_dir.file("demo.gbc")));
    int maps = 0;
    for (int c = 0; c < e.form.MainBox->count(); ++c) {
        const QString category = e.form.MainBox->itemText(c);
        e.form.MainBox->setCurrentIndex(c);
        e.form.MainBoxClick();
        const QStringList names = [&] {
            QStringList list;
            for (int i = 0; i < e.form.SubBox->count(); ++i)
                list << e.form.SubBox->itemText(i);
            return list;
        }();
        for (const QString& name : names) {
            pick(e, category, name);
            QVERIFY2(e.prompts.shown.empty(), qPrintable(name + ": " + e.prompts.lastText()));
            QCOMPARE(e.state.core.map.name, name);
            QCOMPARE(EditorFixture::shownTitle(e.form), QStringLiteral("Kartola - ") + name);
            QVERIFY(e.state.pictures.built(e.state.core.map.TilesetNumber));
            auto* morning = e.form.critters->findChild<QGroupBox*>("GroupBox1");
            QVERIFY(morning);
            QCOMPARE(morning->isVisibleTo(e.form.critters), e.state.core.map.EncounterStart != 0);
            ++maps;
        }
    }
    QVERIFY(maps >= 6);
}

void TestDemoEditor::startMenuAndOptions()
{
    Editor e(m_dir.path());
    QVERIFY(e.form.loadRom(m_dir.file("demo.gbc")));
    int ticked = 0;
    for (QAction* item : e.form.startMenu->items()) {
        QVERIFY(item->isEnabled());
        ticked += item->isChecked() ? 1 : 0;
    }
    QVERIFY(ticked >= 6);
    auto* list = e.form.romOptions->findChild<QListWidget*>("CheckListBox1");
    QVERIFY(list);
    QVERIFY(list->count() >= 4);
    e.form.romOptions->LoadOptions();
    for (int i = 0; i < list->count(); ++i)
        QVERIFY2(list->item(i)->flags() & Qt::ItemIsEnabled, qPrintable(list->item(i)->text()));
}

void TestDemoEditor::unchangedSaveKeepsImage()
{
    // Opening maps and saving without an edit writes the image back as it was.
    TestDir copy;
    QString error;
    QVERIFY2(writeDemoData(copy.path(), &error), qPrintable(error));
    const QByteArray original = copy.read("demo.gbc");
    Editor e(copy.path());
    QVERIFY(e.form.loadRom(copy.file("demo.gbc")));
    for (int c = 0; c < e.form.MainBox->count(); ++c) {
        e.form.MainBox->setCurrentIndex(c);
        e.form.MainBoxClick();
        for (int i = 0; i < e.form.SubBox->count(); ++i) {
            e.form.SubBox->setCurrentIndex(i);
            emit e.form.SubBox->textActivated(e.form.SubBox->itemText(i));
            e.form.SaveRom1->trigger();
        }
    }
    QVERIFY(e.prompts.shown.empty());
    QCOMPARE(copy.read("demo.gbc"), original);
}

void TestDemoEditor::paintThenSaveWritesByte()
{
    TestDir copy;
    QString error;
    QVERIFY2(writeDemoData(copy.path(), &error), qPrintable(error));
    Editor e(copy.path());
    QVERIFY(e.form.loadRom(copy.file("demo.gbc")));
    pick(e, "Towns", "Mossbrook Town");
    e.form.show();
    e.form.TabbedNotebook1->setCurrentIndex(0);
    const MapRecord& map = e.state.core.map;
    const qint64 offset = map.MapStart + map.MapWidth + 1; // cell (1, 1)
    const int original = e.state.core.rom.byteAt(offset);
    const int block = original == 3 ? 4 : 3;
    // Palette row block - 1 selects the block; a press on cell (1, 1) paints it.
    QTest::mouseClick(e.form.mapPage->BlockPalette, Qt::LeftButton, {}, QPoint(10, (block - 1) * 64 + 10));
    QTest::mouseClick(e.form.mapPage->MapBox, Qt::LeftButton, {}, QPoint(64 + 5, 64 + 5));
    QCOMPARE(int(e.state.map.MapBytes[size_t(map.MapWidth + 1)]), block);
    QCOMPARE(e.state.core.rom.byteAt(offset), original); // only the working copy changed
    e.form.SaveRom1->trigger();
    QVERIFY(e.prompts.shown.empty());
    QCOMPARE(int(quint8(copy.read("demo.gbc").at(offset))), block);
}

void TestDemoEditor::mapFileRoundTripThroughMenus()
{
    Editor e(m_dir.path());
    QVERIFY(e.form.loadRom(m_dir.file("demo.gbc")));
    pick(e, "Routes", "Willow Path");
    const auto blocks = e.state.map.MapBytes;
    const auto encounters = e.state.encounters;
    TestDir out;
    e.prompts.chooseFile(out.file("willow.map"));
    e.form.SaveMap1->trigger();
    QCOMPARE(e.prompts.fileRequests.back().initialName, QStringLiteral("Willow Path.map"));
    e.state.map.MapBytes.fill(1);
    e.state.encounters.times[0][0] = EncounterSlot{99, 99};
    e.prompts.chooseFile(out.file("willow.map"));
    e.form.LoadMap1->trigger();
    QVERIFY2(e.prompts.shown.empty(), qPrintable(e.prompts.lastText()));
    const auto cells = size_t(e.state.core.map.cellCount());
    QVERIFY(std::equal(blocks.begin(), blocks.begin() + cells, e.state.map.MapBytes.begin()));
    QVERIFY(e.state.encounters == encounters);
    // The view shows the loaded bytes again: cell (0, 0) shows its block's picture.
    const int block = e.state.map.MapBytes[0];
    QCOMPARE(e.form.mapPage->MapBox->grab(QRect(0, 0, 64, 64)).toImage().convertToFormat(QImage::Format_RGB32),
             e.state.pictures.picture(e.state.core.map.TilesetNumber, block - 1));
}

void TestDemoEditor::gridToggleStoredAndDrawn()
{
    TestDir copy;
    QString error;
    QVERIFY2(writeDemoData(copy.path(), &error), qPrintable(error));
    Editor e(copy.path());
    QVERIFY(e.form.loadRom(copy.file("demo.gbc")));
    pick(e, "Caves", "Echo Hollow");
    QVERIFY(!e.form.Grid1->isChecked());
    e.form.Grid1->trigger();
    QVERIFY(e.form.Grid1->isChecked());
    QCOMPARE(IniFile(copy.file("Critters.ini")).readString("Settings", "Grid"), QStringLiteral("1"));
    const QImage view = e.form.mapPage->MapBox->grab().toImage();
    QCOMPARE(QColor(view.pixel(64, 70)), QColor(Qt::black));
    QCOMPARE(QColor(view.pixel(63, 70)), QColor(Qt::black));
    e.form.Grid1->trigger();
    QCOMPARE(IniFile(copy.file("Critters.ini")).readString("Settings", "Grid"), QStringLiteral("0"));
}

void TestDemoEditor::eventPressOpensDialog()
{
    Editor e(m_dir.path());
    QVERIFY(e.form.loadRom(m_dir.file("demo.gbc")));
    pick(e, "Towns", "Mossbrook Town");
    QVERIFY(e.form.BuildEvents1->isEnabled());
    e.form.show();
    e.form.TabbedNotebook1->setCurrentIndex(1);
    const TWarpRecord& warp = e.state.events.WarpTable[1];
    const QPoint square(warp.X * 32 + 5, warp.Y * 32 + 5);
    QTest::mouseMove(e.form.events->EventBox, square);
    QTest::mouseClick(e.form.events->EventBox, Qt::LeftButton, {}, square);
    QVERIFY(e.form.events->WarpForm);
    QTRY_VERIFY(e.form.events->WarpForm->isVisible());
    QCOMPARE(e.form.events->WarpForm->windowTitle(), QStringLiteral("Warp1:"));
    QVERIFY(e.form.statusText().startsWith(QStringLiteral("Y: %1 X: %2 Warp1 Offset: ").arg(warp.Y).arg(warp.X)));
}

void TestDemoEditor::blockEditorOpensOnCurrentTileset()
{
    Editor e(m_dir.path());
    QVERIFY(e.form.loadRom(m_dir.file("demo.gbc")));
    e.form.BlockEditor1->trigger();
    QCOMPARE(e.prompts.lastText(), QStringLiteral("Load tileset first!"));
    QVERIFY(!e.form.blockEditor->isVisible());
    pick(e, "Caves", "Glimmer Deep");
    e.form.BlockEditor1->trigger();
    QVERIFY(e.form.blockEditor->isVisible());
    QCOMPARE(e.form.blockEditor->windowTitle(), QStringLiteral("Block Editor - Tileset%1").arg(e.state.core.map.TilesetNumber));
    QVERIFY(e.form.blockEditor->isWindow());
}

QTEST_MAIN(TestDemoEditor)
#include "tst_demo_editor.moc"
