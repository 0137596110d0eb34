#include "view/GlyphoxView.h"

#include "RomFixture.h"
#include "edit/PixelEditor.h"
#include "rom/DemoRom.h"
#include "rom/GlyphoxDoc.h"

#include <QtTest>
#include <QtWidgets>

using Pixels = std::vector<std::uint8_t>;

// Settings and save journals go to a private folder, never to the user's.
const QTemporaryDir g_home;
const bool g_private = qputenv("XDG_CONFIG_HOME", QFile::encodeName(g_home.path())) &&
                       qputenv("XDG_DATA_HOME", QFile::encodeName(g_home.path()));

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
        const char* hidden[] = {"checkShowTileID", "buttonAnimate", "buttonAddFrame",
                                "labelStrip1",     "labelStrip2",   "labelStrip3"};
        for (const char* name :
             {"checkAuto", "radioBattle", "radioOverworld", "editTileSet", "spinTileSet",
              "editPalette", "spinPalette", "pixelEditor", "paletteCtrl", "listTiles"})
            QVERIFY2(!Child<QWidget>(name)->isEnabled(), name);
        for (const char* name : hidden)
            QVERIFY2(!Child<QWidget>(name)->isVisible(), name);

        QSignalSpy loaded(m_view.get(), &CGlyphoxView::RomLoadedChanged);
        QVERIFY(m_doc->OnOpenDocument(m_romPath).ok);
        m_view->OnInitialUpdate();
        QCOMPARE(loaded, QList<QVariantList>{{true}});
        QVERIFY(Child<QWidget>("labelStrip3")->isVisible());
        QCOMPARE(State(), "0 2 auto overworld Stop!"); // the first run
        const int step = m_view->AnimStep();
        QTRY_VERIFY_WITH_TIMEOUT(m_view->AnimStep() != step, 3000);
    }

    void settingsKeptBetweenRuns()
    {
        QVERIFY(Open(true));
        Child("checkAuto")->click();
        Type("editTileSet", 5);
        Type("editPalette", 7);
        Child("radioBattle")->click();
        Child("checkShowTileID")->click();
        Child("buttonAnimate")->click();

        QVERIFY(Open(true));
        QCOMPARE(State(), "5 7 typed battle ids Animate! +frame");
        // Another open brings back what was stored, not what is shown.
        Type("editTileSet", 9);
        m_view->OnInitialUpdate();
        QCOMPARE(m_view->ActorNumber(), 5);
    }

    void wrapping_data()
    {
        QTest::addColumn<bool>("actor");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("spin");
        QTest::addColumn<int>("expected");
        QTest::newRow("actor-65") << true << "65" << 0 << 0;
        QTest::newRow("actor-minus-1") << true << "-1" << 0 << 64;
        QTest::newRow("actor-not-a-number") << true << "x7" << 0 << 0;
        QTest::newRow("actor-spin-above-64") << true << "64" << 1 << 0;
        QTest::newRow("palette-30") << false << "30" << 0 << 0;
        QTest::newRow("palette-spin-below-0") << false << "0" << -1 << 29;
    }

    void wrapping()
    {
        QFETCH(bool, actor);
        QFETCH(QString, text);
        QFETCH(int, spin);
        QFETCH(int, expected);
        QVERIFY(Open(true));
        Child("checkAuto")->click();
        auto* edit = Child<QLineEdit>(actor ? "editTileSet" : "editPalette");
        edit->setText(text);
        QTest::keyClick(edit, Qt::Key_Return);
        Child<QSpinBox>(actor ? "spinTileSet" : "spinPalette")->stepBy(spin);
        QCOMPARE(actor ? m_view->ActorNumber() : m_view->PaletteNumber(), expected);
        QCOMPARE(edit->text(), QString::number(expected));
    }

    void autoPalette()
    {
        QVERIFY(Open(true));
        Type("editTileSet", 17);
        Type("editTileSet", 18);
        QCOMPARE(State(), "18 8 auto overworld Stop!");
        Child("radioBattle")->click();
        QCOMPARE(State(), "18 6 auto battle Stop!");
        Child("checkAuto")->click();
        QCOMPARE(State(), "18 6 typed battle Stop!");
        // A typed number is used by the next actor change, wrapped first when out of range.
        Child<QLineEdit>("editPalette")->setText("99");
        Type("editTileSet", 4);
        QCOMPARE(m_view->PaletteNumber(), 0);
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

    void animationSteps()
    {
        QVERIFY(Open(true));
        // While running, a palette change reaches the strips at the next tick.
        Child("checkAuto")->click();
        const QImage before = Strip(2);
        Type("editPalette", 9);
        QCOMPARE(Strip(2), before);
        QTRY_VERIFY_WITH_TIMEOUT(Strip(2) != before, 3000);

        Child("buttonAnimate")->click();
        const QImage strip1 = Strip(0), strip2 = Strip(1), strip3 = Strip(2);
        Child("buttonAddFrame")->click();
        QVERIFY(Strip(0) != strip1 && Strip(1) != strip2);
        Child("buttonAddFrame")->click();
        QCOMPARE(Strip(1), strip2);
        Child("buttonAddFrame")->click();
        Child("buttonAddFrame")->click();
        QCOMPARE(Strip(0), strip1);
        QCOMPARE(Strip(2), strip3);
    }

    void stripPixels()
    {
        QVERIFY(Open(true));
        Child("buttonAnimate")->click();
        Type("editTileSet", 40);
        Child("checkShowTileID")->click();
        Child("buttonAddFrame")->click();

        std::uint16_t words[16];
        CActorTables::LoadPalette(m_doc->m_pImage.get(), false, 4, words); // automatic
        const std::uint8_t* window = CActorTables::TileWindow(m_doc->m_pImage.get(), 40);
        CStripRenderer renderer(4);
        for (int strip = 0; strip < 3; ++strip) {
            const int step = strip == 1 ? m_view->AnimToggle() : m_view->AnimStep();
            const int variant = CActorTables::StripVariantForStep(strip, step);
            QCOMPARE(Strip(strip), renderer.DrawStrip(strip, variant, window, words, true).Image());
        }
        CTileSheetRenderer sheet(4);
        const QIcon icon = Child<QListWidget>("listTiles")->item(180)->icon();
        QCOMPARE(icon.pixmap(24, 24).toImage().convertToFormat(QImage::Format_RGB32),
                 sheet.Draw(window, words).Image().copy(24 * 180, 0, 24, 24));
    }

private:
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
        DecodeTile(CActorTables::TileWindow(m_doc->m_pImage.get(), actor) + 32 * tile, &pixels[0]);
        return pixels;
    }
    Pixels EditorPixels() const { return Child<CPixelEditor>("pixelEditor")->Grid().Bytes(); }
    // Actor, palette, "Auto", palette edit enabled, bank, "Show tile ID", animation buttons.
    QString State() const
    {
        QStringList state{QString::number(m_view->ActorNumber()),
                          QString::number(m_view->PaletteNumber())};
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
