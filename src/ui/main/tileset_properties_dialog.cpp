#include "ui/main/tileset_properties_dialog.h"
#include "ui/main/refusal_label.h"

#include "model/map/block_pictures.h"
#include "model/map/tile_picture.h"
#include "model/map/tileset_build.h"
#include "model/rom/rom_image.h"
#include "ui/main/map_properties_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSpinBox>
#include <QVBoxLayout>

QString drawBlockPalette(const Catalogue& catalogue, const RomImage& rom, const TilesetFields& t, int columns,
                         int side, QImage* out)
{
    const QString problem = CatalogueWriter(catalogue, rom.size()).tilesetProblem(t);
    if (!problem.isEmpty())
        return problem;
    TilePicture pics;
    const QString path = catalogue.programFile(t.tiles);
    if (t.tiles.trimmed().isEmpty() || !pics.load(path))
        return QStringLiteral("Cannot open file %1").arg(path);
    MapRecord record;
    record.TilesetNumber = qint32(t.number);
    record.TilesetBlocks = qint32(t.blocks);
    record.TilesetStart = qint32(t.start);
    BlockPictures pictures;
    if (!buildTileset(rom, record, pics, pictures))
        return QStringLiteral("The blocks of tileset %1 cannot be built.").arg(t.number);
    const int count = int(t.blocks);
    const int rows = qMax(1, (count + columns - 1) / columns);
    QImage image(columns * side, rows * side, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    for (int i = 0; i < count; ++i)
        if (pictures.has(record.TilesetNumber, i))
            painter.drawImage(QRect((i % columns) * side, (i / columns) * side, side, side),
                              pictures.picture(record.TilesetNumber, i));
    painter.end();
    *out = image;
    return {};
}

TilesetPropertiesDialog::TilesetPropertiesDialog(const Catalogue& catalogue, const RomImage& rom, qint64 tileset,
                                                 Apply apply, QWidget* parent)
    : QDialog(parent), m_catalogue(catalogue), m_rom(rom), m_apply(std::move(apply))
{
    setObjectName(QStringLiteral("TilesetPropertiesDialog"));
    setWindowTitle(QStringLiteral("Tileset Properties"));
    Number = new QSpinBox(this);
    Number->setObjectName(QStringLiteral("Number"));
    Number->setRange(1, TilesetCount);
    Number->setValue(int(qBound<qint64>(1, tileset, qint64(TilesetCount))));
    Blocks = new QSpinBox(this);
    Blocks->setObjectName(QStringLiteral("Blocks"));
    Blocks->setRange(0, BlockPlaces - 1);
    Start = offsetSpinBox(rom.size(), this);
    Start->setObjectName(QStringLiteral("Start"));
    Start->setSingleStep(BlockSize);
    Tiles = new QLineEdit(this);
    Tiles->setObjectName(QStringLiteral("Tiles"));
    Palette = new QLabel(this);
    Palette->setObjectName(QStringLiteral("Palette"));
    Palette->setMinimumSize(8 * 32, 8 * 32);
    Palette->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    Refusal = new QLabel(this);
    Refusal->setObjectName(QStringLiteral("Refusal"));
    Refusal->setWordWrap(true);
    Refusal->setStyleSheet(QStringLiteral("color: #B00000"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Tileset:"), Number);
    form->addRow(QStringLiteral("Blocks:"), Blocks);
    form->addRow(QStringLiteral("Start offset:"), Start);
    form->addRow(QStringLiteral("Tile picture:"), Tiles);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TilesetPropertiesDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TilesetPropertiesDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(Palette, 1);
    layout->addWidget(Refusal);
    layout->addWidget(buttons);
    load();
    connect(Number, &QSpinBox::valueChanged, this, &TilesetPropertiesDialog::load);
    connect(Blocks, &QSpinBox::valueChanged, this, &TilesetPropertiesDialog::update);
    connect(Start, &QSpinBox::valueChanged, this, &TilesetPropertiesDialog::update);
    connect(Tiles, &QLineEdit::textChanged, this, &TilesetPropertiesDialog::update);
}

TilesetFields TilesetPropertiesDialog::fields() const
{
    return {Number->value(), Start->value(), Blocks->value(), Tiles->text().trimmed()};
}

void TilesetPropertiesDialog::load()
{
    const TilesetFields t = CatalogueWriter(m_catalogue, m_rom.size()).readTileset(Number->value());
    const QSignalBlocker b1(Blocks), b2(Start), b3(Tiles);
    Blocks->setValue(int(t.blocks));
    Start->setValue(int(qBound<qint64>(0, t.start, qint64(Start->maximum()))));
    Tiles->setText(t.tiles);
    update();
}

void TilesetPropertiesDialog::update()
{
    QImage palette;
    const QString refusal = drawBlockPalette(m_catalogue, m_rom, fields(), 8, 32, &palette);
    Refusal->setText(refusal);
    Palette->setPixmap(palette.isNull() ? QPixmap() : QPixmap::fromImage(palette));
}

void TilesetPropertiesDialog::accept()
{
    if (closesOnOutcome(m_apply(fields()), Refusal))
        QDialog::accept();
}
