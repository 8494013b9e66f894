#include "NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string_view>

namespace Vmc {

namespace {

constexpr std::uint64_t kPowersOfTen[] = {1, 10, 100, 1000};

char* writeWord(char* buffer, std::string_view word)
{
    std::memcpy(buffer, word.data(), word.size());
    return buffer + word.size();
}

// `units` as a decimal with `decimals` places (1 to 3), zeros after the
// point kept: 1234 with 3 places is 1.234, 5 with 3 places is 0.005. Each
// count of places divides by a constant, which needs no division.
char* writeFixedPoint(char* buffer, std::uint64_t units, int decimals)
{
    const auto split = [&](std::uint64_t scale) {
        buffer = writeInteger(buffer, units / scale);
        return units % scale;
    };
    std::uint64_t fraction = decimals == 1 ? split(10) : decimals == 2 ? split(100) : split(1000);
    *buffer++ = '.';
    for (char* digit = buffer + decimals; digit != buffer; fraction /= 10)
        *--digit = static_cast<char>('0' + fraction % 10);
    return buffer + decimals;
}

} // namespace

char* formatFloat(char* buffer, float value)
{
    if (std::isnan(value))
        return writeWord(buffer, "NaN");
    if (std::isinf(value))
        return writeWord(buffer, value > 0 ? "Infinity" : "-Infinity");
    // Whole numbers below 2^24 (most values of a header) are their integer
    // digits, which are much cheaper to find.
    const float magnitude = std::fabs(value);
    if (magnitude < 16777216.0f) {
        const auto whole = static_cast<std::int32_t>(value);
        if (static_cast<float>(whole) == value && !(value == 0.0f && std::signbit(value)))
            return writeInteger(buffer, whole);
    }
    // Plain digits for magnitudes from 0.0001 up to 1e16, scientific
    // notation ("1e-05", "3.4028235e+38") outside.
    const bool plain = magnitude == 0.0f || (magnitude >= 1e-4f && magnitude < 1e16f);
    const auto format = plain ? std::chars_format::fixed : std::chars_format::scientific;
    return std::to_chars(buffer, buffer + kNumberTextSize, value, format).ptr;
}

RecentFloats& RecentFloats::ofThisThread()
{
    static thread_local RecentFloats floats;
    return floats;
}

char* RecentFloats::remember(char* buffer, float value, std::uint32_t bits, bool json)
{
    char* end = formatFloat(buffer, value);
    const auto length = static_cast<std::size_t>(end - buffer);
    const char* const digits = buffer[0] == '-' ? buffer + 1 : buffer;
    const bool whole = std::all_of(digits, static_cast<const char*>(end), [](char c) { return c >= '0' && c <= '9'; });
    if (length <= sizeof(Slot::text)) {
        Slot& slot = slots_[(bits * 0x9E3779B1u) >> 23];
        slot.bits = bits;
        slot.length = static_cast<std::uint8_t>(length | (whole ? kWhole : 0));
        std::memcpy(slot.text, buffer, length);
    }
    if (json && whole) {
        std::memcpy(end, ".0", 2);
        end += 2;
    }
    return end;
}

char* formatRounded(char* buffer, double value, int decimals)
{
    // The common case without printf's "%.*f": the magnitude scaled to
    // whole units, rounded, unless it lies so close to a half unit that the
    // rounding of the scaling itself could decide (the exact value is
    // within 2^-53 of the scaled one).
    if (decimals >= 0 && decimals < static_cast<int>(std::size(kPowersOfTen))) {
        const double scaled = std::fabs(value) * static_cast<double>(kPowersOfTen[decimals]);
        if (scaled < 0x1p52) { // false for NaN too
            const auto below = static_cast<std::uint64_t>(scaled);
            const double fraction = scaled - static_cast<double>(below);
            if (std::fabs(fraction - 0.5) > scaled * 0x1p-50) {
                std::uint64_t units = fraction > 0.5 ? below + 1 : below;
                if (units == 0) // no "-0" for a value that rounds to zero
                    return writeWord(buffer, "0");
                if (value < 0)
                    *buffer++ = '-';
                while (decimals > 0 && units % 10 == 0) {
                    units /= 10;
                    --decimals;
                }
                return decimals == 0 ? writeInteger(buffer, units) : writeFixedPoint(buffer, units, decimals);
            }
        }
    }
    const auto [last, error] =
        std::to_chars(buffer, buffer + kNumberTextSize, value, std::chars_format::fixed, decimals);
    if (error != std::errc()) // a number too long for the room: its shortest form
        return std::to_chars(buffer, buffer + kNumberTextSize, value).ptr;
    char* end = last;
    if (decimals > 0) {
        while (end[-1] == '0')
            --end;
        if (end[-1] == '.')
            --end;
    }
    if (end - buffer == 2 && buffer[0] == '-' && buffer[1] == '0')
        return writeWord(buffer, "0");
    return end;
}

} // namespace Vmc
