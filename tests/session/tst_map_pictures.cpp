// Save Map Picture on every demo map, grid on and off: the BMP and the PNG,
// both written a band at a time, decode to exactly the pixels of the whole
// picture as Qt's own writer saves it.
#include "session/catalogue_maps.h"
#include "session/editor_session.h"
#include "model/map/map_renderer.h"
#include "demo_data.h"
#include "support/scripted_prompts.h"

#include <QTemporaryDir>
#include <QtTest>

class TestMapPictures : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void pixelsAsTheWholePicture_data();
    void pixelsAsTheWholePicture();

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

QTEST_MAIN(TestMapPictures)
#include "tst_map_pictures.moc"
