// View > Overview after a pick from the choosers: a click on a picture picks
// that map through the pick's question, the map shown is marked, a refused
// map shows its refusal, and a picture follows its map's bytes in the image.
#include "ui/main/overview_panel.h"
#include "ui/main/go_to_map_window.h"
#include "session/editor_session.h"
#include "ui_support/editor_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QComboBox>
#include <QListWidget>
#include <QtTest>

Q_DECLARE_METATYPE(Prompts::Answer)

namespace {

// The editor after a pick of Alpha Town, with the overview shown and drawn.
OverviewPanel& openOverview(EditorFixture& fixture)
{
    TMainForm& form = fixture.openWithRom();
    form.show();
    fixture.pickMap("Towns", "Alpha Town");
    form.Overview1->trigger();
    form.overview->waitForPictures();
    return *form.overview;
}

void clickOn(OverviewPanel& overview, const QString& name)
{
    QListWidgetItem* item = overview.item(name);
    QVERIFY(item);
    QTest::mouseClick(overview.Maps->viewport(), Qt::LeftButton, {}, overview.Maps->visualItemRect(item).center());
}

QString shownMaps(const OverviewPanel& overview)
{
    QStringList marked;
    for (int i = 0; i < overview.Maps->count(); ++i) {
        const QListWidgetItem* item = overview.Maps->item(i);
        if (item->data(OverviewPanel::ShownRole).toBool() && item->font().bold())
            marked << item->data(Qt::UserRole).toString();
    }
    return marked.join(',');
}

} // namespace

class TestOverviewPanel : public QObject {
    Q_OBJECT
private slots:
    void clickPicksThroughTheQuestion_data();
    void clickPicksThroughTheQuestion();
    void refusedMapShowsItsRefusal();
    void drawnAgainAfterSave();
    void filterAndAllCategories();
    void itemsAtFullSizeFromTheFirstPaint_data();
    void itemsAtFullSizeFromTheFirstPaint();
};

void TestOverviewPanel::clickPicksThroughTheQuestion_data()
{
    QTest::addColumn<bool>("unsaved");
    QTest::addColumn<Prompts::Answer>("answer");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("alphaDrawnAgain");   // the kept change reached the image
    QTest::newRow("nothing unsaved") << false << Prompts::Answer::Yes << "Beta Town" << false;
    QTest::newRow("keep the changes") << true << Prompts::Answer::Yes << "Beta Town" << true;
    QTest::newRow("drop the changes") << true << Prompts::Answer::No << "Beta Town" << false;
    QTest::newRow("cancel") << true << Prompts::Answer::Cancel << "Alpha Town" << false;
}

void TestOverviewPanel::clickPicksThroughTheQuestion()
{
    QFETCH(bool, unsaved);
    QFETCH(Prompts::Answer, answer);
    QFETCH(QString, shown);
    QFETCH(bool, alphaDrawnAgain);
    EditorFixture fixture;
    OverviewPanel& overview = openOverview(fixture);
    TMainForm& form = *fixture.form;
    QCOMPARE(shownMaps(overview), QStringLiteral("Alpha Town"));
    const qint64 alphaBefore = overview.item("Alpha Town")->icon().cacheKey();
    const qint64 betaBefore = overview.item("Beta Town")->icon().cacheKey();
    QVERIFY(!overview.item("Alpha Town")->icon().isNull());
    if (unsaved) {
        form.session->stamp().setSelectedBlock(3);
        form.session->paintCell(0);
    }

    fixture.prompts.answer(answer);
    clickOn(overview, "Beta Town");
    const QStringList asked = unsaved ? QStringList{QStringLiteral(
                                            "Map \"Alpha Town\" has changes that are not in the ROM image yet. Keep them?")}
                                      : QStringList{};
    QCOMPARE(fixture.prompts.texts(), asked);
    QCOMPARE(fixture.state->core.map.name, shown);
    QCOMPARE(form.SubBox->currentText(), shown);
    QCOMPARE(shownMaps(overview), shown);

    overview.waitForPictures();
    QCOMPARE(overview.item("Alpha Town")->icon().cacheKey() != alphaBefore, alphaDrawnAgain);
    QCOMPARE(overview.item("Beta Town")->icon().cacheKey(), betaBefore);
}

