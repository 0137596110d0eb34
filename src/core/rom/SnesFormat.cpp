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

// From pixel values (blue, green, red, 0): each group of four gathered by
// component, then the groups transposed.
[[gnu::target("avx2")]] SComponentTables TablesFromPixels(const std::uint32_t* pixels)
{
    const __m128i gather = _mm_setr_epi8(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15);
    __m128i v[4];
    for (int i = 0; i < 4; ++i)
        v[i] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + 4 * i)),
                                gather);
    const __m128i blueGreen01 = _mm_unpacklo_epi32(v[0], v[1]);
    const __m128i blueGreen23 = _mm_unpacklo_epi32(v[2], v[3]);
    const __m128i red01 = _mm_unpackhi_epi32(v[0], v[1]);
    const __m128i red23 = _mm_unpackhi_epi32(v[2], v[3]);
    return {_mm256_broadcastsi128_si256(_mm_unpacklo_epi64(blueGreen01, blueGreen23)),
            _mm256_broadcastsi128_si256(_mm_unpackhi_epi64(blueGreen01, blueGreen23)),
            _mm256_broadcastsi128_si256(_mm_unpacklo_epi64(red01, red23))};
}

// Straight from colour words, as MakeSpritePixels converts them: each component's
// 5 bits moved to bits 3..7 of a byte, index 0 the key grey. After the packs each
// half holds 8 bytes of one component then 8 of another (words 0-7 low, 8-15
// high); a qword permutation joins each component's two halves, in both halves.
[[gnu::target("avx2")]] SComponentTables TablesFromWords(const std::uint16_t* palette)
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

// Colour indices of four rows, one byte per pixel (rows y, y + 1 in the low half,
// y + 2, y + 3 in the high one): each plane byte is spread over its row's eight
// lanes and tested against that column's bit; the index is built from plane 3 down.
[[gnu::target("avx2")]] __m256i DecodeRows(__m256i planes01, __m256i planes23, __m256i spread0,
                                           __m256i spread1)
{
    const __m256i plane3 = _mm256_sub_epi8(_mm256_setzero_si256(), PlaneMask(planes23, spread1));
    const __m256i index23 = AddPlane(plane3, PlaneMask(planes23, spread0));
    return AddPlane(AddPlane(index23, PlaneMask(planes01, spread1)), PlaneMask(planes01, spread0));
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

// Byte k of a 3-byte-per-pixel row is component k % 3 of pixel k / 3. Shuffle
// controls for bytes From..From + 15 of a row, taking blue and green from a half
// that holds the row's 8 blue then 8 green bytes, or red from a half whose bytes
// RedAt..RedAt + 7 are the row's red; -1 (zero) where the other source serves.
template <int From, bool Red, int RedAt = 0> constexpr std::array<std::int8_t, 32> RowControl()
{
    std::array<std::int8_t, 32> control{};
    for (int k = 0; k < 16; ++k) {
        const int pixel = (From + k) / 3;
        const int component = (From + k) % 3;
        int index = -1;
        if (pixel < TILE_SIZE) {
            if (Red && component == 2)
                index = RedAt + pixel;
            else if (!Red && component < 2)
                index = component * TILE_SIZE + pixel;
        }
        control[k] = control[k + 16] = static_cast<std::int8_t>(index);
    }
    return control;
}

template <int From, bool Red, int RedAt = 0> [[gnu::target("avx2")]] __m256i LoadRowControl()
{
    static constexpr std::array<std::int8_t, 32> control = RowControl<From, Red, RedAt>();
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(control.data()));
}

// Rows r and r + 2 at 3 bytes per pixel, exactly 24 bytes each (16, then 8),
// shuffled straight from their blue-green and red bytes.
template <int RedAt>
[[gnu::target("avx2")]] void StoreRows3(std::uint8_t* line, std::size_t stride, __m256i blueGreen,
                                        __m256i red)
{
    const __m256i headBlueGreen = LoadRowControl<0, false>();
    const __m256i headRed = LoadRowControl<0, true, RedAt>();
    const __m256i tailBlueGreen = LoadRowControl<16, false>();
    const __m256i tailRed = LoadRowControl<16, true, RedAt>();
    const __m256i head = _mm256_or_si256(_mm256_shuffle_epi8(blueGreen, headBlueGreen),
                                         _mm256_shuffle_epi8(red, headRed));
    const __m256i tail = _mm256_or_si256(_mm256_shuffle_epi8(blueGreen, tailBlueGreen),
                                         _mm256_shuffle_epi8(red, tailRed));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(line), _mm256_castsi256_si128(head));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(line + 16), _mm256_castsi256_si128(tail));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(line + 2 * stride),
                     _mm256_extracti128_si256(head, 1));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(line + 2 * stride + 16),
                     _mm256_extracti128_si256(tail, 1));
}

