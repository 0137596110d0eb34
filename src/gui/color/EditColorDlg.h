#pragma once

#include <QDialog>

#include <cstdint>
#include <memory>

class CColorSwatch;
class CColorWheel;
class CLumBar;
class QLineEdit;
namespace Ui {
class EditColorDlg;
}

// "Edit Color": one SNES colour word shown and edited as hue, saturation and luminance
// (fields 0..30, wheel and bar) and as red, green and blue (fields 0..31). Every change
// is carried to all the other views at once. The caller sets m_wColor, runs exec() and,
// on Accepted, reads the new word from m_wColor (bit 15 always clear).
class CEditColorDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CEditColorDlg(QWidget* parent = nullptr);
    ~CEditColorDlg() override;

    // Loads m_wColor into the controls; runs when the dialog is first shown.
    void OnInitDialog();

    // Composes m_wColor from the RGB fields and closes with Accepted.
    void accept() override;

    QLineEdit* m_editLum = nullptr;
    QLineEdit* m_editSat = nullptr;
    QLineEdit* m_editHue = nullptr;
    QLineEdit* m_editBlue = nullptr;
    QLineEdit* m_editGreen = nullptr;
    QLineEdit* m_editRed = nullptr;
    CColorSwatch* m_swatchOrig = nullptr;
    CColorSwatch* m_swatchNew = nullptr;
    CColorWheel* m_wheel = nullptr;
    CLumBar* m_lumBar = nullptr;
    std::uint16_t m_wColor = 0;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnClickedWheel();
    void OnClickedLumBar();
    void OnChangeRed();
    void OnChangeGreen();
    void OnChangeBlue();
    void OnChangeHue();
    void OnChangeSat();
    void OnChangeLum();

    // The form holds the template's positions in dialog units; this maps them to pixels
    // with the dialog font's base units, once.
    void MapDialogUnits();
    // What the three RGB handlers share; edited is the field the user changed.
    void OnChangeComponent(QLineEdit* edited);
    // What the three HLS handlers share.
    void OnChangeHLS(QLineEdit* edited);
    void SetHLS(double hue, double lum, double sat);
    void Publish(std::uint16_t word);
    // Writes the fields other than the one being edited (null: all of them) from a word and
    // from the wheel's and bar's HLS state.
    void WriteFields(std::uint16_t word, const QLineEdit* edited);
    std::uint16_t ComposeWord() const;

    std::unique_ptr<Ui::EditColorDlg> m_ui;
    bool m_bUpdating = false;
    bool m_bInitialized = false;
};
