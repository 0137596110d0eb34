#include "EditColorDlg.h"

#include "color/ColorModel.h"
#include "color/ColorSwatch.h"
#include "color/ColorWheel.h"
#include "color/LumBar.h"
#include "rom/SnesFormat.h"
#include "ui_EditColorDlg.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <limits>

namespace {

constexpr int kComponentMax = 31;
constexpr int kHLSMax = 30;

// A field's number: text that is not one counts as 0; a number too long to hold counts as
// far out of range, so it is clamped like any other.
qint64 ReadField(const QLineEdit* edit)
{
    const QString text = edit->text().trimmed();
    const bool negative = text.startsWith(QLatin1Char('-'));
    const QStringView digits = QStringView(text).mid(negative ? 1 : 0);
    if (digits.isEmpty() ||
        !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= '0' && c <= '9'; }))
        return 0;
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (!ok)
        return negative ? std::numeric_limits<qint64>::min() : std::numeric_limits<qint64>::max();
    return value;
}

void WriteField(QLineEdit* edit, int value)
{
    edit->setText(QString::number(value));
}

QColor ScreenColorOf(std::uint16_t word)
{
    const ScreenColor color = SnesToScreen(word);
    return QColor(color.red, color.green, color.blue);
}

} // namespace

CEditColorDlg::CEditColorDlg(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::EditColorDlg>())
{
    m_ui->setupUi(this);
    m_editLum = m_ui->editLum;
    m_editSat = m_ui->editSat;
    m_editHue = m_ui->editHue;
    m_editBlue = m_ui->editBlue;
    m_editGreen = m_ui->editGreen;
    m_editRed = m_ui->editRed;
    m_swatchOrig = m_ui->swatchOrig;
    m_swatchNew = m_ui->swatchNew;
    m_wheel = m_ui->wheel;
    m_lumBar = m_ui->lumBar;
    MapDialogUnits();

    // Direct connections: the wheel and the bar are read while their own mouse handler runs,
    // and the guard only works if a field's change is handled inside the write that caused it.
    connect(m_wheel, &CColorWheel::Clicked, this, &CEditColorDlg::OnClickedWheel,
            Qt::DirectConnection);
    connect(m_lumBar, &CLumBar::Clicked, this, &CEditColorDlg::OnClickedLumBar,
            Qt::DirectConnection);
    connect(m_editRed, &QLineEdit::textChanged, this, &CEditColorDlg::OnChangeRed,
            Qt::DirectConnection);
    connect(m_editGreen, &QLineEdit::textChanged, this, &CEditColorDlg::OnChangeGreen,
            Qt::DirectConnection);
    connect(m_editBlue, &QLineEdit::textChanged, this, &CEditColorDlg::OnChangeBlue,
            Qt::DirectConnection);
    connect(m_editHue, &QLineEdit::textChanged, this, &CEditColorDlg::OnChangeHue,
            Qt::DirectConnection);
    connect(m_editLum, &QLineEdit::textChanged, this, &CEditColorDlg::OnChangeLum,
            Qt::DirectConnection);
    connect(m_editSat, &QLineEdit::textChanged, this, &CEditColorDlg::OnChangeSat,
            Qt::DirectConnection);
    connect(m_ui->buttonOK, &QPushButton::clicked, this, &CEditColorDlg::accept);
    connect(m_ui->buttonCancel, &QPushButton::clicked, this, &CEditColorDlg::reject);
}

CEditColorDlg::~CEditColorDlg() = default;

void CEditColorDlg::MapDialogUnits()
{
    // The base units of a dialog: the average width of the Latin letters and the line height.
    const QFontMetrics metrics(font());
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int baseX = std::max((metrics.horizontalAdvance(letters) / 26 + 1) / 2, 1);
    const int baseY = std::max(metrics.height(), 1);
    const auto map = [baseX, baseY](const QRect& units) {
        const QPoint topLeft(qRound(units.x() * baseX / 4.0), qRound(units.y() * baseY / 8.0));
        const QPoint bottomRight(qRound((units.x() + units.width()) * baseX / 4.0),
                                 qRound((units.y() + units.height()) * baseY / 8.0));
        return QRect(topLeft, bottomRight - QPoint(1, 1));
    };
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        child->setGeometry(map(child->geometry()));

    // Grid steps of one thirtieth of the size must stay above zero.
    QRect wheel = m_wheel->geometry();
    wheel.setSize(wheel.size().expandedTo(QSize(34, 30)));
    m_wheel->setGeometry(wheel);
    QRect bar = m_lumBar->geometry();
    bar.setHeight(std::max(bar.height(), 30));
    m_lumBar->SetBarGeometry(bar);

    setFixedSize(map(QRect(0, 0, 172, 213)).size());
}

