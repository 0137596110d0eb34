#include "EditorCursors.h"

#include <QBitmap>
#include <QImage>

#include <array>
#include <string_view>

namespace {

constexpr int kSide = 32;

// The cursor images as they are drawn: '#' black, '.' white, ' ' transparent; one string
// per row, top row first.
using CursorArt = std::array<const char*, kSide>;

constexpr bool IsCursorArt(const CursorArt& art)
{
    for (const char* row : art) {
        const std::string_view text(row);
        if (text.size() != kSide || text.find_first_not_of("#. ") != std::string_view::npos)
            return false;
    }
    return true;
}

// clang-format off
// Pencil, point at lower left; hot spot 11, 20.
constexpr CursorArt kPencil = {
    "                          .     ",
    "                         .#.    ",
    "                        .#.#.   ",
    "                       .#...#.  ",
    "                      .##....#. ",
    "                     .#.##....#.",
    "                    .#...##..#. ",
    "                   .#.....###.  ",
    "                  .#.......#.   ",
    "                 .#.......#.    ",
    "                .#.......#.     ",
    "               .#.......#.      ",
    "              .#.......#.       ",
    "             .#.......#.        ",
    "            .#.......#.         ",
    "           .#.......#.          ",
    "          .#.......#.           ",
    "          .##.....#.            ",
    "          .#.#...#.             ",
    "          .##.#.#.              ",
    "          .#####.               ",
    "           .....                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
};
static_assert(IsCursorArt(kPencil));

// Paint bucket pouring to the right; hot spot 22, 23, the tip of the drip.
constexpr CursorArt kBucket = {
    "                                ",
    "                                ",
    "                                ",
    "                  ..            ",
    "               ...##...         ",
    "              .###..###.        ",
    "               ...  ..##.       ",
    "              .#.     .##.      ",
    "             .###.     .#.      ",
    "             .####.    .#.      ",
    "            .#.####.    .#.     ",
    "           .#...####.   .#.     ",
    "          .#.....####. .#.      ",
    "          .#......####..#.      ",
    "         .#........####.#.      ",
    "        .#..........####.       ",
    "       .#..........#.###.       ",
    "      .#..........#..###.       ",
    "       .#.......##.  .##.       ",
    "        .#.....#..   .##.       ",
    "         .#...#.    .###.       ",
    "          .#.#.     .###.       ",
    "           .#.      .###.       ",
    "            .        .#.        ",
    "                      .         ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
};
static_assert(IsCursorArt(kBucket));

// Eyedropper, tip at lower left; hot spot 7, 23.
constexpr CursorArt kDropper = {
    "                                ",
    "                                ",
    "                       ....     ",
    "                      .####.    ",
    "                     .######.   ",
    "                    .#######.   ",
    "                  ..########.   ",
    "                 .##########.   ",
    "                .##########.    ",
    "                 .########.     ",
    "                .#.######.      ",
    "               .#...####.       ",
    "              .#.....###.       ",
    "             .#.....#.#.        ",
    "            .#.....#. .         ",
    "           .#.....#.            ",
    "          .#.....#.             ",
    "         .#.....#.              ",
    "        .#.....#.               ",
    "        .#....#.                ",
    "        .#...#.                 ",
    "       .#.###.                  ",
    "      .###...                   ",
    "      .##.                      ",
    "       ..                       ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
};
static_assert(IsCursorArt(kDropper));
// clang-format on

QCursor MakeCursor(const CursorArt& art, int hotX, int hotY)
{
    // Index 1 is black in the bitmap and opaque in the mask.
    QImage bits(kSide, kSide, QImage::Format_Mono);
    bits.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    bits.fill(0);
    QImage mask = bits;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            bits.setPixel(x, y, art[y][x] == '#');
            mask.setPixel(x, y, art[y][x] != ' ');
        }
    }
    return QCursor(QBitmap::fromImage(bits), QBitmap::fromImage(mask), hotX, hotY);
}

} // namespace

CEditorCursors::CEditorCursors()
    : m_paint(MakeCursor(kPencil, 11, 20)), m_fill(MakeCursor(kBucket, 22, 23)),
      m_dropper(MakeCursor(kDropper, 7, 23))
{
}
