#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

// The menu bar's geometry as plain functions over the buttons' sizes and flags, so that it can
// be worked out (and checked) without a widget.
namespace MenuBarLayout {

// Style bits of a bar button.
inline constexpr std::uint8_t kStyleHit = 0x01;  // can be hit and navigated to
inline constexpr std::uint8_t kStyleWrap = 0x02; // may end a row

// State bits of a bar button.
inline constexpr std::uint8_t kStateHot = 0x01;
inline constexpr std::uint8_t kStatePressed = 0x02;
inline constexpr std::uint8_t kStateHorz = 0x04; // laid out horizontally
inline constexpr std::uint8_t kStateHidden = 0x08;
inline constexpr std::uint8_t kStateWrap = 0x10;     // ends a row
inline constexpr std::uint8_t kStateInactive = 0x20; // the frame is inactive

// Blank space around the buttons, and the gripper's depth on the leading side.
inline constexpr int kBorderLeft = 2;
inline constexpr int kBorderTop = 2;
inline constexpr int kBorderRight = 3;
inline constexpr int kBorderBottom = 2;
inline constexpr int kGripper = 7;
// Text width plus this is a button's length.
inline constexpr int kTextPadding = 10;
// The first character of vertical text starts this far below the button's top.
inline constexpr int kVertTextOffset = 5;

// One button as the layout sees it.
struct CItemBox
{
    QSize sizeHorz; // the size laid out horizontally
    std::uint8_t nStyle = kStyleHit | kStyleWrap;
    std::uint8_t nState = 0;

    bool IsHidden() const { return nState & kStateHidden; }
    // Hidden buttons take no room.
    QSize Size() const { return IsHidden() ? QSize(0, 0) : sizeHorz; }
};

// Font-derived heights of the bar.
struct CMenuMetrics
{
    int nFontHeight = 0;
    int nButtonHeight = 0;
    int nTextMargin = 0; // between the text and the button's edges, across the text
};

// The button height is the menu row's height, or the small-icon height when that is larger.
CMenuMetrics MenuMetrics(int nFontHeight, int nMenuHeight, int nSmallIconHeight);

// Marks the buttons that end a row when wrapped to nWidth; the last button is never marked.
// Returns the number of rows.
int WrapMenuBar(std::span<CItemBox> items, int nWidth);

// The size of the wrapped buttons laid out horizontally.
QSize CalcSize(std::span<const CItemBox> items);

// Each button's rectangle from origin: in rows as wrapped, or one below the other with its
// size turned a quarter when vertical.
std::vector<QRect> Place(std::span<const CItemBox> items, const QPoint& origin, bool bHorizontal);

// The size of the buttons stacked vertically: one button height wide.
QSize CalcVertSize(std::span<const CItemBox> items, int nButtonHeight);

// Space taken around the buttons: borders, and the gripper on the leading side.
struct CInsets
{
    int nLeft = 0;
    int nTop = 0;
    int nRight = 0;
    int nBottom = 0;
};
CInsets BarInsets(bool bHorizontal, bool bGripper);

// The next (or previous) button that can be hit and is not hidden, wrapping round the ends;
// -1 when there is none. nFrom may be -1.
int NextItem(std::span<const CItemBox> items, int nFrom, bool bForward);

// Where a popup of size popupSize opens for a button at button (global coordinates): below it
// on a horizontal bar, at its right on a vertical one, kept on the screen by opening above or
// to the left when it does not fit. An invalid screen keeps the popup at the button.
QPoint PopupPosition(const QRect& button, bool bHorizontal, const QSize& popupSize,
                     const QRect& screen);

// The character a button's text underlines: the one after the first single "&" ("&&" is a
// literal ampersand); a null character when there is none.
QChar AccessKey(const QString& text);

// The text as shown: the access key's "&" removed and "&&" shown as "&".
QString DisplayText(const QString& text);

// Where the access-key underline runs along vertical text, measured from the button's top;
// {0, 0} without an access key. Widths are of shown text.
struct CUnderlineSpan
{
    int nStart = 0;
    int nEnd = 0;
};
CUnderlineSpan UnderlineSpan(const QString& text, const std::function<int(const QString&)>& width);

} // namespace MenuBarLayout
