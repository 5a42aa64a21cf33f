#include "ui_support/editor_fixture.h"

#include <QComboBox>

TMainForm& EditorFixture::open(UserSettings* settings)
{
    state = std::make_unique<EditorState>(dir.path());
    form = std::make_unique<TMainForm>(*state, prompts, settings);
    return *form;
}

TMainForm& EditorFixture::openWithRom(UserSettings* settings)
{
    open(settings);
    form->loadRom(dir.file("rom.gbc"));
    return *form;
}

void EditorFixture::pickCategory(const QString& category)
{
    const int index = form->MainBox->findText(category);
    form->MainBox->setCurrentIndex(index);
    form->MainBoxClick();
}

void EditorFixture::pickMap(const QString& category, const QString& map)
{
    pickCategory(category);
    // What the combo box does when the user chooses an entry of its list.
    const int index = form->SubBox->findText(map);
    form->SubBox->setCurrentIndex(index);
    emit form->SubBox->activated(index);
    emit form->SubBox->textActivated(form->SubBox->itemText(index));
}

QString EditorFixture::shownTitle(const QWidget& window)
{
    QString title = window.windowTitle();
    return title.replace(QStringLiteral("[*]"), window.isWindowModified() ? QStringLiteral("*") : QString());
}
