// Reads of the parsed files: pinned copies, names a file's encoding cannot
// hold, lookups in large files, and what a parsed file keeps.
#include "base/ini_file.h"
#include "support/test_files.h"

#include <QtTest>

class TestIniReads : public QObject {
    Q_OBJECT
private slots:
    void init() { IniFile::dropCache(); }
    void pinnedCopyReadsOneVersion_data();
    void pinnedCopyReadsOneVersion();
    void namesOutsideTheEncoding_data();
    void namesOutsideTheEncoding();
    void largeFiles_data();
    void largeFiles();
};

void TestIniReads::pinnedCopyReadsOneVersion_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after"); // empty: the file is removed
    QTest::addColumn<QString>("pinnedValue");
    QTest::addColumn<QString>("freshValue");

    QTest::newRow("value changed") << QByteArray("[S]\r\nk=old\r\n") << QByteArray("[S]\r\nk=new\r\n")
                                   << QStringLiteral("old") << QStringLiteral("new");
    QTest::newRow("same size") << QByteArray("[S]\r\nk=aaa\r\n") << QByteArray("[S]\r\nk=bbb\r\n")
                               << QStringLiteral("aaa") << QStringLiteral("bbb");
    QTest::newRow("key gone") << QByteArray("[S]\r\nk=old\r\n") << QByteArray("[S]\r\nj=old\r\n")
                              << QStringLiteral("old") << QStringLiteral("none");
    QTest::newRow("file removed") << QByteArray("[S]\r\nk=old\r\n") << QByteArray() << QStringLiteral("old")
                                  << QStringLiteral("none");
}

void TestIniReads::pinnedCopyReadsOneVersion()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(QString, pinnedValue);
    QFETCH(QString, freshValue);
    TestDir dir;
    dir.write(QStringLiteral("a.ini"), before);
    const IniFile plain(dir.file(QStringLiteral("a.ini")));
    IniFile pinned = plain.pinned();
    if (after.isEmpty())
        QVERIFY(QFile::remove(dir.file(QStringLiteral("a.ini"))));
    else
        dir.write(QStringLiteral("a.ini"), after);
    QCOMPARE(pinned.readString("S", "k", "none"), pinnedValue);
    QCOMPARE(pinned.keys("S").size(), 1);
    QCOMPARE(plain.readString("S", "k", "none"), freshValue);
    // A write through the pinned copy ends the pin.
    QVERIFY(pinned.writeString("S", "w", "1"));
    QCOMPARE(pinned.readString("S", "k", "none"), freshValue);
    QCOMPARE(pinned.readInteger("S", "w"), 1);
}

void TestIniReads::namesOutsideTheEncoding_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    // "\xE9" alone is no UTF-8: these files are ANSI, one byte one letter.
    const QByteArray ansi("[S]\r\n\xE9=e-acute\r\n\xAC=not-sign\r\n?=question\r\n\x01=one\r\n[\xAC]\r\nk=section\r\n");
    QTest::newRow("ansi letter") << ansi << "S" << QStringLiteral("\u00E9") << "e-acute";
    QTest::newRow("ansi letter other case") << ansi << "S" << QStringLiteral("\u00C9") << "none";
    QTest::newRow("euro is no ansi letter") << ansi << "S" << QStringLiteral("\u20AC") << "none";
    QTest::newRow("nor U+0101") << ansi << "S" << QStringLiteral("\u0101") << "none";
    QTest::newRow("nor a question mark") << ansi << "S" << QStringLiteral("\u4E00") << "none";
    QTest::newRow("section euro") << ansi << QStringLiteral("\u20AC") << "k" << "none";
    QTest::newRow("section not-sign") << ansi << QStringLiteral("\u00AC") << "k" << "section";
    // The one byte that makes a file ANSI, after eight-byte runs of ASCII.
    QTest::newRow("ansi byte ending a word") << QByteArray("[S]\r\nk=01234567\xE9\r\n") << "S" << "k"
                                             << QStringLiteral("01234567\u00E9");
    QTest::newRow("ansi byte after words") << QByteArray("[S]\r\nk=0123456789ABCDEFGHIJKLMNOPQRSTU\xE9") << "S" << "k"
                                           << QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTU\u00E9");
    const QByteArray utf8("[S]\r\n\xEF\xBF\xBD=replacement\r\n\xC3\xA9=e-acute\r\n\xF0\x9F\x98\x80=smile\r\n?=question\r\n");
    QTest::newRow("utf-8 letter") << utf8 << "S" << QStringLiteral("\u00E9") << "e-acute";
    QTest::newRow("utf-8 other case") << utf8 << "S" << QStringLiteral("\u00C9") << "none";
    QTest::newRow("utf-8 pair") << utf8 << "S" << QString::fromUtf8("\xF0\x9F\x98\x80") << "smile";
    QTest::newRow("replacement char") << utf8 << "S" << QStringLiteral("\uFFFD") << "replacement";
    QTest::newRow("lone surrogate") << utf8 << "S" << QString(QChar(0xD800)) << "none";
    QTest::newRow("half a pair") << utf8 << "S" << QString::fromUtf8("\xF0\x9F\x98\x80").left(1) << "none";
}

