// Arbitrary bytes as a palette file of any format: Decode must never read outside
// the bytes, and what it accepts is at most 16 colours, each a 15-bit SNES word
// unless the file was raw; re-encoded as JASC-PAL they read back the same.

#include "FuzzSupport.h"

#include "edit/PaletteFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    CPaletteFile::Colors colors;
    if (!CPaletteFile::Decode(bytes, &colors).ok)
        return 0;
    FUZZ_CHECK(!colors.words.empty() && colors.words.size() <= 16);
    FUZZ_CHECK(colors.rounded >= 0 && colors.rounded <= int(colors.words.size()));
    if (colors.raw)
        return 0;
    std::uint16_t words[16] = {};
    for (std::size_t i = 0; i < colors.words.size(); ++i) {
        FUZZ_CHECK(colors.words[i] < 0x8000);
        words[i] = colors.words[i];
    }
    CPaletteFile::Colors again;
    FUZZ_CHECK(CPaletteFile::Decode(CPaletteFile::Encode(words, CPaletteFile::Format::Jasc), &again)
                   .ok);
    FUZZ_CHECK(again.rounded == 0);
    for (std::size_t i = 0; i < colors.words.size(); ++i)
        FUZZ_CHECK(again.words[i] == words[i]);
    return 0;
}
