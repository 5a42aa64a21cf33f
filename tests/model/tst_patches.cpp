#include "model/rom/bps_patch.h"
#include "model/rom/crc32.h"
#include "model/rom/ips_patch.h"

#include <QRandomGenerator>
#include <QtTest>
#include <zlib.h>

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

QByteArray noise(qint64 size, quint32 seed)
{
    QByteArray out(size, '\0');
    QRandomGenerator random(seed);
    for (qint64 i = 0; i < size; ++i)
        out[i] = char(random.bounded(256));
    return out;
}

quint32 zlibCrc(const QByteArray& b)
{
    return quint32(crc32(0L, reinterpret_cast<const Bytef*>(b.constData()), uInt(b.size())));
}

void appendLe32(QByteArray& out, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        out.append(char(v >> (8 * i)));
}

// Finishes a hand-made BPS body: the source, target and patch checksums.
QByteArray bpsFooter(QByteArray body, const QByteArray& source, const QByteArray& target)
{
    appendLe32(body, zlibCrc(source));
    appendLe32(body, zlibCrc(target));
    appendLe32(body, zlibCrc(body));
    return body;
}

PatchResult apply(const QString& format, const QByteArray& source, const QByteArray& patch)
{
    return format == "ips" ? applyIpsPatch(source, patch) : applyBpsPatch(source, patch);
}

} // namespace

class TestPatches : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void movedDataIsCopied_data();
    void movedDataIsCopied();
    void publishedFormat_data();
    void publishedFormat();
    void refused_data();
    void refused();
    void ipsRefusesOver16MiB();
    void ipsBounds_data();
    void ipsBounds();
    void crcIsZlibs();
};

void TestPatches::roundTrip_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<QByteArray>("ips"); // the IPS patch expected byte for byte, where given

    const QByteArray one = bytes({0x42});
    QTest::newRow("0 bytes") << QByteArray() << QByteArray() << QByteArray("PATCHEOF");
    QTest::newRow("0 bytes to 1") << QByteArray() << one << QByteArray("PATCH") + bytes({0, 0, 0, 0, 1, 0x42}) + "EOF";
    QTest::newRow("1 byte changed") << one << bytes({0x43}) << QByteArray();
    QTest::newRow("1 byte kept") << one << one << QByteArray();
    QTest::newRow("1 byte to 0") << one << QByteArray() << QByteArray("PATCHEOF") + bytes({0, 0, 0});

    // A record may not start at 0x454F46, whose offset bytes spell "EOF": it
    // starts one byte earlier and writes the target's byte there again.
    const qint64 eof = 0x454F46;
    const QByteArray plain(eof + 0x1000, '\x11');
    QByteArray lone = plain;
    lone[eof] = '\x22';
    QTest::newRow("lone change at 0x454F46") << plain << lone
        << QByteArray("PATCH") + bytes({0x45, 0x4F, 0x45, 0x00, 0x02, 0x11, 0x22}) + "EOF";
    // Changes from 0xFFFF bytes before it to 3 bytes past it: a full record,
    // then the next would begin at 0x454F46.
    QByteArray span = plain;
    for (qint64 at = eof - 0xFFFF; at < eof + 3; ++at)
        span[at] = char(0x20 + at % 200);
    QTest::newRow("record after a full one at 0x454F46") << plain << span
        << QByteArray("PATCH") + bytes({0x44, 0x4F, 0x47, 0xFF, 0xFF}) + span.mid(eof - 0xFFFF, 0xFFFF)
               + bytes({0x45, 0x4F, 0x45, 0x00, 0x04}) + span.mid(eof - 1, 4) + "EOF";

    // 8 MiB with changes scattered, one over the offset that spells "EOF",
    // one longer than an IPS record, a run of one byte, and the last byte.
    const qint64 big = 8 * 1024 * 1024;
    const QByteArray original = noise(big, 1);
    QByteArray edited = original;
    QRandomGenerator random(2);
    for (int i = 0; i < 500; ++i)
        edited[random.bounded(int(big))] = char(random.bounded(256));
    for (qint64 at : {0x454F44, 0x454F46, 0x454F47})
        edited[at] = char(~edited[at]);
    edited.replace(0x100000, 100000, noise(100000, 3));
    edited.replace(0x300000, 70000, QByteArray(70000, '\x5A'));
    edited[big - 1] = char(~edited[big - 1]);
    QTest::newRow("8 MiB scattered") << original << edited << QByteArray();

    const QByteArray small = noise(3000, 4);
    QByteArray longer = small + noise(2000, 5) + QByteArray(80000, '\0') + noise(10, 6);
    longer[7] = 0;
    QTest::newRow("longer target") << small << longer << QByteArray();
    QByteArray shorter = small.left(1200);
    shorter[1199] = char(~shorter[1199]);
    QTest::newRow("shorter target") << small << shorter << QByteArray();
}

