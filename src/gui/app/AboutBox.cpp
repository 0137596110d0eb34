#include "AboutBox.h"

#include "LinkLabel.h"
#include "ToolbarIcons.h"
#include "ui_AboutBox.h"

namespace {

const QString kAuthorName = QStringLiteral("The Glyphox team");
const QString kAuthorMail = QStringLiteral("glyphox@example.org");

} // namespace

CAboutBox::CAboutBox(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::AboutBox>())
{
    m_ui->setupUi(this);
    m_ui->m_labelIcon->setPixmap(ToolbarIcons::ApplicationPicture(2));

    m_ui->m_linkWeb->Attach();
    m_ui->m_linkMail->Attach();
    m_ui->m_linkMail->SetTarget(QStringLiteral("mailto:\"%1\" <%2>").arg(kAuthorName, kAuthorMail));
    m_ui->m_linkWeb->SetTarget(m_ui->m_linkWeb->text());
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_ui->m_buttonOk, &QPushButton::clicked, this, &QDialog::accept);
}

CAboutBox::~CAboutBox() = default;
