// Tiled maps in the editor: the shown map goes out with its unsaved edits,
// and what comes back is one undo entry through the whole-image step, after
// the pick's question; a refused file changes nothing and makes no entry.
#include "session/editor_session.h"
#include "session/tiled_image_change.h"
#include "session/tiled_link.h"
#include "session_rig.h"

#include <QElapsedTimer>
#include <QStandardPaths>
#include <QtTest>

namespace {

constexpr qint64 RouteMap = 0x3000;   // "Route 1", 20 x 18
constexpr qint64 AlphaMap = 0x1000;   // "Alpha Town", 10 x 9

struct Rig : SessionRig {
    // Block 2 into the first three cells.
    void paint() { SessionRig::paint(2, 3); }
    // The file's first row of ids with its first id replaced by `id`.
    static bool editFirstCell(const QString& path, int id)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadWrite))
            return false;
        QString text = QString::fromUtf8(file.readAll());
        const qsizetype at = text.indexOf(QStringLiteral("<data encoding=\"csv\">\n")) + 22;
        text.replace(at, text.indexOf(QLatin1Char(','), at) - at, QString::number(id));
        file.resize(0);
        file.seek(0);
        return file.write(text.toUtf8()) > 0;
    }
};

} // namespace

class TestTiledImageChange : public QObject {
    Q_OBJECT
private slots:
    void importIsOneUndoEntry_data();
    void importIsOneUndoEntry();
    void refusalChangesNothing();
    void savesInTiledComeBack_data();
    void savesInTiledComeBack();
};

void TestTiledImageChange::importIsOneUndoEntry_data()
{
    QTest::addColumn<bool>("folder");   // every map exported and imported, or the shown one
    QTest::addColumn<int>("answer");    // to the pick's question about the painting
    QTest::addColumn<QString>("entry");
    QTest::newRow("shown map, painting kept") << false << int(Prompts::Answer::Yes) << "Import from Tiled Route 1";
    QTest::newRow("shown map, painting dropped") << false << int(Prompts::Answer::No) << "Import from Tiled Route 1";
    QTest::newRow("folder of every map") << true << int(Prompts::Answer::Yes) << "Import from Tiled maps";
}

void TestTiledImageChange::importIsOneUndoEntry()
{
    QFETCH(bool, folder);
    QFETCH(int, answer);
    QFETCH(QString, entry);
    Rig rig;
    const QByteArray original = rig.image();
    rig.paint();
    const QString dir = rig.files.dir.file(QStringLiteral("maps"));
    QString route;
    TiledImageChange tiled(*rig.session);
    if (folder) {
        QStringList lines;
        // "Gamma" is listed with no section: said, and the other maps written.
        const SessionOutcome exported = tiled.exportAll(dir, &lines);
        QVERIFY(exported.refusal.contains(QStringLiteral("Gamma")));
        route = dir + QStringLiteral("/Route 1.tmx");
        QVERIFY(Rig::editFirstCell(dir + QStringLiteral("/Alpha Town.tmx"), 4));
    } else {
        QVERIFY(tiled.exportShown(dir, &route).isDone());
    }
    QVERIFY(Rig::editFirstCell(route, 5));   // block 4 into the first cell
    QCOMPARE(rig.image(), original);          // nothing written yet

    rig.prompts.answer(Prompts::Answer(answer));
    const SessionOutcome imported = tiled.import(folder ? dir : route);
    QVERIFY2(imported.isDone(), qPrintable(imported.refusal));
    QCOMPARE(rig.prompts.shown.size(), size_t(1));   // the pick's question only
    QByteArray expected = original;
    // The export held the painting (the folder: as Save Rom writes it), so the import brings it back.
    expected.replace(RouteMap, 3, QByteArray::fromHex("040202"));
    if (folder)
        expected[AlphaMap] = 3;
    QCOMPARE(rig.image(), expected);
    QCOMPARE(rig.state->map.MapBytes[0], quint8(4));
    QCOMPARE(rig.session->undoStack().count(), answer == int(Prompts::Answer::Yes) ? 2 : 1);
    QCOMPARE(rig.session->undoStack().text(rig.session->undoStack().count() - 1), entry);
    rig.session->undoStack().undo();
    QByteArray before = original;
    if (answer == int(Prompts::Answer::Yes))
        before.replace(RouteMap, 3, QByteArray(3, '\x02'));
    QCOMPARE(rig.image(), before);
}

