#pragma once

#include "model/encounters/encounter_tables.h"
#include "model/encounters/randomizer.h"

#include <QWidget>

class EditorSession;
class RandomizeFill;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;

// The "Wild Critters" page: the morning, day and night lists with their value
// controls, and the randomizer group.
class WildCrittersPage : public QWidget {
    Q_OBJECT
public:
    // Follows the session: a map pick shows its tables, edits and undo
    // rewrite their lines, a new ROM image hides the groups.
    explicit WildCrittersPage(EditorSession& session, QWidget* parent = nullptr);

    void LoadCritter();    // map pick: groups shown for a map with a readable table
    void UpdateCritter();  // rewrites the 21 lines
    void clearMap();       // a new ROM image: groups hidden, lists empty

private:
    // The controls; tests find them by their object names.
    QLabel* Label1;
    QGroupBox* GroupBox1;  // "Morning"
    QGroupBox* GroupBox2;  // "Day"
    QGroupBox* GroupBox3;  // "Night"
    QGroupBox* GroupBox4;  // "Randomize"
    QListWidget* MorningBox;
    QListWidget* DayBox;
    QListWidget* NightBox;
    QSpinBox* MorningNumber;
    QSpinBox* MorningLevel;
    QSpinBox* DayNumber;
    QSpinBox* DayLevel;
    QSpinBox* NightNumber;
    QSpinBox* NightLevel;
    QSpinBox* MinCritter;
    QSpinBox* MaxCritter;
    QSpinBox* MinLev;
    QSpinBox* MaxLev;
    QPushButton* Button1;

    struct TimeControls {
        QListWidget* box;
        QSpinBox* number;
        QSpinBox* level;
    };

    QGroupBox* makeTimeGroup(const QString& objectName, const QString& title, const QString& timeName,
                             const QString& hint, QListWidget*& box, QSpinBox*& number, QSpinBox*& level);
    QGroupBox* makeRandomizeGroup();
    TimeControls controls(int time) const;
    int selectedLine(int time) const;
    void setGroupsShown(bool shown);
    void fillLines(int time);

    void BoxClick(int time);
    // The number (else the level) control of `time` changed.
    void SlotChange(int time, bool number);
    void Button1Click();

    void showSlot(int time, int slot);
    void showDrawnSlot(int time, int slot);
    void fillEnded();

    EditorSession& m_session;
    EncounterTables& m_tables;
    bool m_editing = false;   // the page's own change: its controls show what it wants
    Randomizer m_random;      // lives as long as the page: one sequence per run
    RandomizeFill* m_fill;    // the Randomize button's fill, a slot per pause
    QWidget* m_cover;         // holds the groups; covers the notice while they are shown
};
