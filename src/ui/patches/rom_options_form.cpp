#include "ui/patches/rom_options_form.h"

#include "session/editor_session.h"
#include "model/patches/option_patch.h"
#include "base/prompts.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TRomOptionsForm::TRomOptionsForm(EditorSession& session, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_session(session)
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
    // An open window follows the image: an undo of its Save, a new ROM image.
    connect(&m_session, &EditorSession::romBytesChanged, this, [this] {
        if (isVisible())
            LoadOptions();
    });

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
    for (const QString& section : m_session.state().core.catalogue.OptionsIni.sections()) {
        auto* line = new QListWidgetItem(section, CheckListBox1);
        line->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        line->setCheckState(Qt::Unchecked);
    }
}

void TRomOptionsForm::LoadOptions()
{
    for (int i = 0; i < CheckListBox1->count(); ++i) {
        QListWidgetItem* line = CheckListBox1->item(i);
        const RomOption option = readRomOption(m_session.state().core.catalogue.OptionsIni, line->text());
        const bool usable = romOptionUsable(m_session.state().core.rom, option);
        Qt::ItemFlags flags = Qt::ItemIsUserCheckable | Qt::ItemIsSelectable;
        if (usable)
            flags |= Qt::ItemIsEnabled;
        line->setFlags(flags);
        line->setCheckState(romOptionOn(m_session.state().core.rom, option) ? Qt::Checked : Qt::Unchecked);
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
    if (!m_session.state().core.romLoaded()) {
        m_session.prompts().error(QStringLiteral("You haven't loaded rom! Please load rom before saving."));
        return;
    }
    QList<std::pair<RomOption, bool>> ticks;
    for (int i = 0; i < CheckListBox1->count(); ++i) {
        QListWidgetItem* line = CheckListBox1->item(i);
        // A disabled line was never offered to the user; its byte is left alone.
        if (!(line->flags() & Qt::ItemIsEnabled))
            continue;
        ticks.append({readRomOption(m_session.state().core.catalogue.OptionsIni, line->text()),
                      line->checkState() == Qt::Checked});
    }
    m_session.editRom(QStringLiteral("Rom Options"), [ticks](RomImage& rom) {
        for (const auto& [option, on] : ticks)
            writeRomOption(rom, option, on);
        return true;
    });
    const SessionOutcome saved = m_session.saveImageTo(m_session.state().core.RomFileName);
    if (saved.isRefused())
        m_session.prompts().error(saved.refusal);
}

void TRomOptionsForm::SelectNoneButtonClick()
{
    for (int i = 0; i < CheckListBox1->count(); ++i)
        CheckListBox1->item(i)->setCheckState(Qt::Unchecked);
}
