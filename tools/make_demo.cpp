#include "demo_data.h"

#include <QTextStream>
#include <cstdio>

// make_demo DIR: writes the demo cartridge, its catalogue and tile pictures into DIR.
int main(int argc, char** argv)
{
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: make_demo DIR\n";
        return 1;
    }
    QString error;
    if (!writeDemoData(QString::fromLocal8Bit(argv[1]), &error)) {
        err << "make_demo: " << error << "\n";
        return 1;
    }
    return 0;
}