void CEditColorDlg::showEvent(QShowEvent* event)
{
    if (!m_bInitialized) {
        m_bInitialized = true;
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

void CEditColorDlg::OnInitDialog()
{
    double hue = 0, sat = 0, lum = 0;
    SNESToHLS(m_wColor, &hue, &sat, &lum);
    SetHLS(hue, lum, sat);
    m_swatchOrig->m_crColor = m_swatchNew->m_crColor = ScreenColorOf(m_wColor);
    m_swatchOrig->update();
    m_swatchNew->update();
    WriteFields(m_wColor, nullptr);
    m_editHue->setFocus();
}

void CEditColorDlg::SetHLS(double hue, double lum, double sat)
{
    m_wheel->SetHueSat(hue, sat);
    m_lumBar->m_dHue = hue;
    m_lumBar->m_dSat = sat;
    m_lumBar->SetLum(lum);
}

void CEditColorDlg::Publish(std::uint16_t word)
{
    m_swatchNew->m_crColor = ScreenColorOf(word);
    m_swatchNew->update();
}

void CEditColorDlg::WriteFields(std::uint16_t word, const QLineEdit* edited)
{
    m_bUpdating = true;
    const std::pair<QLineEdit*, int> values[] = {
        {m_editRed, word & 31},
        {m_editGreen, (word >> 5) & 31},
        {m_editBlue, (word >> 10) & 31},
        {m_editHue, HLSToField(m_wheel->m_dHue)},
        {m_editSat, HLSToField(m_wheel->m_dSat)},
        {m_editLum, HLSToField(m_lumBar->m_dLum)},
    };
    for (const auto& [edit, value] : values) {
        if (edit != edited)
            WriteField(edit, value);
    }
    m_bUpdating = false;
}

std::uint16_t CEditColorDlg::ComposeWord() const
{
    const auto component = [](const QLineEdit* edit) {
        return int(std::clamp<qint64>(ReadField(edit), 0, kComponentMax));
    };
    const int blue = component(m_editBlue), green = component(m_editGreen);
    return std::uint16_t(blue << 10 | green << 5 | component(m_editRed));
}

void CEditColorDlg::OnClickedWheel()
{
    m_lumBar->m_dHue = m_wheel->m_dHue;
    m_lumBar->m_dSat = m_wheel->m_dSat;
    m_lumBar->update();
    OnClickedLumBar();
}

void CEditColorDlg::OnClickedLumBar()
{
    const std::uint16_t word = HLSToSNES(m_wheel->m_dHue, m_lumBar->m_dLum, m_wheel->m_dSat);
    Publish(word);
    WriteFields(word, nullptr);
}

void CEditColorDlg::OnChangeComponent(QLineEdit* edited)
{
    if (m_bUpdating)
        return;
    const qint64 value = ReadField(edited);
    if (value < 0 || value > kComponentMax) {
        m_bUpdating = true;
        WriteField(edited, kComponentMax);
        m_bUpdating = false;
    }
    const std::uint16_t word = ComposeWord();
    double hue = 0, sat = 0, lum = 0;
    SNESToHLS(word, &hue, &sat, &lum);
    SetHLS(hue, lum, sat);
    Publish(word);
    WriteFields(word, edited);
}

void CEditColorDlg::OnChangeHLS(QLineEdit* edited)
{
    if (m_bUpdating)
        return;
    const qint64 value = ReadField(edited);
    if (value < 0 || value > kHLSMax) {
        m_bUpdating = true;
        WriteField(edited, kHLSMax);
        m_bUpdating = false;
    }
    const auto field = [](const QLineEdit* edit) {
        return FieldToHLS(int(std::clamp<qint64>(ReadField(edit), 0, kHLSMax)));
    };
    const double hue = field(m_editHue), lum = field(m_editLum), sat = field(m_editSat);
    SetHLS(hue, lum, sat);
    const std::uint16_t word = HLSToSNES(hue, lum, sat);
    Publish(word);
    WriteFields(word, edited);
}

void CEditColorDlg::OnChangeRed()
{
    OnChangeComponent(m_editRed);
}

void CEditColorDlg::OnChangeGreen()
{
    OnChangeComponent(m_editGreen);
}

void CEditColorDlg::OnChangeBlue()
{
    OnChangeComponent(m_editBlue);
}

void CEditColorDlg::OnChangeHue()
{
    OnChangeHLS(m_editHue);
}

void CEditColorDlg::OnChangeSat()
{
    OnChangeHLS(m_editSat);
}

void CEditColorDlg::OnChangeLum()
{
    OnChangeHLS(m_editLum);
}

void CEditColorDlg::accept()
{
    m_wColor = ComposeWord();
    QDialog::accept();
}
