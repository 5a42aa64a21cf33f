// The ROM commands of the main window: Load Rom, Save Rom, Save Rom As, Exit, About.
#include "app/ui/main_form.h"

#include "encounters/ui/wild_critters_page.h"
#include "events/ui/events_editor.h"
#include "map/ui/block_editor_form.h"
#include "map/ui/map_page.h"
#include "patches/ui/start_menu_options.h"
#include "events/ui/event_view.h"
#include "map/ui/map_view.h"
#include "widgets/prompts.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>

namespace {
const QString RomFilter = QStringLiteral("GameBoy roms (*.GB),(*.GBC)|*.GB;*.GBC|All files (*.*)|*.*");
}

void TMainForm::Load1Click()
{
    Prompts::FileRequest request;
    request.title = QStringLiteral("Select the ROM image of the game");
    request.filter = RomFilter;
    const auto path = prompts.openFile(request);
    if (!path)
        return;
    loadRom(*path);
}

bool TMainForm::loadRom(const QString& path)
{
    RomImage image;
    QString error;
    if (!image.loadFromFile(path, &error)) {
        prompts.error(error);
        return false;
    }
    state.core.rom = std::move(image);
    state.core.RomFileName = path;
    // Nothing of the previous image may reach the new one: the map shown,
    // its working copies and the block pictures built from it are dropped.
    dropMap();
    setStatusText(QStringLiteral("Select map."));
    MainBox->setEnabled(true);
    BlockEditor1->setEnabled(true);
    RomOptions1->setEnabled(true);
    MakeAllMartsFree1->setEnabled(true);
    VisibleMenuOptions1->setEnabled(true);
    startMenu->LoadStartMenuOptions();
    return true;
}

void TMainForm::dropMap()
{
    state.core.map = MapRecord{};
    state.map.clearMap();
    state.pictures.clear();
    state.Pics = TilePicture{};
    state.events = EventState{};
    state.encounters = EncounterTables{};
    mapPage->clearMap();
    events->clearMap();
    critters->clearMap();
    blockEditor->hide();
    mapPage->MapBox->setStatusTip(QString());
    events->EventBox->setStatusTip(QString());
    setWindowTitle(QStringLiteral("Kartola"));
    SaveMapPicture1->setEnabled(false);
    SaveTilesetPicture1->setEnabled(false);
    BuildEvents1->setEnabled(false);
}

void TMainForm::writeWorkingCopies()
{
    if (!state.core.map.isMap())
        return;
    mapPage->SaveMap();
    events->SaveEvents();
    if (state.core.map.EncounterStart > 0)
        critters->SaveCritter();
}

void TMainForm::saveRomTo(const QString& path)
{
    QString error;
    if (!state.core.rom.saveToFile(path, &error))
        prompts.error(error);
}

void TMainForm::Save1Click()
{
    if (!state.core.romLoaded()) {
        prompts.error(QStringLiteral("You haven't loaded rom! Please load rom before saving."));
        return;
    }
    writeWorkingCopies();
    saveRomTo(state.core.RomFileName);
}

void TMainForm::SaveAs1Click()
{
    if (!state.core.romLoaded()) {
        prompts.error(QStringLiteral("You haven't loaded rom! Please load rom before saving."));
        return;
    }
    Prompts::FileRequest request;
    request.title = QStringLiteral("Save rom");
    request.filter = RomFilter;
    request.defaultSuffix = QStringLiteral("GB");
    const auto path = prompts.saveFile(request);
    if (!path)
        return;
    writeWorkingCopies();
    // RomFileName stays: a later Save Rom writes to the file that was loaded.
    saveRomTo(*path);
}

void TMainForm::Exit1Click()
{
    close();
}

void TMainForm::About1Click()
{
    prompts.about(QStringLiteral("Kartola 1.3"),
                  QStringLiteral("Kartola 1.3\nA map, event and encounter editor for Game Boy Color role-playing games."));
}
