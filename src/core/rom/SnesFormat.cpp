#include "SnesFormat.h"

#include <array>
#include <bit>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define GLYPHOX_TILE_SIMD 1
#else
#define GLYPHOX_TILE_SIMD 0
#endif

// Pixel values are stored as little-endian words: blue, green, red, 0.
static_assert(std::endian::native == std::endian::little);

namespace {

constexpr std::array<std::uint8_t, 256> MakeBitReverse()
{
    std::array<std::uint8_t, 256> table{};
    for (int value = 0; value < 256; ++value) {
        int reversed = 0;
        for (int bit = 0; bit < 8; ++bit)
            reversed |= ((value >> bit) & 1) << (7 - bit);
        table[value] = static_cast<std::uint8_t>(reversed);
    }
    return table;
}

constexpr std::array<std::uint8_t, 256> kBitReverse = MakeBitReverse();

} // namespace

void ReadPalette(const std::uint8_t* bytes, std::uint16_t palette[PALETTE_COLORS])
{
    for (int i = 0; i < PALETTE_COLORS; ++i)
        palette[i] = ReadColorWord(bytes + 2 * i);
}

void MakeSpritePixels(const std::uint16_t palette[PALETTE_COLORS],
                      std::uint32_t pixels[PALETTE_COLORS])
{
    for (int i = 0; i < PALETTE_COLORS; ++i)
        pixels[i] = SnesToPixel(palette[i]);
    pixels[0] = KEY_GREY;
}

void DecodeTile(const std::uint8_t* tile, std::uint8_t pixels[TILE_PIXELS])
{
    for (int y = 0; y < TILE_SIZE; ++y) {
        const std::uint64_t row = DecodeTileRow(tile, y);
        for (int column = 0; column < TILE_SIZE; ++column)
            pixels[8 * y + column] = static_cast<std::uint8_t>(row >> (8 * column)) & 0x0F;
    }
}

void EncodeTile(const std::uint8_t pixels[TILE_PIXELS], std::uint8_t* tile)
{
    std::memset(tile, 0, TILE_BYTES);
    for (int y = 0; y < TILE_SIZE; ++y) {
        for (int bit = 0; bit < 8; ++bit) {
            const int v = pixels[8 * y + 7 - bit];
            tile[2 * y] |= static_cast<std::uint8_t>((v & 1) << bit);
            tile[2 * y + 1] |= static_cast<std::uint8_t>(((v >> 1) & 1) << bit);
            tile[16 + 2 * y] |= static_cast<std::uint8_t>(((v >> 2) & 1) << bit);
            tile[17 + 2 * y] |= static_cast<std::uint8_t>(((v >> 3) & 1) << bit);
        }
    }
}

namespace {

// Pixels are stored one by one, straight into the buffer. At 3 bytes per pixel
// each 4-byte store's spare byte is overwritten by the next pixel, and the last
// pixel of the row is stored in exactly 3 bytes.
template <int BytesPerPixel>
void DrawTileRows(const std::uint8_t* tile, const std::uint32_t pixels[PALETTE_COLORS],
                  std::uint8_t* line, std::size_t stride)
{
    for (int y = 0; y < TILE_SIZE; ++y, line += stride) {
        const std::uint64_t indices = DecodeTileRow(tile, y);
        std::uint8_t index[TILE_SIZE]; // one byte per column, each 0..15
        std::memcpy(index, &indices, sizeof index);
        for (int c = 0; c < TILE_SIZE - 1; ++c)
            std::memcpy(line + BytesPerPixel * c, &pixels[index[c]], 4);
        const std::uint32_t last = pixels[index[TILE_SIZE - 1]];
        StorePixel(line + BytesPerPixel * (TILE_SIZE - 1), last, BytesPerPixel);
    }
}

#if GLYPHOX_TILE_SIMD

// The palette as three 16-byte tables (blue, green, red of each index) in both
// halves, so one byte shuffle looks up a component for 32 pixels at once.
struct SComponentTables
{
    __m256i blue, green, red;
};

// From pixel values (blue, green, red, 0): within each half the four pixels'
// bytes are gathered by component, the halves' dwords interleaved, and each
// component's four dwords put in index order, in both halves.
[[gnu::target("avx2")]] SComponentTables ComponentTables(const std::uint32_t* pixels)
{
    const __m256i gather = _mm256_setr_epi8(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 0,
                                            4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15);
    const __m256i first =
        _mm256_shuffle_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixels)), gather);
    const __m256i second = _mm256_shuffle_epi8(
        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixels + 8)), gather);
    // Dwords: blue 0-3, blue 8-11, green 0-3, green 8-11 | blue 4-7, blue 12-15, ...
    const __m256i blueGreen = _mm256_unpacklo_epi32(first, second);
    const __m256i red = _mm256_unpackhi_epi32(first, second);
    const __m256i order = _mm256_setr_epi32(0, 4, 1, 5, 0, 4, 1, 5);
    const __m256i then = _mm256_setr_epi32(2, 6, 3, 7, 2, 6, 3, 7);
    return {_mm256_permutevar8x32_epi32(blueGreen, order),
            _mm256_permutevar8x32_epi32(blueGreen, then), _mm256_permutevar8x32_epi32(red, order)};
}

