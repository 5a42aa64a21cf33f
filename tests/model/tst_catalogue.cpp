// The catalogue layer: the INI rules, the integer syntax, the ROM image buffer,
// file lookup and the checks on a map record.
#include "model/catalogue/catalogue.h"
#include "base/catalogue_integer.h"
#include "base/file_lookup.h"
#include "base/ini_file.h"
#include "model/catalogue/map_record.h"
#include "model/rom/rom_image.h"
#include "support/low_disk_space.h"
#include "support/test_files.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QtTest>

class TestCatalogue : public QObject {
    Q_OBJECT
private slots:
    void integerSyntax_data();
    void integerSyntax();
    void readsFollowWindowsRules_data();
    void readsFollowWindowsRules();
    void listingsKeepFileOrder();
    void readsSeeTheFileAsItIsNow();
    void valuesAreCutAt1023Characters();
    void parsedFileFollowsChanges();
    void byteOrderMarksKeptOnWrite();
    void batchWriteIsOneReplacement();
    void writeReplacesValueInPlace();
    void writeAppendsKeyAfterLastEntry_data();
    void writeAppendsKeyAfterLastEntry();
    void writeAppendsSectionAndCreatesFile();
    void writeKeepsOtherLinesByteForByte();
    void failedWriteReportsAndKeepsFile();
    void booleans();
    void keysWithGapsGiveEmptyEntries();
    void romImageBoundedAccess();
    void romImageLoadAndSave();
    void romImageSaveFailureKeepsOldFile();
    void fileLookupIgnoresCaseAndBackslashes();
    void mapRecordChecks_data();
    void mapRecordChecks();
};

void TestCatalogue::integerSyntax_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("decimal") << "6699" << 6699;
    QTest::newRow("0x prefix") << "0x1A2B" << 6699;
    QTest::newRow("0X prefix") << "0X1a2b" << 6699;
    QTest::newRow("dollar prefix") << "$1A2B" << 6699;
    QTest::newRow("0x alone is not a number") << "0x" << -7;
    QTest::newRow("dollar alone") << "$" << -7;
    QTest::newRow("negative decimal") << "-12" << -12;
    QTest::newRow("hex wraps into 32 bits") << "$FFFFFFFF" << -1;
    QTest::newRow("too many hex digits") << "$123456789" << -7;
    QTest::newRow("decimal out of range") << "99999999999" << -7;
    QTest::newRow("trailing text") << "12abc" << -7;
    QTest::newRow("empty") << "" << -7;
    QTest::newRow("short 0x form is decimal zero") << "0" << 0;
    QTest::newRow("hex digits without prefix") << "1A" << -7;
    QTest::newRow("sign after dollar") << "$+1F" << -7;
    QTest::newRow("blank after dollar") << "$ 1F" << -7;
    QTest::newRow("second prefix") << "$0x1F" << -7;
    QTest::newRow("sign after 0x") << "0x-1" << -7;
}

void TestCatalogue::integerSyntax()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(catalogueInteger(text, -7), expected);
}

