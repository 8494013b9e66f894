// SPDX-License-Identifier: Apache-2.0
// Header texts made safe for every view: valid UTF-8, control characters
// escaped, JSON string literals; and numbers as every view writes them.
#include <vellmeta/Text.h>

#include <cmath>
#include <cstdint>
#include <iterator>

#include "Writing.h"

namespace vellmeta {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD
constexpr char32_t kReplacementCodePoint = 0xFFFD;

// Length of the well-formed UTF-8 sequence at `s[i]`, or 0 when the bytes
// there are ill-formed; `bad` then says how many bytes the maximal
// ill-formed subsequence takes (at least 1).
std::size_t sequenceLength(std::string_view s, std::size_t i, std::size_t& bad)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    bad = 1;
    if (lead < 0x80)
        return 1;

    // Continuation bytes needed, and the range the first of them must lie
    // in (narrower after E0, ED, F0 and F4: no overlong forms, no
    // surrogates, nothing above U+10FFFF).
    std::size_t need = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 2;
        if (lead == 0xE0)
            lo = 0xA0;
        if (lead == 0xED)
            hi = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 3;
        if (lead == 0xF0)
            lo = 0x90;
        if (lead == 0xF4)
            hi = 0x8F;
    } else {
        return 0;
    }

    for (std::size_t k = 1; k <= need; ++k) {
        if (i + k >= s.size())
            return 0;
        const unsigned char c = byte(i + k);
        const bool fits = k == 1 ? (c >= lo && c <= hi) : (c >= 0x80 && c <= 0xBF);
        if (!fits)
            return 0;
        bad = k + 1;
    }
    return need + 1;
}

// The code point of a well-formed sequence.
char32_t codePoint(std::string_view sequence)
{
    const auto lead = static_cast<unsigned char>(sequence[0]);
    if (sequence.size() == 1)
        return lead;
    char32_t value = lead & (0x7F >> sequence.size());
    for (std::size_t k = 1; k < sequence.size(); ++k)
        value = (value << 6) | (static_cast<unsigned char>(sequence[k]) & 0x3F);
    return value;
}

// Calls special(sequence) for every character whose first byte `plain`
// refuses (sequence: its well-formed bytes, or U+FFFD for a maximal
// ill-formed subsequence), and appends the runs of plain bytes between them
// whole: most header texts are plain ASCII.
template <class Plain, class Special>
void forEachSpecial(Out& out, std::string_view bytes, Plain&& plain, Special&& special)
{
    std::size_t i = 0;
    while (i < bytes.size() && plain(static_cast<unsigned char>(bytes[i])))
        ++i;
    if (i == bytes.size()) { // all plain: most header texts
        out += bytes;
        return;
    }
    i = 0;
    while (i < bytes.size()) {
        const std::size_t start = i;
        while (i < bytes.size() && plain(static_cast<unsigned char>(bytes[i])))
            ++i;
        out += bytes.substr(start, i - start);
        if (i == bytes.size())
            break;
        std::size_t bad = 1;
        const std::size_t length = sequenceLength(bytes, i, bad);
        special(length > 0 ? bytes.substr(i, length) : kReplacement);
        i += length > 0 ? length : bad;
    }
}

void appendHex(Out& out, const char* prefix, unsigned value, int digits)
{
    out += prefix;
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out += "0123456789ABCDEF"[(value >> shift) & 0xF];
}

bool isControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

bool isSpace(char32_t c)
{
    return c == 0x20 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 ||
           c == 0x202F || c == 0x205F || c == 0x3000;
}

// A whole number below 1e16 is its integer digits ("-0" for negative zero);
// other finite numbers the shortest decimal that reads back as the same
// value. Returns whether the text is all digits.
template <class Number>
bool appendShortestNumber(Out& out, Number value)
{
    if (std::isnan(value)) {
        out += "NaN";
    } else if (std::isinf(value)) {
        out += value > 0 ? "Infinity" : "-Infinity";
    } else if (value == std::trunc(value) && std::fabs(value) < static_cast<Number>(1e16)) {
        if (std::signbit(value))
            out += '-';
        out.integer(static_cast<unsigned long long>(std::fabs(value)));
        return true;
    } else {
        out.format(FMT_COMPILE("{}"), value);
    }
    return false;
}

} // namespace

void appendValidUtf8(Out& out, std::string_view bytes)
{
    forEachSpecial(out, bytes, [](unsigned char c) { return c < 0x80; }, [&](std::string_view c) { out += c; });
}

void appendPrintable(Out& out, std::string_view bytes)
{
    forEachSpecial(out, bytes, [](unsigned char c) { return c >= 0x20 && c < 0x7F; }, [&](std::string_view c) {
        const auto lead = static_cast<unsigned char>(c[0]);
        if (lead == '\n')
            out += "\\n";
        else if (lead == '\t')
            out += "\\t";
        else if (lead == '\r')
            out += "\\r";
        else if (lead < 0x20 || lead == 0x7F)
            appendHex(out, "\\x", lead, 2);
        else if (lead == 0xC2 && static_cast<unsigned char>(c[1]) < 0xA0)
            // U+0080 to U+009F: the C1 controls, which terminals act on.
            appendHex(out, "\\u", static_cast<unsigned char>(c[1]), 4);
        else
            out += c;
    });
}