void TestOverviewPanel::refusedMapShowsItsRefusal()
{
    EditorFixture fixture;
    OverviewPanel& overview = openOverview(fixture);
    const QString refusal = QStringLiteral("Map \"Gamma\" has no section in Maps.Ini.");
    QListWidgetItem* gamma = overview.item("Gamma");
    QVERIFY(gamma);
    QCOMPARE(gamma->text(), QStringLiteral("Gamma\n") + refusal);
    QVERIFY(gamma->icon().isNull());

    // A click says the same and leaves the map shown as it is.
    clickOn(overview, "Gamma");
    QCOMPARE(fixture.prompts.texts(), QStringList{refusal});
    QCOMPARE(fixture.state->core.map.name, QStringLiteral("Alpha Town"));
    QCOMPARE(shownMaps(overview), QStringLiteral("Alpha Town"));
}

void TestOverviewPanel::drawnAgainAfterSave()
{
    EditorFixture fixture;
    OverviewPanel& overview = openOverview(fixture);
    TMainForm& form = *fixture.form;
    const qint64 before = overview.item("Alpha Town")->icon().cacheKey();
    form.session->stamp().setSelectedBlock(3);
    form.session->paintCell(0);
    overview.waitForPictures();
    // Unsaved cells are not in the image yet; Save Rom puts them there.
    QCOMPARE(overview.item("Alpha Town")->icon().cacheKey(), before);
    QVERIFY(form.session->saveRom().isDone());
    overview.waitForPictures();
    QVERIFY(overview.item("Alpha Town")->icon().cacheKey() != before);
}

void TestOverviewPanel::filterAndAllCategories()
{
    EditorFixture fixture;
    OverviewPanel& overview = openOverview(fixture);
    auto listed = [&] {
        QStringList names;
        for (int i = 0; i < overview.Maps->count(); ++i)
            if (!overview.Maps->item(i)->isHidden())
                names << overview.Maps->item(i)->data(Qt::UserRole).toString();
        return names.join(',');
    };
    QCOMPARE(listed(), QStringLiteral("Alpha Town,Beta Town,Gamma"));
    QTest::keyClicks(overview.Filter, "TA t");
    QCOMPARE(listed(), QStringLiteral("Beta Town"));
    QTest::mouseClick(overview.AllCategories, Qt::LeftButton, {}, QPoint(8, overview.AllCategories->height() / 2));
    overview.waitForPictures();
    QTest::keySequence(overview.Filter, QKeySequence::SelectAll);
    QTest::keyClicks(overview.Filter, "o");
    QCOMPARE(listed(), QStringLiteral("Alpha Town,Beta Town,Route 1"));
    QVERIFY(!overview.item("Route 1")->icon().isNull());

    // Another category in the chooser is another list, when not all are shown.
    QTest::mouseClick(overview.AllCategories, Qt::LeftButton, {}, QPoint(8, overview.AllCategories->height() / 2));
    fixture.pickCategory("Routes");
    QTRY_COMPARE(listed(), QStringLiteral("Route 1"));
}

void TestOverviewPanel::itemsAtFullSizeFromTheFirstPaint_data()
{
    QTest::addColumn<bool>("allCategories");   // the list filled again for another choice
    QTest::newRow("first opened") << false;
    QTest::newRow("all categories") << true;
}

void TestOverviewPanel::itemsAtFullSizeFromTheFirstPaint()
{
    QFETCH(bool, allCategories);
    EditorFixture fixture;
    TMainForm& form = fixture.openWithRom();
    form.show();
    fixture.pickMap("Towns", "Beta Town");
    OverviewPanel& overview = *form.overview;
    // Room for about one item: the map shown, second in the list, lies out of sight unless scrolled to.
    overview.Maps->setFixedSize(180, 150);
    form.Overview1->trigger();
    if (allCategories)
        QTest::mouseClick(overview.AllCategories, Qt::LeftButton, {}, QPoint(8, overview.AllCategories->height() / 2));
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // Before any picture is in: the picture's place and the name below it.
    const int nameHeight = overview.Maps->fontMetrics().height();
    for (const char* name : {"Alpha Town", "Beta Town"}) {
        const QRect rect = overview.Maps->visualItemRect(overview.item(name));
        QVERIFY2(rect.height() >= 80 + nameHeight && rect.width() >= 80,
                 qPrintable(QStringLiteral("%1: %2 x %3").arg(name).arg(rect.width()).arg(rect.height())));
    }
    const QRect shown = overview.Maps->visualItemRect(overview.item("Beta Town"));
    QVERIFY(overview.Maps->viewport()->rect().contains(shown.center()));
    overview.waitForPictures();
    QCOMPARE(overview.Maps->visualItemRect(overview.item("Beta Town")).size(), shown.size());
}

QTEST_MAIN(TestOverviewPanel)
#include "tst_overview_panel.moc"
