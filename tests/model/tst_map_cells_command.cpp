// The cell edits of the undo history: what undo and redo write back, for
// large fills and long strokes, and what the history keeps of them.
#include "model/map/map_cells_command.h"
#include "model/map/map_state.h"

#include <QUndoStack>
#include <QtTest>

#include <random>

namespace {

// Cells given as (cell, new byte); the byte before is taken from the map as
// the edit is made, as the editor does.
using Step = QList<QPair<int, int>>;
using Steps = QList<Step>;

constexpr int MapCells = 100 * 100;

MapState patternedMap(int readCells)
{
    MapState map;
    map.hasMap = true;
    map.loadedBytes = readCells;
    map.loadedCells = readCells;
    for (int i = 0; i < MapBufferSize; ++i)
        map.MapBytes[size_t(i)] = quint8(i * 37 + 11);
    return map;
}

Step shuffled(Step cells)
{
    std::mt19937 random(7);
    std::shuffle(cells.begin(), cells.end(), random);
    return cells;
}

}

class TestMapCellsCommand : public QObject {
    Q_OBJECT
private slots:
    void undoRedoRestoresBytes_data();
    void undoRedoRestoresBytes();
};

void TestMapCellsCommand::undoRedoRestoresBytes_data()
{
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<bool>("stroke");
    QTest::addColumn<int>("readCells");
    QTest::addColumn<int>("entries");
    QTest::addColumn<double>("bytesPerCell");   // most the edits may hold per cell kept

    Step whole;
    for (int c = 0; c < MapCells; ++c)
        whole.append({c, 0x42});
    QTest::newRow("whole map, in fill order") << Steps{shuffled(whole)} << false << MapCells << 1 << 2.01;

    Step checker;
    for (int c = 0; c < MapCells; c += 2)
        checker.append({c, c & 0xFF});
    QTest::newRow("every other cell") << Steps{shuffled(checker)} << false << MapCells << 1 << 6.01;

    Steps strokeSteps;
    for (int k = 0; k < 3000; ++k)   // over and over the same 700 cells
        strokeSteps.append(Step{{(k * 13) % 700 * 3, k & 0xFF}, {(k * 13) % 700 * 3 + 1, (k + 1) & 0xFF}});
    QTest::newRow("long stroke over painted cells") << strokeSteps << true << MapCells << 1 << 4.0;

    Steps gaps;   // every other cell, then the cells between them
    for (int c : {0, 1})
        for (int k = c; k < 1000; k += 2)
            gaps.append(Step{{k, 0x80 + c}});
    QTest::newRow("stroke fills the gaps it left") << gaps << true << MapCells << 1 << 4.0;

    Step again = whole;
    for (auto& cell : again)
        cell.second = 0x17;
    QTest::newRow("two fills stay two entries") << Steps{whole, shuffled(again)} << false << MapCells << 2 << 2.01;
    QTest::newRow("one list names a cell twice") << Steps{Step{{5, 1}, {9, 2}, {5, 3}}} << false << MapCells << 1 << 6.0;
    QTest::newRow("cells past the bytes read") << Steps{Step{{10, 1}, {60, 2}, {99, 3}}} << false << 50 << 1 << 6.0;
}

void TestMapCellsCommand::undoRedoRestoresBytes()
{
    QFETCH(Steps, steps);
    QFETCH(bool, stroke);
    QFETCH(int, readCells);
    QFETCH(int, entries);
    QFETCH(double, bytesPerCell);

    MapState map = patternedMap(readCells);
    const MapState start = map;
    // What the map holds after the steps, written cell by cell.
    MapState expected = map;
    QUndoStack history;
    for (const Step& step : steps) {
        CellEdits edits;
        for (const auto& [cell, block] : step) {
            edits.push_back(CellEdit{cell, expected.MapBytes[size_t(cell)], quint8(block)});
            expected.paintCell(cell, block);
        }
        history.push(new MapCellsCommand(map, QStringLiteral("Paint"), edits, {}, stroke ? 1 : MapCellsCommand::NoStroke));
    }
    QCOMPARE(history.count(), entries);
    QCOMPARE(map.MapBytes, expected.MapBytes);

    for (int round = 0; round < 2; ++round) {
        while (history.canUndo())
            history.undo();
        QCOMPARE(map.MapBytes, start.MapBytes);
        while (history.canRedo())
            history.redo();
        QCOMPARE(map.MapBytes, expected.MapBytes);
    }

    for (int i = 0; i < history.count(); ++i) {
        const auto* command = static_cast<const MapCellsCommand*>(history.command(i));
        const size_t kept = command->cells().size();
        QVERIFY(kept > 0);
        QVERIFY2(double(command->heldBytes()) <= bytesPerCell * double(kept) + 16,
                 qPrintable(QStringLiteral("%1 bytes for %2 cells").arg(command->heldBytes()).arg(kept)));
    }
}

QTEST_MAIN(TestMapCellsCommand)
#include "tst_map_cells_command.moc"
