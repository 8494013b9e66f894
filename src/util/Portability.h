// SPDX-License-Identifier: Apache-2.0
// The one place that knows the compiler and the host: the host's byte order,
// byte swapping and keeping a function out of line. Every other source is
// plain C++17 (symbol export and the header's packing aside).
#pragma once

#include <cstdint>

// Keeps a function out of line (the benchmarks count the instructions of
// one call).
#if defined(__GNUC__) || defined(__clang__)
#  define VMC_NOINLINE __attribute__((noinline))
#elif defined(_MSC_VER)
#  define VMC_NOINLINE __declspec(noinline)
#else
#  define VMC_NOINLINE
#endif

namespace Vmc::portability {

// True on a host that stores the most significant byte first (s390x, some
// PowerPC and MIPS machines).
#if defined(__BYTE_ORDER__) && defined(__ORDER_BIG_ENDIAN__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
constexpr bool kBigEndianHost = true;
#elif defined(__BYTE_ORDER__) || defined(_WIN32)
constexpr bool kBigEndianHost = false;
#else
#  error "unknown byte order: define the host's byte order in src/util/Portability.h"
#endif

inline std::uint16_t byteSwapped(std::uint16_t v)
{
#if defined(__GNUC__) || defined(__clang__)
    return __builtin_bswap16(v);
#else
    return static_cast<std::uint16_t>(v >> 8 | v << 8);
#endif
}

inline std::uint32_t byteSwapped(std::uint32_t v)
{
#if defined(__GNUC__) || defined(__clang__)
    return __builtin_bswap32(v);
#else
    return (v >> 24) | ((v >> 8) & 0xff00u) | ((v << 8) & 0xff0000u) | (v << 24);
#endif
}

// The host's value of a little-endian value as it lay in the file.
template <typename T>
inline T fromLittleEndian(T v)
{
    if constexpr (kBigEndianHost)
        return byteSwapped(v);
    else
        return v;
}

} // namespace Vmc::portability
