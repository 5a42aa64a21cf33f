// The read-out panel draws what a label with its text and size shows.
#include "widgets/readout_label.h"

#include <QImage>
#include <QtTest>

class TestReadoutLabel : public QObject {
    Q_OBJECT
private slots:
    void drawnAsALabel_data();
    void drawnAsALabel();
};

namespace {
// The text's pixels: the smallest rectangle holding every pixel that differs
// from the background, and how many there are.
QRect ink(const QImage& image, int* count)
{
    const QRgb background = image.pixel(image.width() - 1, 0);
    QRect box;
    *count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background) {
                box |= QRect(x, y, 1, 1);
                ++*count;
            }
    return box;
}
}

void TestReadoutLabel::drawnAsALabel_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("map read-out") << QStringLiteral("X: 3 Y: 1 Block: 0A Offset: 1A2B");
    QTest::newRow("palette read-out") << QStringLiteral("Block: 80 Offset: B3B0");
    QTest::newRow("message") << QStringLiteral("Click \"File/Load...\" to load rom.");
    QTest::newRow("cut at the edge") << QStringLiteral("Saved a very long file name.gbc. Kept the previous file as a very long file name.gbc.bak.");
    QTest::newRow("other script") << QStringLiteral("Карта: Лес Y: 2");
    QTest::newRow("empty") << QString();
}

void TestReadoutLabel::drawnAsALabel()
{
    QFETCH(QString, text);
    QWidget window;
    auto* label = new QLabel(text, &window);
    label->setAutoFillBackground(true);
    auto* readout = new ReadoutLabel(QStringLiteral("before"), &window);
    readout->setText(text);
    for (QLabel* panel : {label, static_cast<QLabel*>(readout)})
        panel->setFixedSize(200, label->sizeHint().height());
    readout->move(0, 40);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QImage want = label->grab().toImage(), got = readout->grab().toImage();
    int wantCount = 0, gotCount = 0;
    const QRect wantInk = ink(want, &wantCount), gotInk = ink(got, &gotCount);
    // The same place and extent, glyph for glyph; edge pixels may differ
    // where a glyph lands on another fraction of a pixel.
    QCOMPARE(gotInk, wantInk);
    QVERIFY2(qAbs(gotCount - wantCount) * 50 <= wantCount, qPrintable(QStringLiteral("%1 against %2").arg(gotCount).arg(wantCount)));
}

QTEST_MAIN(TestReadoutLabel)
#include "tst_readout_label.moc"
