#include "color/EditColorDlg.h"

#include "RomFixture.h"
#include "TestPixels.h"
#include "color/ColorModel.h"
#include "color/ColorSwatch.h"
#include "color/ColorWheel.h"
#include "color/LumBar.h"
#include "color/PaletteCtrl.h"
#include "edit/PixelEditor.h"
#include "rom/ActorTables.h"
#include "rom/DemoRom.h"
#include "rom/GlyphoxDoc.h"
#include "view/GlyphoxView.h"

#include <QSignalSpy>
#include <QtTest>
#include <QtWidgets>

#include <functional>
#include <memory>

// Save journals go to a private folder, never to the user's.
const QTemporaryDir g_home;
const bool g_private = RomFixture::UsePrivateHome(g_home);

using TestPixels::Screen;

namespace {

// "Red:40" types into a field after selecting its text; "Blue=123" sets it at once, as a
// paste would.
void Enter(CEditColorDlg* dialog, const QString& entry)
{
    const qsizetype at = entry.indexOf(QRegularExpression("[:=]"));
    auto* edit = dialog->findChild<QLineEdit*>("edit" + entry.left(at));
    QVERIFY(edit);
    if (entry[at] == '=') {
        edit->setText(entry.mid(at + 1));
        return;
    }
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, entry.mid(at + 1));
}

// The six fields as "Hue Sat Lum Red Green Blue".
QString Fields(const CEditColorDlg* dialog)
{
    QStringList texts;
    for (const QLineEdit* edit : {dialog->m_editHue, dialog->m_editSat, dialog->m_editLum,
                                  dialog->m_editRed, dialog->m_editGreen, dialog->m_editBlue})
        texts << edit->text();
    return texts.join(' ');
}

QColor Painted(QWidget* widget)
{
    return widget->grab().toImage().pixelColor(widget->rect().center());
}

// Runs an action on the Edit Color dialog once it is the modal window; if it never becomes
// one, or stays open, rejects it so no test hangs on it.
void WhenModal(std::function<void(CEditColorDlg*)> action)
{
    auto* poll = new QTimer(qApp);
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, tries, action] {
        auto* dialog = qobject_cast<CEditColorDlg*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible() && *tries >= 0) {
            *tries = -1;
            action(dialog);
        } else if (*tries >= 0 && ++*tries < 500) {
            return;
        }
        if (dialog && dialog->isVisible())
            dialog->reject();
        poll->deleteLater();
        poll->stop();
    });
    poll->start(10);
}

} // namespace

class tst_EditColorDlg : public QObject
{
    Q_OBJECT

    std::unique_ptr<CEditColorDlg> m_pDlg;

    void Open(std::uint16_t word)
    {
        m_pDlg = std::make_unique<CEditColorDlg>();
        m_pDlg->m_wColor = word;
        m_pDlg->show();
        QVERIFY(QTest::qWaitForWindowActive(m_pDlg.get()));
    }

private slots:
    void cleanup() { m_pDlg.reset(); }

