#include "ui/main/catalogue_menu.h"

#include "ui/main/menu_item.h"

#include "base/prompts.h"
#include "session/catalogue_edits.h"
#include "session/catalogue_folder.h"
#include "session/user_settings.h"
#include "session/editor_session.h"
#include "ui/main/find_map_data_dialog.h"
#include "ui/main/main_form.h"
#include "ui/main/map_properties_dialog.h"
#include "ui/main/tiles_from_rom_dialog.h"
#include "ui/main/tileset_properties_dialog.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenuBar>

namespace {

} // namespace

CatalogueMenu::CatalogueMenu(TMainForm& form) : QObject(&form), m_form(form)
{
    m_edits = new CatalogueEdits(*form.session, this);
    Catalogue1 = form.menuBar()->addMenu(QStringLiteral("Catalogue"));
    Catalogue1->setObjectName(QStringLiteral("Catalogue1"));
    NewCategory1 = addMenuItem(Catalogue1, "NewCategory1", QStringLiteral("New Category..."),
                           QStringLiteral("Adds a category to Main.Ini."));
    NewMap1 = addMenuItem(Catalogue1, "NewMap1", QStringLiteral("New Map..."),
                      QStringLiteral("Adds a map to the catalogue."));
    MapProperties1 = addMenuItem(Catalogue1, "MapProperties1", QStringLiteral("Map Properties..."),
                             QStringLiteral("Changes the record of the map shown."));
    TilesetProperties1 = addMenuItem(Catalogue1, "TilesetProperties1", QStringLiteral("Tileset Properties..."),
                                 QStringLiteral("Changes the blocks and the tile picture of a tileset."));
    Catalogue1->addSeparator();
    TilesFromRom1 = addMenuItem(Catalogue1, "TilesFromRom1", QStringLiteral("Tiles from ROM..."),
                            QStringLiteral("Draws a tileset's tile picture from the cartridge's own tiles."));
    FindMapData1 = addMenuItem(Catalogue1, "FindMapData1", QStringLiteral("Find Map Data..."),
                           QStringLiteral("Lists the stretches of the image that may be a map's blocks."));
    Catalogue1->addSeparator();
    RemoveMap1 = addMenuItem(Catalogue1, "RemoveMap1", QStringLiteral("Remove Map from Catalogue..."),
                         QStringLiteral("Takes the map shown off its category's list."));
    connect(RemoveMap1, &QAction::triggered, this, &CatalogueMenu::RemoveMap1Click);
    connect(NewCategory1, &QAction::triggered, this, &CatalogueMenu::NewCategory1Click);
    connect(NewMap1, &QAction::triggered, this, &CatalogueMenu::NewMap1Click);
    connect(MapProperties1, &QAction::triggered, this, &CatalogueMenu::MapProperties1Click);
    connect(TilesetProperties1, &QAction::triggered, this, &CatalogueMenu::TilesetProperties1Click);
    connect(TilesFromRom1, &QAction::triggered, this, &CatalogueMenu::TilesFromRom1Click);
    connect(FindMapData1, &QAction::triggered, this, &CatalogueMenu::FindMapData1Click);
    connect(m_edits, &CatalogueEdits::catalogueChanged, this, &CatalogueMenu::refillChoosers);
    connect(m_edits, &CatalogueEdits::folderCopied, this, [this](const QString& folder) {
        if (m_form.settings && m_form.state.core.romLoaded())
            m_form.settings->setCatalogueFolderFor(CatalogueFolder::romKey(m_form.state.core.rom.bytes()), folder);
        refillChoosers();
    });
    if (QMenu* file = form.menuBar()->findChild<QMenu*>(QStringLiteral("File1"))) {
        CatalogueFolder1 = new QAction(QStringLiteral("Catalogue Folder..."), file);
        CatalogueFolder1->setObjectName(QStringLiteral("CatalogueFolder1"));
        CatalogueFolder1->setStatusTip(QStringLiteral("Chooses the folder of the catalogue files for this ROM."));
        const QList<QAction*> items = file->actions();
        file->insertAction(items.size() > 1 ? items.at(1) : nullptr, CatalogueFolder1);
        connect(CatalogueFolder1, &QAction::triggered, this, &CatalogueMenu::CatalogueFolder1Click);
    }
    connect(form.session, &EditorSession::romLoaded, this, &CatalogueMenu::romLoaded);
    for (auto signal : {&EditorSession::romLoaded, &EditorSession::mapPicked, &EditorSession::mapDropped})
        connect(form.session, signal, this, &CatalogueMenu::updateActions);
    updateActions();
}