void TestCatalogue::readsFollowWindowsRules_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    const QString def = QStringLiteral("<default>");
    QTest::newRow("CRLF") << QByteArray("[A]\r\nk=1\r\n") << "A" << "k" << "1";
    QTest::newRow("LF") << QByteArray("[A]\nk=2\n") << "A" << "k" << "2";
    QTest::newRow("lone CR") << QByteArray("[A]\rk=3\rj=4") << "A" << "j" << "4";
    QTest::newRow("section case") << QByteArray("[Route One]\nk=5\n") << "route ONE" << "k" << "5";
    QTest::newRow("key case") << QByteArray("[A]\nStart Offset=6\n") << "A" << "start offset" << "6";
    QTest::newRow("blanks around names and value") << QByteArray("  [ A ]  \n \t k \t=\t 7 \t\n") << "A" << "k" << "7";
    QTest::newRow("first section wins") << QByteArray("[A]\nk=1\n[a]\nk=2\n") << "A" << "k" << "1";
    QTest::newRow("first key wins") << QByteArray("[A]\nk=1\nK=2\n") << "A" << "k" << "1";
    QTest::newRow("key only in second duplicate section") << QByteArray("[A]\nx=1\n[A]\nk=2\n") << "A" << "k" << def;
    QTest::newRow("comment line") << QByteArray("[A]\n ;k=1\nk=2\n") << "A" << "k" << "2";
    QTest::newRow("no comment inside value") << QByteArray("[A]\nk=1 ; not a comment\n") << "A" << "k" << "1 ; not a comment";
    QTest::newRow("double quotes") << QByteArray("[A]\nk=\"a b\"\n") << "A" << "k" << "a b";
    QTest::newRow("single quotes") << QByteArray("[A]\nk='a b'\n") << "A" << "k" << "a b";
    QTest::newRow("unmatched quotes stay") << QByteArray("[A]\nk=\"a b'\n") << "A" << "k" << "\"a b'";
    QTest::newRow("empty value is empty, not default") << QByteArray("[A]\nk=\n") << "A" << "k" << "";
    QTest::newRow("missing key") << QByteArray("[A]\nk=1\n") << "A" << "j" << def;
    QTest::newRow("missing section") << QByteArray("[A]\nk=1\n") << "B" << "k" << def;
    QTest::newRow("keys before any section") << QByteArray("k=1\n[A]\n") << "A" << "k" << def;
    QTest::newRow("equals inside value") << QByteArray("[A]\nk=a=b\n") << "A" << "k" << "a=b";
    QTest::newRow("no final line end") << QByteArray("[A]\nk=9") << "A" << "k" << "9";
}

void TestCatalogue::readsFollowWindowsRules()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    TestDir dir;
    dir.write("x.ini", content);
    IniFile ini(dir.file("x.ini"));
    QCOMPARE(ini.readString(section, key, QStringLiteral("<default>")), expected);
}

void TestCatalogue::listingsKeepFileOrder()
{
    TestDir dir;
    dir.write("x.ini", "[Zeta]\r\nb=1\r\na=2\r\n;c=3\r\n[alpha]\r\n[ZETA]\r\nz=1\r\n[Mid]\r\n");
    IniFile ini(dir.file("x.ini"));
    QCOMPARE(ini.sections(), QStringList({"Zeta", "alpha", "ZETA", "Mid"}));
    QCOMPARE(ini.keys("zeta"), QStringList({"b", "a"}));
    QVERIFY(ini.keys("nothing").isEmpty());
    QVERIFY(IniFile(dir.file("missing.ini")).sections().isEmpty());
}

void TestCatalogue::readsSeeTheFileAsItIsNow()
{
    TestDir dir;
    dir.write("x.ini", "[A]\nk=1\n");
    IniFile ini(dir.file("x.ini"));
    QCOMPARE(ini.readInteger("A", "k"), 1);
    dir.write("x.ini", "[A]\nk=2\n");
    QCOMPARE(ini.readInteger("A", "k"), 2);
}

void TestCatalogue::parsedFileFollowsChanges()
{
    TestDir dir;
    const QString path = dir.file("x.ini");
    auto writeAged = [&](const QByteArray& content, int secondsAgo) {
        dir.write("x.ini", content);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-secondsAgo), QFileDevice::FileModificationTime));
    };
    IniFile ini(path);
    writeAged("[A]\nk=1\n", 600);
    QCOMPARE(ini.readInteger("A", "k"), 1);
    // Another size, the same time stamp.
    writeAged("[A]\nk=22\n", 600);
    QCOMPARE(ini.readInteger("A", "k"), 22);
    // The same size, another time stamp.
    writeAged("[A]\nk=33\n", 300);
    QCOMPARE(ini.readInteger("A", "k"), 33);
    // Removed, then back.
    QVERIFY(QFile::remove(path));
    QCOMPARE(ini.readInteger("A", "k", -1), -1);
    writeAged("[A]\nk=44\n", 300);
    QCOMPARE(ini.readInteger("A", "k"), 44);
    // A write through another handle is seen at once.
    QVERIFY(IniFile(path).writeInteger("A", "k", 55));
    QCOMPARE(ini.readInteger("A", "k"), 55);
}

