#include "ui/main/app_icon_image.h"

#include <QDir>
#include <QTextStream>

// make_icons DIR NAME: writes the program's icon as DIR/<size>x<size>/apps/NAME.png
// for every size desktops ask for (the hicolor theme's layout).
int main(int argc, char** argv)
{
    QTextStream err(stderr);
    if (argc != 3) {
        err << "usage: make_icons DIR NAME\n";
        return 1;
    }
    const QString directory = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int size : KartolaIconSizes) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(directory).arg(size);
        const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
        if (!QDir().mkpath(folder) || !kartolaIconImage(size).save(path, "PNG")) {
            err << "make_icons: cannot write " << path << "\n";
            return 1;
        }
    }
    return 0;
}
