// Replays the recorded answers of the Windows INI functions
// (data/ini-corpus/answers.txt) against our INI layer: every call the
// layer can express (string reads with the default 1024-byte buffer, key and
// section lists, writes of a value), compared by answer; for writes, by the
// logical result (the sections, keys and values a later read sees), not by
// the bytes of untouched lines.
#include "base/ini_file.h"
#include "support/test_files.h"

#include <QFile>
#include <QMap>
#include <QSet>
#include <QStringDecoder>
#include <QtTest>

namespace {

// Bytes of a token of the corpus: \s \t \r \n \\ \xHH \e \R<n>:<c>.
QByteArray tokenBytes(const QByteArray& token)
{
    QByteArray out;
    for (qsizetype i = 0; i < token.size(); ++i) {
        const char c = token[i];
        if (c != '\\' || i + 1 >= token.size()) {
            out += c;
            continue;
        }
        const char e = token[++i];
        switch (e) {
        case 's': out += ' '; break;
        case 't': out += '\t'; break;
        case 'r': out += '\r'; break;
        case 'n': out += '\n'; break;
        case '\\': out += '\\'; break;
        case 'e': break;
        case 'x':
            out += char(token.mid(i + 1, 2).toInt(nullptr, 16));
            i += 2;
            break;
        case 'R': {
            const qsizetype colon = token.indexOf(':', i);
            const int n = token.mid(i + 1, colon - i - 1).toInt();
            out += QByteArray(n, token[colon + 1]);
            i = colon + 1;
            break;
        }
        default: out += '\\'; out += e; break;
        }
    }
    return out;
}

// The catalogue files are UTF-8 when valid, else ANSI (one byte one character);
// names and values given to a call are taken the same way.
QString text(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString s = decoder.decode(bytes);
    return decoder.hasError() ? QString::fromLatin1(bytes) : s;
}

// A quoted answer string ("..." with C escapes) or <n x "c">, starting at `at`.
// Advances `at` past it.
QByteArray answerString(const QByteArray& line, qsizetype& at)
{
    QByteArray out;
    if (line[at] == '<') {
        const qsizetype x = line.indexOf(" x \"", at);
        const int n = line.mid(at + 1, x - at - 1).toInt();
        out = QByteArray(n, line[x + 4]);
        at = line.indexOf('>', x) + 1;
        return out;
    }
    ++at; // opening quote
    while (at < line.size() && line[at] != '"') {
        if (line[at] == '\\') {
            const char e = line[++at];
            if (e == 'x') {
                out += char(line.mid(at + 1, 2).toInt(nullptr, 16));
                at += 3;
                continue;
            }
            out += e == 't' ? '\t' : e == 'r' ? '\r' : e == 'n' ? '\n' : e == '0' ? '\0' : e;
            ++at;
            continue;
        }
        out += line[at++];
    }
    ++at; // closing quote
    return out;
}

QStringList answerList(const QByteArray& line)
{
    QStringList items;
    qsizetype at = line.indexOf("list=[");
    if (at < 0)
        return items;
    at += 6;
    while (at < line.size() && line[at] != ']') {
        if (line[at] == ',') {
            ++at;
            continue;
        }
        items << text(answerString(line, at));
    }
    return items;
}

QString answerStr(const QByteArray& line)
{
    qsizetype at = line.indexOf("str=");
    if (at < 0)
        return {};
    at += 4;
    return text(answerString(line, at));
}

// What a reader of the file can see: the sections in order and, for each
// name (and ""), its keys in order and the value a read finds for each.
QStringList logicalView(const IniFile& ini)
{
    QStringList view;
    QStringList names = ini.sections();
    view << QStringLiteral("sections: ") + names.join(QLatin1Char('|'));
    names.prepend(QString());
    QSet<QString> seen;
    for (const QString& name : names) {
        if (seen.contains(name.toUpper()))
            continue;
        seen.insert(name.toUpper());
        for (const QString& key : ini.keys(name))
            view << QStringLiteral("[%1] %2=%3").arg(name, key, ini.readString(name, key, QStringLiteral("<none>")));
    }
    return view;
}

struct Call {
    QByteArray line;
    QByteArray answer;
};

struct Case {
    QString name;
    std::vector<Call> calls;
};

std::vector<Case> readCorpus(const QByteArray& content)
{
    std::vector<Case> cases;
    const QList<QByteArray> lines = content.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        if (line.startsWith("=== ")) {
            cases.push_back(Case{QString::fromUtf8(line.mid(4)), {}});
        } else if (line.isEmpty() || line.startsWith('#') || line.startsWith("->")) {
            continue;
        } else if (!cases.empty()) {
            Call call{line, {}};
            if (i + 1 < lines.size() && lines[i + 1].trimmed().startsWith("->"))
                call.answer = lines[++i].trimmed().mid(3);
            cases.back().calls.push_back(call);
        }
    }
    return cases;
}

// Differences we keep on purpose.
const QMap<QString, QString>& knownDifferences()
{
    static const QMap<QString, QString> known{
        // The recorder answers an empty key list when a section's first key
        // has an empty name ("=value"); we list every key.
        {QStringLiteral("keys eq.ini S"), QStringLiteral("a first key with an empty name empties the list there")},
        // A quoted value at the buffer's limit loses one more character
        // there, a quirk of the recorder; we keep 1023 characters.
        {QStringLiteral("get long.ini S q1023 d"), QStringLiteral("a quoted value at the buffer limit loses a character there")},
    };
    return known;
}

} // namespace

