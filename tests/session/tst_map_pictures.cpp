// Save Map Picture on every demo map, grid on and off: the BMP and the PNG,
// both written a band at a time, decode to exactly the pixels of the whole
// picture as Qt's own writer saves it. A picture stopped before it is whole
// leaves no file, no temporary, and an old file of its name as it was.
#include "session/catalogue_maps.h"
#include "session/editor_session.h"
#include "session/map_picture_job.h"
#include "base/work_progress.h"
#include "model/map/picture_file.h"
#include "model/map/map_renderer.h"
#include "demo_data.h"
#include "support/scripted_prompts.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstring>
#include <QtTest>

class TestMapPictures : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void pixelsAsTheWholePicture_data();
    void pixelsAsTheWholePicture();
    void stoppedPictureLeavesNoFile_data();
    void stoppedPictureLeavesNoFile();
    void stoppedJobSaysSo_data();
    void stoppedJobSaysSo();

private:
    QTemporaryDir m_dir;
};

void TestMapPictures::initTestCase()
{
    QString error;
    QVERIFY2(writeDemoData(m_dir.path(), &error), qPrintable(error));
}

void TestMapPictures::pixelsAsTheWholePicture_data()
{
    QTest::addColumn<QString>("map");
    QTest::addColumn<bool>("grid");
    QTest::addColumn<QString>("file");
    EditorState state(m_dir.path());
    const QList<CatalogueMap> maps = catalogueMaps(state.core.catalogue.MainIni);
    QVERIFY(maps.size() >= 5);
    for (const CatalogueMap& m : maps)
        for (bool grid : {false, true})
            for (const char* file : {"map.png", "map.DIB"})
                QTest::addRow("%s, grid %s, %s", qPrintable(m.name), grid ? "on" : "off", file)
                    << m.name << grid << QString::fromLatin1(file);
}

void TestMapPictures::pixelsAsTheWholePicture()
{
    QFETCH(QString, map);
    QFETCH(bool, grid);
    QFETCH(QString, file);
    EditorState state(m_dir.path());
    ScriptedPrompts prompts;
    EditorSession session(state, prompts);
    QVERIFY(session.loadRom(m_dir.filePath(QStringLiteral("demo.gbc"))).isDone());
    QVERIFY(session.pickMap(map).outcome.isDone());
    MapRenderer renderer(state.core.map, state.map, state.pictures);
    renderer.setGrid(grid);

    QTemporaryDir out;
    const QString before = out.filePath(QStringLiteral("qt.png")), now = out.filePath(file);
    QVERIFY(renderer.picture().save(before, "PNG"));
    QString error;
    QVERIFY2(renderer.writePicture(now, &error), qPrintable(error));
    const QImage expected(before), written(now, file.endsWith(QStringLiteral(".DIB")) ? "BMP" : nullptr);
    QVERIFY(!expected.isNull() && !written.isNull());
    QCOMPARE(written.convertToFormat(QImage::Format_RGB32), expected.convertToFormat(QImage::Format_RGB32));
    if (file.endsWith(QStringLiteral(".png"))) {
        QCOMPARE(written.dotsPerMeterX(), 2835);
        QCOMPARE(written.hasAlphaChannel(), false);
    }
}

namespace {
const QByteArray OldFile = QByteArrayLiteral("an older picture");
}

void TestMapPictures::stoppedPictureLeavesNoFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("stopInBand");   // -1: not stopped
    QTest::addColumn<bool>("oldFile");
    for (const char* file : {"map.png", "map.DIB"})
        for (int band : {0, 2, 3, -1})
            for (bool old : {false, true})
                QTest::addRow("%s, stop in band %d, %s", file, band, old ? "old file" : "no file")
                    << QString::fromLatin1(file) << band << old;
}

void TestMapPictures::stoppedPictureLeavesNoFile()
{
    // Four bands of 64 rows; the stop comes while band `stopInBand` is drawn,
    // so the last band's stop is seen only once every row has gone out.
    QFETCH(QString, file);
    QFETCH(int, stopInBand);
    QFETCH(bool, oldFile);
    QTemporaryDir out;
    const QString path = out.filePath(file);
    if (oldFile) {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write(OldFile) == OldFile.size());
    }
    WorkProgress progress;
    QList<qint64> reports;
    progress.observer = [&](qint64 done, qint64 total) {
        QCOMPARE(total, 256);
        reports.append(done);
    };
    int band = 0;
    QString error;
    const bool written = writePictureInBands(path, 64, 256, 64, [&](const PackedRows& rows) {
        for (int i = 0; i < rows.rows; ++i)
            std::memset(rows.row(i), rows.top + i, 64 * 3);
        if (band++ == stopInBand)
            progress.stop();
    }, &error, 1, &progress);

    QCOMPARE(written, stopInBand < 0);
    const QStringList left = QDir(out.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    if (written) {
        QCOMPARE(reports, (QList<qint64>{0, 64, 128, 192, 256}));
        QCOMPARE(left, QStringList{file});
        QCOMPARE(QImage(path, file.endsWith(QStringLiteral(".DIB")) ? "BMP" : nullptr).pixel(0, 200),
                 qRgb(200, 200, 200));
        return;
    }
    // No band is drawn after the stop; the report before the next band sees it.
    QCOMPARE(band, stopInBand + 1);
    QCOMPARE(reports.size(), qMin(stopInBand + 2, 4));
    QCOMPARE(left, oldFile ? QStringList{file} : QStringList{});
    if (oldFile) {
        QFile old(path);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), OldFile);
    }
}

void TestMapPictures::stoppedJobSaysSo_data()
{
    // When the stop comes: 0 at the first report, 1 at the last one (the
    // picture whole), 2 after the worker ended, before the hand-over; 3 never.
    // Until the hand-over a stop leaves no file and the old one as it was.
    QTest::addColumn<int>("when");
    QTest::newRow("at the start") << 0;
    QTest::newRow("once whole") << 1;
    QTest::newRow("worker ended, before the hand-over") << 2;
    QTest::newRow("not stopped") << 3;
}

void TestMapPictures::stoppedJobSaysSo()
{
    QFETCH(int, when);
    EditorState state(m_dir.path());
    ScriptedPrompts prompts;
    EditorSession session(state, prompts);
    QVERIFY(session.loadRom(m_dir.filePath(QStringLiteral("demo.gbc"))).isDone());
    QVERIFY(session.pickMap(catalogueMaps(state.core.catalogue.MainIni).first().name).outcome.isDone());
    QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("map.png"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write(OldFile) == OldFile.size());
    old.close();
    MapPictureJob job;
    job.progress().observer = [&](qint64 done, qint64 total) {
        if ((when == 0 && done != total) || (when == 1 && done == total))
            job.cancel();
    };
    QSignalSpy finished(&job, &MapPictureJob::finished);
    QVERIFY(job.start(state.core.map, state.map, state.pictures, false, path));
    if (when == 2) {
        job.waitForWorker();
        QCOMPARE(finished.count(), 0);
        job.cancel();
    }
    QVERIFY(finished.wait(10000));
    const bool stopped = when != 3;
    QCOMPARE(finished.at(0), (QVariantList{path, QString(), stopped}));
    QCOMPARE(QDir(out.path()).entryList(QDir::Files), QStringList{QStringLiteral("map.png")});
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(bytes == OldFile, stopped);
    QCOMPARE(bytes.startsWith("\x89PNG"), !stopped);
}

QTEST_MAIN(TestMapPictures)
#include "tst_map_pictures.moc"
