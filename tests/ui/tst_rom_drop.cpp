// Files dropped on the main window: a ROM image is loaded as Load Rom loads it.
#include "session/editor_session.h"
#include "ui_support/editor_fixture.h"

#include <QMimeData>
#include <QtTest>

class TestRomDrop : public QObject {
    Q_OBJECT
private slots:
    void drop_data();
    void drop();
    void unsavedChangesAreAskedAbout();

private:
    // Sends a drag entering the window and, when it is accepted, the drop.
    // True when the window accepted the drag.
    static bool dropOn(QWidget& window, const QList<QUrl>& urls);
};

bool TestRomDrop::dropOn(QWidget& window, const QList<QUrl>& urls)
{
    QMimeData data;
    data.setUrls(urls);
    const QPoint at = window.rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &drop);
    // The image is loaded once the drop is over.
    QCoreApplication::processEvents();
    return drop.isAccepted();
}

void TestRomDrop::drop_data()
{
    QTest::addColumn<QStringList>("urls");   // "local:" names a file of the test folder
    QTest::addColumn<QString>("loaded");     // the file name loaded; empty: nothing
    QTest::newRow(".GBC in capitals") << QStringList{"local:OTHER.GBC"} << QStringLiteral("OTHER.GBC");
    QTest::newRow(".GB in capitals") << QStringList{"local:OTHER.GB"} << QStringLiteral("OTHER.GB");
    QTest::newRow("the ROM among other files") << QStringList{"local:notes.txt", "local:other.gbc"}
                                               << QStringLiteral("other.gbc");
    QTest::newRow("text file") << QStringList{"local:notes.txt"} << QString();
    QTest::newRow("backup of a ROM") << QStringList{"local:other.gbc.bak"} << QString();
    QTest::newRow("remote ROM") << QStringList{"https://example.org/other.gbc"} << QString();
}

void TestRomDrop::drop()
{
    QFETCH(QStringList, urls);
    QFETCH(QString, loaded);
    EditorFixture fixture;
    for (const char* name : {"other.gbc", "OTHER.GBC", "OTHER.GB", "notes.txt", "other.gbc.bak"})
        fixture.dir.write(QLatin1String(name), TestDir::patternRom(0x8000));
    TMainForm& form = fixture.openWithRom();
    QList<QUrl> dropped;
    for (const QString& url : urls)
        dropped << (url.startsWith(QStringLiteral("local:")) ? QUrl::fromLocalFile(fixture.dir.file(url.mid(6)))
                                                               : QUrl(url));

    QCOMPARE(dropOn(form, dropped), !loaded.isEmpty());
    const QString expected = fixture.dir.file(loaded.isEmpty() ? QStringLiteral("rom.gbc") : loaded);
    QCOMPARE(fixture.state->core.RomFileName, expected);
    QCOMPARE(fixture.state->core.rom.size(), qint64(loaded.isEmpty() ? EditorFixture::RomSize : 0x8000));
    QVERIFY(fixture.prompts.shown.empty());
}

void TestRomDrop::unsavedChangesAreAskedAbout()
{
    EditorFixture fixture;
    fixture.dir.write("other.gbc", TestDir::patternRom(0x8000));
    TMainForm& form = fixture.openWithRom();
    fixture.pickMap("Towns", "Alpha Town");
    form.session->stamp().setSelectedBlock(3);
    form.session->paintCell(0);
    QVERIFY(form.session->isModified());
    const QList<QUrl> other{QUrl::fromLocalFile(fixture.dir.file("other.gbc"))};

    // Cancel keeps the image and its change.
    fixture.prompts.answer(Prompts::Answer::Cancel);
    QVERIFY(dropOn(form, other));
    QCOMPARE(fixture.prompts.texts(), QStringList{QStringLiteral("Save the changes to rom.gbc?")});
    QCOMPARE(fixture.state->core.RomFileName, fixture.dir.file("rom.gbc"));
    QVERIFY(form.session->isModified());

    // Discard loads the dropped image.
    fixture.prompts.answer(Prompts::Answer::Discard);
    QVERIFY(dropOn(form, other));
    QCOMPARE(fixture.state->core.RomFileName, fixture.dir.file("other.gbc"));
    QVERIFY(!form.session->isModified());
}

QTEST_MAIN(TestRomDrop)
#include "tst_rom_drop.moc"
