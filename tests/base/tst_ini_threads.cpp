// The parsed-file cache shared by every IniFile, used from two threads at
// once (a script reading the catalogue beside the editor).
#include "base/ini_file.h"
#include "support/test_files.h"

#include <QtTest>

#include <thread>

class TestIniThreads : public QObject {
    Q_OBJECT
private slots:
    void readsFromTwoThreads();
};

void TestIniThreads::readsFromTwoThreads()
{
    TestDir dir;
    for (int f = 0; f < 8; ++f)
        dir.write(QStringLiteral("f%1.ini").arg(f), QByteArray("[S]\r\nKey=") + QByteArray::number(f) + "\r\n");
    auto reader = [&](int first) {
        int wrong = 0;
        for (int i = 0; i < 20000; ++i) {
            const int f = (first + i) % 8;
            if (IniFile(dir.file(QStringLiteral("f%1.ini").arg(f))).readInteger("S", "Key", -1) != f)
                ++wrong;
            if (i % 7 == 0)
                IniFile::dropCache();
        }
        return wrong;
    };
    int wrongThere = 0;
    std::thread other([&] { wrongThere = reader(3); });
    const int wrongHere = reader(0);
    other.join();
    QCOMPARE(wrongHere + wrongThere, 0);
}

QTEST_GUILESS_MAIN(TestIniThreads)
#include "tst_ini_threads.moc"