// Straight from colour words, as MakeSpritePixels converts them: each component's
// 5 bits moved to bits 3..7 of a byte, index 0 the key grey. After the packs each
// half holds 8 bytes of one component then 8 of another (words 0-7 low, 8-15
// high); a qword permutation joins each component's two halves, in both halves.
[[gnu::target("avx2")]] SComponentTables ComponentTables(const std::uint16_t* palette)
{
    const __m256i words = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(palette));
    const __m256i top5 = _mm256_set1_epi16(0xF8);
    const __m256i blue = _mm256_and_si256(_mm256_srli_epi16(words, 7), top5);
    const __m256i green = _mm256_and_si256(_mm256_srli_epi16(words, 2), top5);
    const __m256i red = _mm256_and_si256(_mm256_slli_epi16(words, 3), top5);
    const __m256i keyAt0 = _mm256_setr_epi64x(0xFF, 0xFF, 0, 0);
    const __m256i key = _mm256_set1_epi8(0x7F);
    const __m256i blueGreen = _mm256_blendv_epi8(_mm256_packus_epi16(blue, green), key, keyAt0);
    const __m256i redRed = _mm256_blendv_epi8(_mm256_packus_epi16(red, red), key, keyAt0);
    return {_mm256_permute4x64_epi64(blueGreen, 0x88), _mm256_permute4x64_epi64(blueGreen, 0xDD),
            _mm256_permute4x64_epi64(redRed, 0x88)};
}

// Colour indices of a tile, one byte per pixel: rows 0, 1 | 2, 3 in the halves of
// the first register, rows 4, 5 | 6, 7 in those of the second.
struct STileIndices
{
    __m256i rows[2];
};

// -1 in the lanes of the columns whose bit is set in their row's byte of one plane,
// 0 in the others.
[[gnu::target("avx2")]] __m256i PlaneMask(__m256i planes, __m256i spread)
{
    const __m256i bits = _mm256_set1_epi64x(0x0102040810204080);
    return _mm256_cmpeq_epi8(_mm256_and_si256(_mm256_shuffle_epi8(planes, spread), bits), bits);
}

// The index so far doubled, plus a plane's bit given as its -1 or 0 mask.
[[gnu::target("avx2")]] __m256i AddPlane(__m256i index, __m256i mask)
{
    return _mm256_sub_epi8(_mm256_add_epi8(index, index), mask);
}

[[gnu::target("avx2")]] __m256i BroadcastPlanes(const std::uint8_t* at)
{
    return _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at)));
}

// Each plane byte spread over its row's eight lanes and tested against that
// column's bit; the index is built from plane 3 down.
[[gnu::target("avx2")]] STileIndices DecodeByMasks(const std::uint8_t* tile)
{
    const __m256i planes01 = BroadcastPlanes(tile);
    const __m256i planes23 = BroadcastPlanes(tile + 16);
    // Plane 0 (and 2) of rows 0, 1 | 2, 3; plane 1 (and 3) one byte further.
    const __m256i spread0 =
        _mm256_setr_epi64x(0, 0x0202020202020202, 0x0404040404040404, 0x0606060606060606);
    STileIndices indices;
    for (int half = 0; half < 2; ++half) {
        const __m256i spread = _mm256_add_epi8(spread0, _mm256_set1_epi8(char(8 * half)));
        const __m256i next = _mm256_add_epi8(spread, _mm256_set1_epi8(1));
        const __m256i plane3 = _mm256_sub_epi8(_mm256_setzero_si256(), PlaneMask(planes23, next));
        const __m256i index23 = AddPlane(plane3, PlaneMask(planes23, spread));
        indices.rows[half] =
            AddPlane(AddPlane(index23, PlaneMask(planes01, next)), PlaneMask(planes01, spread));
    }
    return indices;
}