void CatalogueMenu::romLoaded()
{
    if (folderFromCommandLine || !m_form.settings)
        return;
    const QString key = CatalogueFolder::romKey(m_form.state.core.rom.bytes());
    const QString kept = m_form.settings->catalogueFolderFor(key);
    if (kept.isEmpty() || !QFileInfo(kept).isDir())
        return;
    if (QFileInfo(kept).canonicalFilePath() == QFileInfo(m_form.state.core.catalogue.programDir).canonicalFilePath())
        return;
    if (CatalogueFolder::switchTo(*m_form.session, kept).isDone())
        refillChoosers();
}

bool CatalogueMenu::useFolder(const QString& folder)
{
    QString error;
    if (!CatalogueFolder::makeFiles(folder, &error)) {
        m_form.prompts.error(error);
        return false;
    }
    const SessionOutcome outcome = CatalogueFolder::switchTo(*m_form.session, folder);
    if (outcome.isRefused())
        m_form.prompts.error(outcome.refusal);
    if (!outcome.isDone())
        return false;
    if (m_form.settings && m_form.state.core.romLoaded())
        m_form.settings->setCatalogueFolderFor(CatalogueFolder::romKey(m_form.state.core.rom.bytes()), folder);
    refillChoosers();
    return true;
}

void CatalogueMenu::CatalogueFolder1Click()
{
    const QString folder = QFileDialog::getExistingDirectory(&m_form, QStringLiteral("Catalogue Folder"),
                                                             m_form.state.core.catalogue.programDir);
    if (!folder.isEmpty())
        useFolder(folder);
}

void CatalogueMenu::updateActions()
{
    const bool rom = m_form.state.core.romLoaded();
    for (QAction* a : {NewCategory1, NewMap1, TilesetProperties1, TilesFromRom1, FindMapData1})
        a->setEnabled(rom);
    MapProperties1->setEnabled(rom && m_form.state.core.map.isMap());
    RemoveMap1->setEnabled(rom && m_form.state.core.map.isMap());
}

qint64 CatalogueMenu::currentTileset() const
{
    return m_form.state.core.map.isMap() ? m_form.state.core.map.TilesetNumber : 1;
}

void CatalogueMenu::refillChoosers()
{
    const QString category = m_form.MainBox->currentText();
    {
        const QSignalBlocker blocker(m_form.MainBox);
        m_form.MainBox->clear();
        m_form.MainBox->addItems(m_form.state.core.catalogue.MainIni.sections());
        m_form.MainBox->setCurrentIndex(m_form.MainBox->findText(category));
    }
    if (m_form.MainBox->currentIndex() >= 0)
        m_form.MainBoxClick();
    const QSignalBlocker blocker(m_form.SubBox);
    m_form.SubBox->setEditText(m_form.state.core.map.name);
    updateActions();
}

void CatalogueMenu::NewCategory1Click()
{
    bool ok = false;
    const QString name = QInputDialog::getText(&m_form, QStringLiteral("New Category"), QStringLiteral("Name:"),
                                               QLineEdit::Normal, QString(), &ok).trimmed();
    if (!ok)
        return;
    const Catalogue& catalogue = m_form.state.core.catalogue;
    const qint64 size = m_form.state.core.rom.size();
    const SessionOutcome outcome = m_edits->apply(QStringLiteral("New Category %1").arg(name), [&] {
        return CatalogueWriter(catalogue, size).addCategory(name);
    });
    if (outcome.isRefused()) {
        m_form.prompts.error(outcome.refusal);
        return;
    }
    refillChoosers();
    // The new category is the one shown, ready for its first map.
    if (outcome.isDone()) {
        m_form.MainBox->setCurrentIndex(m_form.MainBox->findText(name));
        m_form.MainBoxClick();
    }
}

void CatalogueMenu::NewMap1Click()
{
    MapFields f;
    f.category = m_form.MainBox->currentText();
    f.width = f.height = 10;
    f.tileset = currentTileset();
    newMap(f);
}