void TestIniReads::namesOutsideTheEncoding()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    TestDir dir;
    dir.write(QStringLiteral("a.ini"), file);
    const IniFile ini(dir.file(QStringLiteral("a.ini")));
    QCOMPARE(ini.readString(section, key, "none"), expected);
    QCOMPARE(ini.readStrings(section, {key}).value(0, "none"), expected == "none" ? QString() : expected);
}

// Files of many sections and keys: each read finds the first key of its name
// in the first section of its name, and what the parsed file keeps stays
// within three times its text.
void TestIniReads::largeFiles_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("sections");
    QTest::addColumn<int>("keys");

    // Sections of the same keys, as a map list holds them, later duplicates ignored.
    QByteArray maps;
    for (int s = 0; s < 3000; ++s) {
        maps += "[Map " + QByteArray::number(s) + "]\r\n";
        for (int k = 0; k < 7; ++k)
            maps += "Key" + QByteArray::number(k) + "=" + QByteArray::number(s * 10 + k) + "\r\n";
        maps += "key0=hidden\r\n";
    }
    maps += "[map 0]\r\nKey0=hidden\r\n";
    QTest::newRow("many sections") << maps << 3000 << 7;
    // One section of many keys, as a category does, on bare LF lines.
    QByteArray category = "[Many]\n";
    for (int k = 0; k < 20000; ++k)
        category += QByteArray::number(k) + "=" + QByteArray::number(k * 10) + "\n";
    category += "0=hidden\n";
    QTest::newRow("one long section") << category << 1 << 20000;
}

void TestIniReads::largeFiles()
{
    QFETCH(QByteArray, file);
    QFETCH(int, sections);
    QFETCH(int, keys);
    TestDir dir;
    dir.write(QStringLiteral("a.ini"), file);
    const IniFile ini(dir.file(QStringLiteral("a.ini")));
    const QStringList names = ini.sections();
    QCOMPARE(names.size(), sections + (sections > 1 ? 1 : 0));
    int wrong = 0;
    for (int s = 0; s < sections; s += 7) {
        const QString section = names.at(s).toLower();
        QStringList asked;
        for (int k = 0; k < keys; ++k) {
            const QString key = sections > 1 ? QStringLiteral("KEY%1").arg(k) : QString::number(k);
            asked << key;
            const qint32 expected = sections > 1 ? s * 10 + k : k * 10;
            if (ini.readInteger(section, key, -1) != expected)
                ++wrong;
        }
        const QStringList values = ini.readStrings(section, asked);
        for (int k = 0; k < keys; ++k)
            if (values.at(k).toInt() != (sections > 1 ? s * 10 + k : k * 10))
                ++wrong;
        if (ini.keys(section).size() != keys + 1)
            ++wrong;
    }
    QCOMPARE(wrong, 0);
    QCOMPARE(ini.readString("Many", "20000", "none"), "none");
    QVERIFY2(IniFile::cacheBytes() <= 3 * file.size(),
             qPrintable(QStringLiteral("%1 bytes kept for %2").arg(IniFile::cacheBytes()).arg(file.size())));
    QVERIFY(IniFile::cacheBytes() >= file.size());
}

QTEST_GUILESS_MAIN(TestIniReads)
#include "tst_ini_reads.moc"
