#include "FontConfigWarmUp.h"
#include "app/FirstPaintQuit.h"
#include "app/LazyStandardIconStyle.h"
#include "app/MainFrame.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QStyleFactory>

#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

void NameApplication()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Brackenfold"));
    QCoreApplication::setApplicationName(QStringLiteral("Glyphox"));
    QCoreApplication::setApplicationVersion(QStringLiteral(GLYPHOX_VERSION));
}

// Parses the command line; --help, --version and usage errors print and end the process.
QStringList FilesToOpen(const QCoreApplication& app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Editor of the character sprites of the SNES game Morrow: opens FILE, a "
                       "Morrow ROM image (.smc or .sfc, with or without a 512-byte copier "
                       "header), or an empty window to open one from."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("ROM image to open (optional)."),
                                 QStringLiteral("[FILE]"));
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        std::fputs("glyphox: only one file can be opened.\n\n", stderr);
        parser.showHelp(1);
    }
    return files;
}

// Help and version are text only: they must work without a display.
bool AsksForText(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i)
        for (const char* option : {"-h", "-?", "--help", "--help-all", "-v", "--version"})
            if (std::strcmp(argv[i], option) == 0)
                return true;
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    // Past a file size limit a save then fails with EFBIG and says so, instead of
    // the signal ending the editor half-way through it.
    std::signal(SIGXFSZ, SIG_IGN);
    if (AsksForText(argc, argv)) {
        QCoreApplication app(argc, argv);
        NameApplication();
        FilesToOpen(app);
        return 0;
    }
    CFontConfigWarmUp fontConfig;
    QApplication app(argc, argv);
    NameApplication();
    // Lets the desktop match the window to the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.glyphox.Glyphox"));
    const QStringList files = FilesToOpen(app);
    QApplication::setStyle(
        new CLazyStandardIconStyle(QStyleFactory::create(QApplication::style()->name())));

    fontConfig.Wait();
    CMainFrame frame;
    // For the start-up benchmark (bench/README.md): end once the window is painted.
    if (qEnvironmentVariableIsSet("GLYPHOX_QUIT_AFTER_FIRST_PAINT"))
        new CFirstPaintQuit(&frame);
    frame.show();
    if (!files.isEmpty())
        frame.OpenDocumentFile(files.front());
    return app.exec();
}