// A row's four plane bytes are an 8 x 8 bit matrix; the affine transform with it
// of byte 0x80 >> c gathers column c's bit of every plane, plane p in bit p when
// plane p is matrix byte 7 - p. Given rows in order, 4 plane bytes each, one
// shuffle places each row's bytes in its qword reversed, over zeros.
[[gnu::target("avx2,gfni")]] __m256i DecodeMatrices(__m256i rows)
{
    const __m256i place =
        _mm256_setr_epi8(-1, -1, -1, -1, 3, 2, 1, 0, -1, -1, -1, -1, 7, 6, 5, 4, -1, -1, -1, -1, 11,
                         10, 9, 8, -1, -1, -1, -1, 15, 14, 13, 12);
    const __m256i columns = _mm256_set1_epi64x(0x0102040810204080);
    return _mm256_gf2p8affine_epi64_epi8(columns, _mm256_shuffle_epi8(rows, place), 0);
}

// Interleaving the planes' words puts rows 0 to 3 (4 to 7) in order in both halves.
[[gnu::target("avx2,gfni")]] STileIndices DecodeByBitMatrix(const std::uint8_t* tile)
{
    const __m256i planes01 = BroadcastPlanes(tile);
    const __m256i planes23 = BroadcastPlanes(tile + 16);
    return {DecodeMatrices(_mm256_unpacklo_epi16(planes01, planes23)),
            DecodeMatrices(_mm256_unpackhi_epi16(planes01, planes23))};
}

// Rows r (low halves) and r + 2 (high halves) of 8 pixels (blue, green, red, 0
// each), given pixels 0-3 and 4-7 of both.
[[gnu::target("avx2")]] void StoreRows4(std::uint8_t* line, std::size_t stride, __m256i first4,
                                        __m256i last4)
{
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(line),
                        _mm256_permute2x128_si256(first4, last4, 0x20));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(line + 2 * stride),
                        _mm256_permute2x128_si256(first4, last4, 0x31));
}

// Byte k of a 3-byte-per-pixel row is component k % 3 of pixel k / 3. A shuffle
// control (the same in both halves) placing bytes from..from + count - 1 of a row at
// bytes at.. of a half: blue and green from a half holding the row's 8 blue then 8
// green bytes, or red from bytes redAt..redAt + 7 of a half; -1 (zero) elsewhere.
constexpr std::array<std::int8_t, 32> RowControl(int from, int count, int at, bool red,
                                                 int redAt = 0)
{
    std::array<std::int8_t, 32> control{};
    control.fill(-1);
    for (int k = 0; k < count; ++k) {
        const int pixel = (from + k) / 3;
        const int component = (from + k) % 3;
        if (red == (component == 2))
            control[at + k] = control[at + k + 16] =
                static_cast<std::int8_t>(red ? redAt + pixel : component * TILE_SIZE + pixel);
    }
    return control;
}

// Two controls' bytes together, where each places bytes the other leaves at -1.
constexpr std::array<std::int8_t, 32> Joined(std::array<std::int8_t, 32> a,
                                             const std::array<std::int8_t, 32>& b)
{
    for (std::size_t i = 0; i < a.size(); ++i)
        a[i] = a[i] < 0 ? b[i] : a[i];
    return a;
}

constexpr auto kHeadBlueGreen = RowControl(0, 16, 0, false);
constexpr auto kHeadRedLow = RowControl(0, 16, 0, true, 0);
constexpr auto kHeadRedHigh = RowControl(0, 16, 0, true, 8);
// The last 8 bytes of two rows in one half: the first row's, then the second's.
constexpr auto kTailBlueGreenFirst = RowControl(16, 8, 0, false);
constexpr auto kTailBlueGreenSecond = RowControl(16, 8, 8, false);
constexpr auto kTailRed = Joined(RowControl(16, 8, 0, true, 0), RowControl(16, 8, 8, true, 8));

[[gnu::target("avx2")]] __m256i Load(const std::array<std::int8_t, 32>& control)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(control.data()));
}

[[gnu::target("avx2")]] __m256i ShuffleOr(__m256i a, const std::array<std::int8_t, 32>& controlA,
                                          __m256i b, const std::array<std::int8_t, 32>& controlB)
{
    return _mm256_or_si256(_mm256_shuffle_epi8(a, Load(controlA)),
                           _mm256_shuffle_epi8(b, Load(controlB)));
}