void TestCatalogue::byteOrderMarksKeptOnWrite()
{
    TestDir dir;
    auto u16 = [](const QString& text) {
        QByteArray bytes("\xFF\xFE", 2);
        for (QChar c : text) {
            bytes.append(char(c.unicode() & 0xFF));
            bytes.append(char(c.unicode() >> 8));
        }
        return bytes;
    };
    dir.write("w.ini", u16(QStringLiteral("[S]\r\nk=v\r\n; \u00e9t\u00e9\r\n[T]\r\nx=1\r\n")));
    IniFile wide(dir.file("w.ini"));
    QCOMPARE(wide.sections(), QStringList({"S", "T"}));
    QCOMPARE(wide.readString("S", "k"), QStringLiteral("v"));
    QVERIFY(wide.writeString("S", "k", QStringLiteral("w\u00e9")));
    QVERIFY(wide.writeString("U", "n", QStringLiteral("1")));
    QCOMPARE(dir.read("w.ini"),
             u16(QStringLiteral("[S]\r\nk=w\u00e9\r\n; \u00e9t\u00e9\r\n[T]\r\nx=1\r\n[U]\r\nn=1\r\n")));
    // UTF-16 text that does not decode is never written back.
    const QByteArray broken = u16(QStringLiteral("[S]\r\nk=v\r\n")) + '\x01';
    dir.write("b.ini", broken);
    QString error;
    QVERIFY(!IniFile(dir.file("b.ini")).writeString("S", "k", "w", &error));
    QCOMPARE(error, QStringLiteral("Unable to write to %1").arg(dir.file("b.ini")));
    QCOMPARE(dir.read("b.ini"), broken);
    // A UTF-8 byte-order mark stays in front.
    dir.write("u.ini", "\xEF\xBB\xBF[S]\r\nk=v\r\n");
    QVERIFY(IniFile(dir.file("u.ini")).writeString("s", "K", "w"));
    QCOMPARE(dir.read("u.ini"), QByteArray("\xEF\xBB\xBF[S]\r\nk=w\r\n"));
}

void TestCatalogue::batchWriteIsOneReplacement()
{
    TestDir dir;
    dir.write("Events.ini", "[Hall]\r\nWarps=3\r\n; note\r\nPeoples=4\r\n[Next]\r\nWarps=1\r\n");
    IniFile ini(dir.file("Events.ini"));
    const IniFile::KeyValues keys{{"Warps", "5"}, {"Warp offset", "257"}, {"Peoples", "0"}, {"warps", "6"}};
    {
        const LowDiskSpace full(20);
        QString error;
        QVERIFY(!ini.writeStrings("Hall", keys, &error));
        QCOMPARE(error, QStringLiteral("Unable to write to %1").arg(ini.path()));
        QCOMPARE(dir.read("Events.ini"), QByteArray("[Hall]\r\nWarps=3\r\n; note\r\nPeoples=4\r\n[Next]\r\nWarps=1\r\n"));
    }
    QVERIFY(ini.writeStrings("Hall", keys));
    QCOMPARE(dir.read("Events.ini"),
             QByteArray("[Hall]\r\nWarps=6\r\n; note\r\nPeoples=0\r\nWarp offset=257\r\n[Next]\r\nWarps=1\r\n"));
    // Keys of a new section, in order.
    QVERIFY(ini.writeStrings("New", {{"a", "1"}, {"b", "2"}}));
    QCOMPARE(ini.keys("new"), QStringList({"a", "b"}));
    // A NUL byte hides the lines after it: a new section goes before them.
    dir.write("nul.ini", QByteArray("[A]\nk=1\nj=a\0b\n[B]\nx=2", 21));
    IniFile hidden(dir.file("nul.ini"));
    QVERIFY(hidden.writeStrings("B", {{"x", "3"}}));
    QCOMPARE(hidden.readString("B", "x"), QStringLiteral("3"));
    QCOMPARE(dir.read("nul.ini"), QByteArray("[A]\nk=1\n[B]\r\nx=3\r\nj=a\0b\n[B]\nx=2", 31));
}

