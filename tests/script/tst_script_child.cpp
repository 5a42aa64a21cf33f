// The frames a script's process sends back, as the editor reads them from
// the pipe: in pieces of any size, and a stream that is no frames refused.
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

QByteArray resultFrame(qint32 end, const QString& error, const QByteArray& image, bool changed)
{
    QByteArray body;
    QDataStream out(&body, QIODevice::WriteOnly);
    out << end << error << image << changed;
    return frame(ScriptChild::ResultFrame, body);
}

} // namespace

class TestScriptChild : public QObject {
    Q_OBJECT
private slots:
    void frames_data();
    void frames();
};

void TestScriptChild::frames_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<QString>("lines");    // every line taken, joined by |
    QTest::addColumn<QString>("result");   // END:ERROR:IMAGE-SIZE:CHANGED; empty: none
    QTest::addColumn<bool>("sound");
    const QByteArray image(300, '\x07');
    QTest::newRow("lines and a result")
        << logFrame({"a", "b c"}) + logFrame({"d"}) + resultFrame(0, QString(), image, true) << "a|b c|d"
        << "0::300:1" << true;
    QTest::newRow("a failure") << resultFrame(1, "s.js:2: bad", {}, false) << "" << "1:s.js:2: bad:0:0" << true;
    QTest::newRow("an end past the known ones") << resultFrame(9, "x", {}, false) << "" << "" << false;
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
                ok = ScriptChild::takeFrames(buffer, [&](const QStringList& l) { taken << l; }, end);
        }
        QCOMPARE(ok, sound);
        QCOMPARE(taken.join(QLatin1Char('|')), lines);
        if (!sound)
            continue;
        QVERIFY(buffer.isEmpty());
        QCOMPARE(end ? QStringLiteral("%1:%2:%3:%4").arg(int(end->end)).arg(end->error).arg(end->image.size()).arg(int(end->changed))
                     : QString(),
                 result);
    }
}

QTEST_GUILESS_MAIN(TestScriptChild)
#include "tst_script_child.moc"