// The bytes a JSON string holds as they are: ASCII but control characters,
// quotes and backslashes.
struct JsonPlainBytes {
    bool plain[256];
    constexpr JsonPlainBytes() : plain()
    {
        for (int c = 0x20; c < 0x80; ++c)
            plain[c] = c != '"' && c != '\\';
    }
};
constexpr JsonPlainBytes kJsonPlain;

void appendJsonString(Out& out, std::string_view bytes)
{
    out += '"';
    const auto plain = [](unsigned char c) { return kJsonPlain.plain[c]; };
    forEachSpecial(out, bytes, plain, [&](std::string_view c) {
        const auto lead = static_cast<unsigned char>(c[0]);
        switch (lead) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (lead < 0x20) {
                out += "\\u00";
                out += static_cast<char>('0' + (lead >> 4));
                out += "0123456789abcdef"[lead & 0xF];
            } else {
                out += c;
            }
        }
    });
    out += '"';
}

bool isUsableName(std::string_view bytes)
{
    bool said = false;
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::size_t bad = 1;
        const std::size_t length = sequenceLength(bytes, i, bad);
        const char32_t c = length > 0 ? codePoint(bytes.substr(i, length)) : kReplacementCodePoint;
        if (isControl(c))
            return false;
        said = said || !isSpace(c);
        i += length > 0 ? length : bad;
    }
    return said;
}

bool appendShortest(Out& out, float value) { return appendShortestNumber(out, value); }
bool appendShortest(Out& out, double value) { return appendShortestNumber(out, value); }

void appendRounded(Out& out, double value, int decimals)
{
    // Beyond what plain digits show (and a float holds), the shortest form.
    if (!(std::fabs(value) < 1e16)) {
        appendShortest(out, value);
        return;
    }
    // Rounded through whole units of the last decimal, when the rounding is
    // not in doubt: the scaled value lies within half a unit in its last
    // place of the exact product, so a fraction farther than that from one
    // half rounds as the exact value does. A tie, or a value too near one to
    // tell, goes to the exact formatting below, which rounds as printf does.
    // (Frame rates, shutter angles and f-numbers are written clip after
    // clip; the exact formatting costs several times as much.)
    static constexpr std::uint64_t kPowers[] = {1, 10, 100, 1000};
    if (decimals >= 0 && decimals < static_cast<int>(std::size(kPowers))) {
        const double scaled = std::fabs(value) * static_cast<double>(kPowers[decimals]);
        const double whole = std::floor(scaled);
        const double fraction = scaled - whole;
        if (std::fabs(fraction - 0.5) > scaled * 0x1p-52) {
            std::uint64_t units = static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
            while (decimals > 0 && units % 10 == 0) {
                units /= 10;
                --decimals;
            }
            if (units == 0) { // no "-0" for a value that rounds to zero
                out += '0';
                return;
            }
            if (value < 0)
                out += '-';
            out.integer(units / kPowers[decimals]);
            if (decimals > 0)
                out.format(FMT_COMPILE(".{:0{}}"), units % kPowers[decimals], decimals);
            return;
        }
    }
    const std::size_t start = out.size();
    out.format(FMT_COMPILE("{:.{}f}"), value, decimals);
    std::size_t end = out.size();
    if (decimals > 0) {
        while (out[end - 1] == '0')
            --end;
        if (out[end - 1] == '.')
            --end;
    }
    out.truncate(end);
    if (out.view().substr(start) == "-0") { // a value that rounds to zero has no sign
        out.truncate(start);
        out += '0';
    }
}

void appendValidUtf8(std::string& out, std::string_view bytes)
{
    appendBuilt(out, [&](Out& text) { appendValidUtf8(text, bytes); });
}

std::string validUtf8(std::string_view bytes)
{
    std::string out;
    appendValidUtf8(out, bytes);
    return out;
}

void appendPrintable(std::string& out, std::string_view bytes)
{
    appendBuilt(out, [&](Out& text) { appendPrintable(text, bytes); });
}

std::string printable(std::string_view bytes)
{
    std::string out;
    appendPrintable(out, bytes);
    return out;
}

void appendJsonString(std::string& out, std::string_view bytes)
{
    appendBuilt(out, [&](Out& text) { appendJsonString(text, bytes); });
}

std::string floatText(float value)
{
    std::string out;
    appendBuilt(out, [&](Out& text) { appendShortest(text, value); });
    return out;
}

std::string floatText(double value)
{
    std::string out;
    appendBuilt(out, [&](Out& text) { appendShortest(text, value); });
    return out;
}

} // namespace vellmeta
