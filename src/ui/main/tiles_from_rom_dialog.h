#pragma once

#include "model/map/tiles_from_rom.h"
#include "session/session_outcome.h"

#include <QDialog>
#include <QImage>

#include <functional>

class QCheckBox;
class QLabel;
class QSpinBox;
class RomImage;

// Catalogue > Tiles from ROM...: 96 of the cartridge's 2-bit tiles from an
// offset the user steps through (a tile at a time, ten with PageUp and
// PageDown), drawn as they would be saved, in four greys or in a
// palette read from the image. OK saves them as the tileset's tile picture.
class TilesFromRomDialog : public QDialog {
    Q_OBJECT
public:
    using Apply = std::function<SessionOutcome(const TilesFromRom&)>;
    TilesFromRomDialog(const RomImage& rom, qint64 tileset, Apply apply, QWidget* parent = nullptr);

    TilesFromRom tiles() const;
    QImage preview() const { return m_preview; }
    void accept() override;

    QSpinBox* Tileset = nullptr;
    QSpinBox* Offset = nullptr;
    QCheckBox* UsePalette = nullptr;
    QSpinBox* PaletteOffset = nullptr;
    QLabel* Preview = nullptr;
    QLabel* Refusal = nullptr;

private:
    void update();

    const RomImage& m_rom;
    Apply m_apply;
    QImage m_preview;
};
