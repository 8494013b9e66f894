// Numbers as the views write them: floats as their shortest round-trip
// decimal, rounded numbers without trailing zeros.
#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace Vmc {

// Room a number's text may take; an integer's, of at most 64 bits.
constexpr std::size_t kNumberTextSize = 64;
constexpr std::size_t kIntegerTextSize = 24;

namespace digits {

// "00" to "99".
inline constexpr char kPairs[] = "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                                 "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                                 "8081828384858687888990919293949596979899";

inline void writePair(char* at, std::uint32_t value) { std::memcpy(at, kPairs + 2 * value, 2); }

// All four digits of `value` (below 10,000), zeros first: value / 100 is
// value * 5243 >> 19 in that range.
inline void writeFour(char* at, std::uint32_t value)
{
    const std::uint32_t high = value * 5243 >> 19;
    writePair(at, high);
    writePair(at + 2, value - high * 100);
}

// The digits of `value` (below 10,000), without leading zeros.
inline char* writeUpToFour(char* at, std::uint32_t value)
{
    if (value < 10) {
        *at = static_cast<char>('0' + value);
        return at + 1;
    }
    if (value < 100) {
        writePair(at, value);
        return at + 2;
    }
    const std::uint32_t high = value * 5243 >> 19;
    if (value < 1000) {
        *at = static_cast<char>('0' + high);
        writePair(at + 1, value - high * 100);
        return at + 3;
    }
    writePair(at, high);
    writePair(at + 2, value - high * 100);
    return at + 4;
}

} // namespace digits

// The decimal digits of `value`, as std::to_chars writes them, into
// `buffer` (at least kIntegerTextSize bytes); returns their end. A header's numbers are
// 32-bit words, and a JSON entry holds some hundred of them: these are
// written four digits at a time, with no loop; wider ones go to to_chars.
template <class Integer>
char* writeInteger(char* buffer, Integer value)
{
    static_assert(std::is_integral_v<Integer> && !std::is_same_v<Integer, bool>, "an integer");
    char* const end = buffer + kIntegerTextSize;
    std::make_unsigned_t<Integer> magnitude = static_cast<std::make_unsigned_t<Integer>>(value);
    if constexpr (std::is_signed_v<Integer>) {
        if (value < 0) {
            *buffer++ = '-';
            magnitude = static_cast<std::make_unsigned_t<Integer>>(0u - magnitude);
        }
    }
    if (magnitude > 0xFFFFFFFFu)
        return std::to_chars(buffer, end, magnitude).ptr;
    const auto word = static_cast<std::uint32_t>(magnitude);
    if (word < 10000)
        return digits::writeUpToFour(buffer, word);
    if (word < 100000000) {
        const std::uint32_t high = word / 10000;
        buffer = digits::writeUpToFour(buffer, high);
        digits::writeFour(buffer, word - high * 10000);
        return buffer + 4;
    }
    const std::uint32_t high = word / 100000000, low = word - high * 100000000, middle = low / 10000;
    buffer = digits::writeUpToFour(buffer, high);
    digits::writeFour(buffer, middle);
    digits::writeFour(buffer + 4, low - middle * 10000);
    return buffer + 8;
}

// The shortest decimal that reads back as `value`, as appendFloat writes it,
// into `buffer` (at least kNumberTextSize bytes); returns its end.
char* formatFloat(char* buffer, float value);

// The texts of the floats written last on a thread, so that a value met clip
// after clip (a camera's primaries, a lens's focal length) is worked out
// once. Each text is kept in the slot its bits hash to.
class RecentFloats {
public:
    static RecentFloats& ofThisThread();

    // formatFloat's text of `value`, into `buffer` (at least
    // kNumberTextSize bytes); returns its end.
    char* format(char* buffer, float value) { return write<false>(buffer, value); }

    // The JSON number of a finite `value`: formatFloat's text, with ".0"
    // after a whole number written without a point or an exponent, so that
    // it reads back as a number with a fraction.
    char* formatJson(char* buffer, float value) { return write<true>(buffer, value); }

private:
    struct Slot {
        std::uint32_t bits;
        std::uint8_t length; // of the text, with kWhole; 0: empty (a thread's slots start zeroed)
        char text[11];       // longer texts are not kept
    };
    static_assert(sizeof(Slot) == 16, "a slot is copied whole");
    static constexpr std::uint8_t kWhole = 0x80; // the text is all digits: JSON adds ".0"

    template <bool Json>
    char* write(char* buffer, float value)
    {
        static_assert(kNumberTextSize >= sizeof(Slot::text) + 2, "a slot's text is copied whole");
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        const Slot& slot = slots_[(bits * 0x9E3779B1u) >> 23];
        if (slot.bits != bits || slot.length == 0)
            return remember(buffer, value, bits, Json);
        std::memcpy(buffer, slot.text, sizeof slot.text);
        char* end = buffer + (slot.length & ~kWhole);
        if (Json && (slot.length & kWhole) != 0) {
            std::memcpy(end, ".0", 2);
            end += 2;
        }
        return end;
    }
    char* remember(char* buffer, float value, std::uint32_t bits, bool json);

    Slot slots_[512];
};

// `value` with at most `decimals` decimals, trailing zeros (and a bare
// point) dropped, and no "-0": 23.976, 25, 29.97. Into `buffer` (at least
// kNumberTextSize bytes); returns its end.
char* formatRounded(char* buffer, double value, int decimals);

} // namespace Vmc