// Rows r to r + 3 at 3 bytes per pixel, exactly 24 bytes each (16, then 8),
// shuffled straight from their blue-green bytes (rows r, r + 2 in the halves of
// blueGreenEven, r + 1, r + 3 in those of blueGreenOdd) and red bytes (low 8 bytes of
// each half for rows r, r + 2, high 8 for r + 1, r + 3).
[[gnu::target("avx2")]] void StoreRows3(std::uint8_t* line, std::size_t stride,
                                        __m256i blueGreenEven, __m256i blueGreenOdd, __m256i red)
{
    const __m256i headEven = ShuffleOr(blueGreenEven, kHeadBlueGreen, red, kHeadRedLow);
    const __m256i headOdd = ShuffleOr(blueGreenOdd, kHeadBlueGreen, red, kHeadRedHigh);
    const __m256i tails = _mm256_or_si256(
        ShuffleOr(blueGreenEven, kTailBlueGreenFirst, blueGreenOdd, kTailBlueGreenSecond),
        _mm256_shuffle_epi8(red, Load(kTailRed)));
    const auto store16 = [](std::uint8_t* at, __m128i bytes) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(at), bytes);
    };
    store16(line, _mm256_castsi256_si128(headEven));
    store16(line + stride, _mm256_castsi256_si128(headOdd));
    store16(line + 2 * stride, _mm256_extracti128_si256(headEven, 1));
    store16(line + 3 * stride, _mm256_extracti128_si256(headOdd, 1));
    const __m128d tails01 = _mm_castsi128_pd(_mm256_castsi256_si128(tails));
    const __m128d tails23 = _mm_castsi128_pd(_mm256_extracti128_si256(tails, 1));
    _mm_storel_pd(reinterpret_cast<double*>(line + 16), tails01);
    _mm_storeh_pd(reinterpret_cast<double*>(line + stride + 16), tails01);
    _mm_storel_pd(reinterpret_cast<double*>(line + 2 * stride + 16), tails23);
    _mm_storeh_pd(reinterpret_cast<double*>(line + 3 * stride + 16), tails23);
}

template <int BytesPerPixel>
[[gnu::target("avx2"), gnu::always_inline]] inline void
DrawIndexRows(const STileIndices& indices, const SComponentTables& tables, std::uint8_t* line,
              std::size_t stride)
{
    const __m256i zero = _mm256_setzero_si256();
    for (const __m256i index : indices.rows) {
        const __m256i blue = _mm256_shuffle_epi8(tables.blue, index);
        const __m256i green = _mm256_shuffle_epi8(tables.green, index);
        const __m256i red = _mm256_shuffle_epi8(tables.red, index);
        // Rows y, y + 2 are the low 8 bytes of each half, rows y + 1, y + 3 the high.
        if constexpr (BytesPerPixel == 4) {
            const __m256i blueGreen0 = _mm256_unpacklo_epi8(blue, green);
            const __m256i red0 = _mm256_unpacklo_epi8(red, zero);
            const __m256i blueGreen1 = _mm256_unpackhi_epi8(blue, green);
            const __m256i red1 = _mm256_unpackhi_epi8(red, zero);
            StoreRows4(line, stride, _mm256_unpacklo_epi16(blueGreen0, red0),
                       _mm256_unpackhi_epi16(blueGreen0, red0));
            StoreRows4(line + stride, stride, _mm256_unpacklo_epi16(blueGreen1, red1),
                       _mm256_unpackhi_epi16(blueGreen1, red1));
        } else {
            StoreRows3(line, stride, _mm256_unpacklo_epi64(blue, green),
                       _mm256_unpackhi_epi64(blue, green), red);
        }
        line += 4 * stride;
    }
}

[[gnu::target("avx2"), gnu::always_inline]] inline void
DrawIndexTile(const STileIndices& indices, const SComponentTables& tables, std::uint8_t* line,
              std::size_t stride, int bytesPerPixel)
{
    if (bytesPerPixel == 4)
        DrawIndexRows<4>(indices, tables, line, stride);
    else
        DrawIndexRows<3>(indices, tables, line, stride);
}

template <typename Palette>
[[gnu::target("avx2")]] void DrawByMasks(const std::uint8_t* tile, const Palette* palette,
                                         std::uint8_t* line, std::size_t stride, int bytesPerPixel)
{
    DrawIndexTile(DecodeByMasks(tile), ComponentTables(palette), line, stride, bytesPerPixel);
}

