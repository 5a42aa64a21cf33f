// A write keeps what every other line of the file reads as: ANSI files stay
// ANSI, and one that a write would turn into valid UTF-8 is written so that
// its letters read the same. The value written ends in that other text, so it
// is encoded as the file is.
#include "base/ini_file.h"
#include "support/test_files.h"

#include <QtTest>

class TestIniEncoding : public QObject {
    Q_OBJECT
private slots:
    void writeKeepsOtherText_data();
    void writeKeepsOtherText();
};

void TestIniEncoding::writeKeepsOtherText_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section"); // the other text, as read before the write
    QTest::addColumn<QString>("other");
    QTest::addColumn<QByteArray>("expected");

    // "\xC3\xA9" reads as two letters while "\xE9" elsewhere makes the file ANSI.
    QTest::newRow("ansi value replaced") << QByteArray("[\xC3\xA9]\r\nk=\xE9\r\nn=\xC3\xA9\r\n")
                                         << QStringLiteral("\u00C3\u00A9") << QStringLiteral("\u00C3\u00A9")
                                         << QByteArray("[\xC3\x83\xC2\xA9]\r\nk=new\xC3\x83\xC2\xA9\r\nn=\xC3\x83\xC2\xA9\r\n");
    QTest::newRow("ansi stays ansi") << QByteArray("[\xE9]\r\nk=old\r\nn=\xE9\r\n") << QStringLiteral("\u00E9")
                                     << QStringLiteral("\u00E9") << QByteArray("[\xE9]\r\nk=new\xE9\r\nn=\xE9\r\n");
    QTest::newRow("utf-8 stays") << QByteArray("\xEF\xBB\xBF[\xC3\xA9]\r\nk=old\r\nn=\xC3\xA9\r\n")
                                 << QStringLiteral("\u00E9") << QStringLiteral("\u00E9")
                                 << QByteArray("\xEF\xBB\xBF[\xC3\xA9]\r\nk=new\xC3\xA9\r\nn=\xC3\xA9\r\n");
    QTest::newRow("ansi with a mark") << QByteArray("\xEF\xBB\xBF[\xC3\xA9]\r\nk=\xE9\r\nn=x\r\n")
                                      << QStringLiteral("\u00C3\u00A9") << QStringLiteral("x")
                                      << QByteArray("\xEF\xBB\xBF[\xC3\x83\xC2\xA9]\r\nk=newx\r\nn=x\r\n");
}

void TestIniEncoding::writeKeepsOtherText()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, other);
    QFETCH(QByteArray, expected);
    TestDir dir;
    dir.write(QStringLiteral("c.ini"), file);
    IniFile ini(dir.file(QStringLiteral("c.ini")));
    QCOMPARE(ini.readString(section, QStringLiteral("n")), other);
    QVERIFY(ini.writeString(section, QStringLiteral("k"), QStringLiteral("new") + other));
    QCOMPARE(dir.read(QStringLiteral("c.ini")), expected);
    QCOMPARE(ini.sections(), QStringList{section});
    QCOMPARE(ini.readString(section, QStringLiteral("n")), other);
    QCOMPARE(ini.readString(section, QStringLiteral("k")), QStringLiteral("new") + other);
}

QTEST_GUILESS_MAIN(TestIniEncoding)
#include "tst_ini_encoding.moc"
