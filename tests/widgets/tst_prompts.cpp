// File dialog filters in the catalogue-era form are turned into Qt's; the
// question about a file changed on disk answers by the button clicked.
#include "widgets/qt_prompts.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class TestPrompts : public QObject {
    Q_OBJECT
private slots:
    void filters_data();
    void filters();
    void overwriteQuestion_data();
    void overwriteQuestion();
};

void TestPrompts::filters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ROM images") << "GameBoy roms (*.GB),(*.GBC)|*.GB;*.GBC|All files (*.*)|*.*"
                                << "GameBoy roms (*.GB),(*.GBC) (*.GB *.GBC);;All files (*.*) (*)";
    QTest::newRow("maps") << "Maps (*.map)|*.map|All Files (*.*)|*.*" << "Maps (*.map) (*.map);;All Files (*.*) (*)";
    QTest::newRow("odd part dropped") << "Pictures|*.DIB|dangling" << "Pictures (*.DIB)";
    QTest::newRow("empty") << "" << "";
}

void TestPrompts::filters()
{
    QFETCH(QString, filter);
    QFETCH(QString, expected);
    QCOMPARE(qtFileFilter(filter), expected);
}

void TestPrompts::overwriteQuestion_data()
{
    QTest::addColumn<QString>("button");   // empty: Escape
    QTest::addColumn<int>("answer");
    QTest::newRow("Overwrite") << "Overwrite" << int(Prompts::Answer::Overwrite);
    QTest::newRow("Save As...") << "Save As..." << int(Prompts::Answer::SaveAs);
    QTest::newRow("Cancel") << "Cancel" << int(Prompts::Answer::Cancel);
    QTest::newRow("Escape") << QString() << int(Prompts::Answer::Cancel);
}

void TestPrompts::overwriteQuestion()
{
    QFETCH(QString, button);
    QFETCH(int, answer);
    QtPrompts prompts(nullptr);
    bool clicked = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        if (button.isEmpty()) {
            QTest::keyClick(box, Qt::Key_Escape);
        } else {
            for (QAbstractButton* b : box->buttons())
                if (b->text().remove(QLatin1Char('&')) == button)
                    QTest::mouseClick(b, Qt::LeftButton);
        }
        clicked = true;
    });
    const Prompts::Answer given = prompts.message(Prompts::Kind::Warning, QStringLiteral("changed on disk"),
                                                  Prompts::Buttons::OverwriteSaveAsCancel);
    QVERIFY(clicked);
    QCOMPARE(int(given), answer);
}

QTEST_MAIN(TestPrompts)
#include "tst_prompts.moc"