void CatalogueMenu::newMap(const MapFields& fields)
{
    MapFields f = fields;
    if (f.category.isEmpty())
        f.category = m_form.MainBox->currentText();
    const Catalogue& catalogue = m_form.state.core.catalogue;
    const RomImage& rom = m_form.state.core.rom;
    MapPropertiesDialog dialog(catalogue, rom, f, true, [&](const MapFields& map) {
        const SessionOutcome outcome = m_edits->apply(QStringLiteral("New Map %1").arg(map.name), [&] {
            return CatalogueWriter(catalogue, rom.size()).writeMap(map, true);
        }, map.name);
        if (outcome.isDone()) {
            refillChoosers();
            m_form.MainBox->setCurrentIndex(m_form.MainBox->findText(map.category));
            m_form.MainBoxClick();
            const QSignalBlocker blocker(m_form.SubBox);
            m_form.SubBox->setEditText(m_form.state.core.map.name);
        }
        return outcome;
    }, &m_form);
    dialog.exec();
}

void CatalogueMenu::MapProperties1Click()
{
    if (!m_form.state.core.map.isMap())
        return;
    const Catalogue& catalogue = m_form.state.core.catalogue;
    const RomImage& rom = m_form.state.core.rom;
    const MapFields f = CatalogueWriter(catalogue, rom.size()).readMap(m_form.state.core.map.name);
    MapPropertiesDialog dialog(catalogue, rom, f, false, [&](const MapFields& map) {
        return m_edits->apply(QStringLiteral("Map Properties %1").arg(map.name), [&] {
            return CatalogueWriter(catalogue, rom.size()).writeMap(map, false);
        });
    }, &m_form);
    dialog.exec();
}

void CatalogueMenu::TilesetProperties1Click()
{
    const Catalogue& catalogue = m_form.state.core.catalogue;
    const RomImage& rom = m_form.state.core.rom;
    TilesetPropertiesDialog dialog(catalogue, rom, currentTileset(), [&](const TilesetFields& t) {
        return m_edits->apply(QStringLiteral("Tileset Properties %1").arg(t.number), [&] {
            return CatalogueWriter(catalogue, rom.size()).writeTileset(t);
        });
    }, &m_form);
    dialog.exec();
}

void CatalogueMenu::TilesFromRom1Click()
{
    const Catalogue& catalogue = m_form.state.core.catalogue;
    const RomImage& rom = m_form.state.core.rom;
    TilesFromRomDialog dialog(rom, currentTileset(), [&](const TilesFromRom& t) {
        return m_edits->apply(QStringLiteral("Tiles from ROM %1").arg(t.tileset), [&] {
            return saveTilesFromRom(catalogue, rom, t);
        });
    }, &m_form);
    dialog.exec();
}

void CatalogueMenu::FindMapData1Click()
{
    std::optional<MapFields> chosen;
    {
        FindMapDataDialog dialog(m_form.state.core.catalogue, m_form.state.core.rom, currentTileset(),
                                 [&](const MapFields& f) { chosen = f; }, &m_form);
        dialog.exec();
    }
    if (chosen)
        newMap(*chosen);
}

void CatalogueMenu::RemoveMap1Click()
{
    const QString name = m_form.state.core.map.name;
    if (name.isEmpty())
        return;
    const Catalogue& catalogue = m_form.state.core.catalogue;
    const CatalogueWriter writer(catalogue, m_form.state.core.rom.size());
    const QString category = writer.categoryOf(name);
    const Prompts::Answer answer = m_form.prompts.message(
        Prompts::Kind::Confirmation,
        QStringLiteral("Remove map \"%1\" from category \"%2\"? Its records in Maps.Ini, Critters.ini and "
                       "Events.ini stay.").arg(name, category),
        Prompts::Buttons::YesNo);
    if (answer != Prompts::Answer::Yes)
        return;
    const SessionOutcome outcome = m_edits->apply(QStringLiteral("Remove Map %1").arg(name), [&] {
        return writer.removeMap(name);
    });
    if (outcome.isRefused())
        m_form.prompts.error(outcome.refusal);
    else if (outcome.isDone())
        refillChoosers();
}
