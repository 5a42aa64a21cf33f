// The whole map pick on a random catalogue over a random small ROM image,
// through the editing session as the program runs it: Load Rom, a pick of
// each listed map (record, tile picture, tileset build, map bytes, events,
// wild tables), a few edits and their undo, then Save Rom As into a file.
// A saved file must hold the image byte for byte; a refused save must leave
// the previous file as it was.
#include "session/editor_session.h"
#include "fuzz_support.h"
#include "model/map/bmp_writer.h"
#include "base/prompts.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QDir>
#include <QImage>

namespace {

// Every question is answered by the input; file dialogs are never opened here.
class FuzzPrompts : public Prompts {
public:
    explicit FuzzPrompts(FuzzedDataProvider& in) : m_in(in) {}
    Answer message(Kind, const QString&, Buttons buttons) override
    {
        switch (buttons) {
        case Buttons::Ok: return Answer::Ok;
        case Buttons::YesNo: return m_in.ConsumeBool() ? Answer::Yes : Answer::No;
        case Buttons::YesNoCancel: return m_in.PickValueInArray({Answer::Yes, Answer::No, Answer::Cancel});
        case Buttons::SaveDiscardCancel: return m_in.PickValueInArray({Answer::Save, Answer::Discard, Answer::Cancel});
        case Buttons::OverwriteSaveAsCancel:
            return m_in.PickValueInArray({Answer::Overwrite, Answer::SaveAs, Answer::Cancel});
        }
        return Answer::Ok;
    }
    std::optional<QString> openFile(const FileRequest&) override { return std::nullopt; }
    std::optional<QString> saveFile(const FileRequest&) override { return std::nullopt; }
    void about(const QString&, const QString&) override {}
    int pause(int) override { return 0; }

private:
    FuzzedDataProvider& m_in;
};

// A catalogue value: mostly plausible for a small image, sometimes any
// 32-bit number, sometimes text that is no number at all.
QByteArray value(FuzzedDataProvider& in, int low, int high)
{
    switch (in.ConsumeIntegralInRange<int>(0, 7)) {
    case 0: return QByteArray::number(in.ConsumeIntegral<qint32>());
    case 1: return QByteArray::fromStdString(in.ConsumeRandomLengthString(10));
    case 2: return "$" + QByteArray::number(in.ConsumeIntegralInRange<int>(low, high), 16);
    default: return QByteArray::number(in.ConsumeIntegralInRange<int>(low, high));
    }
}

// The last block number of a tileset: mostly a few blocks, since each one
// is composed at the pick, now and then up to and past the cache's 128.
int blockLimit(FuzzedDataProvider& in)
{
    return in.ConsumeIntegralInRange<int>(0, 7) == 0 ? 130 : 12;
}

const QStringList MapNames{QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Gamma")};

void writeCatalogue(FuzzedDataProvider& in, int romSize)
{
    QByteArray main = "[Places]\r\n", maps, tilesets, critters, events;
    for (int m = 0; m < MapNames.size(); ++m) {
        const QByteArray name = MapNames[m].toLatin1();
        main += QByteArray::number(m + 1) + "=" + name + "\r\n";
        if (in.ConsumeIntegralInRange<int>(0, 9) == 0)
            continue; // a listed map without a record
        const int start = in.ConsumeIntegralInRange<int>(0, romSize);
        maps += "[" + name + "]\r\nStart offset=" + value(in, start, start)
            + "\r\nEnd offset=" + value(in, start - 2, start + 400)
            + "\r\nX size=" + value(in, -1, 24) + "\r\nY size=" + value(in, -1, 24)
            + "\r\nTileset=" + value(in, 0, 3) + "\r\nComment=" + name + "\r\n";
        critters += "[" + name + "]\r\nStart offset=" + value(in, -1, romSize) + "\r\n";
        events += "[" + name + "]\r\n";
        for (const char* key : {"Warps", "Singposts", "Peoples"})
            events += QByteArray(key) + "=" + value(in, -1, 8) + "\r\n";
        for (const char* key : {"Warp offset", "Singpost offset", "People offset"})
            events += QByteArray(key) + "=" + value(in, -1, romSize) + "\r\n";
    }
    for (int t = 1; t <= 3; ++t)
        tilesets += "[" + QByteArray::number(t) + "]\r\nBlocks=" + value(in, -1, blockLimit(in)) + "\r\nStart offset="
            + value(in, 0, romSize) + "\r\nTiles=" + (in.ConsumeBool() ? "Tiles\\pics.BMP" : "missing.bmp") + "\r\n";
    critters += "[Settings]\r\nGrid=" + value(in, 0, 1) + "\r\n";
    fuzz::writeSettledScratch(QStringLiteral("Main.Ini"), main);
    fuzz::writeSettledScratch(QStringLiteral("Maps.Ini"), maps);
    fuzz::writeSettledScratch(QStringLiteral("Tilesets.ini"), tilesets);
    fuzz::writeSettledScratch(QStringLiteral("Critters.ini"), critters);
    fuzz::writeSettledScratch(QStringLiteral("Events.ini"), events);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool pictureWritten = [] {
        QDir(fuzz::scratch().path()).mkpath(QStringLiteral("tiles"));
        QImage tiles(256, 96, QImage::Format_RGB32);
        for (int y = 0; y < tiles.height(); ++y)
            for (int x = 0; x < tiles.width(); ++x)
                tiles.setPixel(x, y, qRgb(x, y * 2, (x ^ y) & 0xFF));
        QString error;
        return writeBmp24(fuzz::scratch().filePath(QStringLiteral("tiles/pics.bmp")), tiles, &error);
    }();
    FUZZ_CHECK(pictureWritten);

    FuzzedDataProvider in(data, size);
    const QString dir = fuzz::scratch().path();
    const int romSize = in.ConsumeIntegralInRange<int>(0, 0x3000);
    writeCatalogue(in, romSize);
    QByteArray rom = QByteArray::fromStdString(in.ConsumeBytesAsString(size_t(romSize)));
    for (qsizetype i = rom.size(); i < romSize; ++i)
        rom.append(char(i * 7));
    const QString romPath = fuzz::writeScratch(QStringLiteral("rom.gbc"), rom);

    FuzzPrompts prompts(in);
    EditorState state(dir);
    EditorSession session(state, prompts);
    FUZZ_CHECK(session.loadRom(romPath).isDone());
    for (const QString& name : MapNames) {
        const EditorSession::PickResult pick = session.pickMap(name);
        if (!pick.outcome.isDone())
            continue;
        FUZZ_CHECK(state.core.map.name == name);
        const int cells = int(state.core.map.cellCount());
        session.stamp().setSelectedBlock(in.ConsumeIntegralInRange<int>(-1, 300));
        session.beginStroke();
        session.paintCell(in.ConsumeIntegralInRange<int>(-1, cells));
        session.endStroke();
        session.events().beginDrag();
        session.events().dragEvent(TEventData{quint8(in.ConsumeIntegralInRange<int>(0, 3)), quint8(in.ConsumeIntegralInRange<int>(0, 2))},
                          in.ConsumeIntegralInRange<int>(-1, 300), in.ConsumeIntegralInRange<int>(-1, 300));
        session.events().endDrag();
        session.encounters().setEncounterNumber(in.ConsumeIntegralInRange<int>(-1, 3), in.ConsumeIntegralInRange<int>(-1, 7),
                                   in.ConsumeIntegral<qint32>());
        if (in.ConsumeBool())
            session.undoStack().undo();
    }

    const QString out = QDir(dir).filePath(QStringLiteral("saved.gbc"));
    QFile::remove(out);
    QFile::remove(out + QStringLiteral(".bak"));
    if (session.saveRomAs(out).isDone()) {
        QFile saved(out);
        FUZZ_CHECK(saved.open(QIODevice::ReadOnly));
        FUZZ_CHECK(saved.readAll() == state.core.rom.bytes());
    }
    FUZZ_CHECK(state.core.rom.size() == romSize);
    return 0;
}
