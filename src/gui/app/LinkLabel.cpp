#include "LinkLabel.h"

#include "ui/HLSTransform.h"
#include "ui/SysColors.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLayout>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProcess>
#include <QSettings>
#include <QTimerEvent>
#include <QUrl>

namespace {

struct OpenError
{
    int nCode;
    const char* text;
};

// The codes a failed open or start reports.
constexpr OpenError kOpenErrors[] = {
    {0, "The operating system is out\nof memory or resources."},
    {2, "The specified file was not found."},
    {3, "The specified path was not found."},
    {5, "The operating system denied\naccess to the specified file."},
    {8, "There was not enough memory to complete the operation."},
    {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
    {26, "A sharing violation occurred. "},
    {27, "The filename association is\nincomplete or invalid."},
    {28, "The DDE transaction could not\nbe completed because the request timed out."},
    {29, "The DDE transaction failed."},
    {30, "The DDE transaction could not\nbe completed because other DDE transactions\n"
         "were being processed."},
    {31, "There is no application associated\nwith the given filename extension."},
    {32, "The specified dynamic-link library was not found."},
    {CLinkLabel::OPEN_COMMAND_TOO_LONG, "The browser command is too long."},
};

int StartDetached(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments) ? CLinkLabel::OPEN_SUCCESS
                                                       : CLinkLabel::OPEN_FILE_NOT_FOUND;
}

} // namespace

CLinkLabel::CLinkLabel(QWidget* parent) : QLabel(parent)
{
    m_fnOpenUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    m_fnStartProcess = StartDetached;
    m_fnBrowserCommands = DefaultBrowserCommands;
    m_fnMessageBox = [this](const QString& text) {
        QMessageBox::warning(window(), QStringLiteral("Glyphox"), text);
    };
    m_fnCursorPos = [] { return QCursor::pos(); };
}

void CLinkLabel::Attach()
{
    if (m_bAttached)
        return;
    m_bAttached = true;
    // Clicks and hovering belong to the link, and a target is never read as markup.
    setTextInteractionFlags(Qt::NoTextInteraction);
    setTextFormat(Qt::PlainText);
    setMouseTracking(true);
    // The dialog's face shows through around the text.
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);

    if (m_strTarget.isEmpty())
        m_strTarget = text();
    if (text().isEmpty())
        setText(m_strTarget);

    // Decided once, before the label's own text colour takes part in the palette.
    m_bDarkFace = CSysColors::IsDark(palette());
    m_fontNormal = font();
    m_fontUnderline = m_fontNormal;
    m_fontUnderline.setUnderline(true);
    FitToText();
    setCursor(Qt::PointingHandCursor);
    setToolTip(m_strTarget);
    UpdateColor();
}

void CLinkLabel::SetTarget(const QString& target)
{
    m_strTarget = target;
    if (!m_bAttached)
        return;
    FitToText();
    setToolTip(m_strTarget);
}

void CLinkLabel::SetVisited(bool bVisited)
{
    m_bVisited = bVisited;
    if (m_bAttached)
        UpdateColor();
}

// Sizes the label to its underlined text plus its borders, keeping the text where its
// alignment put it. In a layout the label keeps that size and the layout aligns it, so that
// only the text itself is the link.
void CLinkLabel::FitToText()
{
    if (!m_bAttached || !m_bFitToText)
        return;
    QRect rc = geometry();
    const int nMargins = 2 * margin();
    const QSize borders = size() - contentsRect().size() + QSize(nMargins, nMargins);
    const QSize extent = QFontMetrics(m_fontUnderline).size(0, text()) + borders;

    const Qt::Alignment align = alignment();
    if (align & Qt::AlignVCenter) {
        const int nShrink = (rc.height() - extent.height()) / 2;
        rc.adjust(0, nShrink, 0, -nShrink);
    } else {
        rc.setHeight(extent.height());
    }
    if (align & Qt::AlignHCenter) {
        const int nShrink = (rc.width() - extent.width()) / 2;
        rc.adjust(nShrink, 0, -nShrink, 0);
    } else if (align & Qt::AlignRight) {
        rc.setLeft(rc.right() + 1 - extent.width());
    } else {
        rc.setWidth(extent.width());
    }
    setFixedSize(rc.size());
    setGeometry(rc);
    if (QWidget* parent = parentWidget(); parent && parent->layout())
        parent->layout()->setAlignment(this, align);
}

void CLinkLabel::UpdateColor()
{
    QPalette pal = palette();
    QColor color = m_bHover ? m_crHover : (m_bVisited ? m_crVisited : m_crLink);
    // The link colours are made for a light face; on a dark one they are lightened to read.
    if (m_bDarkFace)
        color = ReadableOn(color, pal.color(QPalette::Window));
    pal.setColor(QPalette::WindowText, color);
    setPalette(pal);
}

