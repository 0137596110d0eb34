#include "view/GlyphoxView.h"

#include "RomFixture.h"
#include "edit/PixelEditor.h"
#include "view/CachedSizeDelegate.h"
#include "rom/DemoRom.h"
#include "rom/GlyphoxDoc.h"

#include <QtTest>
#include <QtWidgets>

using Pixels = std::vector<std::uint8_t>;

// Settings and save journals go to a private folder, never to the user's.
const QTemporaryDir g_home;
const bool g_private = RomFixture::UsePrivateHome(g_home);

class tst_GlyphoxView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName("Brackenfold");
        QCoreApplication::setApplicationName("Glyphox");
        QVERIFY(g_private && RomFixture::WriteFile(m_romPath, CDemoRom::Build(7)));
    }
    void init() { QSettings("Brackenfold", "Glyphox").clear(); }
    void cleanup() { m_view.reset(); }
    void disabledUntilFirstOpen()
    {
        QVERIFY(Open(false));
        QVERIFY(!m_view->IsRomLoaded());
        for (const char* name :
             {"checkAuto", "radioBattle", "radioOverworld", "editTileSet", "spinTileSet",
              "editPalette", "spinPalette", "pixelEditor", "paletteCtrl", "listTiles"})
            QVERIFY2(!Child<QWidget>(name)->isEnabled(), name);
        for (const char* name : {"checkShowTileID", "buttonAnimate", "buttonAddFrame",
                                 "labelStrip1", "labelStrip2", "labelStrip3"})
            QVERIFY2(!Child<QWidget>(name)->isVisible(), name);

        QSignalSpy loaded(m_view.get(), &CGlyphoxView::RomLoadedChanged);
        QVERIFY(m_doc->OnOpenDocument(m_romPath).ok);
        m_view->OnInitialUpdate();
        QCOMPARE(loaded, QList<QVariantList>{{true}});
        QVERIFY(Child<QWidget>("labelStrip3")->isVisible());
        QCOMPARE(State(), "0 2 auto overworld Stop!"); // the first run
        // The strips step every 250 ms: four steps take 1 s, 1.6 s at 400 ms (a loaded
        // machine may add a little, never take any away).
        const auto nextStep = [this] {
            const int step = m_view->AnimStep();
            QTRY_VERIFY_WITH_TIMEOUT(m_view->AnimStep() != step, 3000);
        };
        nextStep();
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 4; ++i)
            nextStep();
        QVERIFY2(clock.elapsed() > 900 && clock.elapsed() < 1400,
                 qPrintable(QString::number(clock.elapsed())));
    }

    // Steps: o opens the image again, u updates the view as an open does; a, b, i, n click
    // "Auto", battle, "Show tile ID", "Animate!"; tN / pN type N and Return into the actor /
    // palette edit, PN types without Return; sN / qN step the actor / palette spin box by N.
    void controls_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("state");
        // clang-format off
        QTest::newRow("kept between runs")     << "a t5 p7 b i n o"      << "5 7 typed battle ids Animate! +frame";
        // Another open brings back what was stored, not what is shown.
        QTest::newRow("stored, not shown")     << "a t5 p7 b i n o t9 u" << "5 7 typed battle ids Animate! +frame";
        QTest::newRow("auto palette")          << "t17 t18"              << "18 8 auto overworld Stop!";
        QTest::newRow("auto battle palette")   << "t18 b"                << "18 6 auto battle Stop!";
        QTest::newRow("auto off keeps it")     << "t18 b a"              << "18 6 typed battle Stop!";
        // A typed number is used by the next actor change, wrapped first when out of range.
        QTest::newRow("typed palette wrapped") << "t18 b a P99 t4"       << "4 0 typed battle Stop!";
        QTest::newRow("actor 65")              << "a t65"                << "0 2 typed overworld Stop!";
        QTest::newRow("actor -1")              << "a t-1"                << "64 2 typed overworld Stop!";
        QTest::newRow("actor not a number")    << "a tx7"                << "0 2 typed overworld Stop!";
        QTest::newRow("actor spin above 64")   << "a t64 s1"             << "0 2 typed overworld Stop!";
        QTest::newRow("palette 30")            << "a p30"                << "0 0 typed overworld Stop!";
        QTest::newRow("palette spin below 0")  << "a p0 q-1"             << "0 29 typed overworld Stop!";
        // clang-format on
    }

    void controls()
    {
        QFETCH(QString, script);
        const QStringList buttons{"checkAuto", "radioBattle", "checkShowTileID", "buttonAnimate"};
        QVERIFY(Open(true));
        for (const QString& step : script.split(' ')) {
            const char* edit = step[0].toLower() == 't' ? "editTileSet" : "editPalette";
            if (step == "o")
                QVERIFY(Open(true));
            else if (step == "u")
                m_view->OnInitialUpdate();
            else if (step.size() == 1)
                Child(qPrintable(buttons.value(QString("abin").indexOf(step))))->click();
            else if (step[0] == 's' || step[0] == 'q')
                Child<QSpinBox>(step[0] == 's' ? "spinTileSet" : "spinPalette")
                    ->stepBy(step.mid(1).toInt());
            else
                Child<QLineEdit>(edit)->setText(step.mid(1));
            if (step[0] == 't' || step[0] == 'p')
                QTest::keyClick(Child<QLineEdit>(edit), Qt::Key_Return);
        }
        QTEST(State(), "state");
    }

    void tileChoice()
    {
        QVERIFY(Open(true));
        auto* list = Child<QListWidget>("listTiles");
        QCOMPARE(list->count(), 181);
        QCOMPARE(list->item(10)->text() + list->item(180)->text(), "0AhB4h");
        list->scrollToItem(list->item(0x20));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(0x20)).center());
        QCOMPARE(EditorPixels(), TilePixels(0, 0x20));

        // A click on empty space keeps the tile selected and reloads it.
        Child<CPixelEditor>("pixelEditor")->SetPixel(0, 0, 15 - TilePixels(0, 0x20)[0]);
        list->scrollToBottom();
        const QPoint empty = list->viewport()->rect().bottomRight() - QPoint(4, 4);
        QVERIFY(!list->indexAt(empty).isValid());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, empty);
        QCOMPARE(list->selectedItems(), QList<QListWidgetItem*>{list->item(0x20)});
        QCOMPARE(EditorPixels(), TilePixels(0, 0x20));

        QVERIFY(TilePixels(3, 0x20) != TilePixels(0, 0x20));
        Type("editTileSet", 3);
        QCOMPARE(list->selectedItems(), QList<QListWidgetItem*>{list->item(0x20)});
        QCOMPARE(EditorPixels(), TilePixels(3, 0x20));
    }

    void paletteReachesStripsAtTick()
    {
        QVERIFY(Open(true));
        // While running, a palette change reaches the strips at the next tick.
        Child("checkAuto")->click();
        const QImage before = Strip(2);
        Type("editPalette", 9);
        QCOMPARE(Strip(2), before);
        QTRY_VERIFY_WITH_TIMEOUT(Strip(2) != before, 3000);
    }

    // A cell click chooses its tile; the cells showing the chosen tile at the shown step, and
    // only those, are framed in the highlight colour (92 pixels a 24 x 24 frame).
    void stripsAndTiles()
    {
        QVERIFY(Open(true));
        Child("buttonAnimate")->click();
        while (m_view->AnimStep() != 2)
            Child("buttonAddFrame")->click();
        QCOMPARE(m_view->AnimToggle(), 0);
        ClickStrip(2, 10, 0);
        QCOMPARE(m_view->Tile(), 0x86);
        QCOMPARE(Framed(), "3:10,0"); // strip 3 shows its one picture at every step
        ClickStrip(0, 1, 2);          // strip 1 shows tile 4 mirrored there at step 2
        QCOMPARE(m_view->Tile(), 4);
        QCOMPARE(Child<QListWidget>("listTiles")->selectedItems().first()->text(), "04h");
        QCOMPARE(EditorPixels(), TilePixels(0, 4));
        QCOMPARE(Framed(), "1:1,2");
        Child("buttonAddFrame")->click();
        QCOMPARE(Framed(), "");
        Child("buttonAddFrame")->click();
        QCOMPARE(Framed(), "1:0,2");
        ClickStrip(2, 21, 0); // empty
        QCOMPARE(m_view->Tile(), 4);
        ClickStrip(1, 16, 0);
        QCOMPARE(Framed(), "1:0,0 2:16,0 2:18,0");
        QTest::keyClick(Child<QListWidget>("listTiles"), Qt::Key_Right);
        QCOMPARE(m_view->Tile(), 1);
        QCOMPARE(EditorPixels(), TilePixels(0, 1));

        // A tile of actor 22's window that only a pose reaching into the next actor's tiles
        // shows is dimmed: each channel half way to the checkerboard.
        Type("editTileSet", 22);
        auto* list = Child<QListWidget>("listTiles");
        QCOMPARE(list->item(0x33)->toolTip(), "Not used by this actor's poses");
        QCOMPARE(list->item(0x32)->toolTip(), "");
        std::uint16_t words[16];
        CActorTables::LoadPalette(m_doc->Image(), false, 3, words); // automatic
        for (int tile : {0x32, 0x33}) {
            const Pixels pixels = TilePixels(22, tile);
            const int at = int(
                std::find_if(pixels.begin(), pixels.end(), [](int index) { return index != 0; }) -
                pixels.begin());
            const int x = 3 * (at % 8) + 1, y = 3 * (at / 8) + 1;
            const int red = (words[pixels[at]] & 31) << 3, grey = (x / 4 + y / 4) % 2 ? 128 : 204;
            const QImage thumb = list->item(tile)->icon().pixmap(24, 24).toImage();
            QCOMPARE(thumb.pixelColor(x, y).red(), tile == 0x32 ? red : (red + grey) / 2);
        }

        // The icons show squares of one shared sheet: every look, and the list painted
        // enabled or not, equals what a pixmap icon per item gives.
        const auto looks = [this, list] {
            list->clearFocus(); // disabling moves it away, so both rounds start without it
            QList<QImage> images;
            for (int tile : {m_view->Tile(), 0x32, 0x33})
                for (QIcon::Mode mode : {QIcon::Normal, QIcon::Selected, QIcon::Disabled})
                    images << list->item(tile)->icon().pixmap(24, mode).toImage();
            images << list->item(0x33)->icon().pixmap(16).toImage();
            for (bool enabled : {true, false}) {
                list->setEnabled(enabled);
                images << list->viewport()->grab().toImage();
            }
            list->setEnabled(true);
            return images;
        };
        const QList<QImage> shared = looks();
        for (int tile = 0; tile < list->count(); ++tile)
            list->item(tile)->setIcon(QIcon(list->item(tile)->icon().pixmap(24)));
        QVERIFY(shared == looks());
    }

    // The tile list's caching delegate lays out and paints exactly as the default delegate,
    // through icon changes and a font change.
    void paintsAsTheDefaultDelegate()
    {
        QListWidget plain, cached;
        for (QListWidget* list : {&plain, &cached}) {
            list->setViewMode(QListView::IconMode);
            list->setIconSize(QSize(24, 24));
            list->setGridSize(QSize(32, 50));
            list->setMovement(QListView::Static);
            list->setResizeMode(QListView::Adjust);
            list->setWordWrap(false);
            list->resize(374, 179);
            list->show();
            if (list == &cached)
                list->setItemDelegate(new CCachedSizeDelegate(list));
            for (int tile = 0; tile < 181; ++tile)
                list->addItem(QString::number(tile, 16).toUpper().rightJustified(2, '0') + 'h');
        }
        Compare(plain, cached);
        for (QListWidget* list : {&plain, &cached})
            SetIcons(*list, Qt::red, 24);
        Compare(plain, cached);
        for (QListWidget* list : {&plain, &cached}) {
            SetIcons(*list, Qt::blue, 16); // a smaller decoration is measured again
            list->setFont(QFont(list->font().family(), 17));
        }
        Compare(plain, cached);
        // Tab is the list's to handle, not swallowed as an editor's key by the delegate.
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QVERIFY(!static_cast<QObject*>(cached.itemDelegate())->eventFilter(&cached, &tab));
    }

