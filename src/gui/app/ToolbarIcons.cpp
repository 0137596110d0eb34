#include "ToolbarIcons.h"

#include "CommandTable.h"
#include "LazyIconEngine.h"

#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QTransform>

#include <array>
#include <string_view>

namespace {

using namespace ToolbarIcons;

// One string per row, top row first: ' ' transparent, the other letters as in ColorOf.
using PictureArt = std::array<const char*, kHeight>;

constexpr std::string_view kInks = " #wkgrynbGc";

QRgb ColorOf(char ink)
{
    switch (ink) {
    case '#':
        return qRgb(0, 0, 0);
    case 'w':
        return qRgb(255, 255, 255);
    case 'k':
        return qRgb(96, 96, 96);
    case 'g':
        return qRgb(192, 192, 192);
    case 'r':
        return qRgb(200, 32, 32);
    case 'y':
        return qRgb(248, 216, 72);
    case 'n':
        return qRgb(160, 104, 40);
    case 'b':
        return qRgb(40, 88, 208);
    case 'G':
        return qRgb(48, 160, 64);
    case 'c':
        return qRgb(136, 200, 240);
    default:
        return qRgba(0, 0, 0, 0);
    }
}

constexpr bool IsPictureArt(const PictureArt& art)
{
    for (const char* row : art) {
        const std::string_view text(row);
        if (text.size() != kWidth || text.find_first_not_of(kInks) != std::string_view::npos)
            return false;
    }
    return true;
}

// Art that is turned a quarter keeps its last column empty, so that nothing is cut off.
constexpr bool IsTurnableArt(const PictureArt& art)
{
    for (const char* row : art) {
        if (row[kWidth - 1] != ' ')
            return false;
    }
    return IsPictureArt(art);
}

// clang-format off
constexpr PictureArt kOpen = {
    "                ",
    "                ",
    " ####           ",
    "#yyyy#          ",
    "#yyyyy#######   ",
    "#yyyyyyyyyyyy#  ",
    "#yy###########  ",
    "#y#nnnnnnnnnnn# ",
    "#y#nnnnnnnnnnn# ",
    "##nnnnnnnnnnn#  ",
    "##nnnnnnnnnnn#  ",
    "#nnnnnnnnnnn#   ",
    "#############   ",
    "                ",
    "                ",
};
static_assert(IsPictureArt(kOpen));

constexpr PictureArt kSave = {
    "                ",
    " ############## ",
    " #k#wwwwwwww#k# ",
    " #k#wwwwwwww#k# ",
    " #k#wwwwwwww#k# ",
    " #k#wwwwwwww#k# ",
    " #kk########kk# ",
    " #kkkkkkkkkkkk# ",
    " #kkk######kkk# ",
    " #kkk#gg#g#kkk# ",
    " #kkk#gg#g#kkk# ",
    " #kkk#gg#g#kkk# ",
    "  ############  ",
    "                ",
    "                ",
};
static_assert(IsPictureArt(kSave));

constexpr PictureArt kAbout = {
    "                ",
    "     ######     ",
    "   ##bbbbbb##   ",
    "  #bbbwwwwbbb#  ",
    "  #bbwwbbwwbb#  ",
    " #bbbbbbbwwbbb# ",
    " #bbbbbbwwbbbb# ",
    " #bbbbbwwbbbbb# ",
    " #bbbbbwwbbbbb# ",
    "  #bbbbbbbbbb#  ",
    "  #bbbbwwbbbb#  ",
    "   ##bbwwbb##   ",
    "     ######     ",
    "                ",
    "                ",
};
static_assert(IsPictureArt(kAbout));

constexpr PictureArt kTileCopy = {
    "                ",
    "#########       ",
    "#wwwwwww#       ",
    "#wrrwwbw#       ",
    "#wrr#########   ",
    "#www#wwwwwww#   ",
    "#www#wrrwwbw#   ",
    "#www#wrrwwbw#   ",
    "#####wwwwbbw#   ",
    "    #wwwwbbw#   ",
    "    #wwwwwww#   ",
    "    #########   ",
    "                ",
    "                ",
    "                ",
};
static_assert(IsPictureArt(kTileCopy));

constexpr PictureArt kTilePaste = {
    "                ",
    "    ##kk##      ",
    " ###k#ww#k###   ",
    " #nn#kkkk#nn#   ",
    " #nnnnnnnnnn#   ",
    " #nnn#########  ",
    " #nnn#wwwwwww#  ",
    " #nnn#wrrwwbw#  ",
    " #nnn#wrrwwbw#  ",
    " #nnn#wwwwbbw#  ",
    " #nnn#wwwwbbw#  ",
    " #####wwwwwww#  ",
    "     #########  ",
    "                ",
    "                ",
};
static_assert(IsPictureArt(kTilePaste));

constexpr PictureArt kTileFill = {
    "                ",
    " ############## ",
    " #rrrrrrrrrrrr# ",
    " #rrrrrrrrrrrr# ",
    " #rrrrrrrrrrrr# ",
    " #rrrrrrrrrrrr# ",
    " #rrrrrrrrrrrr# ",
    " #rrrrrrrrrrrr# ",
    " #rrrrrrrrrrrr# ",
    " #rrrrrrrrrrrr# ",
    " #rrrrrrrrrrrr# ",
    " #rrrrrrrrrrrr# ",
    " ############## ",
    "                ",
    "                ",
};
static_assert(IsPictureArt(kTileFill));

constexpr PictureArt kPaint = {
    "            ### ",
    "           #rrr#",
    "          #yrrr#",
    "         #yyyr# ",
    "        #yyyy#  ",
    "       #yyyy#   ",
    "      #yyyy#    ",
    "     #yyyy#     ",
    "    #yyyy#      ",
    "   #yyyy#       ",
    "  #nyyy#        ",
    "  #nnn#         ",
    " #nn##          ",
    " ###            ",
    "                ",
};
static_assert(IsPictureArt(kPaint));

constexpr PictureArt kDropper = {
    "           ###  ",
    "          ##### ",
    "          ##### ",
    "        ####### ",
    "         #####  ",
    "        #c# #   ",
    "       #c#      ",
    "      #c#       ",
    "     #c#        ",
    "    #c#         ",
    "   #b#          ",
    "  #b#           ",
    "  ##            ",
    " b              ",
    "                ",
};
static_assert(IsPictureArt(kDropper));

constexpr PictureArt kFillMode = {
    "                ",
    "      #         ",
    "     #w#        ",
    "    #www#       ",
    "   #wwwww#      ",
    "  #wwwwwww#     ",
    " #bwwwwwww#b    ",
    "#bbbwwwww#bbb   ",
    " #bbbwww# bbb   ",
    "  #bbbw#  bbb   ",
    "   #bb#   bbb   ",
    "    ##     b    ",
    "                ",
    "                ",
    "                ",
};
static_assert(IsPictureArt(kFillMode));

constexpr PictureArt kShiftLeft = {
    "                ",
    "                ",
    "                ",
    "     #          ",
    "    ##          ",
    "   #G#########  ",
    "  #GGGGGGGGGGG# ",
    " #GGGGGGGGGGGG# ",
    "  #GGGGGGGGGGG# ",
    "   #G#########  ",
    "    ##          ",
    "     #          ",
    "                ",
    "                ",
    "                ",
};
static_assert(IsTurnableArt(kShiftLeft));

constexpr PictureArt kFlipHorz = {
    "       #        ",
    "                ",
    "      b##       ",
    "     bb ##      ",
    "    bbb## #     ",
    "   bbbb #  #    ",
    "  bbbbb##   #   ",
    " bbbbbb #    #  ",
    "  bbbbb##   #   ",
    "   bbbb #  #    ",
    "    bbb## #     ",
    "     bb ##      ",
    "      b##       ",
    "                ",
    "       #        ",
};
static_assert(IsTurnableArt(kFlipHorz));

constexpr PictureArt kRotateLeft = {
    "                ",
    "      bbbbb     ",
    "    bb     bb   ",
    "   b         b  ",
    "  b           b ",
    "  b           b ",
    "#####         b ",
    " ###          b ",
    "  #           b ",
    "              b ",
    "             b  ",
    "           bb   ",
    "      bbbbb     ",
    "                ",
    "                ",
};
static_assert(IsPictureArt(kRotateLeft));

constexpr PictureArt kUndo = {
    "                ",
    "                ",
    "    #           ",
    "   ##           ",
    "  #b#######     ",
    " #bbbbbbbbb##   ",
    "#bbbbbbbbbbbb#  ",
    " #bbbbbbbbbbbb# ",
    "  #b#######bbb# ",
    "   ##      #bb# ",
    "    #      #bb# ",
    "          #bb#  ",
    "         #bb#   ",
    "         ###    ",
    "                ",
};
static_assert(IsPictureArt(kUndo));

constexpr PictureArt kApplication = {
    "                ",
    "   #       #    ",
    "  #G#     #G#   ",
    "  #GG#####GG#   ",
    "  #GGGGGGGGG#   ",
    " #GGwwGGGwwGG#  ",
    " #GGw#GGGw#GG#  ",
    " #GGGGGGGGGGG#  ",
    " #GG#######GG#  ",
    " #GG#w#w#w#GG#  ",
    " #GGG#####GGG#  ",
    "  #GGGGGGGGG#   ",
    "   #########    ",
    "                ",
    "                ",
};
static_assert(IsPictureArt(kApplication));
// clang-format on

QImage MakeImage(const PictureArt& art)
{
    QImage image(kWidth, kHeight, QImage::Format_ARGB32);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x)
            image.setPixel(x, y, ColorOf(art[y][x]));
    }
    return image;
}

