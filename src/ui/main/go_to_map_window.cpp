#include "ui/main/go_to_map_window.h"

#include "session/editor_session.h"
#include "ui/main/main_form.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QSortFilterProxyModel>
#include <QStringListModel>
#include <QVBoxLayout>

GoToMapWindow::GoToMapWindow(TMainForm& form)
    : QWidget(&form, Qt::Dialog), m_form(form)
{
    setObjectName(QStringLiteral("GoToMapForm"));
    setWindowTitle(QStringLiteral("Go to Map"));
    resize(320, 360);
    auto* layout = new QVBoxLayout(this);
    Filter = new QLineEdit(this);
    Filter->setObjectName(QStringLiteral("Filter"));
    Filter->setPlaceholderText(QStringLiteral("Part of a map's name"));
    List = new QListView(this);
    List->setObjectName(QStringLiteral("List"));
    List->setUniformItemSizes(true);
    List->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(Filter);
    layout->addWidget(List, 1);

    m_names = new QStringListModel(this);
    m_shown = new QSortFilterProxyModel(this);
    m_shown->setSourceModel(m_names);
    m_shown->setFilterCaseSensitivity(Qt::CaseInsensitive);
    List->setModel(m_shown);

    connect(Filter, &QLineEdit::textChanged, this, &GoToMapWindow::filterChanged);
    connect(Filter, &QLineEdit::returnPressed, this, [this] {
        const QModelIndex current = List->currentIndex();
        pickRow(current.isValid() ? current.row() : 0);
    });
    connect(List, &QListView::activated, this, [this](const QModelIndex& index) { pickRow(index.row()); });
    // Up and Down move in the list while the filter keeps the keyboard.
    Filter->installEventFilter(this);
}

void GoToMapWindow::GoToMap1Click()
{
    m_maps = catalogueMaps(m_form.state.core.catalogue.MainIni);
    QStringList names;
    names.reserve(m_maps.size());
    for (const CatalogueMap& map : std::as_const(m_maps))
        names << map.category + QStringLiteral(" / ") + map.name;
    m_names->setStringList(names);
    Filter->clear();
    filterChanged(QString());
    show();
    raise();
    activateWindow();
    Filter->setFocus();
}

int GoToMapWindow::shownCount() const { return m_shown->rowCount(); }

void GoToMapWindow::filterChanged(const QString& text)
{
    m_shown->setFilterFixedString(text);
    List->setCurrentIndex(m_shown->index(0, 0));
}

bool GoToMapWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Filter && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            QCoreApplication::sendEvent(List, event);
            return true;
        }
        if (key == Qt::Key_Escape) {
            hide();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void GoToMapWindow::pickRow(int row)
{
    const QModelIndex index = m_shown->mapToSource(m_shown->index(row, 0));
    if (!index.isValid() || index.row() >= m_maps.size())
        return;
    const CatalogueMap map = m_maps[index.row()];
    hide();
    // The choosers' own pick: the same question first, the same refusals.
    m_form.pickMap(map.name, true);
    if (m_form.state.core.map.name == map.name)
        showInChoosers(map);
}

void GoToMapWindow::showInChoosers(const CatalogueMap& map)
{
    m_form.MainBox->setCurrentIndex(m_form.MainBox->findText(map.category, Qt::MatchFixedString | Qt::MatchCaseSensitive));
    m_form.MainBoxClick();
    // Showing the name is no second pick.
    const QSignalBlocker blocker(m_form.SubBox);
    m_form.SubBox->setCurrentIndex(m_form.SubBox->findText(map.name, Qt::MatchFixedString | Qt::MatchCaseSensitive));
}
