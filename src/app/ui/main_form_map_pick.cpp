// Choosing a category and a map: the central event of the editor.
#include "app/ui/main_form.h"

#include "encounters/ui/wild_critters_page.h"
#include "events/ui/events_editor.h"
#include "map/ui/block_editor_form.h"
#include "map/ui/map_page.h"
#include "events/ui/event_view.h"
#include "map/ui/map_view.h"
#include "widgets/prompts.h"

#include <QComboBox>
#include <QTimer>

void TMainForm::MainBoxClick()
{
    SubBox->setEnabled(true);
    const QString category = MainBox->currentText();
    const IniFile& index = state.core.catalogue.MainIni;
    const int count = int(index.keys(category).size());
    QStringList maps;
    for (int k = 1; k <= count; ++k)
        maps << index.readString(category, QString::number(k));
    // Filling the list is no map pick: the current map stays.
    const QSignalBlocker blocker(SubBox);
    SubBox->clear();
    SubBox->addItems(maps);
    SubBox->setCurrentIndex(-1);
    SubBox->setEditText(QString());
}

void TMainForm::onSubBoxTextEdited()
{
    // Picking an entry changes the text and then reports the activation; the
    // map is picked once per user action.
    m_pickedInThisAction = SubBox->currentText();
    QTimer::singleShot(0, this, [this] { m_pickedInThisAction.clear(); });
    SubBoxChange();
}

void TMainForm::onSubBoxActivated()
{
    // Choosing the entry that is already shown picks the map again.
    if (!m_pickedInThisAction.isNull() && m_pickedInThisAction == SubBox->currentText())
        return;
    SubBoxChange();
}

void TMainForm::SubBoxChange()
{
    const QString name = SubBox->currentText();
    if (name.isEmpty() || !state.core.romLoaded())
        return;
    const Catalogue& catalogue = state.core.catalogue;
    if (!catalogue.MapsIni.hasSection(name)) {
        // Text typed only in part is no map; a listed map without its record is a catalogue fault.
        if (SubBox->findText(name, Qt::MatchFixedString | Qt::MatchCaseSensitive) >= 0)
            prompts.error(QStringLiteral("Map \"%1\" has no section in Maps.Ini.").arg(name));
        return;
    }

    // The whole record is read and checked first; the current map is replaced
    // only by a sound one.
    const MapRecord record = readMapRecord(catalogue, name);
    const QString problem = mapRecordProblem(record, state.core.rom.size());
    if (!problem.isEmpty()) {
        prompts.error(problem);
        return;
    }
    TilePicture picture;
    const QString tilesPath = catalogue.programFile(record.tiles);
    if (record.tiles.trimmed().isEmpty() || !picture.load(tilesPath)) {
        prompts.error(QStringLiteral("Cannot open file %1").arg(tilesPath));
        return;
    }
    showMap(record, picture);
}

void TMainForm::showMap(const MapRecord& record, const TilePicture& picture)
{
    state.core.map = record;
    setWindowTitle(QStringLiteral("Kartola - ") + record.name);
    mapPage->MapBox->setStatusTip(record.comment);
    events->EventBox->setStatusTip(record.comment);
    state.Pics = picture;
    if (!state.pictures.built(record.TilesetNumber))
        mapPage->LoadTileset();
    mapPage->UpdateBlockPalette();
    mapPage->LoadMap();
    events->resetPick();
    events->LoadEvents();
    critters->LoadCritter();
    blockEditor->followMapPick();
}
