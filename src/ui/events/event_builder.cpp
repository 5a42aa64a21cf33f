#include "ui/events/event_builder.h"

#include "model/events/event_block.h"
#include "base/prompts.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>

namespace {

const char* const NotEnoughBytes =
    "There isn't enough bytes available. This may cause a bug in other map. However, if this is last map in "
    "map bank you can add there almost unlimited number of events. Are you sure that you want to continue?";
const char* const LocationsChange =
    "Event locations will change. \"Events.ini\" need be modifed so Kartola can edit these events but, after "
    "this you can't edit events of this map in orginal rom. When you want to edit these events in orginal rom "
    "you can restore \"Events.ini\" from orginal Kartola zip. Is this ok?";

} // namespace

TEventBuilder::TEventBuilder(EditorCore& core, EventState& state, Prompts& prompts, std::function<void()> reload,
                             QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint),
      m_core(core), m_state(state), m_prompts(prompts), m_reload(std::move(reload))
{
    setWindowTitle(QStringLiteral("Build Events"));
    auto* grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    auto spin = [&](const QString& label, const char* name, int row) {
        auto* s = new QSpinBox(this);
        s->setObjectName(QLatin1String(name));
        s->setRange(0, MaxEventCount);
        auto* caption = new QLabel(label, this);
        caption->setBuddy(s);
        grid->addWidget(caption, row, 0);
        grid->addWidget(s, row, 1);
        connect(s, &QSpinBox::valueChanged, this, &TEventBuilder::WarpNumChange);
        return s;
    };
    WarpNum = spin(QStringLiteral("Number Of Warp:"), "WarpNum", 0);
    SingNum = spin(QStringLiteral("Number Of Singpost:"), "SingNum", 1);
    PeopNum = spin(QStringLiteral("Number Of People:"), "PeopNum", 2);
    Need = new QLabel(this);
    Need->setObjectName(QStringLiteral("Need"));
    Avail = new QLabel(this);
    Avail->setObjectName(QStringLiteral("Avail"));
    Button1 = new QPushButton(QStringLiteral("Re-Build Events"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    grid->addWidget(Need, 3, 0, 1, 2);
    grid->addWidget(Avail, 4, 0, 1, 2);
    grid->addWidget(Button1, 5, 0, 1, 2);
    connect(Button1, &QPushButton::clicked, this, &TEventBuilder::Button1Click);
    WarpNumChange();
}

void TEventBuilder::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TEventBuilder::FormShow()
{
    auto count = [](qint32 c) { return qBound(0, c, MaxEventCount); };
    WarpNum->setValue(count(m_state.WarpCount));
    SingNum->setValue(count(m_state.SingpostCount));
    PeopNum->setValue(count(m_state.PeopleCount));
    WarpNumChange();
    Avail->setText(QStringLiteral("Bytes Available: ") + QString::number(eventBytesAvailable(m_state)));
}

void TEventBuilder::WarpNumChange()
{
    Need->setText(QStringLiteral("Bytes Needed: ")
                  + QString::number(eventBytesNeeded(WarpNum->value(), SingNum->value(), PeopNum->value())));
}

void TEventBuilder::Button1Click()
{
    const int w = WarpNum->value(), s = SingNum->value(), p = PeopNum->value();
    const QString section = m_core.map.isMap() ? m_core.map.name : QString();
    // Refuse before asking anything when the block cannot be written at all.
    const QString problem = eventBlockProblem(m_core.rom, section, m_state, w, s, p);
    if (!problem.isEmpty()) {
        m_prompts.error(problem);
        return;
    }
    if (eventBytesNeeded(w, s, p) > eventBytesAvailable(m_state)
        && !m_prompts.ask(Prompts::Kind::Warning, QLatin1String(NotEnoughBytes)))
        return;
    if (!m_prompts.ask(Prompts::Kind::Confirmation, QLatin1String(LocationsChange)))
        return;
    const QString error = rebuildEventTables(m_core.catalogue.EventsIni, section, m_core.rom, m_state, w, s, p);
    if (!error.isEmpty()) {
        m_prompts.error(error);
        return;
    }
    if (m_reload)
        m_reload();
    hide();
    m_prompts.message(Prompts::Kind::Information, QStringLiteral("Done!"));
}
