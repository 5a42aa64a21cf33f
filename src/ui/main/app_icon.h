#pragma once

#include <QIcon>

// The program's icon, drawn by our own code: a map block on the title colours.
QIcon kartolaIcon();
