// Evidence for the start-up floor: the empty window of startup_floor.cpp showing one
// line of text (a QLabel as its central widget), so that the cost of the first text
// (the font database, a font loaded, glyphs drawn) can be set against the empty window.
// Run it as the baseline of glyphox_startup (GLYPHOX_BASELINE_EDITOR).

#include "app/FirstPaintQuit.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLabel>
#include <QMainWindow>

#include <csignal>

int main(int argc, char* argv[])
{
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Brackenfold"));
    QApplication::setApplicationName(QStringLiteral("Glyphox"));
    QApplication::setApplicationVersion(QStringLiteral("1.1"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Start-up floor with one label."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("Ignored."),
                                 QStringLiteral("[FILE]"));
    parser.process(app);

    QMainWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("Sprite ID")));
    window.resize(662, 495); // the editor's window
    new CFirstPaintQuit(&window);
    window.show();
    return app.exec();
}
