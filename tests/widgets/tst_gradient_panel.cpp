// The title strip's gradient: band colours and band edges.
#include "widgets/gradient_panel.h"
#include "base/mul_div.h"

#include <QImage>
#include <QtTest>

class TestGradientPanel : public QObject {
    Q_OBJECT
private slots:
    void mulDivRounds_data();
    void mulDivRounds();
    void yellowToRedBands();
    void equalColoursGiveOneColour();
    void bandsCoverTheWidth_data();
    void bandsCoverTheWidth();
    void paintedPixels();
    void captionDrawnOverGradient();
};

void TestGradientPanel::mulDivRounds_data()
{
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("c");
    QTest::addColumn<int>("expected");
    QTest::newRow("exact") << 10 << 10 << 5 << 20;
    QTest::newRow("half up") << 127 << 255 << 254 << 128;      // 127.5
    QTest::newRow("half away from zero") << 127 << -255 << 254 << -128;
    QTest::newRow("below half") << 1 << 1 << 3 << 0;
    QTest::newRow("above half") << 2 << 1 << 3 << 1;
    QTest::newRow("no 32-bit overflow") << 2000000000 << 2000000000 << 2000000000 << 2000000000;
    QTest::newRow("divide by zero") << 1 << 1 << 0 << -1;
}

void TestGradientPanel::mulDivRounds()
{
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, c);
    QFETCH(int, expected);
    QCOMPARE(MulDiv(a, b, c), expected);
}

void TestGradientPanel::yellowToRedBands()
{
    TgradientPanel panel;
    panel.setBeginColor(Qt::yellow);
    panel.setEndColor(Qt::red);
    const auto colors = panel.bandColors();
    for (int k = 0; k < 255; ++k) {
        QCOMPARE(colors[size_t(k)].red(), 255);
        QCOMPARE(colors[size_t(k)].blue(), 0);
    }
    QCOMPARE(colors[0].green(), 255);
    QCOMPARE(colors[127].green(), 127);
    QCOMPARE(colors[254].green(), 0);
    for (int k = 1; k < 255; ++k)
        QVERIFY(colors[size_t(k)].green() <= colors[size_t(k - 1)].green());
}

void TestGradientPanel::equalColoursGiveOneColour()
{
    TgradientPanel panel;
    panel.setBeginColor(QColor(10, 20, 30));
    panel.setEndColor(QColor(10, 20, 30));
    for (const QColor& c : panel.bandColors())
        QCOMPARE(c, QColor(10, 20, 30));
}

void TestGradientPanel::bandsCoverTheWidth_data()
{
    QTest::addColumn<int>("width");
    QTest::newRow("255 wide") << 255;
    QTest::newRow("narrow") << 100;
    QTest::newRow("wide") << 518;
}

void TestGradientPanel::bandsCoverTheWidth()
{
    QFETCH(int, width);
    QCOMPARE(TgradientPanel::bandLeft(0, width), 0);
    QCOMPARE(TgradientPanel::bandLeft(255, width), width);
    for (int k = 0; k < 255; ++k) {
        const int w = TgradientPanel::bandLeft(k + 1, width) - TgradientPanel::bandLeft(k, width);
        QVERIFY(w >= 0);
        if (width == 255)
            QCOMPARE(w, 1);
    }
}

void TestGradientPanel::paintedPixels()
{
    TgradientPanel panel;
    panel.setBeginColor(Qt::yellow);
    panel.setEndColor(Qt::red);
    panel.resize(255, 33);
    const QImage image = panel.render();
    // One-pixel bands: pixel k shows band k.
    QCOMPARE(QColor(image.pixel(0, 10)), QColor(255, 255, 0));
    QCOMPARE(QColor(image.pixel(127, 10)), QColor(255, 127, 0));
    QCOMPARE(QColor(image.pixel(254, 32)), QColor(255, 0, 0));
    // A narrow panel still runs from the begin colour towards the end colour.
    panel.resize(50, 10);
    const QImage narrow = panel.render();
    // Bands of width 0 draw nothing, so the first pixel shows a band near the start.
    QVERIFY(QColor(narrow.pixel(0, 5)).green() >= 250);
    QCOMPARE(QColor(narrow.pixel(0, 5)).red(), 255);
    QVERIFY(QColor(narrow.pixel(49, 5)).green() < 10);
}

void TestGradientPanel::captionDrawnOverGradient()
{
    TgradientPanel panel;
    panel.setBeginColor(Qt::white);
    panel.setEndColor(Qt::white);
    panel.resize(200, 40);
    QCOMPARE(panel.render(), [] { QImage i(200, 40, QImage::Format_RGB32); i.fill(Qt::white); return i; }());
    panel.setCaption(QStringLiteral("WWWW"));
    const QImage image = panel.render();
    bool inked = false;
    for (int y = 0; y < 40 && !inked; ++y)
        for (int x = 0; x < 4; ++x)
            QCOMPARE(QColor(image.pixel(x, y)), QColor(Qt::white)); // text starts at x = 4
    for (int y = 0; y < 40 && !inked; ++y)
        for (int x = 4; x < 100 && !inked; ++x)
            inked = QColor(image.pixel(x, y)) != QColor(Qt::white);
    QVERIFY(inked);
}

QTEST_MAIN(TestGradientPanel)
#include "tst_gradient_panel.moc"