    void form()
    {
        Open(0x001F);
        QCOMPARE(QApplication::focusWidget(), m_pDlg->m_editHue);
        QCOMPARE(m_pDlg->minimumSize(), m_pDlg->maximumSize());
        QVERIFY(m_pDlg->m_wheel->width() >= 34 && m_pDlg->m_wheel->height() >= 30);
        QVERIFY(m_pDlg->m_lumBar->BarRect().height() >= 30);
        QVERIFY(m_pDlg->rect().contains(m_pDlg->m_lumBar->geometry())); // the marker shows
        const QList<QWidget*> order = {m_pDlg->m_editHue,
                                       m_pDlg->m_editSat,
                                       m_pDlg->m_editLum,
                                       m_pDlg->m_editRed,
                                       m_pDlg->m_editGreen,
                                       m_pDlg->m_editBlue,
                                       m_pDlg->findChild<QWidget*>("buttonOK"),
                                       m_pDlg->findChild<QWidget*>("buttonCancel")};
        for (int i = 1; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), order[i]);
        }
        for (const auto& [key, edit] :
             {std::pair(Qt::Key_H, m_pDlg->m_editHue), std::pair(Qt::Key_G, m_pDlg->m_editGreen),
              std::pair(Qt::Key_L, m_pDlg->m_editLum)}) {
            QTest::keyClick(m_pDlg.get(), key, Qt::AltModifier);
            QCOMPARE(QApplication::focusWidget(), edit);
        }
    }

    void typing_data()
    {
        QTest::addColumn<int>("word");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("fields"); // Hue Sat Lum Red Green Blue
        QTest::newRow("opened on pure red") << 0x001F << QStringList() << "0 30 15 31 0 0";
        QTest::newRow("opened with bit 15") << 0x801F << QStringList() << "0 30 15 31 0 0";
        QTest::newRow("40 in Red") << 0x0000 << QStringList("Red:40") << "0 30 15 31 0 0";
        QTest::newRow("lone minus counts 0") << 0x001F << QStringList("Red:-") << "0 0 0 - 0 0";
        QTest::newRow("-3 in Red") << 0x0000 << QStringList("Red:-3") << "0 30 15 31 0 0";
        QTest::newRow("not a number stays")
            << 0x001F << QStringList("Green:abc") << "0 30 15 31 abc 0";
        QTest::newRow("pasted huge number")
            << 0x0000 << QStringList("Blue=99999999999") << "20 30 15 0 0 31";
        QTest::newRow("35 in Hue") << 0x001F << QStringList("Hue:35") << "30 30 15 31 0 0";
        QTest::newRow("Hue 10: green") << 0x001F << QStringList("Hue:10") << "10 30 15 0 31 0";
        QTest::newRow("Lum 30, Sat 12: red truncated")
            << 0x3DEF << QStringList{"Sat:12", "Lum:30"} << "0 12 30 30 31 31";
        QTest::newRow("negative Sat") << 0x3DEF << QStringList("Sat=-1") << "0 30 14 28 0 0";
    }
    void typing()
    {
        QFETCH(int, word);
        QFETCH(QStringList, entries);
        QFETCH(QString, fields);
        Open(std::uint16_t(word));
        for (const QString& entry : entries)
            Enter(m_pDlg.get(), entry);
        QCOMPARE(Fields(m_pDlg.get()), fields);
        const QStringList rgb = fields.split(' ').mid(3);
        const auto made =
            std::uint16_t(rgb[2].toInt() << 10 | rgb[1].toInt() << 5 | rgb[0].toInt());
        QCOMPARE(Painted(m_pDlg->m_swatchNew), Screen(made));
        QCOMPARE(Painted(m_pDlg->m_swatchOrig), Screen(std::uint16_t(word)));
        QTest::keyClick(m_pDlg->m_editHue, Qt::Key_Return); // OK is the default button
        QCOMPARE(m_pDlg->result(), int(QDialog::Accepted));
        QCOMPARE(m_pDlg->m_wColor, made);
    }

    // The wheel and the bar take the new colour and show it.
    void typingInRedMovesMarkers()
    {
        Open(0x3DEF);
        CColorWheel* wheel = m_pDlg->m_wheel;
        CLumBar* bar = m_pDlg->m_lumBar;
        const QImage wheelBefore = wheel->grab().toImage(), barBefore = bar->grab().toImage();
        Enter(m_pDlg.get(), "Red:31");
        QCOMPARE(m_pDlg->m_editRed->text(), "31");
        QCOMPARE(m_pDlg->m_editRed->cursorPosition(), 2);
        double hue = 0, sat = 0, lum = 0;
        SNESToHLS(0x3DFF, &hue, &sat, &lum);
        QCOMPARE(
            (QList<double>{wheel->m_dHue, wheel->m_dSat, bar->m_dHue, bar->m_dSat, bar->m_dLum}),
            (QList<double>{hue, sat, hue, sat, lum}));
        QTRY_VERIFY(wheel->grab().toImage() != wheelBefore);
        QTRY_VERIFY(bar->grab().toImage() != barBefore);
    }

    // Picks in the wheel and the bar reach every field and the bar's gradient.
    void picksReachFields()
    {
        Open(0x3DEF);
        CColorWheel* wheel = m_pDlg->m_wheel;
        QTest::mousePress(wheel, Qt::LeftButton, {}, QPoint(wheel->width() / 3, 1));
        QTest::mouseRelease(wheel, Qt::LeftButton, {}, QPoint(wheel->width() / 3, 1));
        QCOMPARE(m_pDlg->m_lumBar->m_dHue, wheel->m_dHue);
        QCOMPARE(m_pDlg->m_lumBar->m_dSat, 1.0);
        CLumBar* bar = m_pDlg->m_lumBar;
        const QPoint strip(bar->BarRect().right() + 1, bar->BarRect().top());
        QTest::mousePress(bar, Qt::LeftButton, {}, strip);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, strip);
        QCOMPARE(bar->m_dLum, 1.0);
        const std::uint16_t word = HLSToSNES(wheel->m_dHue, 1.0, 1.0);
        QCOMPARE(Fields(m_pDlg.get()), QString("%1 30 30 %2 %3 %4")
                                           .arg(HLSToField(wheel->m_dHue))
                                           .arg(word & 31)
                                           .arg(word >> 5 & 31)
                                           .arg(word >> 10 & 31));
    }

    // The real dialog, opened by a double click on a swatch and driven by the test.
    void paletteDoubleClick_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("close"); // OK, Cancel, Escape or close
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<int>("stored"); // -1: nothing changes, nothing is reported
        const int left = Qt::LeftButton, right = Qt::RightButton;
        QTest::newRow("left, OK after typing")
            << left << "OK" << QStringList{"Green:0", "Blue:31"} << 0x7C1F;
        QTest::newRow("right, OK unchanged") << right << "OK" << QStringList() << 0x03FF;
        QTest::newRow("Cancel after typing") << left << "Cancel" << QStringList("Red:0") << -1;
        QTest::newRow("Escape") << right << "Escape" << QStringList("Hue:20") << -1;
        QTest::newRow("close box") << left << "close" << QStringList("Lum:3") << -1;
    }
    void paletteDoubleClick()
    {
        QFETCH(int, button);
        QFETCH(QString, close);
        QFETCH(QStringList, entries);
        QFETCH(int, stored);
        CPaletteCtrl palette;
        const std::uint16_t colors[16] = {0, 0x7FFF, 0x03FF, 0x001F};
        palette.SetColors(colors, 16);
        palette.resize(200, 32);
        palette.show();
        QVERIFY(QTest::qWaitForWindowExposed(&palette));
        QSignalSpy spy(&palette, &CPaletteCtrl::ColorChanged);
        QWidget* parent = nullptr;
        WhenModal([&](CEditColorDlg* dialog) {
            parent = dialog->parentWidget();
            for (const QString& entry : entries)
                Enter(dialog, entry);
            if (close == "Escape")
                QTest::keyClick(dialog, Qt::Key_Escape);
            else if (close == "close")
                dialog->close();
            else
                QTest::mouseClick(dialog->findChild<QPushButton*>("button" + close),
                                  Qt::LeftButton);
        });
        const QPoint point = palette.GetCellRect(2).center();
        const auto mouse = Qt::MouseButton(button);
        QTest::mouseClick(&palette, mouse, {}, point);
        QTest::mouseDClick(&palette, mouse, {}, point);
        QTest::mouseRelease(&palette, mouse, {}, point);
        QCOMPARE(parent, &palette);
        QCOMPARE(mouse == Qt::LeftButton ? palette.ForeIndex() : palette.BackIndex(), 2);
        QCOMPARE(spy.count(), stored < 0 ? 0 : 1);
        if (stored >= 0)
            QCOMPARE(spy.first(), (QVariantList{0, 2, QVariant::fromValue(std::uint16_t(stored))}));
        QCOMPARE(palette.grab().toImage().pixelColor(point),
                 Screen(stored < 0 ? 0x03FF : std::uint16_t(stored)));
    }

    // The palette replaced while the dialog ran: the answer has nowhere to go.
    void paletteReplacedWhileEditing()
    {
        CPaletteCtrl palette;
        const std::uint16_t colors[16] = {};
        palette.SetColors(colors, 16);
        palette.resize(200, 32);
        palette.m_fnEditColor = [&palette](std::uint16_t* pColor) {
            palette.ClearColors();
            *pColor = 0x1234;
            return true;
        };
        QSignalSpy spy(&palette, &CPaletteCtrl::ColorChanged);
        QTest::mouseDClick(&palette, Qt::LeftButton, {}, palette.GetCellRect(15).center());
        QCOMPARE(spy.count(), 0);
        QCOMPARE(palette.ColorCount(), 0);
    }

    // Double click a swatch in the editor, make the colour magenta, OK: the image is modified
    // once, and the pixel editor, the strips, the thumbnails and the saved file show it.
    void endToEnd()
    {
        const QString path = g_home.filePath("demo.smc");
        QVERIFY(g_private && RomFixture::WriteFile(path, CDemoRom::Build(3)));
        CGlyphoxDoc doc;
        QVERIFY(doc.OnOpenDocument(path).ok);
        CGlyphoxView view(&doc);
        view.show();
        view.OnInitialUpdate();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        auto* palette = view.findChild<CPaletteCtrl*>("paletteCtrl");
        auto* editor = view.findChild<CPixelEditor*>("pixelEditor");
        auto* list = view.findChild<QListWidget*>("listTiles");
        const auto& pixels = editor->Grid().Bytes(); // a colour tile 0 uses
        const int index = *std::max_element(pixels.begin(), pixels.end());
        QVERIFY(index > 0);
        const auto count = [](const QImage& image) {
            return TestPixels::Count(image, Screen(0x7C1F));
        };
        const auto strips = [&view, &count] {
            int n = 0;
            for (const char* name : {"labelStrip1", "labelStrip2", "labelStrip3"})
                n += count(view.findChild<QLabel*>(name)->pixmap().toImage());
            return n;
        };
        const auto thumbnail = [list] { return list->item(0)->icon().pixmap(24).toImage(); };
        QCOMPARE(count(editor->grab().toImage()) + strips() + count(thumbnail()), 0);

        WhenModal([](CEditColorDlg* dialog) {
            for (const QString& entry : QStringList{"Red:31", "Green:0", "Blue:31"})
                Enter(dialog, entry);
            QTest::mouseClick(dialog->findChild<QPushButton*>("buttonOK"), Qt::LeftButton);
        });
        const QPoint point = palette->GetCellRect(index).center();
        QTest::mouseClick(palette, Qt::LeftButton, {}, point);
        QTest::mouseDClick(palette, Qt::LeftButton, {}, point);
        QTest::mouseRelease(palette, Qt::LeftButton, {}, point);

        QVERIFY(count(editor->grab().toImage()) > 0);
        QVERIFY(strips() > 0);
        QVERIFY(count(thumbnail()) > 0);
        QCOMPARE(doc.History().Count(), 1);
        QVERIFY(doc.OnSaveDocument(path).ok);
        const quint32 at = CActorTables::PaletteOffset(false, view.PaletteNumber()) + 2 * index;
        QCOMPARE(RomFixture::ReadFile(path).mid(at, 2), QByteArray("\x1F\x7C", 2));
    }
};

QTEST_MAIN(tst_EditColorDlg)
#include "tst_editcolordlg.moc"
