#include "ui/main/map_properties_dialog.h"
#include "ui/main/refusal_label.h"

#include "model/rom/rom_image.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include <limits>

QSpinBox* offsetSpinBox(qint64 romSize, QWidget* parent)
{
    auto* box = new QSpinBox(parent);
    box->setDisplayIntegerBase(16);
    box->setPrefix(QStringLiteral("$"));
    box->setRange(0, int(qBound<qint64>(0, romSize, qint64(std::numeric_limits<int>::max()))));
    return box;
}

namespace {

QSpinBox* countSpinBox(int maximum, QWidget* parent)
{
    auto* box = new QSpinBox(parent);
    box->setRange(0, maximum);
    return box;
}

} // namespace

MapPropertiesDialog::MapPropertiesDialog(const Catalogue& catalogue, const RomImage& rom, const MapFields& f,
                                         bool isNew, Apply apply, QWidget* parent)
    : QDialog(parent), m_isNew(isNew), m_apply(std::move(apply)), m_romSize(rom.size()),
      m_drawer(std::make_unique<MapPreviewDrawer>(catalogue, rom))
{
    setObjectName(QStringLiteral("MapPropertiesDialog"));
    setWindowTitle(isNew ? QStringLiteral("New Map") : QStringLiteral("Map Properties"));
    auto named = [](QWidget* w, const char* name) {
        w->setObjectName(QLatin1String(name));
        return w;
    };
    Name = new QLineEdit(f.name, this);
    named(Name, "Name");
    Name->setReadOnly(!isNew);
    Category = new QComboBox(this);
    named(Category, "Category");
    Category->setEditable(true);
    Category->addItems(catalogue.MainIni.sections());
    Category->setEditText(f.category);
    Category->setEnabled(isNew);
    Start = offsetSpinBox(m_romSize, this);
    named(Start, "Start");
    MapWidth = countSpinBox(MapBufferSize, this);
    named(MapWidth, "MapWidth");
    MapHeight = countSpinBox(MapBufferSize, this);
    named(MapHeight, "MapHeight");
    Tileset = countSpinBox(TilesetCount, this);
    named(Tileset, "Tileset");
    WildOffset = offsetSpinBox(m_romSize, this);
    named(WildOffset, "WildOffset");
    WarpOffset = offsetSpinBox(m_romSize, this);
    named(WarpOffset, "WarpOffset");
    Warps = countSpinBox(255, this);
    named(Warps, "Warps");
    SingpostOffset = offsetSpinBox(m_romSize, this);
    named(SingpostOffset, "SingpostOffset");
    Singposts = countSpinBox(255, this);
    named(Singposts, "Singposts");
    PeopleOffset = offsetSpinBox(m_romSize, this);
    named(PeopleOffset, "PeopleOffset");
    Peoples = countSpinBox(255, this);
    named(Peoples, "Peoples");
    Comment = new QLineEdit(f.comment, this);
    named(Comment, "Comment");
    Start->setValue(int(f.start));
    MapWidth->setValue(int(f.width));
    MapHeight->setValue(int(f.height));
    Tileset->setValue(int(f.tileset));
    WildOffset->setValue(int(f.wildOffset));
    WarpOffset->setValue(int(f.warpOffset));
    Warps->setValue(int(f.warps));
    SingpostOffset->setValue(int(f.singpostOffset));
    Singposts->setValue(int(f.singposts));
    PeopleOffset->setValue(int(f.peopleOffset));
    Peoples->setValue(int(f.people));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Name:"), Name);
    form->addRow(QStringLiteral("Category:"), Category);
    form->addRow(QStringLiteral("Start offset:"), Start);
    form->addRow(QStringLiteral("Width:"), MapWidth);
    form->addRow(QStringLiteral("Height:"), MapHeight);
    form->addRow(QStringLiteral("Tileset:"), Tileset);
    form->addRow(QStringLiteral("Wild Critters offset:"), WildOffset);
    auto pair = [&](QSpinBox* offset, QSpinBox* count) {
        auto* row = new QHBoxLayout;
        row->addWidget(offset);
        row->addWidget(count);
        return row;
    };
    form->addRow(QStringLiteral("Warps (offset, count):"), pair(WarpOffset, Warps));
    form->addRow(QStringLiteral("Signposts (offset, count):"), pair(SingpostOffset, Singposts));
    form->addRow(QStringLiteral("People (offset, count):"), pair(PeopleOffset, Peoples));
    form->addRow(QStringLiteral("Comment:"), Comment);
    // Room for a whole name and a comment line.
    Name->setMinimumWidth(240);
    Comment->setMinimumWidth(240);

    Preview = new QLabel(this);
    named(Preview, "Preview");
    Preview->setMinimumSize(320, 320);
    Preview->setAlignment(Qt::AlignCenter);
    Refusal = new QLabel(this);
    named(Refusal, "Refusal");
    Refusal->setWordWrap(true);
    Refusal->setStyleSheet(QStringLiteral("color: #B00000"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &MapPropertiesDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &MapPropertiesDialog::reject);

    auto* top = new QHBoxLayout;
    top->addLayout(form);
    top->addWidget(Preview, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Refusal);
    layout->addWidget(buttons);

    for (QSpinBox* box : findChildren<QSpinBox*>())
        connect(box, &QSpinBox::valueChanged, this, &MapPropertiesDialog::update);
    connect(Name, &QLineEdit::textChanged, this, &MapPropertiesDialog::update);
    connect(Category, &QComboBox::currentTextChanged, this, &MapPropertiesDialog::update);
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);
    update();
}

