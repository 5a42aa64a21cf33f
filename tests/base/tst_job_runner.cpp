// The runner behind all background work: what jobs make comes back on the
// owner's thread in the order made, no more than `ahead` jobs are out, a job
// stopped before its hand-over is dropped, and the runner's end waits for
// every job and hands nothing over.
#include "base/job_runner.h"

#include <QThread>
#include <QtTest>

class TestJobRunner : public QObject {
    Q_OBJECT
private slots:
    void guarantees_data();
    void guarantees();
};

void TestJobRunner::guarantees_data()
{
    QTest::addColumn<int>("threads");
    QTest::addColumn<int>("ahead");
    QTest::addColumn<int>("end");       // 0 event loop, 1 finish(), 2 destroyed
    QTest::addColumn<int>("stopped");   // the job stopped once its work is done
    QTest::addColumn<QString>("log");
    QTest::newRow("one thread, event loop") << 1 << 1 << 0 << -1 << "0a 0b 0 1a 1b 1 2a 2b 2 3a 3b 3";
    QTest::newRow("three threads, two out, finish") << 3 << 2 << 1 << 2 << "0a 0b 0 1a 1b 1 2! 3a 3b 3";
    QTest::newRow("three threads, all out, event loop") << 3 << 4 << 0 << 0 << "0! 1a 1b 1 2a 2b 2 3a 3b 3";
    QTest::newRow("on the owner's thread") << 0 << 1 << 1 << 3 << "0a 0b 0 1a 1b 1 2a 2b 2 3a 3b 3!";
    QTest::newRow("destroyed with jobs out") << 2 << 4 << 2 << -1 << "";
}

void TestJobRunner::guarantees()
{
    QFETCH(int, threads);
    QFETCH(int, ahead);
    QFETCH(int, end);
    QFETCH(int, stopped);
    QFETCH(QString, log);
    constexpr int Jobs = 4;
    QStringList made;
    int handed = 0;
    std::atomic<int> ended = 0;
    auto runner = std::make_unique<JobRunner>(threads, ahead);
    for (int k = 0; k < Jobs; ++k) {
        runner->add([&, k](JobRunner::Job& job) -> JobRunner::Handover {
            // Later jobs end first.
            QThread::msleep(3 * (Jobs - k));
            const QString name = QString::number(k);
            job.post([&, name] { made << name + "a"; });
            job.post([&, name] { made << name + "b"; });
            if (k == stopped)
                job.progress().stop();   // asked after the work, before the hand-over
            ++ended;
            return {[&, name] {
                        QCOMPARE(QThread::currentThread(), thread());
                        made << name;
                        ++handed;
                    },
                    [&, name] { made << name + "!", ++handed; }};
        });
        QVERIFY2(k + 1 - handed <= ahead, "more jobs out than allowed");
    }
    if (end == 0)
        QTRY_COMPARE(handed, Jobs);
    else if (end == 1)
        runner->finish();
    else
        runner.reset();
    QCOMPARE(ended.load(), Jobs);   // every job waited for
    QCoreApplication::processEvents();
    QCOMPARE(made.join(QLatin1Char(' ')), log);
}

QTEST_GUILESS_MAIN(TestJobRunner)
#include "tst_job_runner.moc"
