#include "ui/encounters/wild_critters_page.h"

#include "session/editor_session.h"
#include "session/randomize_fill.h"
#include "model/encounters/encounter_io.h"
#include "widgets/edit_spin_box.h"
#include "base/prompts.h"


#include <QGridLayout>
#include <QGuiApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// The slot controls take any typed number and bring it into 1 to 255 when
// they lose the focus; the randomizer's ranges stay within 1 to 255.
QSpinBox* makeSpin(QWidget* parent, const QString& name, int start, const QString& hint = {}, bool typeBeyond = false)
{
    auto* spin = new EditSpinBox(1, 255, typeBeyond, parent);
    spin->setObjectName(name);
    spin->setValue(start);
    if (!hint.isEmpty()) {
        spin->setStatusTip(hint);
        spin->setToolTip(hint);
    }
    return spin;
}

} // namespace

WildCrittersPage::WildCrittersPage(EditorSession& session, QWidget* parent)
    : QWidget(parent), m_session(session), m_tables(session.state().encounters)
{
    Label1 = new QLabel(QStringLiteral("Sorry this map hasn't wild Critter data or it isn't found yet."), this);
    Label1->setObjectName(QStringLiteral("Label1"));

    // The groups lie over the notice; while they are shown it is covered.
    m_cover = new QWidget(this);
    m_cover->setAutoFillBackground(true);

    const QString numberHint = QStringLiteral(
        "Critter's number: 1 is Mossling, 2 is Thornback, 3 is Gladewyrm, 4 is Cindertail, and so on");
    GroupBox1 = makeTimeGroup(QStringLiteral("GroupBox1"), QStringLiteral("Morning"), QStringLiteral("Morning"),
                              numberHint, MorningBox, MorningNumber, MorningLevel);
    GroupBox2 = makeTimeGroup(QStringLiteral("GroupBox2"), QStringLiteral("Day"), QStringLiteral("Day"),
                              numberHint, DayBox, DayNumber, DayLevel);
    GroupBox3 = makeTimeGroup(QStringLiteral("GroupBox3"), QStringLiteral("Night"), QStringLiteral("Night"),
                              numberHint, NightBox, NightNumber, NightLevel);
    MorningBox->setStatusTip(QStringLiteral("Wild Critter in morning"));
    DayBox->setStatusTip(QStringLiteral("Wild Critter in day"));
    NightBox->setStatusTip(QStringLiteral("Wild Critter in night"));
    for (QListWidget* box : {MorningBox, DayBox, NightBox})
        box->setToolTip(box->statusTip());
    GroupBox4 = makeRandomizeGroup();
    m_fill = new RandomizeFill(session, m_random, [this] {
        return RandomizeFill::Ranges{MinCritter->value(), MaxCritter->value(), MinLev->value(), MaxLev->value()};
    }, this);
    connect(m_fill, &RandomizeFill::slotDrawn, this, &WildCrittersPage::showDrawnSlot);
    connect(m_fill, &RandomizeFill::finished, this, &WildCrittersPage::fillEnded);

    auto* groups = new QHBoxLayout(m_cover);
    groups->setContentsMargins(0, 0, 0, 0);
    groups->addWidget(GroupBox1, 0, Qt::AlignTop);
    groups->addWidget(GroupBox2, 0, Qt::AlignTop);
    groups->addWidget(GroupBox3, 0, Qt::AlignTop);
    groups->addWidget(GroupBox4, 0, Qt::AlignTop);
    groups->addStretch(1);

    auto* page = new QGridLayout(this);
    page->addWidget(Label1, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    page->addWidget(m_cover, 0, 0);
    page->setRowStretch(1, 1);
    m_cover->raise();

    for (int time = Morning; time <= Night; ++time) {
        const TimeControls c = controls(time);
        c.box->addItems(QStringList(SlotsPerTime, QString()));
        // A click on a line, or a move of the selection with the keys, shows
        // that slot; a selection made by the program comes with signals blocked.
        connect(c.box, &QListWidget::itemClicked, this, [this, time] { BoxClick(time); });
        connect(c.box, &QListWidget::currentRowChanged, this, [this, time] { BoxClick(time); });
        connect(c.number, &QSpinBox::valueChanged, this, [this, time] { SlotChange(time, true); });
        connect(c.level, &QSpinBox::valueChanged, this, [this, time] { SlotChange(time, false); });
    }
    connect(Button1, &QPushButton::clicked, this, &WildCrittersPage::Button1Click);
    connect(&m_session, &EditorSession::mapPicked, this, &WildCrittersPage::LoadCritter);
    connect(&m_session, &EditorSession::mapDropped, this, &WildCrittersPage::clearMap);
    connect(&m_session, &EditorSession::encounterChanged, this, &WildCrittersPage::showSlot);
    connect(&m_session, &EditorSession::encountersChanged, this, &WildCrittersPage::UpdateCritter);

    setGroupsShown(false);
}

QGroupBox* WildCrittersPage::makeTimeGroup(const QString& objectName, const QString& title, const QString& timeName,
                                           const QString& hint, QListWidget*& box, QSpinBox*& number,
                                           QSpinBox*& level)
{
    auto* group = new QGroupBox(title, m_cover);
    group->setObjectName(objectName);
    group->setAutoFillBackground(true);

    box = new QListWidget(group);
    box->setObjectName(timeName + QStringLiteral("Box"));
    box->setSelectionMode(QAbstractItemView::SingleSelection);
    box->setUniformItemSizes(true);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Room for exactly 7 lines of the widest text.
    const QString widest = QStringLiteral("L: 255 N: 255");
    box->addItem(widest);
    const int frame = 2 * box->frameWidth();
    box->setFixedSize(box->sizeHintForColumn(0) + 16 + frame, SlotsPerTime * box->sizeHintForRow(0) + frame + 2);
    delete box->takeItem(0);

    number = makeSpin(group, timeName + QStringLiteral("Number"), 1, hint, true);
    level = makeSpin(group, timeName + QStringLiteral("Level"), 1, QStringLiteral("Critter's level"), true);

    auto* layout = new QGridLayout(group);
    layout->addWidget(box, 0, 0, 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("Number:"), group), 1, 0);
    layout->addWidget(number, 1, 1);
    layout->addWidget(new QLabel(QStringLiteral("Level:"), group), 2, 0);
    layout->addWidget(level, 2, 1);
    return group;
}

