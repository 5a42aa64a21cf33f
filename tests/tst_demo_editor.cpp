// The editor on the demo data: every map of the demo catalogue opens, and the
// ROM-wide commands find what they need in the demo image.
#include "app/editor_state.h"
#include "app/main_form.h"
#include "demo_data.h"
#include "encounters/wild_critters_page.h"
#include "patches/rom_options_form.h"
#include "patches/start_menu_options.h"
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
            QCOMPARE(e.form.windowTitle(), QStringLiteral("Kartola - ") + name);
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
            e.form.SaveRom1->trigger();
        }
    }
    QVERIFY(e.prompts.shown.empty());
    QCOMPARE(copy.read("demo.gbc"), original);
}

QTEST_MAIN(TestDemoEditor)
#include "tst_demo_editor.moc"
