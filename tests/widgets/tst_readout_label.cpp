// The read-out panel draws what a label with its text and size shows.
#include "widgets/readout_label.h"

#include <QtTest>

class TestReadoutLabel : public QObject {
    Q_OBJECT
private slots:
    void drawnAsALabel_data();
    void drawnAsALabel();
};

void TestReadoutLabel::drawnAsALabel_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("map read-out") << QStringLiteral("X: 3 Y: 1 Block: 0A Offset: 1A2B");
    QTest::newRow("message, kerned") << QStringLiteral("Click \"File/Load...\" to load rom.");
    QTest::newRow("cut at the edge") << QStringLiteral("Saved a long name.gbc. Kept the previous file as a long name.gbc.bak.");
    QTest::newRow("other script") << QStringLiteral("Карта: Лес Y: 2");
}

void TestReadoutLabel::drawnAsALabel()
{
    QFETCH(QString, text);
    QWidget window;
    QLabel label(text, &window);
    label.setAutoFillBackground(true);
    ReadoutLabel readout(QStringLiteral("before"), &window);
    readout.setText(text);
    for (QLabel* panel : {&label, static_cast<QLabel*>(&readout)})
        panel->setFixedSize(200, label.sizeHint().height());
    // The text's pixels: their bounds, and how many.
    const auto ink = [](const QImage& image, int* count) {
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != image.pixel(image.width() - 1, 0) && ++*count)
                    box |= QRect(x, y, 1, 1);
        return box;
    };
    int want = 0, got = 0;
    // The same place and extent; edge pixels may differ where a glyph lands
    // on another fraction of a pixel.
    QCOMPARE(ink(readout.grab().toImage(), &got), ink(label.grab().toImage(), &want));
    QVERIFY2(qAbs(got - want) * 50 <= want, qPrintable(QStringLiteral("%1 against %2").arg(got).arg(want)));
}

QTEST_MAIN(TestReadoutLabel)
#include "tst_readout_label.moc"
