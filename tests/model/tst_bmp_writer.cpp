#include "model/map/bmp_writer.h"
#include "model/map/picture_file.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

namespace {

quint32 u32(const QByteArray& b, int at)
{
    return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8
        | quint32(quint8(b[at + 2])) << 16 | quint32(quint8(b[at + 3])) << 24;
}

quint16 u16(const QByteArray& b, int at)
{
    return quint16(quint8(b[at]) | quint8(b[at + 1]) << 8);
}

// Every pixel different from its neighbours, so a swapped row, column or
// colour channel shows.
QImage patterned(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 7 + y) & 0xFF, (y * 13 + x * 3) & 0xFF, (x ^ y) & 0xFF));
    return image;
}

bool samePixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return false;
    const QImage ra = a.convertToFormat(QImage::Format_RGB32);
    const QImage rb = b.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < ra.height(); ++y)
        if (std::memcmp(ra.constScanLine(y), rb.constScanLine(y), size_t(ra.width()) * 4) != 0)
            return false;
    return true;
}

} // namespace

class TestBmpWriter : public QObject {
    Q_OBJECT
private slots:
    void headerAndSize_data();
    void headerAndSize();
    void rowsBottomUpInBlueGreenRed();
    void readBackByQt_data();
    void readBackByQt();
    void writesFileAndReplacesOld();
    void uncreatablePathLeavesNoFile();
    void bandedFileMatchesWholePicture_data();
    void bandedFileMatchesWholePicture();
};

void TestBmpWriter::headerAndSize_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("rowBytes");
    QTest::newRow("3 wide, padded by 3") << 3 << 2 << 12;
    QTest::newRow("1 wide, padded by 1") << 1 << 5 << 4;
    QTest::newRow("2 wide, padded by 2") << 2 << 1 << 8;
    QTest::newRow("4 wide, no padding") << 4 << 3 << 12;
    QTest::newRow("map of 20 x 18 blocks") << 1280 << 1152 << 3840;
    QTest::newRow("block palette") << 64 << 8192 << 192;
}

void TestBmpWriter::headerAndSize()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, rowBytes);
    QCOMPARE(bmpRowBytes(width), qint64(rowBytes));

    const QByteArray b = encodeBmp24(patterned(width, height));
    const quint32 imageBytes = quint32(rowBytes) * quint32(height);
    QCOMPARE(b.size(), qsizetype(54 + imageBytes));

    QCOMPARE(b.left(2), QByteArray("BM"));
    QCOMPARE(u32(b, 2), quint32(b.size()));   // file size
    QCOMPARE(u32(b, 6), 0u);                  // reserved words
    QCOMPARE(u32(b, 10), 54u);                // pixel data offset
    QCOMPARE(u32(b, 14), 40u);                // information header size
    QCOMPARE(u32(b, 18), quint32(width));
    QCOMPARE(u32(b, 22), quint32(height));    // positive: bottom-up
    QCOMPARE(u16(b, 26), quint16(1));         // planes
    QCOMPARE(u16(b, 28), quint16(24));        // bits per pixel
    QCOMPARE(u32(b, 30), 0u);                 // no compression
    QCOMPARE(u32(b, 34), imageBytes);
    for (int at = 38; at < 54; at += 4)       // resolution, colours used, colours important
        QCOMPARE(u32(b, at), 0u);
}

void TestBmpWriter::rowsBottomUpInBlueGreenRed()
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(0x11, 0x12, 0x13));
    image.setPixel(1, 0, qRgb(0x21, 0x22, 0x23));
    image.setPixel(2, 0, qRgb(0x31, 0x32, 0x33));
    image.setPixel(0, 1, qRgb(0x41, 0x42, 0x43));
    image.setPixel(1, 1, qRgb(0x51, 0x52, 0x53));
    image.setPixel(2, 1, qRgb(0x61, 0x62, 0x63));

    const QByteArray pixels = encodeBmp24(image).mid(54);
    // The bottom row first, each pixel blue, green, red, 3 padding bytes of 0.
    const QByteArray expected = QByteArray::fromHex("434241 535251 636261 000000"
                                                    "131211 232221 333231 000000");
    QCOMPARE(pixels.toHex(' '), expected.toHex(' '));
}

