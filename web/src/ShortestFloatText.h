// std::to_chars for float and double, for standard libraries that declare
// only the integer overloads (the libc++ of Debian's emscripten). The page's
// build force-includes this header so that the library's sources compile
// unchanged; where the standard library has the overloads it adds nothing.
//
// Shortest form: the fewest significant digits that read back as the same
// value, and of those the one nearest to it, found with the C library's
// correctly rounded printf and strtod; the digits are then written in fixed
// or scientific notation as the standard overloads write them.
#pragma once

#include <charconv>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace shortest_float_text {

using std::chars_format;
using std::errc;
using std::to_chars_result;

// A finite non-zero magnitude as digits d1 d2 ... dn (no trailing zeros)
// and the power of ten of d1: value = 0.d1d2...dn * 10^(exponent + 1).
struct Digits {
    char digits[24];
    int count;
    int exponent;
};

// Decimal digits of `value` into `out` (no terminator); returns how many.
// (printf goes through long double, which WebAssembly emulates slowly.)
inline int unsignedDigits(unsigned long long value, char* out)
{
    char reversed[24];
    int n = 0;
    do {
        reversed[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (int i = 0; i < n; ++i)
        out[i] = reversed[n - 1 - i];
    return n;
}

template <class T>
T readBack(const char* text)
{
    if constexpr (sizeof(T) == sizeof(float))
        return std::strtof(text, nullptr);
    else
        return std::strtod(text, nullptr);
}

// Digits and exponent of "d.ddde±x" text, all of them.
inline Digits parseScientific(const char* text)
{
    Digits d{};
    const char* p = text;
    for (; *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            d.digits[d.count++] = *p;
    d.exponent = std::atoi(p + 1);
    return d;
}

// The candidate `mantissa` (count digits) * 10^(exponent - count + 1) as
// scientific text.
inline void candidateText(char* out, std::size_t size, unsigned long long mantissa, int count, int exponent)
{
    char digits[24];
    int n = std::snprintf(digits, sizeof digits, "%llu", mantissa);
    // A carry (999 -> 1000) adds a digit and raises the exponent.
    exponent += n - count;
    std::snprintf(out, size, "%c.%se%d", digits[0], n > 1 ? digits + 1 : "0", exponent);
}

// Powers of ten as doubles: exact up to 1e22, within an ulp or two beyond.
inline double powerOfTen(int n)
{
    static constexpr double kExact[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    return n <= 22 ? kExact[n] : 1e22 * powerOfTen(n - 22);
}

inline double scaled(double value, int power)
{
    return power >= 0 ? value * powerOfTen(power) : value / powerOfTen(-power);
}

// The shortest digits of a float in double arithmetic, which is some 1e-16
// exact where a float needs 1e-9: false when a candidate lies too close to a
// rounding boundary for that to decide (rare), and the exact way must.
inline bool quickFloatDigits(float magnitude, Digits& out)
{
    const double v = magnitude;
    const double below = std::nextafter(magnitude, 0.0f);
    const float next = std::nextafter(magnitude, HUGE_VALF);
    // The values that read back as `magnitude` lie strictly between these
    // (float midpoints are exact doubles).
    const double low = (v + below) / 2;
    const double high = std::isinf(next) ? v + (v - below) / 2 : (v + static_cast<double>(next)) / 2;
    const double tolerance = v * 1e-15;

    int exponent = static_cast<int>(std::floor(std::log10(v)));
    if (scaled(v, -exponent) >= 10)
        ++exponent;
    else if (scaled(v, -exponent) < 1)
        --exponent;

    for (int count = 1; count <= 9; ++count) {
        const int power = count - 1 - exponent;
        const double x = scaled(v, power);
        const double nearest = std::floor(x + 0.5);
        const bool halfway = std::fabs(x - std::floor(x) - 0.5) < x * 1e-15 + 1e-300;
        double best = 0;
        for (double candidate : {nearest, nearest - 1, nearest + 1}) {
            if (candidate <= 0)
                continue;
            const double y = scaled(candidate, -power);
            if (std::fabs(y - low) < tolerance || std::fabs(y - high) < tolerance) {
                // On a boundary exactly (an integral candidate of a large
                // float), reading back rounds to the even float; anywhere
                // near one, doubles cannot tell.
                const bool exact = power <= 0 && -power <= 22 && std::fma(candidate, powerOfTen(-power), -y) == 0;
                if (!exact || (y != low && y != high))
                    return false;
                std::uint32_t bits;
                std::memcpy(&bits, &magnitude, sizeof bits);
                if ((bits & 1u) != 0)
                    continue;
            } else if (!(low < y && y < high)) {
                continue;
            }
            if (best != 0) {
                // Two candidates read back: the nearer one, unless doubles
                // cannot tell which that is.
                if (halfway) {
                    // An exact tie goes to the even candidate, as printf
                    // rounds; doubles know it is exact only when the scaling
                    // was.
                    const bool exact = power >= 0 && power <= 22 && std::fma(v, powerOfTen(power), -x) == 0;
                    if (!exact)
                        return false;
                    best = std::fmod(best, 2) == 0 ? best : candidate;
                    continue;
                }
                if (std::fabs(candidate - x) < std::fabs(best - x))
                    best = candidate;
            } else {
                best = candidate;
            }
        }
        if (best == 0)
            continue;
        out = Digits{};
        const int n = unsignedDigits(static_cast<unsigned long long>(best), out.digits);
        out.count = n;
        out.exponent = exponent + (n - count); // a carry (9.96 -> 10) adds a digit
        while (out.count > 1 && out.digits[out.count - 1] == '0')
            --out.count;
        return true;
    }
    return false;
}

template <class T>
Digits shortestDigits(T magnitude)
{
    if constexpr (sizeof(T) == sizeof(float)) {
        Digits quick;
        if (quickFloatDigits(magnitude, quick))
            return quick;
    }
    const int maxDigits = sizeof(T) == sizeof(float) ? 9 : 17;
    char text[48];
    for (int count = 1; count <= maxDigits; ++count) {
        std::snprintf(text, sizeof text, "%.*e", count - 1, static_cast<double>(magnitude));
        // The nearest decimal of `count` digits, and its neighbours: next
        // to a power of two the interval that reads back is lopsided, so a
        // neighbour may read back where the nearest does not.
        const Digits nearest = parseScientific(text);
        unsigned long long mantissa = 0;
        for (int i = 0; i < nearest.count; ++i)
            mantissa = mantissa * 10 + static_cast<unsigned long long>(nearest.digits[i] - '0');

        // The nearest is never farther than a neighbour, so it wins when it
        // reads back (exact ties included, which printf rounds to even).
        for (int step = 0; step < 3; ++step) {
            const unsigned long long m = step == 0 ? mantissa : step == 1 ? mantissa - 1 : mantissa + 1;
            if (m == 0)
                continue;
            char candidate[48];
            candidateText(candidate, sizeof candidate, m, nearest.count, nearest.exponent);
            if (readBack<T>(candidate) == magnitude) {
                Digits shortest = parseScientific(candidate);
                while (shortest.count > 1 && shortest.digits[shortest.count - 1] == '0')
                    --shortest.count;
                return shortest;
            }
        }
    }
    return parseScientific(text);
}

template <class T>
char* writeDigits(char* first, char* last, T value, chars_format format, bool& tooSmall)
{
    std::string out;
    if (std::signbit(value))
        out += '-';
    const T magnitude = std::fabs(value);
    if (magnitude == 0) {
        out += format == chars_format::scientific ? "0e+00" : "0";
    } else {
        const Digits d = shortestDigits(magnitude);
        std::string fixed;
        if (d.exponent < 0) {
            fixed = "0.";
            fixed.append(static_cast<std::size_t>(-d.exponent - 1), '0');
            fixed.append(d.digits, static_cast<std::size_t>(d.count));
        } else if (d.count <= d.exponent + 1) {
            // An integral value is written with all of its digits, as the
            // standard overloads do: 397605984, not 397605980.
            char integral[320];
            if (magnitude < static_cast<T>(1e19))
                fixed.assign(integral, static_cast<std::size_t>(unsignedDigits(static_cast<unsigned long long>(magnitude), integral)));
            else
                fixed.assign(integral, static_cast<std::size_t>(std::snprintf(integral, sizeof integral, "%.0f", static_cast<double>(magnitude))));
        } else {
            fixed.assign(d.digits, static_cast<std::size_t>(d.exponent + 1));
            fixed += '.';
            fixed.append(d.digits + d.exponent + 1, static_cast<std::size_t>(d.count - d.exponent - 1));
        }
        std::string scientific(1, d.digits[0]);
        if (d.count > 1) {
            scientific += '.';
            scientific.append(d.digits + 1, static_cast<std::size_t>(d.count - 1));
        }
        scientific += d.exponent < 0 ? "e-" : "e+";
        if (std::abs(d.exponent) < 10)
            scientific += '0';
        char exponent[24];
        scientific.append(exponent, static_cast<std::size_t>(unsignedDigits(static_cast<unsigned long long>(std::abs(d.exponent)), exponent)));
        if (format == chars_format::fixed)
            out += fixed;
        else if (format == chars_format::scientific)
            out += scientific;
        else if (format == chars_format::general)
            out += d.exponent < -4 || d.exponent >= 6 ? scientific : fixed;
        else
            out += fixed.size() <= scientific.size() ? fixed : scientific;
    }
    tooSmall = static_cast<std::size_t>(last - first) < out.size();
    if (tooSmall)
        return last;
    std::memcpy(first, out.data(), out.size());
    return first + out.size();
}

template <class T>
to_chars_result toChars(char* first, char* last, T value, chars_format format, bool plainChoice)
{
    if (std::isnan(value) || std::isinf(value)) {
        const char* text = std::isnan(value) ? (std::signbit(value) ? "-nan" : "nan") : (value < 0 ? "-inf" : "inf");
        const std::size_t n = std::strlen(text);
        if (static_cast<std::size_t>(last - first) < n)
            return {last, errc::value_too_large};
        std::memcpy(first, text, n);
        return {first + n, errc{}};
    }
    bool tooSmall = false;
    // chars_format has no enumerator for the choice between fixed and
    // scientific that the overload without a format makes; 0 stands for it.
    char* end = writeDigits(first, last, value, plainChoice ? chars_format{} : format, tooSmall);
    return {end, tooSmall ? errc::value_too_large : errc{}};
}

} // namespace shortest_float_text

#if defined(_LIBCPP_VERSION) && _LIBCPP_VERSION < 14000
namespace std {

inline to_chars_result to_chars(char* first, char* last, float value)
{
    return shortest_float_text::toChars(first, last, value, chars_format{}, true);
}
inline to_chars_result to_chars(char* first, char* last, double value)
{
    return shortest_float_text::toChars(first, last, value, chars_format{}, true);
}
inline to_chars_result to_chars(char* first, char* last, float value, chars_format format)
{
    return shortest_float_text::toChars(first, last, value, format, false);
}
inline to_chars_result to_chars(char* first, char* last, double value, chars_format format)
{
    return shortest_float_text::toChars(first, last, value, format, false);
}
// With a precision: what printf's "%.*f", "%.*e" or "%.*g" writes, which is
// what the standard asks of this overload.
inline to_chars_result to_chars(char* first, char* last, double value, chars_format format, int precision)
{
    const char* pattern = format == chars_format::fixed ? "%.*f" : format == chars_format::scientific ? "%.*e" : "%.*g";
    char text[512];
    const int n = std::snprintf(text, sizeof text, pattern, precision, value);
    if (n < 0 || n >= static_cast<int>(sizeof text) || last - first < n)
        return {last, errc::value_too_large};
    std::memcpy(first, text, static_cast<std::size_t>(n));
    return {first + n, errc{}};
}

} // namespace std

#endif
