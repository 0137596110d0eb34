#include "cli/CliCommands.h"

#include <QCoreApplication>
#include <QFile>

#include <csignal>
#include <cstdio>

namespace {

// Qt takes file names as UTF-8: one whose bytes are not UTF-8 cannot be passed
// on without changing it, so say so instead of failing later as "does not exist".
bool ArgumentsAreText(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (QFile::encodeName(QFile::decodeName(argv[i])) == QByteArray(argv[i]))
            continue;
        std::fprintf(stderr,
                     "glyphox-cli: the argument \"%s\" is not valid UTF-8; rename the file, or "
                     "reach it through a link with a valid name.\n",
                     QFile::decodeName(argv[i]).toLocal8Bit().constData());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    if (!ArgumentsAreText(argc, argv))
        return 1;
    // Past a file size limit a write then fails with EFBIG and is reported,
    // instead of the signal ending the process half-way.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("glyphox-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(GLYPHOX_VERSION));
    return CCliCommands().Run(app.arguments().mid(1));
}