void TestCatalogue::valuesAreCutAt1023Characters()
{
    TestDir dir;
    dir.write("x.ini", "[A]\nk=" + QByteArray(2000, 'v') + "\n");
    QCOMPARE(IniFile(dir.file("x.ini")).readString("A", "k").size(), 1023);
}

void TestCatalogue::writeReplacesValueInPlace()
{
    TestDir dir;
    dir.write("x.ini", "[A]\r\nGrid=1\r\nother=5\r\n");
    IniFile ini(dir.file("x.ini"));
    QVERIFY(ini.writeBool("a", "grid", false));
    QCOMPARE(dir.read("x.ini"), QByteArray("[A]\r\nGrid=0\r\nother=5\r\n"));
    QVERIFY(ini.writeInteger("A", "other", -42));
    QCOMPARE(ini.readInteger("A", "other"), -42);
}

void TestCatalogue::writeAppendsKeyAfterLastEntry_data()
{
    // A new line ends in CR LF, as Windows writes it, whatever the file's other
    // lines end in; a last line without a line end gets one first.
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QByteArray>("expected");   // after writing "j" = 2
    QTest::newRow("after the last entry") << QByteArray("[A]\nk=1\n\n; trailing comment\n[B]\nj=2\n") << "A"
                                          << QByteArray("[A]\nk=1\nj=2\r\n\n; trailing comment\n[B]\nj=2\n");
    QTest::newRow("after a last key without a line end") << QByteArray("[A]\nk=1") << "A"
                                                         << QByteArray("[A]\nk=1\r\nj=2\r\n");
    QTest::newRow("CR LF file, last key without a line end") << QByteArray("[A]\r\nk=1") << "A"
                                                             << QByteArray("[A]\r\nk=1\r\nj=2\r\n");
    QTest::newRow("after a last header without a line end") << QByteArray("k=1\r\n[A]") << "A"
                                                            << QByteArray("k=1\r\n[A]\r\nj=2\r\n");
    QTest::newRow("new section after a last line without a line end") << QByteArray("[A]\nk=1") << "B"
                                                                      << QByteArray("[A]\nk=1\r\n[B]\r\nj=2\r\n");
    QTest::newRow("no header, no line end") << QByteArray("k=1") << "" << QByteArray("k=1\r\nj=2\r\n");
}

void TestCatalogue::writeAppendsKeyAfterLastEntry()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QByteArray, expected);
    TestDir dir;
    dir.write("x.ini", file);
    IniFile ini(dir.file("x.ini"));
    QVERIFY(ini.writeInteger(section, "j", 2));
    QCOMPARE(dir.read("x.ini"), expected);
    QCOMPARE(ini.readInteger(section, "j"), 2);
}

void TestCatalogue::writeAppendsSectionAndCreatesFile()
{
    TestDir dir;
    IniFile ini(dir.file("new.ini"));
    QVERIFY(ini.writeBool("Settings", "Grid", true));
    QCOMPARE(dir.read("new.ini"), QByteArray("[Settings]\r\nGrid=1\r\n"));
    QVERIFY(ini.writeInteger("Map", "Warps", 3));
    QCOMPARE(dir.read("new.ini"), QByteArray("[Settings]\r\nGrid=1\r\n[Map]\r\nWarps=3\r\n"));
}

void TestCatalogue::writeKeepsOtherLinesByteForByte()
{
    TestDir dir;
    const QByteArray before("; header\n[A]\r\n  k = \"quoted\"  \rx=1\n[B]\nWarps = 2\n");
    dir.write("x.ini", before);
    IniFile ini(dir.file("x.ini"));
    QVERIFY(ini.writeInteger("B", "Warps", 5));
    QCOMPARE(dir.read("x.ini"), QByteArray("; header\n[A]\r\n  k = \"quoted\"  \rx=1\n[B]\nWarps =5\n"));
    QCOMPARE(ini.readInteger("B", "warps"), 5);
}

