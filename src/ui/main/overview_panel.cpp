#include "ui/main/overview_panel.h"

#include "session/editor_session.h"
#include "session/overview_drawing.h"
#include "ui/main/go_to_map_window.h"
#include "ui/main/main_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int Cell = MapThumbnailDrawer::MaxSide;
// An item: the picture's place and two lines of its name below it, the
// same before and after its picture is in.
constexpr QSize ItemSize(Cell + 36, Cell + 36);
constexpr QSize GridSize(Cell + 40, Cell + 40);

// Holds an item's picture place until the picture is drawn.
const QIcon& noPictureYet()
{
    static const QIcon icon = [] {
        QPixmap empty(Cell, Cell);
        empty.fill(Qt::transparent);
        return QIcon(empty);
    }();
    return icon;
}

} // namespace

OverviewPanel::OverviewPanel(TMainForm& form) : QDockWidget(QStringLiteral("Overview"), &form), m_form(form)
{
    setObjectName(QStringLiteral("Overview"));
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    Filter = new QLineEdit(body);
    Filter->setObjectName(QStringLiteral("OverviewFilter"));
    Filter->setPlaceholderText(QStringLiteral("Filter"));
    Filter->setClearButtonEnabled(true);
    AllCategories = new QCheckBox(QStringLiteral("All categories"), body);
    AllCategories->setObjectName(QStringLiteral("OverviewAllCategories"));
    Maps = new QListWidget(body);
    Maps->setObjectName(QStringLiteral("OverviewMaps"));
    Maps->setViewMode(QListView::IconMode);
    Maps->setResizeMode(QListView::Adjust);
    Maps->setMovement(QListView::Static);
    Maps->setUniformItemSizes(true);
    Maps->setWordWrap(true);
    Maps->setIconSize(QSize(Cell, Cell));
    Maps->setGridSize(GridSize);
    Maps->setSelectionMode(QAbstractItemView::NoSelection);
    layout->addWidget(Filter);
    layout->addWidget(AllCategories);
    layout->addWidget(Maps, 1);
    setWidget(body);

    m_drawing = new OverviewDrawing(this);
    connect(m_drawing, &OverviewDrawing::drawn, this, &OverviewPanel::take);
    connect(m_drawing, &OverviewDrawing::finished, this, [this] { m_pending = false; });
    connect(Filter, &QLineEdit::textChanged, this, &OverviewPanel::filterChanged);
    connect(AllCategories, &QCheckBox::toggled, this, &OverviewPanel::refresh);
    connect(Maps, &QListWidget::itemClicked, this, &OverviewPanel::clicked);
    connect(Maps->verticalScrollBar(), &QScrollBar::valueChanged, this, &OverviewPanel::preferVisible);
    Maps->viewport()->installEventFilter(this);

    m_soon.setSingleShot(true);
    m_soon.setInterval(100);
    connect(&m_soon, &QTimer::timeout, this, &OverviewPanel::refresh);
    auto later = [this] {
        if (isVisible())
            m_soon.start();
    };
    EditorSession* session = form.session;
    connect(session, &EditorSession::romLoaded, this, later);
    connect(session, &EditorSession::romBytesChanged, this, later);
    connect(session, &EditorSession::modifiedChanged, this, later);
    connect(session, &EditorSession::mapPicked, this, [this, later] {
        markShown();
        later();
    });
    connect(session, &EditorSession::mapDropped, this, &OverviewPanel::markShown);
    connect(form.MainBox, &QComboBox::currentTextChanged, this, [this, later] {
        if (!AllCategories->isChecked())
            later();
    });
}

OverviewPanel::~OverviewPanel() = default;

QListWidgetItem* OverviewPanel::item(const QString& name) const { return m_items.value(name); }

bool OverviewPanel::drawing() const { return m_pending; }

void OverviewPanel::waitForPictures()
{
    if (m_soon.isActive())
        refresh();   // a change of the image waits to be drawn: now
    m_drawing->waitForDone();
    // The last batches are queued to this thread.
    while (m_pending)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

void OverviewPanel::showEvent(QShowEvent* event)
{
    QDockWidget::showEvent(event);
    refresh();
}

bool OverviewPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Maps->viewport() && event->type() == QEvent::Resize) {
        // Shown at last at its size: the marked map is brought into sight.
        if (m_revealShown)
            revealShown();
        preferVisible();
    }
    return QDockWidget::eventFilter(watched, event);
}

void OverviewPanel::refresh()
{
    m_soon.stop();
    fill();
    startDrawing();
}

