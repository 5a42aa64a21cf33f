// An input plugin for the program tests: loaded into the real program by
// QT_QPA_GENERIC_PLUGINS=kartoladrive (as a touch screen's driver would be),
// it makes one edit as a user makes it, with key and mouse events: the first
// category and its first map picked from the keyboard, then two blocks of
// the palette painted on the first two cells of the map.
#include <QApplication>
#include <QComboBox>
#include <QGenericPlugin>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

namespace {

QWidget* find(const char* name)
{
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->objectName() == QLatin1String(name))
            return top;
        if (QWidget* child = top->findChild<QWidget*>(QLatin1String(name)))
            return child;
    }
    return nullptr;
}

void drive()
{
    auto* category = qobject_cast<QComboBox*>(find("MainBox"));
    auto* map = qobject_cast<QComboBox*>(find("SubBox"));
    auto* tabs = qobject_cast<QTabWidget*>(find("TabbedNotebook1"));
    QWidget* palette = find("BlockPalette");
    QWidget* mapBox = find("MapBox");
    if (!category || !category->isEnabled() || !map || !tabs || !palette || !mapBox) {
        QTimer::singleShot(50, drive);   // the ROM image is not loaded yet
        return;
    }
    QTest::keyClick(category, Qt::Key_Down);
    QTest::keyClick(map, Qt::Key_Down);
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(0).center());
    for (int cell = 0; cell < 2; ++cell) {
        // Palette row r holds block r + 1: blocks 2 and 3.
        QTest::mouseClick(palette, Qt::LeftButton, {}, QPoint(10, 64 * (cell + 1) + 10));
        QTest::mouseClick(mapBox, Qt::LeftButton, {}, QPoint(64 * cell + 10, 10));
    }
}

class DrivePlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "kartola_drive.json")
public:
    QObject* create(const QString&, const QString&) override
    {
        QTimer::singleShot(0, drive);
        return new QObject;
    }
};

} // namespace

#include "kartola_drive.moc"
