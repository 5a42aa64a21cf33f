// The randomizer's fill driven through the main window: a slot per pause on a
// timer, the window painting and answering meanwhile, one undo entry, and
// what ends a fill early.
#include "session/editor_session.h"
#include "model/encounters/encounter_io.h"
#include "model/rom/rom_image.h"
#include "ui/encounters/wild_critters_page.h"
#include "ui_support/editor_fixture.h"

#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

namespace {

constexpr qint64 WildTable = 0x5000;  // "Route 1" in the catalogue fixture

// The generator written out here once more, so the expected slots do not come
// from the program's own code: state * 134775813 + 1, the high half of
// state * n, redrawn until the value reaches the minimum.
struct Reference {
    quint32 state = 0;
    qint32 inRange(qint32 max, qint32 min)
    {
        qint32 r = 0;
        do {
            state = state * 134775813u + 1u;
            r = qint32((quint64(state) * quint32(max)) >> 32) + 1;
        } while (r < min);
        return r;
    }
    // The first click's 21 slots with the start ranges, morning to night.
    static EncounterTables firstClick()
    {
        Reference g;
        EncounterTables t;
        for (int slot = 0; slot < TimesOfDay * SlotsPerTime; ++slot) {
            const qint32 level = g.inRange(70, 20);
            t.setSlot(slot / SlotsPerTime, slot % SlotsPerTime, {level, g.inRange(250, 1)});
        }
        return t;
    }
};

class PaintCounter : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

struct Window {
    Window()
    {
        form = &files.openWithRom();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        files.pickMap("Routes", "Route 1");
        // The user turns to the page.
        QTabBar* tabs = form->TabbedNotebook1->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
        QCOMPARE(form->TabbedNotebook1->currentIndex(), 2);
        files.prompts.shown.clear();
    }
    QPushButton* button() const { return form->critters->findChild<QPushButton*>(QStringLiteral("Button1")); }
    QListWidget* box(int time) const
    {
        static const char* names[] = {"MorningBox", "DayBox", "NightBox"};
        return form->critters->findChild<QListWidget*>(QLatin1String(names[time]));
    }
    EncounterTables& tables() const { return files.state->encounters; }
    std::optional<EncounterTables> inFile() const
    {
        RomImage rom;
        if (!rom.loadFromFile(files.dir.file("rom.gbc")))
            return std::nullopt;
        return readEncounterTables(rom, WildTable);
    }

    EditorFixture files;
    TMainForm* form = nullptr;
};

// The first `drawn` slots of `drawnFrom`, the rest from `rest`.
EncounterTables firstSlots(const EncounterTables& drawnFrom, const EncounterTables& rest, int drawn)
{
    EncounterTables t = rest;
    for (int slot = 0; slot < drawn; ++slot)
        t.setSlot(slot / SlotsPerTime, slot % SlotsPerTime, drawnFrom.slotAt(slot / SlotsPerTime, slot % SlotsPerTime));
    return t;
}

} // namespace

class TestRandomizeWindow : public QObject {
    Q_OBJECT
private slots:
    void fillPaintsAnswersAndIsOneEntry();
    void fillEndsBeforeWhatWouldLeaveIt_data();
    void fillEndsBeforeWhatWouldLeaveIt();
};

