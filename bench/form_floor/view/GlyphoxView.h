#pragma once

// The form floor's stand-in: the tile list as a stock QListWidget.
#include <QListWidget>

class CTileList : public QListWidget
{
public:
    using QListWidget::QListWidget;
};