// A quarter turn clockwise, back on a kWidth x kHeight canvas: left becomes up.
QImage TurnedClockwise(const PictureArt& art)
{
    const QImage turned = MakeImage(art).transformed(QTransform().rotate(90));
    return turned.copy(0, 0, kWidth, kHeight);
}

QImage PictureImage(int nCommandId)
{
    switch (nCommandId) {
    case ID_FILE_OPEN:
        return MakeImage(kOpen);
    case ID_FILE_SAVE:
        return MakeImage(kSave);
    case ID_APP_ABOUT:
        return MakeImage(kAbout);
    case ID_TILE_COPY:
        return MakeImage(kTileCopy);
    case ID_TILE_PASTE:
        return MakeImage(kTilePaste);
    case ID_TILE_FILL:
        return MakeImage(kTileFill);
    case ID_MODE_PAINT:
        return MakeImage(kPaint);
    case ID_MODE_DROPPER:
        return MakeImage(kDropper);
    case ID_MODE_FILL:
        return MakeImage(kFillMode);
    case ID_SHIFT_LEFT:
        return MakeImage(kShiftLeft);
    case ID_SHIFT_RIGHT:
        return MakeImage(kShiftLeft).mirrored(true, false);
    case ID_SHIFT_UP:
        return TurnedClockwise(kShiftLeft);
    case ID_SHIFT_DOWN:
        return TurnedClockwise(kShiftLeft).mirrored(false, true);
    case ID_FLIP_HORZ:
        return MakeImage(kFlipHorz);
    case ID_FLIP_VERT:
        return TurnedClockwise(kFlipHorz);
    case ID_ROTATE_LEFT:
        return MakeImage(kRotateLeft);
    case ID_ROTATE_RIGHT:
        return MakeImage(kRotateLeft).mirrored(true, false);
    case ID_EDIT_UNDO:
        return MakeImage(kUndo);
    case ID_EDIT_REDO:
        return MakeImage(kUndo).mirrored(true, false);
    default:
        return {};
    }
}