void TestPatches::roundTrip()
{
    QFETCH(QByteArray, source);
    QFETCH(QByteArray, target);
    QFETCH(QByteArray, ips);
    const PatchResult made = makeIpsPatch(source, target);
    QVERIFY2(made.image, qPrintable(made.error));
    if (!ips.isEmpty())
        QVERIFY(*made.image == ips);
    const PatchResult ipsBack = applyIpsPatch(source, *made.image);
    QVERIFY2(ipsBack.image, qPrintable(ipsBack.error));
    QVERIFY(*ipsBack.image == target);

    const QByteArray bps = makeBpsPatch(source, target, "made here");
    const PatchResult bpsBack = applyBpsPatch(source, bps);
    QVERIFY2(bpsBack.image, qPrintable(bpsBack.error));
    QVERIFY(*bpsBack.image == target);
    QCOMPARE(bpsMetadata(bps), std::optional<QByteArray>("made here"));
}

void TestPatches::movedDataIsCopied_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<int>("newBytes");   // bytes the target holds that are in neither image before

    const QByteArray source = noise(64 * 1024, 1);
    const QByteArray inserted = noise(4096, 2);
    QTest::newRow("insertion") << source << source.left(32768) + inserted + source.mid(32768) << 4096;
    QTest::newRow("insertion at the start") << source << inserted + source << 4096;
    // Long new data is looked up at a few offsets only; what follows it is found all the same.
    QTest::newRow("new data of odd length, then moved data")
        << source << source.left(10000) + noise(20001, 7) + source.mid(10000) << 20001;
    // Past 16 MiB the tables keep every 32nd block and more.
    const QByteArray large = noise(32 * 1024 * 1024, 8);
    QTest::newRow("insertion into 32 MiB") << large << large.left(16 << 20) + inserted + large.mid(16 << 20) << 4096;
    QTest::newRow("deletion") << source << source.left(20000) + source.mid(24096) << 0;
    QTest::newRow("block moved to the end") << source << source.left(10000) + source.mid(20000) + source.mid(10000, 10000)
                                            << 0;
    QTest::newRow("halves swapped") << source << source.mid(30001) + source.left(30001) << 0;
    QTest::newRow("new data repeated") << source << source.left(1000) + inserted.left(500).repeated(20) << 500;
    QTest::newRow("run of one byte") << source << source + QByteArray(5000, '\0') << 1;
    QTest::newRow("source read twice") << source.left(5000) << source.left(5000).repeated(3) << 0;
    QTest::newRow("unrelated") << noise(5000, 4) << noise(5000, 5) << 5000;
    QTest::newRow("short repeats") << QByteArray("abc") << QByteArray("abcabcabcabcab") << 11;
    QTest::newRow("from nothing") << QByteArray() << QByteArray("xy").repeated(40) << 2;
    QTest::newRow("to nothing") << source << QByteArray() << 0;
}

// Both writers' patches give the target back; the one that searches anywhere
// costs little more than the bytes that are new.
void TestPatches::movedDataIsCopied()
{
    QFETCH(QByteArray, source);
    QFETCH(QByteArray, target);
    QFETCH(int, newBytes);
    for (const BpsSearch search : {BpsSearch::Anywhere, BpsSearch::SameOffset}) {
        const QByteArray bps = makeBpsPatch(source, target, {}, search);
        const PatchResult back = applyBpsPatch(source, bps);
        QVERIFY2(back.image, qPrintable(back.error));
        QVERIFY(*back.image == target);
        if (search == BpsSearch::Anywhere)
            QVERIFY2(bps.size() <= newBytes + 64, qPrintable(QString::number(bps.size())));
    }
}

