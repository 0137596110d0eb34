#pragma once

// The form floor's stand-in: the palette control's place in the form, as a plain widget.
#include <QWidget>

class CPaletteCtrl : public QWidget
{
public:
    using QWidget::QWidget;
};
