#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

class EditorSession;
class Randomizer;

// The randomizer's fill of the 21 wild slots: morning, day, then night, slot
// 0 to 6 in each, the level drawn before the number with the ranges read
// afresh for every slot. One slot is drawn, then the prompts' pause passes
// on a timer, so the window paints and answers between slots. Everything
// from start to end is one undo entry. A Load Rom, map pick, whole-image
// change, save or exit of the session draws the rest at once first.
class RandomizeFill : public QObject {
    Q_OBJECT
public:
    struct Ranges {
        int minNumber;
        int maxNumber;
        int minLevel;
        int maxLevel;
    };
    using RangeSource = std::function<Ranges()>;

    RandomizeFill(EditorSession& session, Randomizer& random, RangeSource ranges, QObject* parent = nullptr);
    ~RandomizeFill() override;

    // Starts the fill with its first slot; false while one runs.
    bool start();
    // The slots drawn so far stay, as one entry; the rest keep their values.
    void stop();
    // Draws the remaining slots at once.
    void finishNow();
    bool isRunning() const { return m_next >= 0; }

signals:
    void slotDrawn(int time, int slot);
    void finished(bool whole);   // whole: all 21 slots drawn

private:
    void drawNext();
    void end(bool whole);

    QPointer<EditorSession> m_session;   // may go first when windows close at exit
    Randomizer& m_random;
    RangeSource m_ranges;
    QTimer m_timer;
    int m_next = -1;   // the next slot, 0 to 20; -1 when not running
};
