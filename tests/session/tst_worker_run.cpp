// The worker helper behind Apply Patch and Save Map Picture: the owner's
// event loop keeps running while the work does, and the result is handed
// over exactly once, on the owner's thread.
#include "session/worker_run.h"

#include <QSemaphore>
#include <QThread>
#include <QTimer>
#include <QtTest>

class TestWorkerRun : public QObject {
    Q_OBJECT
private slots:
    void handOver_data();
    void handOver();
};

void TestWorkerRun::handOver_data()
{
    QTest::addColumn<int>("end");   // 0 by the event loop, 1 finish(), 2 destroyed
    QTest::newRow("by the event loop") << 0;
    QTest::newRow("finished at once") << 1;
    QTest::newRow("destroyed: dropped") << 2;
}

void TestWorkerRun::handOver()
{
    QFETCH(int, end);
    QSemaphore gate;
    int handed = 0;
    QThread* handedOn = nullptr;
    QThread* workedOn = nullptr;
    auto run = std::make_unique<WorkerRun>();
    QVERIFY(run->start([&]() -> WorkerRun::Handover {
        workedOn = QThread::currentThread();
        gate.acquire();
        return [&] {
            ++handed;
            handedOn = QThread::currentThread();
        };
    }));
    QVERIFY(!run->start([] { return WorkerRun::Handover(); }));   // one at a time

    // The owner's thread answers while the work is held.
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(1);
    QTRY_VERIFY(ticks >= 3);
    QVERIFY(run->isRunning());
    QCOMPARE(handed, 0);
    gate.release();
    if (end == 0) {
        QTRY_COMPARE(handed, 1);
    } else if (end == 1) {
        run->finish();
        QCOMPARE(handed, 1);
    } else {
        run.reset();
        QCoreApplication::processEvents();
        QCOMPARE(handed, 0);
        return;
    }
    QVERIFY(workedOn != QThread::currentThread());
    QCOMPARE(handedOn, QThread::currentThread());
    QVERIFY(!run->isRunning());
    QTest::qWait(20);
    QCOMPARE(handed, 1);   // the queued call after finish() finds nothing
    // Free for the next piece of work.
    QVERIFY(run->start([] { return WorkerRun::Handover(); }));
    QTRY_VERIFY(!run->isRunning());
}

QTEST_GUILESS_MAIN(TestWorkerRun)
#include "tst_worker_run.moc"
