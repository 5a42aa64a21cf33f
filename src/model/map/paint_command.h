#pragma once

#include <QMap>
#include <QUndoCommand>
#include <functional>

struct MapState;

// A paint stroke: every cell painted from a press to its release. Each cell
// painted is pushed as a command of its own and merged into the stroke's,
// which keeps the byte every cell held before the stroke.
class PaintCommand : public QUndoCommand {
public:
    using Changed = std::function<void(int cell)>;

    // `stroke` tells strokes apart: only commands of one stroke merge.
    PaintCommand(MapState& map, int stroke, int cell, quint8 block, Changed changed);

    static constexpr int Id = 0x4b01;
    int id() const override { return Id; }
    bool mergeWith(const QUndoCommand* other) override;
    void redo() override;
    void undo() override;

private:
    struct Cell {
        quint8 before = 0;
        quint8 after = 0;
    };
    MapState& m_map;
    int m_stroke;
    QMap<int, Cell> m_cells;
    Changed m_changed;
};