template <int BytesPerPixel>
[[gnu::target("avx2")]] void DrawTileRowsSimd(const std::uint8_t* tile,
                                              const SComponentTables& tables, std::uint8_t* line,
                                              std::size_t stride)
{
    const __m256i planes01 =
        _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(tile)));
    const __m256i planes23 =
        _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(tile + 16)));
    // Plane 0 (and 2) of rows 0, 1 | 2, 3; plane 1 (and 3) one byte further.
    __m256i spread0 =
        _mm256_setr_epi64x(0, 0x0202020202020202, 0x0404040404040404, 0x0606060606060606);
    __m256i spread1 = _mm256_add_epi8(spread0, _mm256_set1_epi8(1));
    const __m256i zero = _mm256_setzero_si256();
    for (int y = 0; y < TILE_SIZE; y += 4, line += 4 * stride) {
        const __m256i index = DecodeRows(planes01, planes23, spread0, spread1);
        spread0 = _mm256_add_epi8(spread0, _mm256_set1_epi8(8));
        spread1 = _mm256_add_epi8(spread1, _mm256_set1_epi8(8));
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
            StoreRows3<0>(line, stride, _mm256_unpacklo_epi64(blue, green), red);
            StoreRows3<8>(line + stride, stride, _mm256_unpackhi_epi64(blue, green), red);
        }
    }
}

[[gnu::target("avx2")]] void DrawTableTile(const std::uint8_t* tile, const SComponentTables& tables,
                                           std::uint8_t* line, std::size_t stride,
                                           int bytesPerPixel)
{
    if (bytesPerPixel == 4)
        DrawTileRowsSimd<4>(tile, tables, line, stride);
    else
        DrawTileRowsSimd<3>(tile, tables, line, stride);
}

[[gnu::target("avx2")]] void DrawTilePixelsSimd(const std::uint8_t* tile,
                                                const std::uint32_t* pixels, std::uint8_t* line,
                                                std::size_t stride, int bytesPerPixel)
{
    DrawTableTile(tile, TablesFromPixels(pixels), line, stride, bytesPerPixel);
}

[[gnu::target("avx2")]] void DrawTileWordsSimd(const std::uint8_t* tile,
                                               const std::uint16_t* palette, std::uint8_t* line,
                                               std::size_t stride, int bytesPerPixel)
{
    DrawTableTile(tile, TablesFromWords(palette), line, stride, bytesPerPixel);
}

#endif

std::uint8_t* TileLine(std::uint8_t* buffer, int x, int row, int width, int bytesPerPixel)
{
    return buffer + (std::size_t(8) * row * width + x) * bytesPerPixel;
}

} // namespace

bool SnesDetail::HasTileSimd()
{
#if GLYPHOX_TILE_SIMD
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
#else
    return false;
#endif
}

void SnesDetail::DrawTilePixelsPortable(const std::uint8_t* tile,
                                        const std::uint32_t pixels[PALETTE_COLORS], int x, int row,
                                        std::uint8_t* buffer, int width, int bytesPerPixel)
{
    const std::size_t stride = std::size_t(width) * bytesPerPixel;
    std::uint8_t* line = TileLine(buffer, x, row, width, bytesPerPixel);
    if (bytesPerPixel == 4)
        DrawTileRows<4>(tile, pixels, line, stride);
    else
        DrawTileRows<3>(tile, pixels, line, stride);
}

void DrawTilePixels(const std::uint8_t* tile, const std::uint32_t pixels[PALETTE_COLORS], int x,
                    int row, std::uint8_t* buffer, int width, int bytesPerPixel)
{
#if GLYPHOX_TILE_SIMD
    if (SnesDetail::HasTileSimd()) {
        DrawTilePixelsSimd(tile, pixels, TileLine(buffer, x, row, width, bytesPerPixel),
                           std::size_t(width) * bytesPerPixel, bytesPerPixel);
        return;
    }
#endif
    SnesDetail::DrawTilePixelsPortable(tile, pixels, x, row, buffer, width, bytesPerPixel);
}

std::uint32_t DrawTile(const std::uint8_t* tile, const std::uint16_t* palette, int x, int row,
                       std::uint8_t* buffer, int width, int /*height*/, int bytesPerPixel)
{
#if GLYPHOX_TILE_SIMD
    if (SnesDetail::HasTileSimd()) {
        DrawTileWordsSimd(tile, palette, TileLine(buffer, x, row, width, bytesPerPixel),
                          std::size_t(width) * bytesPerPixel, bytesPerPixel);
        return KEY_GREY;
    }
#endif
    std::uint32_t pixels[PALETTE_COLORS];
    MakeSpritePixels(palette, pixels);
    SnesDetail::DrawTilePixelsPortable(tile, pixels, x, row, buffer, width, bytesPerPixel);
    return KEY_GREY;
}

void MirrorTile(const std::uint8_t* source, std::uint8_t* destination)
{
    for (int i = 0; i < TILE_BYTES; ++i)
        destination[i] = kBitReverse[source[i]];
}
