#pragma once

#include <QChar>
#include <QHash>
#include <QPixmap>
#include <QSize>
#include <QString>

class CXPMenuItem;
struct CSysColors;
class QFont;
class QMenu;
class QPainter;
class QRect;
class QWidget;

// The flat popup menus: each popup is prepared just before it opens, then its items are
// measured and painted by the menu style through these functions.
namespace XPMenu {

// MenuChar's answer: execute the item whose position is in the low word.
constexpr int MNC_EXECUTE = 2;

// Sizes shared by every item of a popup, worked out by PrepareMenu.
struct ItemMetrics
{
    int nItemHeight = 0;
    int nSeparatorHeight = 0;
    int nLabelWidth = 0;    // widest label, first "&" removed
    int nShortcutWidth = 0; // widest shortcut text

    bool operator==(const ItemMetrics&) const = default;
};

// Program-wide maps from a command id to the item's text ("label\tshortcut") and to the
// picture of the first toolbar button with that command. They only grow.
QHash<int, QString>& ItemTexts();
QHash<int, QPixmap>& ItemImages();

// Converts the popup's items that are new or whose text changed since (storing their text
// and looking up their picture in the toolbars of owner's frame), then measures them all.
void PrepareMenu(QMenu* popup, QWidget* owner);

// The popup's metrics as PrepareMenu stored them; measured afresh if it never ran.
ItemMetrics Metrics(const QMenu* popup);
// Every item of a popup is L + S + 42 pixels wide; a separator is lower than an item.
QSize MeasureItem(const QMenu* popup, bool bSeparator);

// Paints one item over rect, which starts at the popup's client left edge.
void DrawItem(QPainter* painter, const CXPMenuItem& item, const QRect& rect, bool bSelected,
              const CSysColors& colors, const QFont& font);
// The background of the space no item covers, in the item columns' colours.
void DrawBackground(QPainter* painter, const QRect& rect, int nItemLeft, const CSysColors& colors);

// Whether the popup's first item has been converted.
bool IsOwnerDrawn(const QMenu* popup);
// The first visible item whose "&" mnemonic is the typed character (either case):
// MNC_EXECUTE in the high word and the item's position in the low word; 0 for no match.
int MenuChar(const QMenu* popup, QChar character);

} // namespace XPMenu
