#include "color/EditColorDlg.h"

#include "TestPixels.h"
#include "color/ColorModel.h"
#include "color/ColorSwatch.h"
#include "color/ColorWheel.h"
#include "color/LumBar.h"
#include "color/PaletteCtrl.h"

#include <QPainter>
#include <QSignalSpy>
#include <QtTest>
#include <QtWidgets>

#include <functional>
#include <memory>

using TestPixels::Find;
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

// Sends a move with modifiers, which QTest::mouseMove drops.
void Move(QWidget* widget, QPoint point, Qt::KeyboardModifiers modifiers)
{
    QTest::mouseEvent(QTest::MouseMove, widget, Qt::NoButton, modifiers, point);
}

} // namespace

class tst_EditColorDlg : public QObject
{
    Q_OBJECT

    std::unique_ptr<CEditColorDlg> m_pDlg;
    std::unique_ptr<CColorWheel> m_pWheel;

    // A 210 x 208 wheel on its own.
    bool Wheel()
    {
        m_pWheel = std::make_unique<CColorWheel>();
        m_pWheel->resize(210, 208);
        m_pWheel->show();
        return QTest::qWaitForWindowExposed(m_pWheel.get());
    }

    void Open(std::uint16_t word)
    {
        m_pDlg = std::make_unique<CEditColorDlg>();
        m_pDlg->m_wColor = word;
        m_pDlg->show();
        QVERIFY(QTest::qWaitForWindowActive(m_pDlg.get()));
    }

private slots:
    void cleanup()
    {
        m_pDlg.reset();
        m_pWheel.reset();
    }

    void form()
    {
        Open(0x001F);
        QCOMPARE(QApplication::focusWidget(), m_pDlg->m_editHue);
        QCOMPARE(m_pDlg->minimumSize(), m_pDlg->maximumSize());
        QVERIFY(m_pDlg->m_wheel->width() >= 34 && m_pDlg->m_wheel->height() >= 30);
        QVERIFY(m_pDlg->m_lumBar->BarRect().height() >= 30);
        QVERIFY(m_pDlg->rect().contains(m_pDlg->m_lumBar->geometry())); // the marker shows
        for (const char* next : {"editSat", "editLum", "editRed", "editGreen", "editBlue",
                                 "buttonOK", "buttonCancel"}) { // the tab order
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), next);
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
        QTest::newRow("pasted, too long to hold")
            << 0x0000 << QStringList("Blue=99999999999999999999") << "20 30 15 0 0 31";
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

    // The wheel and the bar take a typed colour and show it; picks in the wheel and the bar
    // reach every field and the bar's gradient.
    void typingMovesMarkersAndPicksReachFields()
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

        QTest::mousePress(wheel, Qt::LeftButton, {}, QPoint(wheel->width() / 3, 1));
        QTest::mouseRelease(wheel, Qt::LeftButton, {}, QPoint(wheel->width() / 3, 1));
        QCOMPARE(bar->m_dHue, wheel->m_dHue);
        QCOMPARE(bar->m_dSat, 1.0);
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

    void fieldFollowsModel()
    {
        QVERIFY(Wheel());
        const QImage field = m_pWheel->Field();
        QCOMPARE(field.size(), QSize(210, 208));
        for (int x = 0; x < 210; ++x) {
            for (int j = 0; j < 208; ++j) {
                if (field.pixel(x, 207 - j) != Screen(HLSToSNES(x / 210.0, 0.5, j / 208.0)).rgb())
                    QFAIL(qPrintable(QString("pixel %1, %2").arg(x).arg(207 - j)));
            }
        }
    }

    // The field with the crosshair's visible arms in black, and nothing else.
    void crosshair_data()
    {
        QTest::addColumn<double>("hue");
        QTest::addColumn<double>("sat");
        QTest::addColumn<QList<QRect>>("arms");
        QTest::newRow("centre -1, -1: parts of two arms")
            << 0.0 << 1.0 << QList<QRect>{QRect(4, 0, 5, 1), QRect(0, 4, 1, 5)};
        QTest::newRow("centre 104, 103: open square")
            << 0.5 << 0.5
            << QList<QRect>{QRect(109, 102, 5, 3), QRect(103, 108, 3, 5), QRect(95, 102, 5, 3),
                            QRect(103, 94, 3, 5)};
    }
    void crosshair()
    {
        QVERIFY(Wheel());
        QFETCH(double, hue);
        QFETCH(double, sat);
        QFETCH(QList<QRect>, arms);
        m_pWheel->SetHueSat(hue, sat);
        QImage expected = m_pWheel->Field();
        for (const QRect& arm : arms)
            QPainter(&expected).fillRect(arm, Qt::black);
        QCOMPARE(m_pWheel->grab().toImage().convertToFormat(QImage::Format_RGB32), expected);
    }

