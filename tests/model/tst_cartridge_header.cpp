// The cartridge header's checksums.
#include "model/rom/cartridge_header.h"

#include <QtTest>

class TestCartridgeHeader : public QObject {
    Q_OBJECT
private slots:
    void checksums_data();
    void checksums();
};

void TestCartridgeHeader::checksums_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<int>("storedGlobal");   // -1: too short for a header
    QTest::addColumn<QByteArray>("fixed");   // bytes 0x14D..0x14F once set
    QByteArray ones(0x8000, 1);
    QTest::newRow("32 KiB of ones") << ones << 0x0101 << QByteArray::fromHex("ce80cb");
    QByteArray title(0x150, 0);
    title.replace(0x134, 25, QByteArray(25, char(0xFF)));
    title[0x14D] = char(0x55);
    title[0x14E] = char(0x12);
    title[0x14F] = char(0x34);   // high byte first; the global sum leaves both out
    QTest::newRow("0x134..0x14C all FF") << title << 0x1234 << QByteArray::fromHex("0018e7");
    QTest::newRow("one byte short") << QByteArray(0x14F, 0) << -1 << QByteArray(2, 0);
}

void TestCartridgeHeader::checksums()
{
    QFETCH(QByteArray, image);
    QFETCH(int, storedGlobal);
    QFETCH(QByteArray, fixed);
    const std::optional<CartridgeHeader::Checksums> before = CartridgeHeader::checksums(image);
    QCOMPARE(before.has_value(), storedGlobal >= 0);
    QByteArray set = image;
    QCOMPARE(CartridgeHeader::setChecksums(set), storedGlobal >= 0);
    QCOMPARE(set.mid(0x14D, 3), fixed);
    if (!before)
        return;
    QCOMPARE(int(before->storedGlobal), storedGlobal);
    const std::optional<CartridgeHeader::Checksums> after = CartridgeHeader::checksums(set);
    QVERIFY(after->headerMatches() && after->globalMatches());
}

QTEST_APPLESS_MAIN(TestCartridgeHeader)
#include "tst_cartridge_header.moc"