void OverviewPanel::fill()
{
    const IniFile& mainIni = m_form.state.core.catalogue.MainIni;
    QList<CatalogueMap> maps;
    if (!m_form.state.core.romLoaded()) {
        // No image, nothing to draw from.
    } else if (AllCategories->isChecked()) {
        maps = catalogueMaps(mainIni);
    } else {
        const QString category = m_form.MainBox->currentText();
        for (const QString& name : categoryMaps(mainIni, category))
            if (!name.isEmpty())
                maps.append({category, name});
    }
    if (maps.size() == m_maps.size()) {
        bool same = true;
        for (qsizetype i = 0; same && i < maps.size(); ++i)
            same = maps[i].name == m_maps[i].name && maps[i].category == m_maps[i].category;
        if (same)
            return;   // the same list: keep the items and what they show
    }
    m_maps = maps;
    Maps->clear();
    m_items.clear();
    m_shown.clear();
    for (const CatalogueMap& map : m_maps) {
        auto* entry = new QListWidgetItem(map.name);
        m_items.insert(map.name, entry);
        entry->setData(Qt::UserRole, map.name);
        entry->setToolTip(map.name);
        // Every item at its full size from the start: the list measures one
        // item for all of them.
        entry->setSizeHint(ItemSize);
        entry->setIcon(noPictureYet());
        Maps->addItem(entry);
        const auto kept = m_kept.constFind(map.name);
        if (kept != m_kept.constEnd())
            show(entry, *kept);
    }
    filterChanged();
    markShown();
}

void OverviewPanel::startDrawing()
{
    if (m_maps.isEmpty()) {
        m_drawing->stop();
        m_pending = false;
        return;
    }
    QStringList names;
    QHash<QString, quint64> known;
    for (const CatalogueMap& map : m_maps) {
        names << map.name;
        const auto kept = m_kept.constFind(map.name);
        if (kept != m_kept.constEnd() && kept->key != 0)
            known.insert(map.name, kept->key);
    }
    m_pending = true;
    m_drawing->start(m_form.state.core.catalogue, m_form.state.core.rom.bytes(), names, known);
    preferVisible();
}

void OverviewPanel::take(const QList<MapThumbnail>& thumbnails)
{
    for (const MapThumbnail& thumbnail : thumbnails) {
        if (thumbnail.unchanged)
            continue;
        m_kept.insert(thumbnail.name, thumbnail);
        if (QListWidgetItem* entry = item(thumbnail.name))
            show(entry, thumbnail);
    }
}

void OverviewPanel::show(QListWidgetItem* entry, const MapThumbnail& kept)
{
    if (!kept.refusal.isEmpty()) {
        entry->setIcon(QIcon());
        entry->setText(kept.name + QLatin1Char('\n') + kept.refusal);
        entry->setToolTip(kept.refusal);
        return;
    }
    entry->setText(kept.name);
    entry->setToolTip(kept.name);
    entry->setIcon(QIcon(QPixmap::fromImage(kept.picture)));
}

void OverviewPanel::preferVisible()
{
    if (!m_pending)
        return;
    // The items in sight, found by their grid places rather than by asking each item.
    const QRect sight = Maps->viewport()->rect();
    const QSize grid = Maps->gridSize();
    QStringList names;
    for (int y = grid.height() / 2; y < sight.height() + grid.height(); y += grid.height()) {
        for (int x = grid.width() / 2; x < sight.width() + grid.width(); x += grid.width()) {
            const QModelIndex index = Maps->indexAt(QPoint(std::min(x, sight.width() - 1), std::min(y, sight.height() - 1)));
            if (!index.isValid())
                continue;
            const QString name = index.data(Qt::UserRole).toString();
            if (!names.contains(name))
                names << name;
        }
    }
    m_drawing->prefer(names);
}

void OverviewPanel::filterChanged()
{
    const QString text = Filter->text().trimmed();
    for (int i = 0; i < Maps->count(); ++i) {
        QListWidgetItem* entry = Maps->item(i);
        const bool hide = !entry->data(Qt::UserRole).toString().contains(text, Qt::CaseInsensitive);
        if (entry->isHidden() != hide)
            entry->setHidden(hide);
    }
    preferVisible();
}

void OverviewPanel::markShown()
{
    // Only the item marked before and the one to mark now change.
    const QString shown = m_form.state.core.map.name;
    for (const QString& name : {m_shown, shown}) {
        QListWidgetItem* entry = m_items.value(name);
        if (!entry)
            continue;
        const bool on = name == shown;
        entry->setData(ShownRole, on);
        QFont font = entry->font();
        font.setBold(on);
        entry->setFont(font);
        entry->setBackground(on ? palette().highlight() : QBrush());
        entry->setForeground(on ? palette().highlightedText() : QBrush());
    }
    m_shown = shown;
    revealShown();
}

void OverviewPanel::revealShown()
{
    QListWidgetItem* entry = m_items.value(m_shown);
    // Until the list has its size, a scroll would be lost.
    m_revealShown = entry && Maps->viewport()->height() < GridSize.height();
    if (entry && !entry->isHidden())
        Maps->scrollToItem(entry);
}

void OverviewPanel::clicked(QListWidgetItem* entry)
{
    const int row = Maps->row(entry);
    if (row < 0 || row >= m_maps.size())
        return;
    const CatalogueMap map = m_maps[row];
    // The choosers' own pick: the same question first, the same refusals.
    m_form.pickMap(map.name, true);
    if (m_form.state.core.map.name == map.name)
        m_form.goToMap->showInChoosers(map);
}