void TestTiledImageChange::refusalChangesNothing()
{
    Rig rig;
    QString route;
    TiledImageChange tiled(*rig.session);
    QVERIFY(tiled.exportShown(rig.files.dir.file(QStringLiteral("maps")), &route).isDone());
    QVERIFY(Rig::editFirstCell(route, 0));
    const QByteArray original = rig.image();
    const SessionOutcome imported = tiled.import(route);
    QVERIFY(imported.isRefused());
    QVERIFY2(imported.refusal.endsWith(QStringLiteral("Route 1.tmx: Cell (0, 0) is empty.")), qPrintable(imported.refusal));
    QCOMPARE(rig.image(), original);
    QCOMPARE(rig.session->undoStack().count(), 0);
    QCOMPARE(tiled.import(rig.files.dir.file(QStringLiteral("none.tmx"))).refusal,
             QStringLiteral("Cannot open file %1").arg(rig.files.dir.file(QStringLiteral("none.tmx"))));
}

void TestTiledImageChange::savesInTiledComeBack_data()
{
    QTest::addColumn<bool>("editedHere");   // painted here after the map went to Tiled
    QTest::addColumn<QList<int>>("answers");   // which to keep; then the pick's question about the painting
    QTest::addColumn<bool>("taken");
    const int yes = int(Prompts::Answer::Yes), no = int(Prompts::Answer::No);
    QTest::newRow("only Tiled edited") << false << QList<int>{} << true;
    QTest::newRow("both, Tiled's taken") << true << QList<int>{yes, no} << true;
    QTest::newRow("both, ours kept") << true << QList<int>{no} << false;
}

void TestTiledImageChange::savesInTiledComeBack()
{
    QFETCH(bool, editedHere);
    QFETCH(QList<int>, answers);
    QFETCH(bool, taken);
    QStandardPaths::setTestModeEnabled(true);
    Rig rig;
    const QByteArray original = rig.image();
    TiledLink link(*rig.session);
    QVERIFY(link.start(QString()).isDone());   // no command: written and watched only
    QVERIFY(link.file().startsWith(TiledLink::folderFor(QStringLiteral("Route 1"))));
    if (editedHere)
        rig.paint();
    const int entries = rig.session->undoStack().count();
    for (int answer : answers)
        rig.prompts.answer(Prompts::Answer(answer));
    QSignalSpy handled(&link, &TiledLink::saveHandled);
    QElapsedTimer timer;
    timer.start();
    QVERIFY(Rig::editFirstCell(link.file(), 5));
    QVERIFY(handled.wait(5000));
    QVERIFY2(timer.elapsed() < 500, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(rig.prompts.shown.size(), size_t(answers.size()));
    QCOMPARE(handled.at(0).at(0).value<SessionOutcome>().isDone(), taken);
    QCOMPARE(rig.state->map.MapBytes[0], quint8(taken ? 4 : editedHere ? 2 : original[RouteMap]));
    // The painting dropped for Tiled's save leaves one entry, the import.
    QCOMPARE(rig.session->undoStack().count(), taken ? (editedHere ? 1 : entries + 1) : entries);
    if (taken)
        QCOMPARE(rig.session->undoStack().text(rig.session->undoStack().count() - 1),
                 QStringLiteral("Import from Tiled Route 1"));
    // The same file again is no new save.
    QVERIFY(!handled.wait(TiledLink::SettleMs * 3));
    QDir(TiledLink::folderFor(QStringLiteral("Route 1"))).removeRecursively();
}

QTEST_GUILESS_MAIN(TestTiledImageChange)
#include "tst_tiled_image_change.moc"
