#include "ui/main/tiles_from_rom_dialog.h"
#include "ui/main/refusal_label.h"

#include "model/catalogue/map_record.h"
#include "model/map/cartridge_tiles.h"
#include "model/rom/rom_image.h"
#include "ui/main/map_properties_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

TilesFromRomDialog::TilesFromRomDialog(const RomImage& rom, qint64 tileset, Apply apply, QWidget* parent)
    : QDialog(parent), m_rom(rom), m_apply(std::move(apply))
{
    setObjectName(QStringLiteral("TilesFromRomDialog"));
    setWindowTitle(QStringLiteral("Tiles from ROM"));
    Tileset = new QSpinBox(this);
    Tileset->setObjectName(QStringLiteral("Tileset"));
    Tileset->setRange(1, TilesetCount);
    Tileset->setValue(int(qBound<qint64>(1, tileset, qint64(TilesetCount))));
    Offset = offsetSpinBox(rom.size(), this);
    Offset->setObjectName(QStringLiteral("Offset"));
    Offset->setSingleStep(CartridgeTiles::TileBytes);
    UsePalette = new QCheckBox(QStringLiteral("Colours from the palette at"), this);
    UsePalette->setObjectName(QStringLiteral("UsePalette"));
    PaletteOffset = offsetSpinBox(rom.size(), this);
    PaletteOffset->setObjectName(QStringLiteral("PaletteOffset"));
    PaletteOffset->setSingleStep(CartridgeTiles::PaletteBytes);
    PaletteOffset->setEnabled(false);
    Preview = new QLabel(this);
    Preview->setObjectName(QStringLiteral("Preview"));
    Preview->setMinimumSize(512, 192);
    Refusal = new QLabel(this);
    Refusal->setObjectName(QStringLiteral("Refusal"));
    Refusal->setStyleSheet(QStringLiteral("color: #B00000"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Tileset:"), Tileset);
    form->addRow(QStringLiteral("Tiles at:"), Offset);
    form->addRow(UsePalette, PaletteOffset);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TilesFromRomDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TilesFromRomDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(Preview, 1);
    layout->addWidget(Refusal);
    layout->addWidget(buttons);
    connect(Offset, &QSpinBox::valueChanged, this, &TilesFromRomDialog::update);
    connect(PaletteOffset, &QSpinBox::valueChanged, this, &TilesFromRomDialog::update);
    connect(UsePalette, &QCheckBox::toggled, this, [this](bool on) {
        PaletteOffset->setEnabled(on);
        update();
    });
    update();
}

TilesFromRom TilesFromRomDialog::tiles() const
{
    TilesFromRom t{Tileset->value(), Offset->value(), std::nullopt};
    if (UsePalette->isChecked())
        t.palette = PaletteOffset->value();
    return t;
}

void TilesFromRomDialog::update()
{
    const TilesFromRom t = tiles();
    QString refusal;
    std::optional<CartridgeTiles::Colours> colours = CartridgeTiles::greys();
    if (t.palette) {
        colours = CartridgeTiles::paletteAt(m_rom, *t.palette);
        if (!colours)
            refusal = QStringLiteral("The palette at %1 does not lie inside the ROM image.")
                          .arg(QString::number(*t.palette, 16).toUpper());
    }
    m_preview = QImage();
    if (colours)
        refusal = CartridgeTiles::picture(m_rom, t.offset, *colours, &m_preview);
    Refusal->setText(refusal);
    Preview->setPixmap(m_preview.isNull() ? QPixmap()
                                          : QPixmap::fromImage(m_preview.scaled(m_preview.size() * 2)));
}

void TilesFromRomDialog::accept()
{
    if (closesOnOutcome(m_apply(tiles()), Refusal))
        QDialog::accept();
}
