#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class AboutBox;
}

// The about box: icon, version, credits and the links to the authors' mail and web page; OK or
// Escape closes it.
class CAboutBox : public QDialog
{
    Q_OBJECT

public:
    explicit CAboutBox(QWidget* parent = nullptr);
    ~CAboutBox() override;

private:
    std::unique_ptr<Ui::AboutBox> m_ui;
};