void TestRandomizeWindow::fillPaintsAnswersAndIsOneEntry()
{
    Window w;
    w.files.prompts.pauseLength = 150;   // the real pause
    const EncounterTables before = w.tables();
    const int entries = w.form->session->undoStack().count();
    PaintCounter painted[TimesOfDay];
    for (int time = Morning; time <= Night; ++time)
        w.box(time)->viewport()->installEventFilter(&painted[time]);

    // Each slot's list is painted before the next slot is drawn.
    int step = 0;
    int lastPaints = 0;
    QStringList failures;
    w.files.prompts.onPause = [&] {
        if (step > 0 && painted[(step - 1) / SlotsPerTime].count <= lastPaints)
            failures << QStringLiteral("slot %1 not painted before the next").arg(step - 1);
        lastPaints = painted[step / SlotsPerTime].count;
        ++step;
    };
    // A timer of the window's own fires while the fill goes on.
    bool answered = false;
    QTimer::singleShot(1000, w.form, [&] { answered = w.button()->text() == QStringLiteral("Stop"); });

    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(w.button(), Qt::LeftButton);
    QCOMPARE(w.button()->text(), QStringLiteral("Stop"));
    QTRY_COMPARE_WITH_TIMEOUT(w.button()->text(), QStringLiteral("Randomize"), 10000);
    QVERIFY2(clock.elapsed() >= 20 * 150 - 50, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(step, 21);
    QCOMPARE(failures, QStringList{});
    QVERIFY(answered);

    const EncounterTables expected = Reference::firstClick();
    QCOMPARE(expected.morning()[0], (EncounterSlot{61, 51}));
    QCOMPARE(w.tables(), expected);
    QCOMPARE(w.box(Night)->item(6)->text(), QStringLiteral("L: 55 N: 163"));
    QCOMPARE(w.form->session->undoStack().count(), entries + 1);
    QCOMPARE(w.form->session->undoStack().undoText(), QStringLiteral("Randomize"));
    QTest::keyClick(w.form, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w.tables(), before);
}

enum Action { PickMap, LoadRom, Close, Stop, LoadRomDiscard, CloseDiscard };

void TestRandomizeWindow::fillEndsBeforeWhatWouldLeaveIt_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("drawn");   // slots the fill drew in the end
    QTest::newRow("map pick, kept in the image, then saved") << int(PickMap) << 21;
    QTest::newRow("Load Rom, Save") << int(LoadRom) << 21;
    QTest::newRow("close, Save") << int(Close) << 21;
    QTest::newRow("Stop") << int(Stop) << 4;
    // Discarded: the fill ended before the question and nothing of it lives on.
    QTest::newRow("Load Rom, Discard") << int(LoadRomDiscard) << 21;
    QTest::newRow("close, Discard") << int(CloseDiscard) << 21;
}

void TestRandomizeWindow::fillEndsBeforeWhatWouldLeaveIt()
{
    QFETCH(int, action);
    QFETCH(int, drawn);
    Window w;
    w.files.prompts.pauseLength = 40;
    const std::optional<EncounterTables> before = w.inFile();
    QVERIFY(before);
    const int entries = w.form->session->undoStack().count();
    // After the fourth slot the user acts, from the event loop.
    int step = 0;
    int drawnOnReturn = -1;
    w.files.prompts.onPause = [&] {
        if (++step != 4)
            return;
        QTimer::singleShot(0, w.form, [&] {
            switch (Action(action)) {
            case PickMap:
                w.files.prompts.answer(Prompts::Answer::Yes);
                w.files.pickMap("Towns", "Alpha Town");
                w.files.prompts.answer(Prompts::Answer::Save);
                w.form->loadRom(w.files.dir.file("rom.gbc"));
                break;
            case LoadRom:
                w.files.prompts.answer(Prompts::Answer::Save);
                w.form->loadRom(w.files.dir.file("rom.gbc"));
                break;
            case Close:
                w.files.prompts.answer(Prompts::Answer::Save);
                w.form->close();
                break;
            case Stop:
                QTest::mouseClick(w.button(), Qt::LeftButton);
                break;
            case LoadRomDiscard:
                w.files.prompts.answer(Prompts::Answer::Discard);
                w.form->loadRom(w.files.dir.file("rom.gbc"));
                break;
            case CloseDiscard:
                w.files.prompts.answer(Prompts::Answer::Discard);
                w.form->close();
                break;
            }
            drawnOnReturn = int(w.files.prompts.pauses.size());
        });
    };
    QTest::mouseClick(w.button(), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(w.button()->text(), QStringLiteral("Randomize"), 10000);
    QTest::qWait(100);   // no slot comes after the end
    QCOMPARE(step, drawn);
    QCOMPARE(int(w.files.prompts.pauses.size()), drawn);
    QCOMPARE(drawnOnReturn, drawn);
    const EncounterTables expected = firstSlots(Reference::firstClick(), *before, drawn);
    if (Action(action) == LoadRomDiscard || Action(action) == CloseDiscard) {
        QCOMPARE(w.inFile(), before);
        QCOMPARE(w.tables(), Action(action) == LoadRomDiscard ? EncounterTables{} : expected);
        QCOMPARE(w.form->session->undoStack().count(), Action(action) == LoadRomDiscard ? 0 : entries + 1);
    } else if (Action(action) == Stop) {
        QCOMPARE(w.tables(), expected);
        QCOMPARE(w.form->session->undoStack().count(), entries + 1);
        QTest::keyClick(w.form, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.tables(), *before);
    } else {
        QCOMPARE(w.inFile(), std::optional<EncounterTables>(expected));
    }
}

QTEST_MAIN(TestRandomizeWindow)
#include "tst_randomize_window.moc"
