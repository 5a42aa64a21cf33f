// File > Make Patch...: the original image is remembered per ROM file, and
// the last one chosen is offered for a ROM file without one.
#include "ui/main/patch_commands.h"
#include "ui_support/editor_fixture.h"

#include <QAction>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TestPatchCommands : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void originalRememberedPerRomFile();

private:
    QTemporaryDir m_settings;
};

void TestPatchCommands::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("KartolaTest"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
}

void TestPatchCommands::originalRememberedPerRomFile()
{
    EditorFixture editor;
    editor.dir.write("other.gbc", editor.dir.read("rom.gbc"));
    TMainForm& form = editor.openWithRom();
    QAction* makePatch = form.findChild<QAction*>(QStringLiteral("MakePatch1"));
    QVERIFY(makePatch && makePatch->isEnabled());
    // Asks for the original, then for the patch; answers from the queue.
    const auto makeWith = [&](const std::optional<QString>& original) {
        editor.prompts.fileRequests.clear();
        editor.prompts.chooseFile(original);
        if (original)
            editor.prompts.chooseFile(editor.dir.file("p.ips"));
        makePatch->trigger();
        return editor.prompts.fileRequests.front().initialName;
    };
    const QString first = editor.dir.file("rom.gbc");
    const QString second = editor.dir.file("other.gbc");

    QCOMPARE(makeWith(first), QString());
    QCOMPARE(editor.dir.read("p.ips"), QByteArray("PATCHEOF"));   // nothing changed yet
    QCOMPARE(makeWith(std::nullopt), first);

    form.loadRom(second);
    QCOMPARE(makeWith(second), first);   // the last one chosen
    form.loadRom(first);
    QCOMPARE(makeWith(std::nullopt), first);   // this file's own
    form.loadRom(second);
    QCOMPARE(makeWith(std::nullopt), second);
}

QTEST_MAIN(TestPatchCommands)
#include "tst_patch_commands.moc"