// Our own PNG files, read by the built-in decoder alone: asking the image plugins
// whether they know the format loads every one of them (and their libraries).
QImage ReadPng(const QString& path)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

} // namespace

// The icon's resource lives in a static library, whose initializer nothing else would pull in.
static void InitResources()
{
    Q_INIT_RESOURCE(glyphox);
}

namespace ToolbarIcons {

QPixmap Picture(int nCommandId)
{
    const QImage image = PictureImage(nCommandId);
    return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}

QPixmap ApplicationPicture(int nScale)
{
    const QImage image = MakeImage(kApplication);
    return QPixmap::fromImage(image.scaled(image.size() * nScale));
}

QIcon ApplicationIcon(int nLargest, const QIcon& smaller)
{
    InitResources();
    static constexpr int kSizes[] = {16, 32, 48, 64, 128, 256};
    QList<QSize> sizes;
    for (int nSize : kSizes)
        if (nSize <= nLargest)
            sizes.append(QSize(nSize, nSize));
    // The files are read once a platform or a dialog draws the icon; the sizes smaller
    // already holds are taken from it.
    return QIcon(new CLazyIconEngine(
        [sizes, smaller] {
            const QList<QSize> held = smaller.availableSizes();
            QIcon icon;
            for (const QSize size : sizes) {
                if (held.contains(size))
                    icon.addPixmap(smaller.pixmap(size, 1.0));
                else
                    icon.addPixmap(QPixmap::fromImage(
                        ReadPng(QStringLiteral(":/icons/hicolor/%1x%1/apps/org.glyphox.Glyphox.png")
                                    .arg(size.width()))));
            }
            return icon;
        },
        sizes));
}

} // namespace ToolbarIcons
