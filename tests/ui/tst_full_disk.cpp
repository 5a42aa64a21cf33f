// The user's writes onto a disk with no room left: Save Map over an old map
// file, Save Map Picture over an old BMP or PNG picture, the Grid toggle over
// Critters.ini, and an event rebuild over Events.ini each leave the old file byte for byte, leave the ROM image as it
// was, and say so with the platform's message.
#include "ui/main/map_file_commands.h"
#include "ui/main/main_form.h"
#include "ui/events/event_builder.h"
#include "ui/events/events_editor.h"
#include "support/low_disk_space.h"
#include "ui_support/editor_fixture.h"

#include <QAction>
#include <QDir>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include <functional>

namespace {

using FreeBytes = LowDiskSpace;

// Runs the user's action on the editor; the file it writes and the message
// expected when the write fails.
struct Action {
    std::function<void(EditorFixture&)> prepare;
    std::function<void(EditorFixture&)> run;
    QString file;    // relative to the program folder
    QString message; // %1: the file's path
};

QByteArray catalogueEvents()
{
    return "[Alpha Town]\r\n; the town's tables\r\nWarps=1\r\nWarp offset=$1101\r\nSingposts=1\r\n"
           "Singpost offset=$1108\r\nPeoples=1\r\nPeople offset=$110E\r\n";
}

} // namespace

Q_DECLARE_METATYPE(Action)

class TestFullDisk : public QObject {
    Q_OBJECT
private slots:
    void oldFileStays_data();
    void oldFileStays();
};

void TestFullDisk::oldFileStays_data()
{
    QTest::addColumn<Action>("action");
    QTest::addColumn<qint64>("room");

    const Action saveMap{
        [](EditorFixture& f) { f.dir.write("Alpha Town.map", QByteArray(200, 'o')); },
        [](EditorFixture& f) {
            f.prompts.chooseFile(f.dir.file("Alpha Town.map"));
            f.form->findChild<QAction*>("SaveMap1")->trigger();
        },
        "Alpha Town.map", "Cannot create file %1"};
    const auto savePicture = [](const QString& name) {
        return Action{[name](EditorFixture& f) { f.dir.write(name, QByteArray(300, 'o')); },
                      [name](EditorFixture& f) {
                          f.prompts.chooseFile(f.dir.file(name));
                          f.form->findChild<QAction*>("SaveMapPicture1")->trigger();
                          f.form->mapFiles->finishRunning();
                      },
                      name, "Cannot create file %1"};
    };
    const Action grid{
        [](EditorFixture&) {},
        [](EditorFixture& f) { f.form->Grid1->trigger(); },
        "Critters.ini", "Unable to write to %1"};
    const Action rebuild{
        [](EditorFixture& f) { f.dir.write("Events.ini", catalogueEvents()); },
        [](EditorFixture& f) {
            f.form->findChild<QAction*>("BuildEvents1")->trigger();
            TEventBuilder* builder = f.form->events->EventBuilder;
            QVERIFY(builder);
            builder->PeopNum->setValue(2);
            QTest::mouseClick(builder->Button1, Qt::LeftButton);
        },
        "Events.ini", "Unable to write to %1"};
    for (qint64 room : {0, 1, 30, 200}) {
        QTest::addRow("map picture BMP, %lld bytes free", room) << savePicture("old.DIB") << room;
        QTest::addRow("map picture PNG, %lld bytes free", room) << savePicture("old.png") << room;
        if (room > 30)
            continue;
        QTest::addRow("save map, %lld bytes free", room) << saveMap << room;
        QTest::addRow("grid toggle, %lld bytes free", room) << grid << room;
        QTest::addRow("event rebuild, %lld bytes free", room) << rebuild << room;
    }
}

void TestFullDisk::oldFileStays()
{
    QFETCH(Action, action);
    QFETCH(qint64, room);
    EditorFixture f;
    action.prepare(f);
    f.openWithRom();
    f.pickMap("Towns", "Alpha Town");
    QCOMPARE(f.state->core.map.name, QStringLiteral("Alpha Town"));
    f.prompts.shown.clear();
    const QByteArray fileBefore = f.dir.read(action.file);
    const QByteArray romBefore = f.state->core.rom.bytes();
    const QStringList filesBefore = QDir(f.dir.path()).entryList(QDir::Files);
    {
        FreeBytes full(room);
        action.run(f);
    }
    const QString path = f.dir.file(action.file);
    QVERIFY2(f.prompts.texts().contains(action.message.arg(path)), qPrintable(f.prompts.texts().join('\n')));
    QCOMPARE(f.dir.read(action.file), fileBefore);
    QCOMPARE(f.state->core.rom.bytes(), romBefore);
    QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files), filesBefore);

    // With room again the same action goes through.
    f.prompts.shown.clear();
    action.run(f);
    QVERIFY2(!f.prompts.texts().contains(action.message.arg(path)), qPrintable(f.prompts.texts().join('\n')));
}

QTEST_MAIN(TestFullDisk)
#include "tst_full_disk.moc"