void TestBmpWriter::readBackByQt_data()
{
    QTest::addColumn<QImage>("image");
    QTest::newRow("odd width") << patterned(3, 7);
    QTest::newRow("map of 20 x 18 blocks") << patterned(1280, 1152);
    QTest::newRow("block palette") << patterned(64, 8192);

    // Other formats are written as the colours they show; alpha is dropped.
    QImage argb = patterned(5, 4).convertToFormat(QImage::Format_ARGB32);
    argb.setPixel(0, 0, qRgba(10, 20, 30, 255));
    QTest::newRow("ARGB32") << argb;
    QTest::newRow("RGB888") << patterned(6, 3).convertToFormat(QImage::Format_RGB888);
    QImage indexed(5, 2, QImage::Format_Indexed8);
    indexed.setColorCount(2);
    indexed.setColor(0, qRgb(200, 100, 50));
    indexed.setColor(1, qRgb(1, 2, 3));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 5; ++x)
            indexed.setPixel(x, y, uint((x + y) % 2));
    QTest::newRow("indexed") << indexed;
}

void TestBmpWriter::readBackByQt()
{
    QFETCH(QImage, image);
    const QByteArray b = encodeBmp24(image);
    const QImage back = QImage::fromData(b, "BMP");
    QVERIFY(!back.isNull());
    QVERIFY(samePixels(back, image));
}

void TestBmpWriter::writesFileAndReplacesOld()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("map.DIB");
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'x'));   // longer than the new picture
    }
    const QImage image = patterned(9, 4);
    QString error;
    QVERIFY(writeBmp24(path, image, &error));
    QVERIFY(error.isEmpty());

    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), encodeBmp24(image));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"map.DIB"});
}

void TestBmpWriter::uncreatablePathLeavesNoFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("missing/map.DIB");
    QString error;
    QVERIFY(!writeBmp24(path, patterned(4, 4), &error));
    QCOMPARE(error, QStringLiteral("Cannot create file %1").arg(path));
    QVERIFY(!QFile::exists(path));
    QVERIFY(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());

    // A directory in the way: the directory stays, no temporary file is left.
    const QString taken = dir.filePath("taken.DIB");
    QVERIFY(QDir(dir.path()).mkdir("taken.DIB"));
    QVERIFY(!writeBmp24(taken, patterned(4, 4), &error));
    QCOMPARE(error, QStringLiteral("Cannot create file %1").arg(taken));
    QVERIFY(QFileInfo(taken).isDir());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"taken.DIB"});
}

// A picture written a band of 64 rows at a time: padded rows, a last band
// that is not whole, bands put bottom up in the BMP and top down in the PNG.
void TestBmpWriter::bandedFileMatchesWholePicture_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("one pixel") << 1 << 1;
    QTest::newRow("padded rows") << 5 << 3;
    QTest::newRow("one whole band") << 7 << 64;
    QTest::newRow("a row over a band") << 3 << 65;
    QTest::newRow("three bands, padded") << 130 << 129;
}

void TestBmpWriter::bandedFileMatchesWholePicture()
{
    QFETCH(int, width);
    QFETCH(int, height);
    const QImage image = patterned(width, height);
    QTemporaryDir dir;
    QString error;
    const QString bmp = dir.filePath("picture.DIB"), png = dir.filePath("picture.PNG");
    QVERIFY(writePictureFile(bmp, image, &error));
    QVERIFY(writePictureFile(png, image, &error));
    QFile written(bmp);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), encodeBmp24(image));
    QVERIFY(samePixels(QImage(png, "PNG"), image));
}

QTEST_GUILESS_MAIN(TestBmpWriter)
#include "tst_bmp_writer.moc"
