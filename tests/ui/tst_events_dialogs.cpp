#include "ui/events/people_form.h"
#include "ui/events/singpost_form.h"
#include "ui/events/warp_form.h"
#include "ui_support/events_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>
#include <QLineEdit>
#include <QtTest>

namespace {

// Picks the event on square (x, y) as the user does: press and release.
void pick(EventsFixture& f, int x, int y)
{
    QTest::mouseClick(f.editor->EventBox, Qt::LeftButton, {}, EventsFixture::square(x, y));
}

// Clicks a check box on its box, at the left end.
void clickCheck(QCheckBox* check)
{
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(6, check->height() / 2));
}

void typeInto(QSpinBox* spin, const QString& text)
{
    QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(spin, text);
}

} // namespace

class TestEventDialogs : public QObject {
    Q_OBJECT
private slots:
    void warpDialogFollowsThePick();
    void textThatIsNoNumberStoresTheLowerBound_data();
    void textThatIsNoNumberStoresTheLowerBound();
    void warpSpinsWriteTheirBytes_data();
    void warpSpinsWriteTheirBytes();
    void signpostHiddenItem();
    void signpostTextSpinsHaveNoLimit();
    void personHidden_data();
    void personHidden();
    void personSpinsWriteTheirBytes_data();
    void personSpinsWriteTheirBytes();
    void fillingNeverWrites();
    void whenBoxListsTheConditions();
    void nothingPickedEditsNothing();
};

void TestEventDialogs::warpDialogFollowsThePick()
{
    EventsFixture f;
    TWarpForm* form = f.editor->WarpForm;
    QCOMPARE(form->windowTitle(), QStringLiteral("Warp"));
    pick(f, 2, 0);
    QVERIFY(form->isVisible());
    QCOMPARE(form->windowTitle(), QStringLiteral("Warp2:"));
    QCOMPARE(form->findChild<QSpinBox*>(QStringLiteral("WarpToSpin"))->value(), 12);
    QCOMPARE(form->findChild<QSpinBox*>(QStringLiteral("MapBankSpin"))->value(), 22);
    QCOMPARE(form->findChild<QSpinBox*>(QStringLiteral("MapSpin"))->value(), 32);
    pick(f, 5, 0);
    QCOMPARE(form->windowTitle(), QStringLiteral("Warp5:"));
    QCOMPARE(form->WarpToSpin->value(), 15);
    QCOMPARE(form->MapBankSpin->value(), 25);
    QCOMPARE(form->MapSpin->value(), 35);
    // Typing 300 where there is no limit stores its low byte, in warp 5 only.
    typeInto(form->MapSpin, QStringLiteral("300"));
    QCOMPARE(form->MapSpin->value(), 300);
    QCOMPARE(int(f.state.WarpTable[5].MapNumber), 44);
    QCOMPARE(int(f.state.WarpTable[2].MapNumber), 32);
    // A ranged spin refuses what it cannot hold.
    typeInto(form->WarpToSpin, QStringLiteral("300"));
    QVERIFY(form->WarpToSpin->value() <= 255);
    QCOMPARE(int(f.state.WarpTable[5].WarpTo), form->WarpToSpin->value());
}

void TestEventDialogs::warpSpinsWriteTheirBytes_data()
{
    QTest::addColumn<QString>("spin");
    QTest::addColumn<int>("byte");
    QTest::newRow("warp to") << QStringLiteral("WarpToSpin") << 2;
    QTest::newRow("map bank") << QStringLiteral("MapBankSpin") << 3;
    QTest::newRow("map") << QStringLiteral("MapSpin") << 4;
}

void TestEventDialogs::warpSpinsWriteTheirBytes()
{
    QFETCH(QString, spin);
    QFETCH(int, byte);
    EventsFixture f;
    pick(f, 3, 0);
    TWarpRecord before = f.state.WarpTable[3];
    QTest::keyClick(f.editor->WarpForm->findChild<QSpinBox*>(spin), Qt::Key_Up);
    auto* b = reinterpret_cast<quint8*>(&before);
    b[byte] = quint8(b[byte] + 1);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(&f.state.WarpTable[3]), 5),
             QByteArray(reinterpret_cast<const char*>(&before), 5));
}

