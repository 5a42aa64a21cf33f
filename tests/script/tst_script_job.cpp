// A script run away from the calling thread: its log lines and its end
// arrive on the caller's thread, and a stop or the timeout ends even a
// script that never returns, with nothing changed.
#include "script/script_job.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

class TestScriptJob : public QObject {
    Q_OBJECT
private slots:
    void ends_data();
    void ends();
    void destroyedWhileRunning();
};

namespace {
const QByteArray Image("\x00\x01\x02\x03", 4);
}

void TestScriptJob::ends_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("stopAtGo");      // stop() once the line "go" arrives
    QTest::addColumn<int>("timeoutMs");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<ScriptResult::End>("end");
    QTest::addColumn<QByteArray>("image");   // empty: no image comes back
    using E = ScriptResult::End;
    QTest::newRow("lines in order, then the image")
        << "log('a'); rom.setByte(0, 9); log('b', rom.byte(0))" << false << 10000 << QStringList{"a", "b 9"}
        << E::Finished << QByteArray("\x09\x01\x02\x03", 4);
    QTest::newRow("nothing changed") << "log(rom.size)" << false << 10000 << QStringList{"4"} << E::Finished << Image;
    QTest::newRow("endless loop stopped") << "rom.setByte(0, 9); log('go'); while (true) {}" << true << 60000
                                          << QStringList{"go"} << E::Stopped << QByteArray();
    QTest::newRow("endless loop timed out") << "rom.setByte(0, 9); while (true) {}" << false << 100 << QStringList{}
                                            << E::TimedOut << QByteArray();
    QTest::newRow("thrown") << "log('a');\nthrow new Error('bad')" << false << 10000 << QStringList{"a"} << E::Failed
                            << QByteArray();
}

void TestScriptJob::ends()
{
    QFETCH(QString, source);
    QFETCH(bool, stopAtGo);
    QFETCH(int, timeoutMs);
    QFETCH(QStringList, lines);
    QFETCH(ScriptResult::End, end);
    QFETCH(QByteArray, image);

    ScriptJob job;
    QStringList logged;
    std::optional<ScriptResult> result;
    connect(&job, &ScriptJob::logLine, this, [&](const QString& line) {
        QCOMPARE(QThread::currentThread(), thread());
        QVERIFY(!result);   // every line comes before the end
        logged << line;
        if (stopAtGo && line == QStringLiteral("go"))
            job.stop();
    });
    QSignalSpy finished(&job, &ScriptJob::finished);
    connect(&job, &ScriptJob::finished, this, [&](const ScriptResult& r) { result = r; });
    QVERIFY(job.start({QStringLiteral("s.js"), source, {}, Image, QString()}, timeoutMs));
    QVERIFY(job.isRunning());
    QVERIFY(!job.start({QStringLiteral("t.js"), QStringLiteral("log('second')"), {}, Image, QString()}));
    QVERIFY(finished.wait(30000));
    QVERIFY(!job.isRunning());
    QCOMPARE(finished.size(), 1);
    QCOMPARE(logged, lines);
    QCOMPARE(result->end, end);
    QCOMPARE(result->image, image);
    QCOMPARE(result->changed, !image.isEmpty() && image != Image);
    QCOMPARE(result->error.isEmpty(), end == ScriptResult::End::Finished);
    if (end == ScriptResult::End::Failed)
        QCOMPARE(result->error, QStringLiteral("s.js:2: bad"));
}

void TestScriptJob::destroyedWhileRunning()
{
    QElapsedTimer clock;
    clock.start();
    {
        ScriptJob job;
        QVERIFY(job.start({QStringLiteral("s.js"), QStringLiteral("while (true) {}"), {}, Image, QString()}));
        QTest::qWait(50);
    }
    // The destructor stopped the script and waited for it, long before the timeout.
    QVERIFY(clock.elapsed() < ScriptJob::DefaultTimeoutMs / 2);
    // No endless script is left on the pool.
    QVERIFY(QThreadPool::globalInstance()->waitForDone(5000));
}

QTEST_GUILESS_MAIN(TestScriptJob)
#include "tst_script_job.moc"