MapPropertiesDialog::~MapPropertiesDialog() = default;

MapFields MapPropertiesDialog::fields() const
{
    MapFields f;
    f.name = Name->text().trimmed();
    f.category = Category->currentText().trimmed();
    f.start = Start->value();
    f.width = MapWidth->value();
    f.height = MapHeight->value();
    f.tileset = Tileset->value();
    f.wildOffset = WildOffset->value();
    f.warpOffset = WarpOffset->value();
    f.warps = Warps->value();
    f.singpostOffset = SingpostOffset->value();
    f.singposts = Singposts->value();
    f.peopleOffset = PeopleOffset->value();
    f.people = Peoples->value();
    f.comment = Comment->text();
    return f;
}

QString MapPropertiesDialog::refusal() const
{
    return Refusal->text();
}

void MapPropertiesDialog::stepStart(qint64 bytes)
{
    Start->setValue(int(qBound<qint64>(0, qint64(Start->value()) + bytes, qint64(Start->maximum()))));
}

bool MapPropertiesDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const qint64 width = MapWidth->value(), map = width * MapHeight->value();
    qint64 step = 0;
    const bool alt = key->modifiers() == Qt::AltModifier;
    if (alt && key->key() == Qt::Key_Left)
        step = -1;
    else if (alt && key->key() == Qt::Key_Right)
        step = 1;
    else if (alt && key->key() == Qt::Key_Up)
        step = -width;
    else if (alt && key->key() == Qt::Key_Down)
        step = width;
    else if (key->modifiers() == Qt::NoModifier && key->key() == Qt::Key_PageUp)
        step = -map;
    else if (key->modifiers() == Qt::NoModifier && key->key() == Qt::Key_PageDown)
        step = map;
    if (step == 0)
        return QDialog::eventFilter(watched, event);
    event->accept();
    if (event->type() == QEvent::KeyPress)
        stepStart(step);
    return true;
}

void MapPropertiesDialog::update()
{
    const MapPreview preview = m_drawer->draw(fields(), m_isNew, 320);
    m_preview = preview.picture;
    Refusal->setText(preview.refusal);
    Preview->setPixmap(preview.picture.isNull() ? QPixmap() : QPixmap::fromImage(preview.picture));
}

void MapPropertiesDialog::accept()
{
    if (closesOnOutcome(m_apply(fields()), Refusal))
        QDialog::accept();
}
