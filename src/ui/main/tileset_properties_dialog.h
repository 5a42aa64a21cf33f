#pragma once

#include "model/catalogue/catalogue_writer.h"
#include "session/session_outcome.h"

#include <QDialog>
#include <QImage>

#include <functional>

class QLabel;
class QLineEdit;
class QSpinBox;
class RomImage;

// Catalogue > Tileset Properties...: the blocks' offset and count and the
// tile picture of a tileset, with its block palette drawn as the values
// change and the refusal shown in the dialog while they cannot be used.
class TilesetPropertiesDialog : public QDialog {
    Q_OBJECT
public:
    using Apply = std::function<SessionOutcome(const TilesetFields&)>;
    TilesetPropertiesDialog(const Catalogue& catalogue, const RomImage& rom, qint64 tileset, Apply apply,
                            QWidget* parent = nullptr);

    TilesetFields fields() const;
    void accept() override;

    QSpinBox* Number = nullptr;
    QSpinBox* Blocks = nullptr;
    QSpinBox* Start = nullptr;
    QLineEdit* Tiles = nullptr;
    QLabel* Palette = nullptr;
    QLabel* Refusal = nullptr;

private:
    void load();
    void update();

    const Catalogue& m_catalogue;
    const RomImage& m_rom;
    Apply m_apply;
};

// The blocks of a tileset record as a palette picture of `columns` blocks a
// row, each `side` pixels: from the block bytes in the image and the tile
// picture. A refusal instead when they cannot be drawn.
QString drawBlockPalette(const Catalogue& catalogue, const RomImage& rom, const TilesetFields& tileset, int columns,
                         int side, QImage* out);
