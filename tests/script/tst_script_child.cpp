// The frames a script's process sends back, as the editor reads them from
// the pipe: in pieces of any size, and a stream that is no frames refused;
// the changed bytes that come back instead of the whole image.
#include "script/script_child.h"

#include <QDataStream>
#include <QtTest>

namespace {

QByteArray frame(quint8 kind, const QByteArray& body)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << kind << body;
    return bytes;
}

QByteArray logFrame(const QStringList& lines)
{
    QByteArray body;
    QDataStream out(&body, QIODevice::WriteOnly);
    out << lines;
    return frame(ScriptChild::LogFrame, body);
}

// A result whose changes are (offset, bytes) pairs.
QByteArray resultFrame(qint32 end, const QString& error, bool changed, const QList<QPair<qint64, QByteArray>>& changes = {})
{
    QByteArray body;
    QDataStream out(&body, QIODevice::WriteOnly);
    out << end << error << changed << quint32(changes.size());
    for (const auto& [offset, bytes] : changes)
        out << offset << bytes;
    return frame(ScriptChild::ResultFrame, body);
}

} // namespace

class TestScriptChild : public QObject {
    Q_OBJECT
private slots:
    void frames_data();
    void frames();
    void changes_data();
    void changes();
};

void TestScriptChild::frames_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<QString>("lines");    // every line taken, joined by |
    QTest::addColumn<QString>("result");   // END:ERROR:IMAGE:CHANGED; empty: none
    QTest::addColumn<bool>("sound");
    QTest::newRow("lines and a result")
        << logFrame({"a", "b c"}) + logFrame({"d"}) + resultFrame(0, QString(), true, {{1, "xy"}, {5, "z"}})
        << "a|b c|d" << "0::0xy34z:1" << true;
    QTest::newRow("unchanged") << resultFrame(0, QString(), false) << "" << "0::012345:0" << true;
    QTest::newRow("a longer image") << resultFrame(0, QString(), true, {{-1, "0123456"}}) << "" << "0::0123456:1"
                                    << true;
    QTest::newRow("a change to the last byte") << resultFrame(0, QString(), true, {{5, "!"}}) << "" << "0::01234!:1"
                                               << true;
    QTest::newRow("a change past the end") << resultFrame(0, QString(), true, {{5, "!!"}}) << "" << "" << false;
    QTest::newRow("a change before the start") << resultFrame(0, QString(), true, {{-2, "!"}}) << "" << "" << false;
    QTest::newRow("a failure") << resultFrame(1, "s.js:2: bad", false) << "" << "1:s.js:2: bad::0" << true;
    QTest::newRow("an end past the known ones") << resultFrame(9, "x", false) << "" << "" << false;
    QTest::newRow("an unknown frame") << logFrame({"a"}) + frame(7, "x") << "a" << "" << false;
    QTest::newRow("a log frame of no lines") << frame(ScriptChild::LogFrame, "\x01") << "" << "" << false;
}

void TestScriptChild::frames()
{
    QFETCH(QByteArray, stream);
    QFETCH(QString, lines);
    QFETCH(QString, result);
    QFETCH(bool, sound);
    // The same frames taken whole and cut in two at every byte.
    for (qsizetype cut = 0; cut <= stream.size(); ++cut) {
        QByteArray buffer;
        QStringList taken;
        std::optional<ScriptResult> end;
        bool ok = true;
        for (const QByteArray& piece : {stream.left(cut), stream.mid(cut)}) {
            buffer += piece;
            if (ok)
                ok = ScriptChild::takeFrames(buffer, [&](const QStringList& l) { taken << l; }, end, "012345");
        }
        QCOMPARE(ok, sound);
        QCOMPARE(taken.join(QLatin1Char('|')), lines);
        if (!sound)
            continue;
        QVERIFY(buffer.isEmpty());
        QCOMPARE(end ? QStringLiteral("%1:%2:%3:%4").arg(int(end->end)).arg(end->error).arg(QString::fromLatin1(end->image)).arg(int(end->changed))
                     : QString(),
                 result);
    }
}

// Changes found between two images give the second back from the first, in
// as many runs as the table says: changes with fewer than 16 bytes between join.
void TestScriptChild::changes_data()
{
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<int>("runs");
    const QByteArray before(100, 'a');
    QByteArray near = before, far = before;
    near[0] = near[16] = near[99] = 'b';   // the ends, the first two 15 bytes between
    far[10] = far[27] = 'b';               // 16 bytes between
    QTest::newRow("none") << before << 0;
    QTest::newRow("near and at the ends") << near << 2;
    QTest::newRow("apart") << far << 2;
    QTest::newRow("another length") << QByteArray(101, 'a') << 1;
}

void TestScriptChild::changes()
{
    QFETCH(QByteArray, after);
    QFETCH(int, runs);
    const QByteArray before(100, 'a');
    const QList<ScriptChild::ImageChange> changes = ScriptChild::imageChanges(before, after);
    QCOMPARE(changes.size(), runs);
    QByteArray image = before;
    QVERIFY(ScriptChild::applyImageChanges(image, changes));
    QCOMPARE(image, after);
}

QTEST_GUILESS_MAIN(TestScriptChild)
#include "tst_script_child.moc"
