#pragma once

#include <QByteArrayView>

#include <cstdint>

// A fast 64-bit hash of bytes (four multiply-rotate lanes over 32-byte stripes,
// then an avalanche). It tells whether bytes are the ones recorded earlier; it is
// not meant to resist deliberate collisions.
std::uint64_t ContentHash(QByteArrayView bytes);