void TestPatches::publishedFormat_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QByteArray>("patch");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray sixteen(16, '\x11');
    // Data at 2, a run of four 0x77 at 10, data past the end at 20.
    QByteArray ips = QByteArray("PATCH")
        + bytes({0x00, 0x00, 0x02, 0x00, 0x03}) + "xyz"
        + bytes({0x00, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x04, 0x77})
        + bytes({0x00, 0x00, 0x14, 0x00, 0x02}) + "ab" + "EOF";
    QByteArray grown = sixteen;
    grown.replace(2, 3, "xyz");
    grown.replace(10, 4, QByteArray(4, '\x77'));
    grown += QByteArray(4, '\0') + "ab";
    QTest::newRow("ips data, run, past the end") << QString("ips") << sixteen << ips << grown;
    QTest::newRow("ips cut after EOF") << QString("ips") << sixteen
                                       << QByteArray("PATCH") + bytes({0, 0, 1, 0, 1}) + "z" + "EOF" + bytes({0, 0, 8})
                                       << QByteArray("\x11z\x11\x11\x11\x11\x11\x11");

    QByteArray source(200, '\0');
    for (int i = 0; i < 200; ++i)
        source[i] = char(i);
    QByteArray body = QByteArray("BPS1") + bytes({0x48, 0x80}) // 200 takes two bytes: 72 + (0 + 1) * 128
        + bytes({0x99, 0x82}) + "hi"                          // target 25, metadata "hi"
        + bytes({0x8C})                                        // SourceRead 4
        + bytes({0x89}) + "abc"                                // TargetRead 3
        + bytes({0x92, 0x48, 0x80})                            // SourceCopy 5 from +100
        + bytes({0x86, 0xEF})                                  // SourceCopy 2 from 105 - 55
        + bytes({0x97, 0x88})                                  // TargetCopy 6 from +4
        + bytes({0x93, 0x92});                                 // TargetCopy 5 from 10 + 9, overlapping
    const QByteArray target = bytes({0, 1, 2, 3, 'a', 'b', 'c', 100, 101, 102, 103, 104, 50, 51, 'a', 'b', 'c',
                                     100, 101, 102, 102, 102, 102, 102, 102});
    QTest::newRow("bps all four actions") << QString("bps") << source << bpsFooter(body, source, target) << target;
}

void TestPatches::publishedFormat()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, source);
    QFETCH(QByteArray, patch);
    QFETCH(QByteArray, expected);
    const PatchResult result = apply(format, source, patch);
    QVERIFY2(result.image, qPrintable(result.error));
    QCOMPARE(*result.image, expected);
    if (format == "bps")
        QCOMPARE(bpsMetadata(patch), std::optional<QByteArray>("hi"));
}

void TestPatches::refused_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QByteArray>("patch");
    QTest::addColumn<QString>("error");

    const QByteArray source = noise(600, 7);
    QByteArray target = source;
    target.replace(100, 50, noise(50, 8));
    const QByteArray bps = makeBpsPatch(source, target);
    QByteArray otherByte = source;
    otherByte[599] = char(~otherByte[599]);
    const QString another = "This patch was made for another image.";
    QTest::newRow("bps other bytes") << QString("bps") << otherByte << bps << another;
    QTest::newRow("bps other size") << QString("bps") << source.left(599) << bps << another;
    QByteArray flipped = bps;
    flipped[20] = char(~flipped[20]);
    QTest::newRow("bps damaged") << QString("bps") << source << flipped << QString("damaged");

    const QByteArray tiny(8, '\x01');
    const auto handMade = [&](const QByteArray& actions, int targetSize) {
        QByteArray body = QByteArray("BPS1") + bytes({0x88, 0x80 | targetSize, 0x80}) + actions;
        return bpsFooter(body, tiny, QByteArray(targetSize, '\x01'));
    };
    QTest::newRow("bps result fails its checksum") << QString("bps") << tiny << handMade(bytes({0x8D}) + "abcd", 4)
                                                   << QString("checksum");
    QTest::newRow("bps data past its end") << QString("bps") << tiny << handMade(bytes({0x8D, 1, 1}), 4) << QString("past");
    QTest::newRow("bps copy of unwritten target") << QString("bps") << tiny << handMade(bytes({0x8F, 0x80}), 4) << QString("damaged");
    QTest::newRow("bps target left short") << QString("bps") << tiny << handMade(bytes({0x84}), 4) << QString("damaged");

    const QByteArray ips = QByteArray("PATCH") + bytes({0, 0, 1, 0, 4}) + "abcd";
    QTest::newRow("ips data past its end") << QString("ips") << tiny << ips.left(ips.size() - 1) + "EOF" << QString("past");
    QTest::newRow("ips no EOF") << QString("ips") << tiny << ips << QString("past");
    QTest::newRow("ips stray bytes") << QString("ips") << tiny << ips + "EOF" + bytes({0, 0}) << QString("stray");
}