void TestEventDialogs::signpostHiddenItem()
{
    EventsFixture f;
    pick(f, 1, 2);
    TSingpostForm* form = f.editor->SingpostForm;
    QCOMPARE(form->windowTitle(), QStringLiteral("Singpost1:"));
    auto* check = form->findChild<QCheckBox*>(QStringLiteral("HiddenCheck"));
    QCOMPARE(check->text(), QStringLiteral("Hidden Item"));
    QVERIFY(check->isChecked());
    QCOMPARE(int(f.state.SingpostTable[1].HiddenItem), 5);
    clickCheck(check);
    QCOMPARE(int(f.state.SingpostTable[1].HiddenItem), 0);
    clickCheck(check);
    QCOMPARE(int(f.state.SingpostTable[1].HiddenItem), 7);
    pick(f, 2, 2);
    QVERIFY(!check->isChecked());
    QCOMPARE(int(f.state.SingpostTable[2].HiddenItem), 0);
}

void TestEventDialogs::signpostTextSpinsHaveNoLimit()
{
    EventsFixture f;
    pick(f, 2, 2);
    TSingpostForm* form = f.editor->SingpostForm;
    QCOMPARE(form->TextBlockSpin->value(), 0x33);
    QCOMPARE(form->TextBankSpin->value(), 0x44);
    typeInto(form->TextBlockSpin, QStringLiteral("513"));
    typeInto(form->TextBankSpin, QStringLiteral("-1"));
    QCOMPARE(int(f.state.SingpostTable[2].TextBlock), 1);
    QCOMPARE(int(f.state.SingpostTable[2].TextBank), 255);
    QCOMPARE(int(f.state.SingpostTable[1].TextBlock), 0x11);
}

void TestEventDialogs::personHidden_data()
{
    QTest::addColumn<int>("square");        // 3: person 1 (condition 9), 4: person 2 (none)
    QTest::addColumn<int>("choose");        // WhenBox entry chosen after the click, -1: none
    QTest::addColumn<bool>("openedTicked");
    QTest::addColumn<int>("when");
    QTest::addColumn<int>("flag");
    QTest::addColumn<bool>("whenEnabled");
    QTest::newRow("tick, nothing selected") << 4 << -1 << false << 255 << 6 << true;
    QTest::newRow("tick, then choose 4") << 4 << 4 << false << 4 << 6 << true;
    QTest::newRow("clear") << 3 << -1 << true << 255 << 255 << false;
}

void TestEventDialogs::personHidden()
{
    QFETCH(int, square);
    QFETCH(int, choose);
    QFETCH(bool, openedTicked);
    QFETCH(int, when);
    QFETCH(int, flag);
    QFETCH(bool, whenEnabled);
    EventsFixture f;
    pick(f, square, square);
    TPeopleForm* form = f.editor->PeopleForm;
    const int index = square == 3 ? 1 : 2;
    QCOMPARE(form->windowTitle(), QStringLiteral("People%1:").arg(index));
    QCOMPARE(form->HiddenCheck->isChecked(), openedTicked);
    QCOMPARE(form->WhenBox->isEnabled(), openedTicked);
    if (openedTicked)
        QCOMPARE(form->WhenBox->currentIndex(), 9);
    else
        QCOMPARE(form->WhenBox->currentIndex(), -1);
    clickCheck(form->HiddenCheck);
    if (choose >= 0)
        form->WhenBox->setCurrentIndex(choose);
    QCOMPARE(int(f.state.PeopleTable[index].When), when);
    QCOMPARE(int(f.state.PeopleTable[index].HiddenFlag), flag);
    QCOMPARE(form->WhenBox->isEnabled(), whenEnabled);
}

void TestEventDialogs::personSpinsWriteTheirBytes_data()
{
    QTest::addColumn<QString>("spin");
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("shown");   // the value person 1 opens with
    QTest::newRow("picture") << QStringLiteral("PictureSpin") << 0 << 41;
    QTest::newRow("facing") << QStringLiteral("FaceSpin") << 3 << 1;
    QTest::newRow("movement") << QStringLiteral("MoveSpin") << 4 << 2;
    QTest::newRow("unknown 1") << QStringLiteral("Unk1Spin") << 5 << 3;
    QTest::newRow("unknown 2") << QStringLiteral("Unk2Spin") << 6 << 4;
    QTest::newRow("function") << QStringLiteral("FuncSpin") << 7 << 5;
    QTest::newRow("unknown 3") << QStringLiteral("Unk3Spin") << 8 << 6;
    QTest::newRow("text block") << QStringLiteral("TextBlockSpin") << 9 << 7;
    QTest::newRow("text bank") << QStringLiteral("TextBankSpin") << 10 << 8;
}

void TestEventDialogs::personSpinsWriteTheirBytes()
{
    QFETCH(QString, spin);
    QFETCH(int, byte);
    QFETCH(int, shown);
    EventsFixture f;
    pick(f, 3, 3);
    auto* box = f.editor->PeopleForm->findChild<QSpinBox*>(spin);
    QVERIFY(box);
    QCOMPARE(box->value(), shown);
    QCOMPARE(box->maximum(), 255);
    TPeopleRecord expected = f.state.PeopleTable[1];
    typeInto(box, QStringLiteral("200"));
    reinterpret_cast<quint8*>(&expected)[byte] = 200;
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(&f.state.PeopleTable[1]), 13),
             QByteArray(reinterpret_cast<const char*>(&expected), 13));
}

