#include "AboutBox.h"

#include "ToolbarIcons.h"
#include "ui_AboutBox.h"

CAboutBox::CAboutBox(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::AboutBox>())
{
    m_ui->setupUi(this);
    m_ui->m_labelIcon->setPixmap(ToolbarIcons::ApplicationPicture(2));
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_ui->m_buttonOk, &QPushButton::clicked, this, &QDialog::accept);
}

CAboutBox::~CAboutBox() = default;
