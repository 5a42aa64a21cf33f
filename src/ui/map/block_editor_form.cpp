#include "ui/map/block_editor_form.h"

#include "session/editor_session.h"
#include "model/map/block_composer.h"
#include "model/map/map_readouts.h"
#include "model/map/palette_picture.h"
#include "ui/map/image_box.h"
#include "base/prompts.h"

#include <QBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>

namespace {
constexpr int Row = BlockPictures::BlockPixels;   // 64-pixel palette rows
constexpr int Tile = BlockComposer::TileSpacing;  // 16-pixel tile cells
constexpr int GridBox = 65;                       // the block grid's box, one pixel wider than the grid
constexpr int PickWidth = 256, PickHeight = 98;   // the tile pick area
}

TBlockEditorForm::TBlockEditorForm(EditorSession& session, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_session(session)
{
    setWindowTitle(QStringLiteral("Block Editor"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    ScrollBox1 = new QScrollArea;
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setFixedWidth(85);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    BlockBox = new ImageBox;
    BlockBox->setObjectName(QStringLiteral("BlockBox"));
    BlockBox->setCursor(Qt::PointingHandCursor);
    BlockBox->setFixedSize(Row, 0);
    ScrollBox1->setWidget(BlockBox);

    TileBox = new ImageBox;
    TileBox->setObjectName(QStringLiteral("TileBox"));
    TileBox->setFixedSize(GridBox, GridBox);

    Image1 = new ImageBox;
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(PickWidth, PickHeight);

    Label1 = new QLabel(QStringLiteral("Tile:"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(QStringLiteral("Block:"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3 = new QLabel(QStringLiteral("Offset:"));
    Label3->setObjectName(QStringLiteral("Label3"));
    fitReadouts();

    Button1 = new QPushButton(QStringLiteral("Save"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setMinimumSize(73, GridBox);
    FindUses1 = new QPushButton(QStringLiteral("Find Uses"));
    FindUses1->setObjectName(QStringLiteral("FindUses1"));

    // Laid out, and as large as what it holds: nothing is cut off at any
    // font size or screen scale.
    auto* readouts = new QVBoxLayout;
    readouts->setSpacing(8);
    for (QLabel* label : {Label1, Label2, Label3})
        readouts->addWidget(label);
    readouts->addStretch(1);
    auto* top = new QHBoxLayout;
    top->setSpacing(8);
    top->addWidget(TileBox, 0, Qt::AlignTop);
    top->addLayout(readouts);
    top->addWidget(Button1, 0, Qt::AlignTop);
    auto* right = new QVBoxLayout;
    right->setSpacing(8);
    right->addLayout(top);
    right->addWidget(Image1);
    right->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(11);
    auto* left = new QVBoxLayout;
    left->setSpacing(8);
    left->addWidget(ScrollBox1, 1);
    left->addWidget(FindUses1);
    layout->addLayout(left);
    layout->addLayout(right);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(BlockBox, &ImageBox::mouseMoved, this, &TBlockEditorForm::BlockBoxMouseMove);
    connect(BlockBox, &ImageBox::mousePressed, this, &TBlockEditorForm::BlockBoxMouseDown);
    connect(Image1, &ImageBox::mouseMoved, this, &TBlockEditorForm::Image1MouseMove);
    connect(Image1, &ImageBox::mousePressed, this, &TBlockEditorForm::Image1MouseDown);
    connect(TileBox, &ImageBox::mousePressed, this, &TBlockEditorForm::TileBoxMouseDown);
    connect(Button1, &QPushButton::clicked, this, &TBlockEditorForm::Button1Click);
    connect(FindUses1, &QPushButton::clicked, this, [this] {
        if (m_tileset > 0)
            emit findUsesRequested(m_tileset, BlockIndex + 1);
    });

    connect(&m_session, &EditorSession::mapPicked, this, &TBlockEditorForm::followMapPick);
    connect(&m_session, &EditorSession::romLoaded, this, &QWidget::hide);
    connect(&m_session, &EditorSession::mapPictureChanged, this, [this] {
        if (isVisible() && editsCurrentTileset())
            copyPalette();
    });

    FormCreate();
}

void TBlockEditorForm::fitReadouts()
{
    // Room for the longest read-out in the font and scale in use.
    const int width = Label3->fontMetrics().horizontalAdvance(QStringLiteral("Offset: 000000")) + 8;
    for (QLabel* label : {Label1, Label2, Label3})
        label->setMinimumWidth(qMax(90, width));
}

void TBlockEditorForm::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // The font is set before the read-outs exist.
    if (event->type() == QEvent::FontChange && Label3)
        fitReadouts();
}

void TBlockEditorForm::FormCreate()
{
    TileBox->setImage(BlockComposer::emptyBlock());
}

void TBlockEditorForm::BlockEditor1Click()
{
    const qint32 t = m_session.state().core.map.TilesetNumber;
    if (t < 1 || t > TilesetCount || !m_session.state().pictures.built(t)) {
        m_session.prompts().message(Prompts::Kind::Warning, QStringLiteral("Load tileset first!"));
        return;
    }
    show();
    raise();
    activateWindow();
    openOnCurrentTileset();
}

void TBlockEditorForm::followMapPick()
{
    // An open editor always shows and saves the current tileset; placements
    // not saved are dropped, as when another block is chosen.
    const qint32 t = m_session.state().core.map.TilesetNumber;
    if (isVisible() && t >= 1 && t <= TilesetCount && m_session.state().pictures.built(t))
        openOnCurrentTileset();
}

void TBlockEditorForm::openOnCurrentTileset()
{
    m_tileset = m_session.state().core.map.TilesetNumber;
    m_tilesetStart = m_session.state().core.map.TilesetStart;
    m_tilesetBlocks = m_session.state().core.map.TilesetBlocks;
    copyPalette();
    Image1->setImage(m_session.state().Pics.image().copy());
    setWindowTitle(QStringLiteral("Block Editor - Tileset%1").arg(m_tileset));
    BlockOffset = m_tilesetStart;
    BlockIndex = 0;
    LoadTile();
    UpdateTile();
    showReadouts();
}

void TBlockEditorForm::showReadouts()
{
    Label1->setText(QStringLiteral("Tile: ") + hexText(PickedTile, 2));
    Label2->setText(QStringLiteral("Block: ") + hexText(BlockIndex, 2));
    Label3->setText(QStringLiteral("Offset: ") + hexText(BlockOffset, 2));
}

bool TBlockEditorForm::editsCurrentTileset() const
{
    return m_tileset >= 1 && m_tileset == m_session.state().core.map.TilesetNumber && m_tilesetStart == m_session.state().core.map.TilesetStart
        && m_session.state().pictures.built(m_tileset);
}

void TBlockEditorForm::copyPalette()
{
    BlockBox->setImage(composePalette(m_session.state().pictures, m_tileset, m_session.grid().on()));
    BlockBox->setFixedHeight(Row * qBound(0, m_tilesetBlocks, BlockPlaces));
}

void TBlockEditorForm::LoadTile()
{
    readBlockTiles(m_session.state().core.rom, BlockOffset, BlockTiles);
}

void TBlockEditorForm::SaveTile()
{
    const qint64 offset = BlockOffset;
    const BlockTileNumbers tiles = BlockTiles;
    // The session composes the block's picture again from the bytes saved.
    const SessionOutcome saved = m_session.editRom(
        QStringLiteral("Save Block"), [offset, tiles](RomImage& rom) { return writeBlockTiles(rom, offset, tiles); });
    if (saved.isRefused())
        m_session.prompts().error(saved.refusal);
}

void TBlockEditorForm::UpdateTile()
{
    BlockComposer::compose(TileBox->image(), m_session.state().Pics, BlockTiles);
    TileBox->update();
}

void TBlockEditorForm::BlockBoxMouseMove(QMouseEvent* event)
{
    const int y = event->position().toPoint().y();
    if (y < 0 || y >= BlockBox->height())
        return;
    const int r = y / Row;
    Label2->setText(QStringLiteral("Block: ") + hexText(r, 2));
    Label3->setText(QStringLiteral("Offset: ") + hexText(tilesetBlockOffset(m_tilesetStart, r), 2));
}

void TBlockEditorForm::BlockBoxMouseDown(QMouseEvent* event)
{
    const int y = event->position().toPoint().y();
    if (y < 0 || y >= BlockBox->height())
        return;
    const int r = y / Row;
    BlockOffset = qint32(tilesetBlockOffset(m_tilesetStart, r));
    BlockIndex = r;
    LoadTile();
    UpdateTile();
}

void TBlockEditorForm::Image1MouseMove(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (!Image1->rect().contains(p))
        return;
    Label1->setText(QStringLiteral("Tile: ") + hexText(p.x() / Tile + 16 * (p.y() / Tile), 2));
}

void TBlockEditorForm::Image1MouseDown(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (!Image1->rect().contains(p))
        return;
    PickedTile = p.x() / Tile + 16 * (p.y() / Tile);
}

void TBlockEditorForm::TileBoxMouseDown(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (p.x() < 0 || p.y() < 0)
        return;
    const int column = p.x() / Tile, row = p.y() / Tile;
    if (column >= 4 || row >= 4)
        return;
    BlockTiles[size_t(column + 4 * row)] = PickedTile;
    UpdateTile();
}

void TBlockEditorForm::Button1Click()
{
    // After Load Rom the block under edit belongs to no current tileset:
    // saving it would write into an image it was not read from.
    if (!editsCurrentTileset() || !m_session.state().core.rom.contains(BlockOffset, BlockSize)) {
        m_session.prompts().message(Prompts::Kind::Warning, QStringLiteral("Load tileset first!"));
        return;
    }
    SaveTile();
    const SessionOutcome saved = m_session.saveImageTo(m_session.state().core.RomFileName);
    if (saved.isRefused())
        m_session.prompts().error(saved.refusal);
}
