#include "patches/ui/rom_options_form.h"

#include "patches/option_patch.h"
#include "widgets/prompts.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TRomOptionsForm::TRomOptionsForm(EditorCore& core, Prompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_core(core)
    , m_prompts(prompts)
{
    setObjectName(QStringLiteral("RomOptionsForm"));
    setWindowTitle(QStringLiteral("Rom Options"));

    CheckListBox1 = new QListWidget(this);
    CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
    CheckListBox1->setMinimumSize(280, 240);

    SaveButton = new QPushButton(QStringLiteral("Save"), this);
    SaveButton->setObjectName(QStringLiteral("SaveButton"));
    SelectNoneButton = new QPushButton(QStringLiteral("Select None"), this);
    SelectNoneButton->setObjectName(QStringLiteral("SelectNoneButton"));
    connect(SaveButton, &QPushButton::clicked, this, &TRomOptionsForm::SaveButtonClick);
    connect(SelectNoneButton, &QPushButton::clicked, this, &TRomOptionsForm::SelectNoneButtonClick);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SelectNoneButton);
    buttons->addStretch();
    buttons->addWidget(SaveButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CheckListBox1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    FormCreate();
}

void TRomOptionsForm::FormCreate()
{
    CheckListBox1->clear();
    for (const QString& section : m_core.catalogue.OptionsIni.sections()) {
        auto* line = new QListWidgetItem(section, CheckListBox1);
        line->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        line->setCheckState(Qt::Unchecked);
    }
}

void TRomOptionsForm::LoadOptions()
{
    for (int i = 0; i < CheckListBox1->count(); ++i) {
        QListWidgetItem* line = CheckListBox1->item(i);
        const RomOption option = readRomOption(m_core.catalogue.OptionsIni, line->text());
        const bool usable = romOptionUsable(m_core.rom, option);
        Qt::ItemFlags flags = Qt::ItemIsUserCheckable | Qt::ItemIsSelectable;
        if (usable)
            flags |= Qt::ItemIsEnabled;
        line->setFlags(flags);
        line->setCheckState(romOptionOn(m_core.rom, option) ? Qt::Checked : Qt::Unchecked);
    }
}

void TRomOptionsForm::RomOptions1Click()
{
    LoadOptions();
    show();
    raise();
    activateWindow();
}

void TRomOptionsForm::SaveButtonClick()
{
    if (!m_core.romLoaded()) {
        m_prompts.error(QStringLiteral("You haven't loaded rom! Please load rom before saving."));
        return;
    }
    for (int i = 0; i < CheckListBox1->count(); ++i) {
        QListWidgetItem* line = CheckListBox1->item(i);
        // A disabled line was never offered to the user; its byte is left alone.
        if (!(line->flags() & Qt::ItemIsEnabled))
            continue;
        const RomOption option = readRomOption(m_core.catalogue.OptionsIni, line->text());
        writeRomOption(m_core.rom, option, line->checkState() == Qt::Checked);
    }
    QString error;
    if (!m_core.saveRom(m_core.RomFileName, &error))
        m_prompts.error(error);
}

void TRomOptionsForm::SelectNoneButtonClick()
{
    for (int i = 0; i < CheckListBox1->count(); ++i)
        CheckListBox1->item(i)->setCheckState(Qt::Unchecked);
}
