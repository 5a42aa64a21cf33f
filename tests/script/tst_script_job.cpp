// A script run away from the calling thread: its lines and its end arrive on
// the caller's thread, and a stop, the timeout or the job's end stop even a
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
const QByteArray Image("\x00\x01", 2);
ScriptRequest request(const QString& source) { return {QStringLiteral("s.js"), source, {}, Image, QString()}; }
}

void TestScriptJob::ends_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("timeoutMs");   // 0: stop() once the line "go" arrives
    QTest::addColumn<int>("lineCount");   // the last one is "go"
    QTest::addColumn<ScriptResult::End>("end");
    QTest::addColumn<QByteArray>("image");
    const QString endless = QStringLiteral("rom.setByte(0, 9); log('go'); while (true) {}");
    QTest::newRow("finished") << "rom.setByte(0, 9); log('go')" << 10000 << 1 << ScriptResult::End::Finished
                              << QByteArray("\x09\x01", 2);
    QTest::newRow("a flood of lines") << "for (let i = 0; i < 5000; ++i) log(i); log('go')" << 10000 << 5001
                                      << ScriptResult::End::Finished << Image;
    QTest::newRow("stopped") << endless << 0 << 1 << ScriptResult::End::Stopped << QByteArray();
    QTest::newRow("timed out") << endless << 100 << 1 << ScriptResult::End::TimedOut << QByteArray();
}

void TestScriptJob::ends()
{
    QFETCH(QString, source);
    QFETCH(int, timeoutMs);
    QFETCH(int, lineCount);
    QFETCH(ScriptResult::End, end);
    QFETCH(QByteArray, image);
    ScriptJob job;
    QStringList lines;
    std::optional<ScriptResult> result;
    connect(&job, &ScriptJob::logLines, this, [&](const QStringList& batch) {
        QVERIFY(QThread::currentThread() == thread() && !result && !batch.isEmpty());
        for (const QString& line : batch) {
            QCOMPARE(line, lines.size() == lineCount - 1 ? QStringLiteral("go") : QString::number(lines.size()));
            lines << line;
        }
        if (timeoutMs == 0)
            job.stop();
    });
    QSignalSpy finished(&job, &ScriptJob::finished);
    connect(&job, &ScriptJob::finished, this, [&](const ScriptResult& r) { result = r; });
    QVERIFY(job.start(request(source), timeoutMs == 0 ? 60000 : timeoutMs));
    QVERIFY(!job.start(request(QStringLiteral("log(2)"))));   // one at a time
    QVERIFY(finished.wait(30000));
    QVERIFY(!job.isRunning());
    QCOMPARE(lines.size(), lineCount);
    QCOMPARE(result->end, end);
    QCOMPARE(result->image, image);
    QCOMPARE(result->changed, !image.isEmpty() && image != Image);
}

void TestScriptJob::destroyedWhileRunning()
{
    QElapsedTimer clock;
    clock.start();
    {
        ScriptJob job;
        QVERIFY(job.start(request(QStringLiteral("while (true) {}"))));
        QTest::qWait(50);
    }
    QVERIFY(clock.elapsed() < ScriptJob::DefaultTimeoutMs / 2);
    QVERIFY(QThreadPool::globalInstance()->waitForDone(5000));   // nothing left running
}

QTEST_GUILESS_MAIN(TestScriptJob)
#include "tst_script_job.moc"