void TestCatalogue::failedWriteReportsAndKeepsFile()
{
    TestDir dir;
    QDir(dir.path()).mkdir("sub");
    IniFile ini(dir.file("sub/missing-dir/x.ini"));
    QString error;
    QVERIFY(!ini.writeInteger("A", "k", 1, &error));
    QCOMPARE(error, QStringLiteral("Unable to write to %1").arg(dir.file("sub/missing-dir/x.ini")));
}

void TestCatalogue::booleans()
{
    TestDir dir;
    dir.write("x.ini", "[S]\nyes=1\nno=0\nother=5\nbad=true\n");
    IniFile ini(dir.file("x.ini"));
    QVERIFY(ini.readBool("S", "yes"));
    QVERIFY(!ini.readBool("S", "no", true));
    QVERIFY(ini.readBool("S", "other"));
    QVERIFY(!ini.readBool("S", "bad"));
    QVERIFY(ini.readBool("S", "missing", true));
}

void TestCatalogue::keysWithGapsGiveEmptyEntries()
{
    // A category lists the values of keys "1" to n, n being the key count.
    TestDir dir;
    dir.write("Main.Ini", "[Towns]\n1=Alpha\n2=Beta\n4=Delta\n");
    IniFile ini(dir.file("Main.Ini"));
    const int n = int(ini.keys("Towns").size());
    QStringList maps;
    for (int k = 1; k <= n; ++k)
        maps << ini.readString("Towns", QString::number(k));
    QCOMPARE(maps, QStringList({"Alpha", "Beta", ""}));
}

void TestCatalogue::romImageBoundedAccess()
{
    RomImage rom;
    rom.setBytes(QByteArray(16, '\x11'));
    QVERIFY(rom.contains(0, 16));
    QVERIFY(rom.contains(16, 0));
    QVERIFY(!rom.contains(15, 2));
    QVERIFY(!rom.contains(-1, 1));
    QVERIFY(!rom.contains(1, -1));
    QVERIFY(!rom.contains(std::numeric_limits<qint64>::max(), 2));
    QCOMPARE(rom.byteAt(15), 0x11);
    QCOMPARE(rom.byteAt(16), -1);
    QVERIFY(!rom.writeAt(14, "abc", 3));
    QCOMPARE(rom.bytes(), QByteArray(16, '\x11'));
    QVERIFY(rom.writeAt(13, "abc", 3));
    char out[3];
    QVERIFY(rom.readAt(13, out, 3));
    QCOMPARE(QByteArray(out, 3), QByteArray("abc"));
    QVERIFY(!rom.readAt(14, out, 3));
}

void TestCatalogue::romImageLoadAndSave()
{
    TestDir dir;
    dir.write("a.gbc", TestDir::patternRom(1000));
    RomImage rom;
    QVERIFY(rom.loadFromFile(dir.file("a.gbc")));
    QCOMPARE(rom.bytes(), TestDir::patternRom(1000));
    QString error;
    QVERIFY(!rom.loadFromFile(dir.file("missing.gbc"), &error));
    QCOMPARE(error, QStringLiteral("Cannot open file %1").arg(dir.file("missing.gbc")));
    QCOMPARE(rom.size(), qint64(1000));
    QVERIFY(rom.saveToFile(dir.file("b.gbc")));
    QCOMPARE(dir.read("b.gbc"), TestDir::patternRom(1000));
}

void TestCatalogue::romImageSaveFailureKeepsOldFile()
{
    TestDir dir;
    RomImage rom;
    rom.setBytes("new");
    QString error;
    const QString target = dir.file("no/such/dir/rom.gb");
    QVERIFY(!rom.saveToFile(target, &error));
    QCOMPARE(error, QStringLiteral("Cannot create file %1").arg(target));
    QVERIFY(!QFile::exists(target));
}

