#pragma once

#include <QColor>
#include <QPixmap>
#include <QPoint>
#include <QRect>

class QPainter;
struct CSysColors;

// Drawing shared by the flat menus, toolbars and menu bar.
namespace XPDraw {

// The bar's gripper: a 3-pixel strip 4 pixels in from the leading edge of rect, inset 6 at
// both ends, striped in rows (a bar laid out horizontally) or columns (vertically). The
// stripes keep to the painter's coordinates: even rows or columns in the face colour, odd
// ones in the text colour.
void DrawGripper(QPainter* painter, const QRect& rect, bool bHorizontal, const QColor& text,
                 const QColor& face);

// A picture as a one-colour silhouette: every pixel that is not transparent, in colour.
void DrawSilhouette(QPainter* painter, const QPoint& topLeft, const QPixmap& picture,
                    const QColor& color);

// A toolbar or menu picture. In a dark palette its dark ink would vanish into the dark
// background, so a light outline is drawn around it first.
void DrawPicture(QPainter* painter, const QPoint& topLeft, const QPixmap& picture,
                 const CSysColors& colors);

} // namespace XPDraw
