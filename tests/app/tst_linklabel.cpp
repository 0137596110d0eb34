#include "app/LinkLabel.h"

#include "TestPixels.h"

#include <QtTest>

#include <memory>

namespace {

const QString kWeb = QStringLiteral("https://glyphox.example.org/");
// A shell would run a command hidden in this target; the browser must get it as it stands.
const QString kTarget = QStringLiteral("https://glyphox.example.org/?q=1;id $(id) \"'");
const QColor kLink(0, 0, 238);
const QColor kVisited(85, 26, 139);

} // namespace

class tst_LinkLabel : public QObject
{
    Q_OBJECT

    std::unique_ptr<QWidget> m_parent;
    CLinkLabel* m_label = nullptr;
    QStringList m_listStarted; // "program [arg] [arg]" per start
    QStringList m_listMessages;
    QPoint m_ptCursor;

    // Pixels of the label drawn exactly in colour.
    int Pixels(const QColor& color) const
    {
        return TestPixels::Count(m_label->grab().toImage(), color, true);
    }

    // A label over a plain parent, its outside world replaced; the caller attaches it.
    void Make(const QString& text, bool bShellOpens = true, const QStringList& commands = {},
              int nStartResult = CLinkLabel::OPEN_SUCCESS)
    {
        m_listStarted.clear();
        m_listMessages.clear();
        m_parent = std::make_unique<QWidget>();
        m_label = new CLinkLabel(m_parent.get());
        m_label->setGeometry(10, 20, 300, 40);
        QFont font = m_label->font();
        font.setPixelSize(20); // strokes wide enough to show exact colours
        m_label->setFont(font);
        m_label->setText(text);
        m_label->m_fnOpenUrl = [bShellOpens](const QUrl&) { return bShellOpens; };
        m_label->m_fnBrowserCommands = [commands] { return commands; };
        m_label->m_fnStartProcess = [this, nStartResult](const QString& program,
                                                         const QStringList& args) {
            m_listStarted << program + " [" + args.join("] [") + "]";
            return nStartResult;
        };
        m_label->m_fnMessageBox = [this](const QString& text) { m_listMessages << text; };
        m_label->m_fnCursorPos = [this] { return m_ptCursor; };
    }

private slots:
    void clickOpensTarget_data()
    {
        QTest::addColumn<bool>("shellOpens");
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<int>("startResult");
        QTest::addColumn<QStringList>("started"); // "program [arg] [arg]"
        QTest::addColumn<QString>("error");       // empty: opened and visited
        const auto row = [](const char* name, bool bShell, const QStringList& commands, int nResult,
                            const QStringList& started, const QString& error) {
            QTest::newRow(name) << bShell << commands << nResult << started << error;
        };
        const QString fits = QString(519 - 1 - kTarget.size(), u'b'); // 519 with the target
        const QString arg = " [" + kTarget + "]";
        const QString notFound = "The specified file was not found.";
        const QString noApp =
            "There is no application associated\nwith the given filename extension.";
        row("shell-opens", true, {"browser"}, 33, {}, {});
        row("no-fallback", false, {}, 33, {}, noApp);
        row("quoted-placeholder", false, {"\"/opt/my browser\" -url \"%1\" -late"}, 33,
            {"/opt/my browser [-url]" + arg}, {});
        row("bare-placeholder", false, {"browser -new %1 -late"}, 33, {"browser [-new]" + arg}, {});
        row("no-placeholder", false, {"browser -window"}, 33, {"browser [-window]" + arg}, {});
        // Browsers that cannot be started are no openers: the shell's code stands.
        row("no-opener-at-all", false, {"nosuch", "other"}, 2, {"nosuch" + arg, "other" + arg},
            noApp);
        row("result-32-fails", false, {"browser"}, 32, {"browser" + arg},
            "The specified dynamic-link library was not found.");
        row("first-failure-reported", false, {"nosuch", fits + "b", "\"%1\""}, 2, {"nosuch" + arg},
            "The browser command is too long.");
        row("longest-fits", false, {fits}, 33, {fits + arg}, {});
        row("over-long-refused", false, {fits + "b"}, 33, {}, "The browser command is too long.");
        row("placeholder-only", false, {"\"%1\""}, 33, {}, notFound);
    }

    void clickOpensTarget()
    {
        QFETCH(bool, shellOpens);
        QFETCH(QStringList, commands);
        QFETCH(int, startResult);
        QFETCH(QString, error);
        Make(kTarget, shellOpens, commands, startResult);
        m_label->Attach();
        m_parent->show();
        QTest::mouseClick(m_label, Qt::LeftButton, {}, QPoint(2, 2));
        QTEST(m_listStarted, "started");
        const QString message = "Unable to open hyperlink:\n\n" + error;
        QCOMPARE(m_listMessages, error.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(m_label->IsVisited(), error.isEmpty());
        QVERIFY(Pixels(error.isEmpty() ? kVisited : kLink) > 0);
    }

    // On a dark face the link colour is lightened until it reads.
    void attaching()
    {
        Make(kWeb);
        m_parent->setPalette(TestPixels::DarkPalette());
        m_label->Attach();
        const QImage image = m_label->grab().toImage();
        QVERIFY(TestPixels::StrongestContrast(image, image.rect(), QColor(53, 53, 53)) >= 4.5);
        QCOMPARE(m_label->toolTip(), kWeb);
        QCOMPARE(m_label->cursor().shape(), Qt::PointingHandCursor);
        m_label->SetTarget("mailto:a@example.org");
        QCOMPARE(m_label->toolTip(), "mailto:a@example.org");
        QCOMPARE(m_label->text(), kWeb);

        Make({});
        m_label->SetTarget("mailto:\"<b>Team</b>\" <t@example.org>");
        m_label->Attach();
        QCOMPARE(m_label->text(), "mailto:\"<b>Team</b>\" <t@example.org>");
        QCOMPARE(m_label->textFormat(), Qt::PlainText); // never read as markup
    }
};

QTEST_MAIN(tst_LinkLabel)
#include "tst_linklabel.moc"
