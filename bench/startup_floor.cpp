// The floor of the whole-process start-up: the editor's process set-up (main.cpp)
// with an empty QMainWindow of the editor's size, ended after its first paint.
// Built a second time with GLYPHOX_FLOOR_LABEL, the window shows one line of text (a
// QLabel as its central widget), so that the cost of the first text (the font
// database, a font loaded, glyphs drawn) can be set against the empty window; run
// that one as the baseline of glyphox_startup (GLYPHOX_BASELINE_EDITOR).

#include "FloorProcess.h"
#include "app/FirstPaintQuit.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

#include <csignal>

int main(int argc, char* argv[])
{
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    SetUpFloorProcess(app, QStringLiteral("Start-up floor."));

    QMainWindow window;
#ifdef GLYPHOX_FLOOR_LABEL
    window.setCentralWidget(new QLabel(QStringLiteral("Sprite ID")));
#endif
    window.resize(662, 495); // the editor's window
    new CFirstPaintQuit(&window);
    window.show();
    return app.exec();
}