private:
    static void SetIcons(QListWidget& list, Qt::GlobalColor color, int size)
    {
        QPixmap pixmap(size, size);
        pixmap.fill(color);
        for (int row = 0; row < list.count(); ++row)
            list.item(row)->setIcon(QIcon(pixmap));
    }

    static void Compare(QListWidget& plain, QListWidget& cached)
    {
        QCoreApplication::processEvents();
        for (int row = 0; row < plain.count(); ++row)
            QCOMPARE(cached.visualItemRect(cached.item(row)),
                     plain.visualItemRect(plain.item(row)));
        QCOMPARE(cached.grab().toImage(), plain.grab().toImage());
    }

    bool Open(bool withImage)
    {
        m_view.reset();
        m_doc = std::make_unique<CGlyphoxDoc>();
        if (withImage && !m_doc->OnOpenDocument(m_romPath).ok)
            return false;
        m_view = std::make_unique<CGlyphoxView>(m_doc.get());
        m_view->show();
        m_view->OnInitialUpdate();
        return QTest::qWaitForWindowExposed(m_view.get());
    }
    template <class T = QAbstractButton> T* Child(const char* name) const
    {
        return m_view->findChild<T*>(name);
    }
    void Type(const char* edit, int number) const
    {
        Child<QLineEdit>(edit)->setText(QString::number(number));
        QTest::keyClick(Child<QLineEdit>(edit), Qt::Key_Return);
    }
    QImage Strip(int strip) const
    {
        const auto* label = Child<QLabel>(qPrintable(QString("labelStrip%1").arg(strip + 1)));
        return label->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    }
    Pixels TilePixels(int actor, int tile) const
    {
        Pixels pixels(TILE_PIXELS);
        DecodeTile(CActorTables::TileWindow(m_doc->Image(), actor) + 32 * tile, &pixels[0]);
        return pixels;
    }
    void ClickStrip(int strip, int column, int row) const
    {
        auto* label = Child<QLabel>(qPrintable(QString("labelStrip%1").arg(strip + 1)));
        const QPoint cell(24 * column + 12, 24 * row + 12);
        QTest::mouseClick(label, Qt::LeftButton, {}, label->contentsRect().topLeft() + cell);
    }
    // The cells of the three strips framed in the highlight colour, as "strip:column,row";
    // a highlight pixel inside a cell counts 100.
    QString Framed() const
    {
        const QColor highlight = m_view->palette().color(QPalette::Highlight);
        QStringList framed;
        for (int strip = 0; strip < 3; ++strip) {
            const QImage image = Strip(strip);
            for (int top = 0; top < 72; top += 24) {
                for (int left = 0; left + 24 <= image.width(); left += 24) {
                    int count = 0;
                    for (int y = 0; y < 24; ++y)
                        for (int x = 0; x < 24; ++x)
                            count += (image.pixelColor(left + x, top + y) == highlight) *
                                     (x % 23 == 0 || y % 23 == 0 ? 1 : 100);
                    if (count != 0) // a partial frame shows with its count
                        framed << QString("%1:%2,%3").arg(strip + 1).arg(left / 24).arg(top / 24) +
                                      (count == 92 ? QString() : QString("=%1").arg(count));
                }
            }
        }
        return framed.join(' ');
    }
    Pixels EditorPixels() const { return Child<CPixelEditor>("pixelEditor")->Grid().Bytes(); }
    // A number, followed by what its edit shows when that differs.
    QString Number(int number, const char* edit) const
    {
        const QString text = Child<QLineEdit>(edit)->text();
        return text == QString::number(number) ? text : QString("%1(%2)").arg(number).arg(text);
    }
    // Actor, palette, "Auto", palette edit enabled, bank, "Show tile ID", animation buttons.
    QString State() const
    {
        QStringList state{Number(m_view->ActorNumber(), "editTileSet"),
                          Number(m_view->PaletteNumber(), "editPalette")};
        if (Child("checkAuto")->isChecked())
            state << "auto";
        if (Child<QWidget>("editPalette")->isEnabled())
            state << "typed";
        state << (Child("radioBattle")->isChecked() ? "battle" : "overworld");
        if (Child("checkShowTileID")->isChecked())
            state << "ids";
        state << Child("buttonAnimate")->text();
        if (Child("buttonAddFrame")->isEnabled())
            state << "+frame";
        return state.join(' ');
    }

    const QString m_romPath = g_home.filePath("demo.smc");
    std::unique_ptr<CGlyphoxDoc> m_doc;
    std::unique_ptr<CGlyphoxView> m_view;
};

QTEST_MAIN(tst_GlyphoxView)
#include "tst_glyphoxview.moc"
