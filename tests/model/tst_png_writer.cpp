// The PNG writer's bands: pictures of one band, of many, of rows wider than a
// band and of a last band cut short decode to their pixels; the bytes are
// the same whether the bands are deflated on two threads or on the caller's
// thread; the file stays within 5 % of one zlib level 6 stream of the rows.
#include "model/map/png_writer.h"

#include <QBuffer>
#include <QImage>
#include <QtTest>

#include <zlib.h>

namespace {

// Rows of repeated 64-pixel blocks, as maps are, with a little noise so that
// no band deflates to almost nothing.
QImage patterned(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    quint32 noise = 12345;
    for (int y = 0; y < height; ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            noise = noise * 1103515245u + 12345u;
            const int block = (x / 64 + 3 * (y / 64)) % 5;
            row[3 * x] = uchar(block * 50 + (x % 64 < 8 ? 7 : 0));
            row[3 * x + 1] = uchar((y % 64) * 4);
            row[3 * x + 2] = uchar((noise >> 24) % 97 == 0 ? noise >> 16 : block * 31);
        }
    }
    return image;
}

// Rows of noise that repeat every `period` rows: the start of each band
// matches bytes at the end of the band before it, and nowhere else near.
QImage repeatingRows(int width, int height, int period)
{
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y) {
        quint32 noise = quint32(y % period) * 7919u + 1u;
        uchar* row = image.scanLine(y);
        for (int x = 0; x < 3 * width; ++x) {
            noise = noise * 1103515245u + 12345u;
            row[x] = uchar(noise >> 24);
        }
    }
    return image;
}

QByteArray writePng(const QImage& image, int threads, int rowsPerCall)
{
    QByteArray file;
    const AppendBytes append = [&file](const char* data, qint64 size) {
        file.append(data, qsizetype(size));
        return true;
    };
    PngRowWriter png(image.width(), image.height(), append, threads);
    for (int top = 0; top < image.height(); top += rowsPerCall) {
        const int rows = qMin(rowsPerCall, image.height() - top);
        if (!png.writeRows(image.constScanLine(top), image.bytesPerLine(), rows))
            return {};
    }
    return png.finish() ? file : QByteArray();
}

// One zlib stream at level 6 of the same image data, filter bytes included.
qint64 zlibLevel6Size(const QImage& image)
{
    QByteArray raw;
    for (int y = 0; y < image.height(); ++y)
        raw.append('\0').append(reinterpret_cast<const char*>(image.constScanLine(y)), image.width() * 3);
    uLongf size = compressBound(uLong(raw.size()));
    QByteArray out(qsizetype(size), '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(raw.constData()),
              uLong(raw.size()), 6);
    return qint64(size);
}

// The bytes of the file's IDAT chunks: the zlib stream.
qint64 idatBytes(const QByteArray& png)
{
    qint64 total = 0;
    for (qsizetype at = 8; at + 8 <= png.size();) {
        const qint64 length = qFromBigEndian<quint32>(png.constData() + at);
        if (png.mid(at + 4, 4) == "IDAT")
            total += length;
        at += 12 + length;
    }
    return total;
}

} // namespace

class TestPngWriter : public QObject {
    Q_OBJECT
private slots:
    void bandsMakeOneStream_data();
    void bandsMakeOneStream();
};

void TestPngWriter::bandsMakeOneStream_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("rowsPerCall");
    QTest::addColumn<int>("period");   // rows of noise repeating every `period` rows; 0: map-like blocks
    const int bandRows = int(PngRowWriter::BandBytes / (640 * 3 + 1)) + 1;
    QTest::newRow("one pixel") << 1 << 1 << 1 << 0;
    QTest::newRow("one band") << 640 << 64 << 64 << 0;
    QTest::newRow("bands, the last cut short") << 640 << 3 * bandRows + 17 << 64 << 0;
    QTest::newRow("bands, exactly filled") << 640 << 4 * bandRows << 7 << 0;
    QTest::newRow("rows wider than a band") << 400000 << 3 << 1 << 0;
    // 7 rows of 769 bytes: the first matches of a band reach back across its
    // edge, and the start of the band before holds other rows there.
    QTest::newRow("matches across band edges") << 256 << 3000 << 50 << 7;
}

void TestPngWriter::bandsMakeOneStream()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, rowsPerCall);
    QFETCH(int, period);
    const QImage image = period > 0 ? repeatingRows(width, height, period) : patterned(width, height);
    const QByteArray here = writePng(image, 1, rowsPerCall);
    const QByteArray spread = writePng(image, 2, rowsPerCall);
    QVERIFY(!here.isEmpty());
    QVERIFY(here == spread);

    QImage decoded;
    QVERIFY(decoded.loadFromData(here, "PNG"));
    QCOMPARE(decoded.convertToFormat(QImage::Format_RGB888), image);
    QCOMPARE(decoded.dotsPerMeterX(), 2835);
    const qint64 zlib = zlibLevel6Size(image), stream = idatBytes(here);
    QVERIFY2(stream <= 1.05 * zlib + 8, qPrintable(QStringLiteral("%1 bytes against %2").arg(stream).arg(zlib)));
}

QTEST_GUILESS_MAIN(TestPngWriter)
#include "tst_png_writer.moc"
