#pragma once

#include <QBasicTimer>
#include <QColor>
#include <QFont>
#include <QLabel>
#include <QStringList>

#include <functional>

class QUrl;

// A label shown as a hyperlink: link colours, underlined while the pointer is over it, a hand
// cursor and a tooltip with its target. A click opens the target with the desktop's handler,
// falls back to a browser command, and reports a failure in a message box.
class CLinkLabel : public QLabel
{
    Q_OBJECT

public:
    // Results of OpenTarget: above 32 is success, 32 and below are the error codes that
    // ShowOpenError knows.
    static constexpr int OPEN_SUCCESS = 33;
    static constexpr int OPEN_NO_ASSOCIATION = 31;
    static constexpr int OPEN_FILE_NOT_FOUND = 2;
    // A browser command line longer than this (with the target) is refused, never cut.
    static constexpr int OPEN_COMMAND_TOO_LONG = -1;
    static constexpr int MAX_COMMAND_LINE = 519;

    explicit CLinkLabel(QWidget* parent = nullptr);

    // Turns the label into a link; call once the form has given it its text and font. An
    // empty target takes the text and an empty text the target; the label is then fitted to
    // its text.
    void Attach();

    // Re-fits an attached label and shows the new target in its tooltip.
    void SetTarget(const QString& target);
    const QString& Target() const { return m_strTarget; }
    void SetVisited(bool bVisited);
    bool IsVisited() const { return m_bVisited; }
    bool IsHover() const { return m_bHover; }

    // Opens target with the desktop's handler or else a browser command; returns a result
    // above 32 on success and an error code otherwise. Browser programs that cannot be started
    // are passed over; with none left, the desktop handler's code is returned.
    int OpenTarget(const QString& target);
    void ShowOpenError(int nCode);
    static QString OpenErrorText(int nCode);

    // The browser command lines tried, in order, when the desktop cannot open a target: the
    // registry's .htm open command on Windows; elsewhere the BROWSER entries, then the
    // desktop's opener.
    static QStringList DefaultBrowserCommands();

    // Seams to the outside world, replaced by tests so that nothing is opened or shown.
    std::function<bool(const QUrl& url)> m_fnOpenUrl;
    // Starts program with arguments, detached; returns above 32 when it started, else an error
    // code (2 when the program cannot be started).
    std::function<int(const QString& program, const QStringList& arguments)> m_fnStartProcess;
    std::function<QStringList()> m_fnBrowserCommands;
    std::function<void(const QString& text)> m_fnMessageBox;
    std::function<QPoint()> m_fnCursorPos; // the pointer in global coordinates

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void FitToText();
    void UpdateColor();
    void OnHover();
    void OnClicked();
    // bMissing is set when the command's program cannot be started.
    int RunBrowserCommand(const QString& command, const QString& target, bool& bMissing);

    QColor m_crLink{0, 0, 238};
    QColor m_crVisited{85, 26, 139};
    QColor m_crHover{255, 0, 0};
    bool m_bHover = false;
    bool m_bVisited = false;
    bool m_bFitToText = true;
    QString m_strTarget;
    QFont m_fontUnderline;
    QFont m_fontNormal;
    QBasicTimer m_hoverTimer;
    bool m_bAttached = false;
    bool m_bDarkFace = false;

    static constexpr int kHoverPeriodMs = 100;
};
