#include "cli/CliCommands.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("glyphox-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(GLYPHOX_VERSION));
    return CCliCommands().Run(app.arguments().mid(1));
}
