// The floor of the whole-process start-up: the editor's process set-up (main.cpp)
// with an empty QMainWindow of the editor's size, ended after its first paint.

#include "app/FirstPaintQuit.h"

#include <QApplication>
#include <QCommandLineParser>
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
    parser.setApplicationDescription(QStringLiteral("Start-up floor."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("Ignored."),
                                 QStringLiteral("[FILE]"));
    parser.process(app);

    QMainWindow window;
    window.resize(662, 495); // the editor's window
    new CFirstPaintQuit(&window);
    window.show();
    return app.exec();
}
