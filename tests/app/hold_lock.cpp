#include "rom/EditorLock.h"

#include <QCoreApplication>

#include <cstdio>

// Holds a ROM image file open the way an editor marks it, until its standard input ends:
// the other editor of the tests.
int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Glyphox"));
    if (argc != 2)
        return 2;
    CEditorLock lock;
    if (!lock.Take(QString::fromLocal8Bit(argv[1])))
        return 1;
    std::puts("held");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    return 0;
}
