#include "ui/main/app_icon.h"

#include "ui/main/app_icon_image.h"

#include <QPixmap>

QIcon kartolaIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addPixmap(QPixmap::fromImage(kartolaIconImage(size)));
    return icon;
}
