#include "app/ui/app_icon.h"
#include "app/editor_state.h"
#include "app/ui/main_form.h"
#include "widgets/qt_prompts.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kartola"));
    QApplication::setApplicationVersion(QStringLiteral("1.3"));
    QApplication::setWindowIcon(kartolaIcon());

    EditorState state(QCoreApplication::applicationDirPath());
    QtPrompts prompts;
    TMainForm mainForm(state, prompts);
    prompts.setOwner(&mainForm);
    mainForm.show();

    // "kartola ROM" opens that image as Load Rom would.
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1)
        mainForm.loadRom(arguments.at(1));

    return app.exec();
}