void CLinkLabel::OnHover()
{
    if (!m_bAttached || m_bHover)
        return;
    m_bHover = true;
    setFont(m_fontUnderline);
    UpdateColor();
    m_hoverTimer.start(kHoverPeriodMs, this);
}

void CLinkLabel::mouseMoveEvent(QMouseEvent* event)
{
    OnHover();
    QLabel::mouseMoveEvent(event);
}

// Entering counts as the first move: some window systems send no move with the enter.
void CLinkLabel::enterEvent(QEnterEvent* event)
{
    OnHover();
    QLabel::enterEvent(event);
}

void CLinkLabel::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_hoverTimer.timerId()) {
        QLabel::timerEvent(event);
        return;
    }
    if (rect().contains(mapFromGlobal(m_fnCursorPos())))
        return;
    m_bHover = false;
    m_hoverTimer.stop();
    setFont(m_fontNormal);
    UpdateColor();
}

void CLinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_bAttached || event->button() != Qt::LeftButton ||
        !rect().contains(event->position().toPoint())) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    OnClicked();
}

void CLinkLabel::OnClicked()
{
    m_bHover = false;
    const int nResult = OpenTarget(m_strTarget);
    // A link once visited stays visited, even if a later open fails.
    if (nResult > 32) {
        SetVisited(true);
        return;
    }
    UpdateColor();
    QApplication::beep();
    ShowOpenError(nResult);
}

int CLinkLabel::OpenTarget(const QString& target)
{
    // A target without a scheme names a local file, as the shell would take it.
    QUrl url(target);
    if (!target.isEmpty() && url.isRelative())
        url = QFileInfo::exists(target) ? QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath())
                                        : QUrl();
    const int nShellResult = !url.isValid() || url.isEmpty() ? OPEN_FILE_NOT_FOUND
                             : m_fnOpenUrl(url)              ? OPEN_SUCCESS
                                                             : OPEN_NO_ASSOCIATION;
    if (nShellResult > 32)
        return nShellResult;

    // Every fallback is tried; when all fail, the first (the preferred browser) is reported.
    // A browser that cannot be started is no opener at all: when no other one failed in its
    // own way, the shell's code stands, so that a missing browser reads as no association.
    int nFirstResult = nShellResult;
    bool bFailed = false;
    for (const QString& command : m_fnBrowserCommands()) {
        bool bMissing = false;
        const int nResult = RunBrowserCommand(command, target, bMissing);
        if (nResult > 32)
            return nResult;
        if (!bFailed && !bMissing) {
            nFirstResult = nResult;
            bFailed = true;
        }
    }
    return nFirstResult;
}

// Drops the target placeholder and everything after it, then starts the command with the
// target as one more argument: no shell ever sees the target.
int CLinkLabel::RunBrowserCommand(const QString& command, const QString& target, bool& bMissing)
{
    qsizetype nCut = command.indexOf(QStringLiteral("\"%1\""));
    if (nCut < 0)
        nCut = command.indexOf(QStringLiteral("%1"));
    const QString head = nCut < 0 ? command : command.left(nCut);
    if (head.size() + 1 + target.size() > MAX_COMMAND_LINE)
        return OPEN_COMMAND_TOO_LONG;

    QStringList arguments = QProcess::splitCommand(head);
    // A command that is only the placeholder would run the target itself.
    if (arguments.isEmpty())
        return OPEN_FILE_NOT_FOUND;
    const QString program = arguments.takeFirst();
    arguments << target;
    const int nResult = m_fnStartProcess(program, arguments);
    bMissing = nResult == OPEN_FILE_NOT_FOUND;
    return nResult;
}

QStringList CLinkLabel::DefaultBrowserCommands()
{
#if defined(Q_OS_WIN)
    QSettings classes(QStringLiteral("HKEY_CLASSES_ROOT"), QSettings::NativeFormat);
    const QString htmClass = classes.value(QStringLiteral(".htm/Default")).toString();
    if (htmClass.isEmpty())
        return {};
    const QString command =
        classes.value(htmClass + QStringLiteral("/shell/open/command/Default")).toString();
    return command.isEmpty() ? QStringList() : QStringList{command};
#else
    // BROWSER lists commands separated by colons, the preferred first.
    QStringList commands = qEnvironmentVariable("BROWSER").split(u':', Qt::SkipEmptyParts);
#if defined(Q_OS_MACOS)
    commands << QStringLiteral("open");
#else
    commands << QStringLiteral("xdg-open");
#endif
    return commands;
#endif
}

void CLinkLabel::ShowOpenError(int nCode)
{
    m_fnMessageBox(QStringLiteral("Unable to open hyperlink:\n\n") + OpenErrorText(nCode));
}

QString CLinkLabel::OpenErrorText(int nCode)
{
    for (const OpenError& error : kOpenErrors) {
        if (error.nCode == nCode)
            return QString::fromLatin1(error.text);
    }
    return QStringLiteral("Unknown Error (%1) occurred.").arg(nCode);
}