QGroupBox* WildCrittersPage::makeRandomizeGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Randomize"), m_cover);
    group->setObjectName(QStringLiteral("GroupBox4"));
    group->setAutoFillBackground(true);

    MinCritter = makeSpin(group, QStringLiteral("MinCritter"), 1);
    MaxCritter = makeSpin(group, QStringLiteral("MaxCritter"), 250);
    MinLev = makeSpin(group, QStringLiteral("MinLev"), 20);
    MaxLev = makeSpin(group, QStringLiteral("MaxLev"), 70);
    Button1 = new QPushButton(QStringLiteral("Randomize"), group);
    Button1->setObjectName(QStringLiteral("Button1"));

    auto* layout = new QGridLayout(group);
    layout->addWidget(new QLabel(QStringLiteral("Number Range:"), group), 0, 0);
    layout->addWidget(MinCritter, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("-"), group), 0, 2);
    layout->addWidget(MaxCritter, 0, 3);
    layout->addWidget(new QLabel(QStringLiteral("Level Range:"), group), 1, 0);
    layout->addWidget(MinLev, 1, 1);
    layout->addWidget(new QLabel(QStringLiteral("-"), group), 1, 2);
    layout->addWidget(MaxLev, 1, 3);
    layout->addWidget(Button1, 2, 0, 1, 4);
    return group;
}

WildCrittersPage::TimeControls WildCrittersPage::controls(int time) const
{
    switch (time) {
    case Day:
        return {DayBox, DayNumber, DayLevel};
    case Night:
        return {NightBox, NightNumber, NightLevel};
    default:
        return {MorningBox, MorningNumber, MorningLevel};
    }
}

int WildCrittersPage::selectedLine(int time) const
{
    const QListWidget* box = controls(time).box;
    const QListWidgetItem* item = box->currentItem();
    if (!item || !item->isSelected())
        return -1;
    return box->currentRow();
}

