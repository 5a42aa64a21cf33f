#include "session/randomize_fill.h"

#include "session/editor_session.h"
#include "model/encounters/encounter_tables.h"
#include "model/encounters/randomizer.h"
#include "base/prompts.h"

namespace {
constexpr int PauseAfterSlot = 150;  // milliseconds, so the user sees the table fill
constexpr int Slots = TimesOfDay * SlotsPerTime;
}

RandomizeFill::RandomizeFill(EditorSession& session, Randomizer& random, RangeSource ranges, QObject* parent)
    : QObject(parent), m_session(&session), m_random(random), m_ranges(std::move(ranges))
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &RandomizeFill::drawNext);
    connect(&session, &EditorSession::workEnding, this, &RandomizeFill::finishNow);
}

RandomizeFill::~RandomizeFill()
{
    // The entry is never left open; the page that listens may be half gone.
    if (isRunning() && m_session) {
        blockSignals(true);
        end(false);
    }
}

bool RandomizeFill::start()
{
    if (isRunning())
        return false;
    m_next = 0;
    m_session->encounters().beginRandomize();
    drawNext();
    return true;
}

void RandomizeFill::stop()
{
    if (isRunning())
        end(false);
}

void RandomizeFill::finishNow()
{
    m_timer.stop();
    // drawNext ends the fill after the last slot, which makes m_next -1.
    while (isRunning())
        drawNext();
}

void RandomizeFill::drawNext()
{
    if (!m_session) {
        m_next = -1;
        return;
    }
    const int time = m_next / SlotsPerTime;
    const int slot = m_next % SlotsPerTime;
    const Ranges r = m_ranges();
    const qint32 level = m_random.RandomInRange(r.maxLevel, r.minLevel);
    const qint32 number = m_random.RandomInRange(r.maxNumber, r.minNumber);
    m_session->encounters().setEncounterSlot(time, slot, {level, number});
    ++m_next;
    emit slotDrawn(time, slot);
    const int wait = m_session->prompts().pause(PauseAfterSlot);
    // A slot handler or the pause may have ended the fill already.
    if (!isRunning())
        return;
    if (m_next == Slots)
        end(true);
    else
        m_timer.start(wait);
}

void RandomizeFill::end(bool whole)
{
    m_timer.stop();
    m_next = -1;
    m_session->encounters().endRandomize();
    emit finished(whole);
}
