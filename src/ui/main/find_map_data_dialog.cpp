#include "ui/main/find_map_data_dialog.h"

#include "model/rom/rom_image.h"
#include "session/map_preview.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

FindMapDataDialog::FindMapDataDialog(const Catalogue& catalogue, const RomImage& rom, qint64 tileset, Choose choose,
                                     QWidget* parent)
    : QDialog(parent), m_catalogue(catalogue), m_rom(rom), m_choose(std::move(choose)),
      m_drawer(std::make_unique<MapPreviewDrawer>(catalogue, rom))
{
    setObjectName(QStringLiteral("FindMapDataDialog"));
    setWindowTitle(QStringLiteral("Find Map Data"));
    Tileset = new QSpinBox(this);
    Tileset->setObjectName(QStringLiteral("Tileset"));
    Tileset->setRange(1, TilesetCount);
    Tileset->setValue(int(qBound<qint64>(1, tileset, qint64(TilesetCount))));
    MapWidth = new QSpinBox(this);
    MapWidth->setObjectName(QStringLiteral("MapWidth"));
    MapWidth->setRange(1, 255);
    MapWidth->setValue(20);
    Found = new QListWidget(this);
    Found->setObjectName(QStringLiteral("Found"));
    Found->setIconSize(QSize(64, 64));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Tileset:"), Tileset);
    form->addRow(QStringLiteral("Width:"), MapWidth);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    QPushButton* newMap = buttons->addButton(QStringLiteral("New Map..."), QDialogButtonBox::AcceptRole);
    newMap->setObjectName(QStringLiteral("NewMapButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &FindMapDataDialog::chooseCurrent);
    connect(buttons, &QDialogButtonBox::rejected, this, &FindMapDataDialog::reject);
    connect(Found, &QListWidget::itemActivated, this, &FindMapDataDialog::chooseCurrent);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(Found, 1);
    layout->addWidget(buttons);
    resize(420, 480);
    connect(Tileset, &QSpinBox::valueChanged, this, &FindMapDataDialog::search);
    connect(MapWidth, &QSpinBox::valueChanged, this, &FindMapDataDialog::search);
    search();
}

FindMapDataDialog::~FindMapDataDialog() = default;

MapFields FindMapDataDialog::fieldsOf(const MapDataStretch& s) const
{
    MapFields f;
    f.start = s.offset;
    f.width = MapWidth->value();
    f.height = qMin<qint64>(s.length / f.width, MapBufferSize / f.width);
    f.tileset = Tileset->value();
    return f;
}

void FindMapDataDialog::search()
{
    const int blocks = m_catalogue.TilesetsIni.readInteger(QString::number(Tileset->value()), QStringLiteral("Blocks"), 0);
    m_stretches = findMapData(m_rom.bytes(), {blocks, MapWidth->value(), 2, Listed});
    Found->clear();
    for (const MapDataStretch& s : m_stretches) {
        const MapFields f = fieldsOf(s);
        const MapPreview preview = m_drawer->drawFound(f, 64);
        auto* item = new QListWidgetItem(QStringLiteral("%1: %2 bytes, %3 x %4%5")
                                             .arg(QString::number(s.offset, 16).toUpper())
                                             .arg(s.length)
                                             .arg(f.width)
                                             .arg(f.height)
                                             .arg(s.repeated ? QStringLiteral(" (one byte repeated)") : QString()),
                                         Found);
        if (!preview.picture.isNull())
            item->setIcon(QIcon(QPixmap::fromImage(preview.picture)));
    }
    if (!m_stretches.isEmpty())
        Found->setCurrentRow(0);
}

void FindMapDataDialog::chooseCurrent()
{
    const int row = Found->currentRow();
    if (row < 0 || row >= m_stretches.size())
        return;
    const MapFields f = fieldsOf(m_stretches[row]);
    accept();
    m_choose(f);
}