void WildCrittersPage::setGroupsShown(bool shown)
{
    for (QGroupBox* group : {GroupBox1, GroupBox2, GroupBox3, GroupBox4})
        group->setVisible(shown);
    m_cover->setVisible(shown);
}

void WildCrittersPage::LoadCritter()
{
    // A map without a table still reads the bytes at offset 0 (a map file
    // saved for it carries them); they are shown nowhere and never written.
    const qint32 offset = m_session.state().core.map.EncounterStart;
    setGroupsShown(offset != 0 && encounterTableInside(m_session.state().core.rom, offset));
    UpdateCritter();
}

void WildCrittersPage::fillLines(int time)
{
    QListWidget* box = controls(time).box;
    for (int k = 0; k < SlotsPerTime; ++k)
        box->item(k)->setText(encounterLine(m_tables.slotAt(time, k)));
}

void WildCrittersPage::UpdateCritter()
{
    for (int time = Morning; time <= Night; ++time)
        fillLines(time);
}

void WildCrittersPage::showSlot(int time, int slot)
{
    const TimeControls c = controls(time);
    if (QListWidgetItem* item = c.box->item(slot))
        item->setText(encounterLine(m_tables.slotAt(time, slot)));
    // The selected slot's boxes follow an undo; the page's own changes are shown already.
    if (m_editing || m_fill->isRunning() || selectedLine(time) != slot)
        return;
    const EncounterSlot value = m_tables.slotAt(time, slot);
    for (auto [spin, wanted] : {std::pair{c.number, value.number}, std::pair{c.level, value.level}}) {
        if (spin->value() != wanted && !spin->hasFocus()) {
            const QSignalBlocker blocker(spin);
            spin->setValue(wanted);
        }
    }
}

void WildCrittersPage::clearMap()
{
    setGroupsShown(false);
    m_tables.clear();
    for (int time = Morning; time <= Night; ++time) {
        QListWidget* box = controls(time).box;
        const QSignalBlocker blocker(box);
        box->setCurrentRow(-1);
        for (int k = 0; k < SlotsPerTime; ++k)
            box->item(k)->setText(QString());
    }
}

void WildCrittersPage::BoxClick(int time)
{
    const int line = selectedLine(time);
    if (line < 0)
        return;
    const TimeControls c = controls(time);
    // Each set value that changes a control runs its change handler, which
    // stores the control's value (a slot of 0 thus becomes 1).
    static_cast<EditSpinBox*>(c.number)->showValue(m_tables.slotAt(time, line).number);
    static_cast<EditSpinBox*>(c.level)->showValue(m_tables.slotAt(time, line).level);
}

void WildCrittersPage::SlotChange(int time, bool number)
{
    const int line = selectedLine(time);
    if (line < 0)
        return;
    const QScopedValueRollback<bool> editing(m_editing, true);
    const TimeControls c = controls(time);
    if (number)
        m_session.encounters().setEncounterNumber(time, line, c.number->value());
    else
        m_session.encounters().setEncounterLevel(time, line, c.level->value());
}

void WildCrittersPage::Button1Click()
{
    // During a fill the button stops it.
    if (m_fill->isRunning()) {
        m_fill->stop();
        return;
    }
    if (MaxCritter->value() < MinCritter->value() || MaxLev->value() < MinLev->value()) {
        m_session.prompts().message(Prompts::Kind::Plain,
                                    QStringLiteral("Huh? Min value needs to be smaller than max value."));
        return;
    }
    Button1->setText(QStringLiteral("Stop"));
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    m_fill->start();
}

void WildCrittersPage::showDrawnSlot(int time, int slot)
{
    QListWidget* box = controls(time).box;
    {
        // Selecting by program shows the line but not the slot's values.
        const QSignalBlocker blocker(box);
        box->setCurrentRow(slot);
    }
    box->item(slot)->setText(encounterLine(m_tables.slotAt(time, slot)));
}

void WildCrittersPage::fillEnded()
{
    Button1->setText(QStringLiteral("Randomize"));
    QGuiApplication::restoreOverrideCursor();
}
