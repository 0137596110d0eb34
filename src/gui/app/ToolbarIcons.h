#pragma once

#include <QIcon>
#include <QPixmap>

// The toolbar pictures (16 x 15 pixels) and the application icon, drawn for this program.
namespace ToolbarIcons {

constexpr int kWidth = 16;
constexpr int kHeight = 15;

// The picture of a toolbar command; a null pixmap for a command without one.
QPixmap Picture(int nCommandId);
// The installed application icon, in every size it is drawn at up to nLargest pixels;
// the sizes that smaller (an earlier, smaller one) holds are taken from it.
QIcon ApplicationIcon(int nLargest = 256, const QIcon& smaller = QIcon());
// The application icon at the given whole multiple of its size, pixels kept square.
QPixmap ApplicationPicture(int nScale);

} // namespace ToolbarIcons