void TestCatalogue::fileLookupIgnoresCaseAndBackslashes()
{
    TestDir dir;
    QDir(dir.path()).mkdir("TILES");
    dir.write("TILES/Set1.BMP", "x");
    dir.write("Main.ini", "[A]\n");
    QCOMPARE(resolveCatalogueFile(catalogueFilePath(dir.path(), "tiles\\set1.bmp")), dir.file("TILES/Set1.BMP"));
    Catalogue catalogue(dir.path());
    QCOMPARE(catalogue.MainIni.sections(), QStringList({"A"}));
    QCOMPARE(catalogue.programFile("Tiles/SET1.bmp"), dir.file("TILES/Set1.BMP"));
    QCOMPARE(catalogue.programFile("none.bmp"), dir.file("none.bmp"));
}

void TestCatalogue::mapRecordChecks_data()
{
    QTest::addColumn<int>("tileset");
    QTest::addColumn<int>("blocks");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("tilesetStart");
    QTest::addColumn<QString>("problem"); // a word the message must hold; empty when sound
    // The ROM of these cases has 4096 bytes.
    QTest::newRow("sound") << 1 << 10 << 100 << 189 << 10 << 9 << 2000 << "";
    QTest::newRow("blocks 127 fit") << 20 << 127 << 0 << 0 << 1 << 1 << 2048 << "";
    QTest::newRow("tileset 0") << 0 << 10 << 100 << 189 << 10 << 9 << 2000 << "tileset 0";
    QTest::newRow("tileset 21") << 21 << 10 << 100 << 189 << 10 << 9 << 2000 << "tileset 21";
    QTest::newRow("blocks 128") << 1 << 128 << 100 << 189 << 10 << 9 << 0 << "128 blocks";
    QTest::newRow("negative blocks") << 1 << -1 << 100 << 189 << 10 << 9 << 0 << "-1 blocks";
    QTest::newRow("too many cells") << 1 << 1 << 0 << 0 << 101 << 100 << 0 << "exceeds";
    QTest::newRow("overflowing width, no height") << 1 << 1 << 0 << 0 << 2147483647 << 0 << 0 << "2147483647 x 0";
    QTest::newRow("no width") << 1 << 1 << 0 << 0 << 0 << 5 << 0 << "0 x 5";
    QTest::newRow("negative size") << 1 << 1 << 0 << 0 << -2 << -3 << 0 << "-2 x -3";
    QTest::newRow("huge product wraps to small") << 1 << 1 << 0 << 0 << 65536 << 65537 << 0 << "exceeds";
    QTest::newRow("picture too wide") << 1 << 1 << 0 << 0 << 512 << 1 << 0 << "32768 x 64 pixels";
    QTest::newRow("picture at the limit") << 1 << 1 << 0 << 510 << 511 << 1 << 0 << "";
    QTest::newRow("too many bytes") << 1 << 1 << 0 << 10000 << 1 << 1 << 0 << "exceed";
    QTest::newRow("map past the end") << 1 << 1 << 4000 << 4096 << 97 << 1 << 0 << "outside";
    QTest::newRow("negative map start") << 1 << 1 << -5 << 4 << 10 << 1 << 0 << "outside";
    QTest::newRow("tileset past the end") << 1 << 10 << 0 << 9 << 10 << 1 << 4000 << "tileset 1";
    QTest::newRow("end before start reads nothing") << 1 << 1 << 5000 << 4 << 1 << 1 << 0 << "outside";
}

void TestCatalogue::mapRecordChecks()
{
    QFETCH(int, tileset);
    QFETCH(int, blocks);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, tilesetStart);
    QFETCH(QString, problem);
    MapRecord r;
    r.name = QStringLiteral("Test Town");
    r.TilesetNumber = tileset;
    r.TilesetBlocks = blocks;
    r.MapStart = start;
    r.MapEnd = end;
    r.MapWidth = width;
    r.MapHeight = height;
    r.TilesetStart = tilesetStart;
    const QString message = mapRecordProblem(r, 4096);
    if (problem.isEmpty()) {
        QVERIFY2(message.isEmpty(), qPrintable(message));
    } else {
        QVERIFY2(message.contains(problem), qPrintable(message));
        QVERIFY(message.contains(QStringLiteral("Test Town")));
    }
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