void TestPatches::refused()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, source);
    QFETCH(QByteArray, patch);
    QFETCH(QString, error);
    const PatchResult result = apply(format, source, patch);
    QVERIFY(!result.image);
    QVERIFY2(result.error.contains(error), qPrintable(result.error));
}

void TestPatches::ipsRefusesOver16MiB()
{
    const QByteArray big((1 << 24) + 1, '\0');
    const PatchResult result = makeIpsPatch(big, big.left(100));
    QVERIFY(!result.image);
    QVERIFY(result.error.contains("16 MiB"));
    QVERIFY(makeIpsPatch(big.left(1 << 24), big.left(100)).image);
}

namespace {

QByteArray be(qint64 value, int n)
{
    QByteArray out;
    for (int shift = 8 * (n - 1); shift >= 0; shift -= 8)
        out.append(char(value >> shift));
    return out;
}

QByteArray ipsRecord(qint64 offset, const QByteArray& data) { return be(offset, 3) + be(data.size(), 2) + data; }
QByteArray ipsRun(qint64 offset, qint64 length, char byte) { return be(offset, 3) + be(0, 2) + be(length, 2) + byte; }

} // namespace

void TestPatches::ipsBounds_data()
{
    QTest::addColumn<QByteArray>("patch");
    QTest::addColumn<qint64>("size");      // of the result, -1 when refused
    QTest::addColumn<QString>("error");

    const qint64 top = qint64(1) << 24;
    const QByteArray sixteen(16, 'x');
    QTest::newRow("data ends at 16 MiB") << ipsRecord(top - 16, sixteen) << top << QString();
    QTest::newRow("data one byte past 16 MiB") << ipsRecord(top - 15, sixteen) << qint64(-1)
                                               << QString("This IPS patch is damaged: a record at 0xFFFFF1 reaches past 16 MiB.");
    QTest::newRow("run ends at 16 MiB") << ipsRun(top - 0xFFFF, 0xFFFF, 'r') << top << QString();
    QTest::newRow("run one byte past 16 MiB") << ipsRun(top - 0xFFFE, 0xFFFF, 'r') << qint64(-1)
                                              << QString("This IPS patch is damaged: a record at 0xFF0002 reaches past 16 MiB.");

    // 1,024 full runs write 64 MiB less 1 KiB; one more is past the bound of a small patch.
    QByteArray runs;
    for (int i = 0; i < 1024; ++i)
        runs += ipsRun(0, 0xFFFF, 'r');
    QTest::newRow("runs writing 64 MiB less 1 KiB") << runs << qint64(0xFFFF) << QString();
    QTest::newRow("runs writing past 64 MiB") << runs + ipsRun(0, 0xFFFF, 'r') << qint64(-1)
                                              << QString("This IPS patch writes more than 64 MiB in all; it is refused.");

    // A large patch may write up to four times its size: 300 full data
    // records (19.7 MB) and 800 runs write 72 MB, 1,000 runs 85.2 MB.
    QByteArray large;
    const QByteArray full(0xFFFF, 'd');
    for (int i = 0; i < 300; ++i)
        large += ipsRecord(0, full);
    QByteArray more = large;
    for (int i = 0; i < 800; ++i)
        large += ipsRun(0, 0xFFFF, 'r');
    for (int i = 0; i < 1000; ++i)
        more += ipsRun(0, 0xFFFF, 'r');
    QTest::newRow("runs past 64 MiB within four times the patch") << large << qint64(0xFFFF) << QString();
    QTest::newRow("runs past four times the patch") << more << qint64(-1)
                                                    << QString("This IPS patch writes more than 75 MiB in all; it is refused.");
}

void TestPatches::ipsBounds()
{
    QFETCH(QByteArray, patch);
    QFETCH(qint64, size);
    QFETCH(QString, error);
    const PatchResult result = applyIpsPatch(QByteArray(8, '\x01'), QByteArray("PATCH") + patch + "EOF");
    QCOMPARE(result.error, error);
    QCOMPARE(result.image ? result.image->size() : qint64(-1), size);
}

void TestPatches::crcIsZlibs()
{
    QCOMPARE(crc32Of("123456789"), 0xCBF43926u);
    QCOMPARE(crc32Of({}), 0u);
}

QTEST_GUILESS_MAIN(TestPatches)
#include "tst_patches.moc"
