#include "cli/CliCommands.h"

#include <QCoreApplication>
#include <QFile>

#include <clocale>
#include <cstdio>
#include <cstring>

#include <langinfo.h>

namespace {

// A file name whose bytes are not text in the locale's encoding cannot be passed
// on without changing it; say so instead of failing later as "does not exist".
bool ArgumentsAreText(int argc, char* argv[])
{
    std::setlocale(LC_ALL, "");
    for (int i = 1; i < argc; ++i) {
        if (QFile::encodeName(QFile::decodeName(argv[i])) == QByteArray(argv[i]))
            continue;
        std::fprintf(stderr,
                     "glyphox-cli: the argument \"%s\" is not valid text in this system's "
                     "encoding (%s); rename the file, or reach it through a link with a valid "
                     "name.\n",
                     QFile::decodeName(argv[i]).toLocal8Bit().constData(), nl_langinfo(CODESET));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    if (!ArgumentsAreText(argc, argv))
        return 1;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("glyphox-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(GLYPHOX_VERSION));
    return CCliCommands().Run(app.arguments().mid(1));
}
