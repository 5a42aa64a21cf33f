// Choosing a category and a map: the central event of the editor.
#include "ui/main/main_form.h"

#include "session/catalogue_maps.h"
#include "session/editor_session.h"
#include "base/prompts.h"
#include "ui/events/events_editor.h"
#include "ui/events/event_view.h"
#include "ui/map/map_page.h"
#include "ui/map/map_view.h"

#include <QComboBox>
#include <QLineEdit>

void TMainForm::MainBoxClick()
{
    SubBox->setEnabled(true);
    const QString category = MainBox->currentText();
    const QStringList maps = categoryMaps(state.core.catalogue.MainIni, category);
    // Filling the list is no map pick: the current map stays.
    const QSignalBlocker blocker(SubBox);
    SubBox->clear();
    SubBox->addItems(maps);
    SubBox->setCurrentIndex(-1);
    SubBox->setEditText(QString());
}

void TMainForm::SubBoxChange()
{
    // While a name is being typed the keyboard stays in the chooser.
    const QString name = SubBox->currentText();
    pickOnly(name, SubBox->findText(name, Qt::MatchFixedString | Qt::MatchCaseSensitive) >= 0);
}

void TMainForm::pickMap(const QString& name, bool listed)
{
    if (pickOnly(name, listed))
        focusShownPage();
}

void TMainForm::focusShownPage()
{
    QWidget* page = TabbedNotebook1->currentWidget();
    if (page == mapPage)
        mapPage->MapBox->setFocus(Qt::OtherFocusReason);
    else if (page && page->isAncestorOf(events->EventBox))
        events->EventBox->setFocus(Qt::OtherFocusReason);
    else if (page)
        page->setFocus(Qt::OtherFocusReason);
}

bool TMainForm::pickOnly(const QString& name, bool listed)
{
    const EditorSession::PickResult result = session->pickMap(name, listed);
    if (result.outcome.isDeclined()) {
        // The current map stays, and so does its name in the chooser.
        const QSignalBlocker blocker(SubBox);
        SubBox->setEditText(state.core.map.name);
        return false;
    }
    if (!result.outcome.refusal.isEmpty()) {
        prompts.error(result.outcome.refusal);
        return false;
    }
    return true;
}
