// File dialog filters in the catalogue-era form are turned into Qt's.
#include "widgets/qt_prompts.h"

#include <QtTest>

class TestPrompts : public QObject {
    Q_OBJECT
private slots:
    void filters_data();
    void filters();
};

void TestPrompts::filters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ROM images") << "GameBoy roms (*.GB),(*.GBC)|*.GB;*.GBC|All files (*.*)|*.*"
                                << "GameBoy roms (*.GB),(*.GBC) (*.GB *.GBC);;All files (*.*) (*)";
    QTest::newRow("maps") << "Maps (*.map)|*.map|All Files (*.*)|*.*" << "Maps (*.map) (*.map);;All Files (*.*) (*)";
    QTest::newRow("odd part dropped") << "Pictures|*.DIB|dangling" << "Pictures (*.DIB)";
    QTest::newRow("empty") << "" << "";
}

void TestPrompts::filters()
{
    QFETCH(QString, filter);
    QFETCH(QString, expected);
    QCOMPARE(qtFileFilter(filter), expected);
}

QTEST_GUILESS_MAIN(TestPrompts)
#include "tst_prompts.moc"
