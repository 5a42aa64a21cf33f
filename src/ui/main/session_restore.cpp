#include "ui/main/session_restore.h"

#include "ui/main/main_form.h"
#include "widgets/zoom_setting.h"

#include <QComboBox>
#include <QTabWidget>

LastSession currentSession(const TMainForm& form)
{
    LastSession session;
    const EditorCore& core = form.state.core;
    session.rom = core.RomFileName;
    session.catalogue = core.catalogue.programDir;
    if (core.map.isMap()) {
        session.category = form.MainBox->currentText();
        session.map = core.map.name;
    }
    session.page = form.TabbedNotebook1->currentIndex();
    session.zoom = form.zoom->percent();
    session.geometry = form.saveGeometry();
    return session;
}

void restoreLastSession(TMainForm& form, const LastSession& last, const SessionStart& start)
{
    if (!last.geometry.isEmpty())
        form.restoreGeometry(last.geometry);
    if (last.page >= 0 && last.page < form.TabbedNotebook1->count())
        form.TabbedNotebook1->setCurrentIndex(last.page);
    if (last.zoom > 0)
        form.zoom->setPercent(last.zoom);   // a value that is no zoom level is ignored

    if (start.rom.isEmpty() || !form.loadRom(start.rom) || !start.restoreMap)
        return;
    const int category = form.MainBox->findText(last.category, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (category < 0)
        return;
    form.MainBox->setCurrentIndex(category);
    form.MainBoxClick();
    const int map = form.SubBox->findText(last.map, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (map < 0)
        return;
    form.SubBox->setCurrentIndex(map);
    form.pickMap(last.map, true);
}