class TestIniCorpus : public QObject {
    Q_OBJECT
private slots:
    void replay();
};

void TestIniCorpus::replay()
{
    QFile corpus(QStringLiteral(KARTOLA_INI_CORPUS));
    QVERIFY2(corpus.open(QIODevice::ReadOnly), qPrintable(corpus.fileName() + QStringLiteral(": ") + corpus.errorString()));
    const std::vector<Case> cases = readCorpus(corpus.readAll());
    QVERIFY(cases.size() >= 30);

    TestDir dir;
    int agreedCases = 0, comparedCases = 0, agreedCalls = 0, comparedCalls = 0, skippedCalls = 0;
    QStringList unexpected, expectedDifferences;
    for (const Case& c : cases) {
        bool caseAgrees = true, compared = false;
        QByteArray pendingWrite; // INI name of the last set, compared at its dump
        for (const Call& call : c.calls) {
            const QList<QByteArray> args = call.line.split(' ');
            const QByteArray& cmd = args[0];
            if (args.size() < 2 || args[1].startsWith('!')) {
                ++skippedCalls;
                continue;
            }
            const QString path = dir.file(QString::fromLatin1(args[1]));
            IniFile ini(path);
            auto arg = [&](int i) { return text(tokenBytes(args[i])); };
            auto isNull = [&](int i) { return args[i] == "\\N"; };
            auto bufferIsDefault = [&](int sizeArg) { return args.size() <= sizeArg || args[sizeArg] == "1024"; };

            QString ours, theirs;
            if (cmd == "file") {
                QByteArray bytes;
                for (qsizetype i = 2; i < args.size(); ++i)
                    bytes += tokenBytes(args[i]);
                // The recorder says how many bytes it wrote: a check on our reading of the tokens.
                QCOMPARE(QByteArray("wrote " + QByteArray::number(bytes.size()) + " bytes"), call.answer);
                QFile f(path);
                QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
                f.write(bytes);
                f.close();
                continue;
            } else if (cmd == "get" && args.size() >= 5 && bufferIsDefault(5) && !isNull(2)) {
                if (isNull(3)) {
                    ours = ini.keys(arg(2)).join(QLatin1Char('|'));
                    theirs = answerList(call.answer).join(QLatin1Char('|'));
                } else {
                    ours = ini.readString(arg(2), arg(3), isNull(4) ? QString() : arg(4));
                    theirs = answerStr(call.answer);
                    // The batch read of a category gives what single reads give.
                    if (isNull(4) || arg(4).isEmpty())
                        QCOMPARE(ini.readStrings(arg(2), {arg(3)}), QStringList{ours});
                }
            } else if (cmd == "keys" && args.size() >= 3 && bufferIsDefault(3)) {
                ours = ini.keys(arg(2)).join(QLatin1Char('|'));
                theirs = answerList(call.answer).join(QLatin1Char('|'));
            } else if (cmd == "sections" && bufferIsDefault(2)) {
                ours = ini.sections().join(QLatin1Char('|'));
                theirs = answerList(call.answer).join(QLatin1Char('|'));
            } else if (cmd == "set" && args.size() >= 5 && !isNull(2) && !isNull(3) && !isNull(4)) {
                ours = ini.writeString(arg(2), arg(3), arg(4)) ? QStringLiteral("ok=1") : QStringLiteral("ok=0");
                theirs = QString::fromLatin1(call.answer.left(4));
                pendingWrite = args[1];
            } else if (cmd == "dump" && pendingWrite == args[1] && call.answer.contains(" bytes \"")) {
                qsizetype at = call.answer.indexOf('"');
                TestDir expectedDir;
                expectedDir.write(QStringLiteral("expected.ini"), answerString(call.answer, at));
                ours = logicalView(ini).join(QLatin1Char('\n'));
                theirs = logicalView(IniFile(expectedDir.file(QStringLiteral("expected.ini")))).join(QLatin1Char('\n'));
            } else {
                ++skippedCalls; // a call the editor never makes (buffer sizes, deletes, whole sections...)
                continue;
            }
            compared = true;
            ++comparedCalls;
            if (ours == theirs) {
                ++agreedCalls;
                continue;
            }
            caseAgrees = false;
            const QString what = QString::fromLatin1(call.line);
            const QString report = QStringLiteral("%1: %2\n   ours:    %3\n   Windows: %4").arg(c.name, what, ours, theirs);
            if (knownDifferences().contains(what))
                expectedDifferences << report + QStringLiteral("\n   known: ") + knownDifferences().value(what);
            else
                unexpected << report;
        }
        if (compared) {
            ++comparedCases;
            if (caseAgrees)
                ++agreedCases;
        }
    }
    qInfo("ini-corpus: %d of %d cases agree (%d of %d calls compared agree, %d calls not expressible)",
          agreedCases, comparedCases, agreedCalls, comparedCalls, skippedCalls);
    for (const QString& d : expectedDifferences)
        qInfo("known difference: %s", qPrintable(d));
    QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(QLatin1Char('\n'))));
    QCOMPARE(expectedDifferences.size(), knownDifferences().size());
}

QTEST_GUILESS_MAIN(TestIniCorpus)
#include "tst_ini_corpus.moc"
