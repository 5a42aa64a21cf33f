// Measures the recovery write of an 8 MiB image with a few hundred scattered
// unsaved changes (patch, metadata and the checked write of the file), and
// what a change costs the edit that makes it (the timer's check).
// Usage: bench_recovery [ROUNDS]   (default 21; medians are shown)
#include "session/editor_session.h"
#include "session/recovery_keeper.h"
#include "model/rom/rom_image.h"
#include "silent_prompts.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 21;
    QTemporaryDir dir;
    constexpr qint64 Size = 8 * 1024 * 1024;
    QByteArray rom(Size, '\0');
    QRandomGenerator random(7);
    for (qint64 i = 0; i < Size; ++i)
        rom[i] = char(random.bounded(256));
    const QString path = dir.filePath(QStringLiteral("big.gbc"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(rom) != Size)
        return 1;
    file.close();

    EditorState state(dir.path());
    SilentPrompts prompts;
    EditorSession session(state, prompts);
    session.recovery().setFolder(dir.filePath(QStringLiteral("recovery")));
    if (!session.loadRom(path).isDone())
        return 1;
    session.editRom(QStringLiteral("scattered"), [](RomImage& image) {
        for (qint64 offset = 4096; offset < Size; offset += 20011) {
            const quint8 byte = quint8(~image.byteAt(offset));
            image.writeAt(offset, &byte, 1);
        }
        return true;
    });

    std::vector<double> writes;
    for (int r = 0; r < rounds; ++r) {
        QElapsedTimer t;
        t.start();
        // The whole write, made on the writer's thread.
        session.recovery().writeNow();
        session.recovery().settle();
        writes.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::vector<double> changes;
    for (int r = 0; r < rounds; ++r) {
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < 1000; ++i)
            session.recovery().changed();
        changes.push_back(double(t.nsecsElapsed()) / 1000.0);
    }
    std::printf("recovery write, 8 MiB image, %d changes: %.2f ms (median of %d)\n", int(Size / 20011), median(writes),
                rounds);
    std::printf("a change noted (timer pending): %.1f ns\n", median(changes));
    std::printf("recovery file: %lld bytes\n",
                qlonglong(QFile(session.recovery().filePath()).size()));
    return 0;
}