template <typename Palette>
[[gnu::target("avx2,gfni")]] void DrawByBitMatrix(const std::uint8_t* tile, const Palette* palette,
                                                  std::uint8_t* line, std::size_t stride,
                                                  int bytesPerPixel)
{
    DrawIndexTile(DecodeByBitMatrix(tile), ComponentTables(palette), line, stride, bytesPerPixel);
}

#endif

std::uint8_t* TileLine(std::uint8_t* buffer, int x, int row, int width, int bytesPerPixel)
{
    return buffer + (std::size_t(8) * row * width + x) * bytesPerPixel;
}

} // namespace

namespace {

using SnesDetail::TilePath;

// Read once while the program starts, so that a tile's dispatch is one load.
const TilePath kFastestTilePath = [] {
#if GLYPHOX_TILE_SIMD
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("gfni"))
        return TilePath::BitMatrix;
    if (__builtin_cpu_supports("avx2"))
        return TilePath::Shuffles;
#endif
    return TilePath::Portable;
}();

void DrawPortable(const std::uint8_t* tile, const std::uint32_t pixels[PALETTE_COLORS],
                  std::uint8_t* line, std::size_t stride, int bytesPerPixel)
{
    if (bytesPerPixel == 4)
        DrawTileRows<4>(tile, pixels, line, stride);
    else
        DrawTileRows<3>(tile, pixels, line, stride);
}

// Out of line, so that the shuffle paths need no stack frame.
[[gnu::noinline]] void DrawPortable(const std::uint8_t* tile, const std::uint16_t* palette,
                                    std::uint8_t* line, std::size_t stride, int bytesPerPixel)
{
    std::uint32_t pixels[PALETTE_COLORS];
    MakeSpritePixels(palette, pixels);
    DrawPortable(tile, pixels, line, stride, bytesPerPixel);
}

template <typename Palette>
void DrawOn(TilePath path, const std::uint8_t* tile, const Palette* palette, int x, int row,
            std::uint8_t* buffer, int width, int bytesPerPixel)
{
    std::uint8_t* line = TileLine(buffer, x, row, width, bytesPerPixel);
    const std::size_t stride = std::size_t(width) * bytesPerPixel;
#if GLYPHOX_TILE_SIMD
    if (path == TilePath::BitMatrix)
        return DrawByBitMatrix(tile, palette, line, stride, bytesPerPixel);
    if (path == TilePath::Shuffles)
        return DrawByMasks(tile, palette, line, stride, bytesPerPixel);
#endif
    DrawPortable(tile, palette, line, stride, bytesPerPixel);
}

} // namespace

TilePath SnesDetail::FastestTilePath()
{
    return kFastestTilePath;
}

void SnesDetail::DrawTileOn(TilePath path, const std::uint8_t* tile, const std::uint16_t* palette,
                            int x, int row, std::uint8_t* buffer, int width, int bytesPerPixel)
{
    DrawOn(path, tile, palette, x, row, buffer, width, bytesPerPixel);
}

void SnesDetail::DrawTilePixelsOn(TilePath path, const std::uint8_t* tile,
                                  const std::uint32_t pixels[PALETTE_COLORS], int x, int row,
                                  std::uint8_t* buffer, int width, int bytesPerPixel)
{
    DrawOn(path, tile, pixels, x, row, buffer, width, bytesPerPixel);
}

void DrawTilePixels(const std::uint8_t* tile, const std::uint32_t pixels[PALETTE_COLORS], int x,
                    int row, std::uint8_t* buffer, int width, int bytesPerPixel)
{
    SnesDetail::DrawTilePixelsOn(kFastestTilePath, tile, pixels, x, row, buffer, width,
                                 bytesPerPixel);
}

std::uint32_t DrawTile(const std::uint8_t* tile, const std::uint16_t* palette, int x, int row,
                       std::uint8_t* buffer, int width, int /*height*/, int bytesPerPixel)
{
    SnesDetail::DrawTileOn(kFastestTilePath, tile, palette, x, row, buffer, width, bytesPerPixel);
    return KEY_GREY;
}

void MirrorTile(const std::uint8_t* source, std::uint8_t* destination)
{
    for (int i = 0; i < TILE_BYTES; ++i)
        destination[i] = kBitReverse[source[i]];
}