void TestEventDialogs::fillingNeverWrites()
{
    EventsFixture f;
    f.state.PeopleTable[2].HiddenFlag = 9;   // neither 6 nor 255
    f.state.PeopleTable[2].When = 17;
    const TPeopleRecord before = f.state.PeopleTable[2];
    pick(f, 3, 3);   // person 1 selects entry 9 of WhenBox
    pick(f, 4, 4);
    TPeopleForm* form = f.editor->PeopleForm;
    QVERIFY(!form->HiddenCheck->isChecked());
    QVERIFY(!form->WhenBox->isEnabled());
    QCOMPARE(form->WhenBox->currentIndex(), 9);   // the selection stays as it was
    QCOMPARE(form->PictureSpin->value(), 42);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(&f.state.PeopleTable[2]), 13),
             QByteArray(reinterpret_cast<const char*>(&before), 13));
    // Activating the window again fills again and still writes nothing.
    form->FormActivate();
    QCOMPARE(int(f.state.PeopleTable[2].HiddenFlag), 9);
    QCOMPARE(int(f.state.PeopleTable[1].When), 9);
}

void TestEventDialogs::whenBoxListsTheConditions()
{
    {
        EventsFixture f;
        QComboBox* when = f.editor->PeopleForm->findChild<QComboBox*>(QStringLiteral("WhenBox"));
        QCOMPARE(when->count(), 256);
        QCOMPARE(when->itemText(0), QStringLiteral("0"));
        QCOMPARE(when->itemText(255), QStringLiteral("255"));
    }
    EventsFixture f(EventsFixture::townIni("[Hidden/shown]\r\n3=Met the elder\r\n4=\r\n255=Never\r\n"));
    QComboBox* when = f.editor->PeopleForm->WhenBox;
    QCOMPARE(when->count(), 256);
    QCOMPARE(when->itemText(3), QStringLiteral("Met the elder"));
    QCOMPARE(when->itemText(4), QStringLiteral("4"));
    QCOMPARE(when->itemText(255), QStringLiteral("Never"));
}

void TestEventDialogs::nothingPickedEditsNothing()
{
    EventsFixture f;
    pick(f, 2, 0);
    TWarpForm* form = f.editor->WarpForm;
    QVERIFY(form->WarpToSpin->isEnabled());
    // A map pick: the open dialog edits nothing until the next press on an event.
    f.session.pickMap(QStringLiteral("Town"));
    QVERIFY(form->isVisible());
    QVERIFY(!form->WarpToSpin->isEnabled());
    form->WarpToSpin->setValue(99);
    form->MapSpin->setValue(300);
    QCOMPARE(int(f.state.WarpTable[2].WarpTo), 12);
    QCOMPARE(int(f.state.WarpTable[2].MapNumber), 32);

    // A pick whose record the next map does not have edits nothing either.
    pick(f, 5, 0);
    f.session.pickMap(QStringLiteral("Room"));   // one warp only
    QVERIFY(!form->MapSpin->isEnabled());
    form->MapSpin->setValue(7);
    QCOMPARE(int(f.state.WarpTable[5].MapNumber), 0);

    pick(f, 1, 0);
    QVERIFY(form->MapSpin->isEnabled());
    QCOMPARE(form->windowTitle(), QStringLiteral("Warp1:"));
}

void TestEventDialogs::textThatIsNoNumberStoresTheLowerBound_data()
{
    QTest::addColumn<QString>("spin");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("byte");
    QTest::newRow("Warp To emptied") << "WarpToSpin" << "" << 0;
    QTest::newRow("Map, a lone sign") << "MapSpin" << "-" << int(quint8(NoLimitMin & 0xFF));
}

void TestEventDialogs::textThatIsNoNumberStoresTheLowerBound()
{
    QFETCH(QString, spin);
    QFETCH(QString, typed);
    QFETCH(int, byte);
    EventsFixture f;
    pick(f, 2, 0);
    auto* box = f.editor->WarpForm->findChild<QSpinBox*>(spin);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, typed);
    const TWarpRecord& warp = f.state.WarpTable[2];
    QCOMPARE(int(spin == QLatin1String("MapSpin") ? warp.MapNumber : warp.WarpTo), byte);
    QCOMPARE(box->text(), typed);
}

QTEST_MAIN(TestEventDialogs)
#include "tst_events_dialogs.moc"
