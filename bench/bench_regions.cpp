// Editing by regions on the largest map of the bench field: a bucket fill
// of the whole map, the undo history 500 such fills keep, a step of a 10 x 10 stamp preview, and Go to Map
// narrowing 10,000 names by one key. Run from a Release build; it runs
// without a display.
#include "bench_field.h"
#include "bench_window.h"
#include "silent_prompts.h"

#include "base/ini_file.h"
#include "model/map/cell_mask.h"
#include "session/block_uses_finder.h"
#include "session/editor_session.h"
#include "session/editor_state.h"
#include "ui/main/go_to_map_window.h"
#include "ui/main/main_form.h"
#include "ui/map/map_page.h"
#include "ui/map/map_view.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollArea>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QUndoStack>

#include <malloc.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    if (!bench::writeBenchField(dir.path()))
        return 1;
    // 10,000 more names for Go to Map.
    {
        QFile main(QDir(dir.path()).filePath(QStringLiteral("Main.Ini")));
        if (!main.open(QIODevice::Append))
            return 1;
        QByteArray lines("\r\n[Many]\r\n");
        for (int i = 1; i <= 10000; ++i)
            lines += QByteArray::number(i) + "=Map number " + QByteArray::number(i * 7919 % 10007) + "\r\n";
        main.write(lines);
    }

    bench::BenchWindow shown;
    if (!shown.open(dir.path()))
        return 1;
    EditorState& state = *shown.state;
    TMainForm& form = *shown.form;
    form.TabbedNotebook1->setCurrentIndex(0);
    form.show();
    app.processEvents();
    EditorSession& session = *form.session;
    if (!session.pickMap(bench::Map).outcome.isDone())
        return 1;
    app.processEvents();
    std::printf("Regions, %d x %d block map\n", bench::Side, bench::Side);

    // The whole map one block, then each fill turns every cell into another.
    session.stamp().setSelectedBlock(5);
    const CellMask wholeMap = CellMask::fromRect(bench::Side, bench::Side, QRect(0, 0, bench::Side, bench::Side));
    session.regions().clearCells(wholeMap);
    int fills = 0;
    bench::print("bucket fill of the whole map (session, one undo entry)", bench::measure(50, {}, [&] {
                     session.stamp().setSelectedBlock(6 + fills++ % 2);
                     session.regions().bucketFill(QPoint(50, 50), CellMask());
                 }), 1.0, 0);
    app.processEvents();

    // The heap the history holds after 500 whole-map fills, from an empty one.
    std::vector<double> historyMiB;
    for (int run = 0; run < 11; ++run) {
        session.undoStack().clear();
        const size_t before = mallinfo2().uordblks;
        for (int i = 0; i < 500; ++i) {
            session.stamp().setSelectedBlock(6 + fills++ % 2);
            session.regions().bucketFill(QPoint(50, 50), CellMask());
        }
        historyMiB.push_back(double(mallinfo2().uordblks - before) / (1024.0 * 1024.0));
    }
    session.undoStack().clear();
    std::sort(historyMiB.begin(), historyMiB.end());
    std::printf("%-40s median %7.2f MiB  range %.2f..%.2f MiB  target < 16    %s\n",
                "undo history of 500 whole-map fills", historyMiB[5], historyMiB.front(), historyMiB.back(),
                historyMiB[5] < 16 ? "ok" : "HIGH");
    app.processEvents();

    // A 10 x 10 stamp moved one cell a step: the handler and the repaint.
    MapView* view = form.mapPage->MapBox;
    session.stamp().setRegion(session.regions().copyCells(CellMask::fromRect(bench::Side, bench::Side, QRect(0, 0, 10, 10))));
    const QPoint origin = view->mapFrom(form.mapPage->ScrollBox1->viewport(), QPoint(0, 0));
    int step = 0;
    bench::print("10 x 10 stamp preview step at 100 % (handler and repaint)", bench::measure(1000, {}, [&] {
                     const QPoint at = origin + QPoint(64 * (step % 4) + 20, 20);
                     ++step;
                     QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(view->mapToGlobal(at)), Qt::NoButton,
                                      Qt::NoButton, {});
                     QCoreApplication::sendEvent(view, &move);
                     app.processEvents();
                 }), 0.2, 11 * 10 * 64 * 64);

    // Select Same over the whole map (half of it one block, in a checkerboard).
    for (int i = 0; i < bench::Side * bench::Side; i += 2)
        session.beginStroke(), session.paintCell(i), session.endStroke();
    int selected = 0;
    bench::print("Select Same on the whole map (model)", bench::measure(51, {}, [&] {
                     selected += sameBlockCells(session.regions().mapGrid(), 6).count();
                 }), 1.0, 0);
    // Find Uses reads every listed map's record: the demo's maps, the bench
    // field and the 10,000 names above (which have no record).
    int uses = 0;
    bench::print("Find Uses over 10,000+ listed names (model)", bench::measure(21, {}, [&] {
                     uses += int(findBlockUses(state.core.catalogue, state.core.rom, state.map, 1, 6).size());
                 }), 100.0, 0);
    std::printf("(selected %d cells, %d uses in all runs)\n", selected, uses);

    form.goToMap->GoToMap1Click();
    app.processEvents();
    std::printf("Go to Map lists %d names\n", form.goToMap->shownCount());
    const QStringList typed = {QStringLiteral("m"), QStringLiteral("ma"), QStringLiteral("map n"),
                               QStringLiteral("map number 1"), QStringLiteral("map number 12"),
                               QStringLiteral("map number 1"), QStringLiteral("map n"), QStringLiteral("")};
    int key = 0;
    bench::print("Go to Map, one key over 10,000 names (filter and repaint)", bench::measure(64, {}, [&] {
                     form.goToMap->Filter->setText(typed[key++ % typed.size()]);
                     app.processEvents();
                 }), 5.0, 0);
    form.goToMap->hide();
    return 0;
}
