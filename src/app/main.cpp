#include "app/FirstPaintQuit.h"
#include "app/MainFrame.h"

#include <QApplication>
#include <QCommandLineParser>

#include <csignal>

int main(int argc, char* argv[])
{
    // Past a file size limit a save then fails with EFBIG and says so, instead of
    // the signal ending the editor half-way through it.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Brackenfold"));
    QApplication::setApplicationName(QStringLiteral("Glyphox"));
    QApplication::setApplicationVersion(QStringLiteral("1.1"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Editor of the character sprites of Morrow."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("ROM image to open."),
                                 QStringLiteral("[FILE]"));
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        qWarning("Only one file can be opened.");
        parser.showHelp(1);
    }

    CMainFrame frame;
    // For the start-up benchmark (bench/README.md): end once the window is painted.
    if (qEnvironmentVariableIsSet("GLYPHOX_QUIT_AFTER_FIRST_PAINT"))
        new CFirstPaintQuit(&frame);
    frame.show();
    if (!files.isEmpty())
        frame.OpenDocumentFile(files.front());
    return app.exec();
}