    // A 210 x 208 wheel: press grid 7 x 6, drag grid 6 x 6 over 206 columns.
    void picks_data()
    {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QPoint>("move"); // null: no drag
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<double>("hue");
        QTest::addColumn<double>("sat");
        QTest::addColumn<QPoint>("marker");
        const auto row = [](const char* name, QPoint press, QPoint move, int modifiers, double hue,
                            double sat, QPoint marker) {
            QTest::newRow(name) << press << move << modifiers << hue << sat << marker;
        };
        const int ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
        const QPoint at100(100, 100), none;
        row("press column 20", {20, 100}, none, 0, 14 / 210.0, 112 / 208.0, {14, 96});
        row("press top left", {3, 2}, none, 0, 0.0, 1.0, {0, 0});
        row("press bottom row", {209, 207}, none, 0, 203 / 210.0, 4 / 208.0, {203, 204});
        row("drag column 20", at100, {20, 100}, 0, 19 / 206.0, 112 / 208.0, {18, 96});
        row("ctrl press keeps column", {150, 100}, none, ctrl, 49 / 210.0, 112 / 208.0, {49, 96});
        row("shift press keeps row", {150, 100}, none, shift, 147 / 210.0, 160 / 208.0, {147, 48});
        row("ctrl drag keeps column", at100, {20, 30}, ctrl, 97 / 206.0, 178 / 208.0, {96, 30});
        row("shift drag keeps row", at100, {20, 30}, shift, 19 / 206.0, 112 / 208.0, {18, 96});
        row("drag outside stops at the edges", at100, {-50, 400}, 0, 1 / 206.0, 4 / 208.0,
            {0, 204});
    }
    void picks()
    {
        QVERIFY(Wheel());
        QFETCH(QPoint, press);
        QFETCH(QPoint, move);
        QFETCH(int, modifiers);
        const auto keys = Qt::KeyboardModifiers(modifiers);
        QList<QPoint> markersSeen; // where the marker was when the owner heard of a pick
        QList<double> huesSeen;
        connect(m_pWheel.get(), &CColorWheel::Clicked, this, [&] {
            markersSeen << QPoint(m_pWheel->m_nMarkerX, m_pWheel->m_nMarkerY);
            huesSeen << m_pWheel->m_dHue;
        });
        const bool drag = !move.isNull();
        QTest::mousePress(m_pWheel.get(), Qt::LeftButton, drag ? Qt::KeyboardModifiers() : keys,
                          press);
        if (drag)
            Move(m_pWheel.get(), move, keys);
        QTest::mouseRelease(m_pWheel.get(), Qt::LeftButton, {}, drag ? move : press);
        Move(m_pWheel.get(), QPoint(5, 5), {}); // after the release: nothing
        QTEST(m_pWheel->m_dHue, "hue");
        QTEST(m_pWheel->m_dSat, "sat");
        QTEST(QPoint(m_pWheel->m_nMarkerX, m_pWheel->m_nMarkerY), "marker");
        QCOMPARE(markersSeen.size(), drag ? 2 : 1);
        QCOMPARE(markersSeen.first(), QPoint(50, 50));
        QCOMPARE(huesSeen.last(), m_pWheel->m_dHue);
        QVERIFY(!m_pWheel->m_bTracking);
    }

    // On a dark face a black marker would vanish: it takes the light text colour.
    void lumBarMarkerOnDarkFace()
    {
        CLumBar bar;
        bar.setPalette(TestPixels::DarkPalette());
        bar.SetBarGeometry(QRect(0, 0, 12, 208));
        bar.SetLum(0.5);
        QCOMPARE(Find(bar.grab().toImage(), QColor(230, 230, 230), QRect(12, 0, 8, 218)).first, 25);
    }
};

QTEST_MAIN(tst_EditColorDlg)
#include "tst_editcolordlg.moc"
