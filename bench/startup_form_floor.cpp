// A floor of the whole-process start-up for the editor's design rather than for any
// window: the editor's window built from stock Qt parts and no ROM image. The same
// process set-up as startup_floor.cpp; a QMenuBar with the editor's four menus and
// their items; the two toolbars with as many buttons, each with a 16 x 15 picture; the
// editor's form from its own .ui file, the pixel editor and the palette control left as
// plain widgets, the tile list a QListWidget given the 181 labelled items with a 24 x 24
// icon each, the three strip labels given pixmaps of their size. Nothing is read or
// drawn from a file. Ended after its first paint, like the editor.

#include "FloorProcess.h"
#include "app/FirstPaintQuit.h"
#include "ui_GlyphoxView.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPixmap>
#include <QToolBar>

#include <csignal>
#include <initializer_list>
#include <span>

namespace {

// Each menu: its title, then its items ("-" a separator).
const std::initializer_list<std::initializer_list<const char*>> kMenus = {
    {"&File", "&Open...", "&Save", "Save &As...", "-", "Recent File", "-", "E&xit"},
    {"&Edit",
     "Undo",
     "Redo",
     "-",
     "Tile copy",
     "Paste tile",
     "-",
     "Erase all tiles",
     "-",
     "Paint mode",
     "Droper mode",
     "Fill mode",
     "-",
     "Shift left",
     "Shift up",
     "Shift right",
     "Shift down",
     "-",
     "Flip tile horizontally",
     "Flip tile verticaly",
     "-",
     "Rotate left",
     "Rotate right"},
    {"Import/Export", "&Export tile set", "&Import tile set", "-", "Export palette",
     "Import palette", "-", "Export tile set as image...", "Import tile set from image...",
     "Export palette as...", "Import palette from...", "Export poses as animation..."},
    {"&Help", "&About Glyphox..."}};

// The toolbars' buttons in order, 0 a separator.
constexpr int kMainButtons[] = {1, 1, 0, 1};
constexpr int kEditButtons[] = {1, 1, 0, 1, 1, 0, 1, 0, 1, 1, 1, 0, 1, 1, 1, 1, 0, 1, 1, 0, 1, 1};

void AddToolBar(QMainWindow& window, std::span<const int> buttons, const QPixmap& picture)
{
    QToolBar* bar = window.addToolBar(QStringLiteral("Bar"));
    for (const int button : buttons) {
        if (button)
            bar->addAction(QIcon(picture), QStringLiteral("Command"));
        else
            bar->addSeparator();
    }
}

} // namespace

int main(int argc, char* argv[])
{
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    SetUpFloorProcess(app, QStringLiteral("Start-up floor of the editor's window."));

    QMainWindow window;
    for (const auto& menu : kMenus) {
        QMenu* popup = window.menuBar()->addMenu(QString::fromUtf8(*menu.begin()));
        for (auto item = menu.begin() + 1; item != menu.end(); ++item) {
            if (QByteArrayView(*item) == "-")
                popup->addSeparator();
            else
                popup->addAction(QString::fromUtf8(*item));
        }
    }
    QPixmap picture(16, 15);
    picture.fill(Qt::darkBlue);
    AddToolBar(window, kMainButtons, picture);
    AddToolBar(window, kEditButtons, picture);

    auto* form = new QWidget;
    Ui::GlyphoxView ui;
    ui.setupUi(form);
    QPixmap thumbnail(24, 24);
    thumbnail.fill(Qt::darkGreen);
    const QIcon icon(thumbnail);
    for (int tile = 0; tile < 181; ++tile)
        new QListWidgetItem(icon, QString::number(tile, 16).toUpper().rightJustified(2, '0') + 'h',
                            ui.listTiles);
    for (QLabel* strip : {ui.labelStrip1, ui.labelStrip2, ui.labelStrip3}) {
        QPixmap shown(strip->contentsRect().size());
        shown.fill(Qt::darkCyan);
        strip->setPixmap(shown);
    }
    window.setCentralWidget(form);
    window.resize(662, 495); // the editor's window
    new CFirstPaintQuit(&window);
    window.show();
    return app.exec();
}
