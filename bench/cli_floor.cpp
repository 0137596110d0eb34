// The least a Qt command-line tool costs: load its libraries, make the
// application object, end. Built twice, against the libraries glyphox-cli
// loads and against QtCore alone, to compare the whole tool with them.

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    return 0;
}
