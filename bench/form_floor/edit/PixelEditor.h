#pragma once

// The form floor's stand-in: the pixel editor's place in the form, as a plain widget.
#include <QWidget>

class CPixelEditor : public QWidget
{
public:
    using QWidget::QWidget;
};
