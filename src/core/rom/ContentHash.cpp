#include "ContentHash.h"

#include <cstring>

namespace {

constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ULL;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr std::uint64_t kPrime3 = 0x165667B19E3779F9ULL;
constexpr std::uint64_t kPrime4 = 0x85EBCA77C2B2AE63ULL;
constexpr std::uint64_t kPrime5 = 0x27D4EB2F165667C5ULL;

std::uint64_t RotateLeft(std::uint64_t value, int bits)
{
    return (value << bits) | (value >> (64 - bits));
}

std::uint64_t Read64(const char* at)
{
    std::uint64_t value;
    std::memcpy(&value, at, 8);
    return value;
}

std::uint64_t Round(std::uint64_t accumulator, std::uint64_t input)
{
    return RotateLeft(accumulator + input * kPrime2, 31) * kPrime1;
}

std::uint64_t Merge(std::uint64_t hash, std::uint64_t lane)
{
    return (hash ^ Round(0, lane)) * kPrime1 + kPrime4;
}

} // namespace

std::uint64_t ContentHash(QByteArrayView bytes)
{
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    std::uint64_t hash;
    if (bytes.size() >= 32) {
        std::uint64_t lanes[4] = {kPrime1 + kPrime2, kPrime2, 0, 0 - kPrime1};
        for (; end - p >= 32; p += 32)
            for (int i = 0; i < 4; ++i)
                lanes[i] = Round(lanes[i], Read64(p + 8 * i));
        hash = RotateLeft(lanes[0], 1) + RotateLeft(lanes[1], 7) + RotateLeft(lanes[2], 12) +
               RotateLeft(lanes[3], 18);
        for (const std::uint64_t lane : lanes)
            hash = Merge(hash, lane);
    } else {
        hash = kPrime5;
    }
    hash += std::uint64_t(bytes.size());
    for (; end - p >= 8; p += 8)
        hash = RotateLeft(hash ^ Round(0, Read64(p)), 27) * kPrime1 + kPrime4;
    for (; p < end; ++p)
        hash = RotateLeft(hash ^ (std::uint64_t(std::uint8_t(*p)) * kPrime5), 11) * kPrime1;
    hash ^= hash >> 33;
    hash *= kPrime2;
    hash ^= hash >> 29;
    hash *= kPrime3;
    hash ^= hash >> 32;
    return hash;
}
