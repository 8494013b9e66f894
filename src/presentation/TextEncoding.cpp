// Header texts made safe for every view (valid UTF-8, control characters
// escaped, JSON string literals) and floats as their shortest decimal.
#include <VellMetadataContainer/FieldPresentation.h>

#include "ShortText.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace Vmc {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD
constexpr char kHexDigits[] = "0123456789ABCDEF";

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

// Length of the run of printable ASCII at the start of `bytes` that needs no
// escape (in JSON, quotes and backslashes do).
template <bool Json>
std::size_t plainRun(std::string_view bytes)
{
    std::size_t n = 0;
    while (n < bytes.size()) {
        const unsigned char c = static_cast<unsigned char>(bytes[n]);
        if (c < 0x20 || c >= 0x7F || (Json && (c == '"' || c == '\\')))
            break;
        ++n;
    }
    return n;
}

// Calls emit(sequence) for every character that is not part of a plain run,
// and appends plain runs to `out` whole: most header texts are plain ASCII.
template <bool Json = false, class Emit>
void forEachSpecial(std::string& out, std::string_view bytes, Emit&& emit)
{
    while (!bytes.empty()) {
        const std::size_t run = plainRun<Json>(bytes);
        out.append(bytes.substr(0, run));
        bytes.remove_prefix(run);
        if (bytes.empty())
            break;
        // The next character: one well-formed sequence, or U+FFFD for the
        // maximal ill-formed one.
        std::size_t bad = 1;
        const std::size_t length = sequenceLength(bytes, 0, bad);
        emit(length > 0 ? bytes.substr(0, length) : kReplacement);
        bytes.remove_prefix(length > 0 ? length : bad);
    }
}

void appendHexByte(std::string& out, const char* prefix, unsigned value, int digits)
{
    out += prefix;
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out += kHexDigits[(value >> shift) & 0xF];
}

} // namespace

void appendValidUtf8(std::string& out, std::string_view bytes)
{
    forEachSpecial(out, bytes, [&](std::string_view c) { out.append(c); });
}

std::string validUtf8(std::string_view bytes)
{
    std::string out;
    appendValidUtf8(out, bytes);
    return out;
}

void appendPrintable(std::string& out, std::string_view bytes)
{
    forEachSpecial(out, bytes, [&](std::string_view c) {
        const unsigned char lead = static_cast<unsigned char>(c[0]);
        if (lead == '\n')
            out += "\\n";
        else if (lead == '\t')
            out += "\\t";
        else if (lead == '\r')
            out += "\\r";
        else if (lead < 0x20 || lead == 0x7F)
            appendHexByte(out, "\\x", lead, 2);
        else if (lead == 0xC2 && static_cast<unsigned char>(c[1]) < 0xA0)
            // U+0080 to U+009F: the C1 controls, which terminals act on.
            appendHexByte(out, "\\u", static_cast<unsigned char>(c[1]), 4);
        else
            out.append(c);
    });
}

std::string printable(std::string_view bytes)
{
    std::string out;
    appendPrintable(out, bytes);
    return out;
}

void appendJsonString(std::string& out, std::string_view bytes)
{
    out += '"';
    forEachSpecial<true>(out, bytes, [&](std::string_view c) {
        const unsigned char lead = static_cast<unsigned char>(c[0]);
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
                out.append(c);
            }
        }
    });
    out += '"';
}

std::size_t formatFloat(char* buffer, float value)
{
    std::string_view word;
    if (std::isnan(value))
        word = "NaN";
    else if (std::isinf(value))
        word = value > 0 ? "Infinity" : "-Infinity";
    if (!word.empty()) {
        std::memcpy(buffer, word.data(), word.size());
        return word.size();
    }
    // Whole numbers below 2^24 (most values of a header) are their integer
    // digits, which are much cheaper to find.
    const float magnitude = std::fabs(value);
    if (magnitude < 16777216.0f && value == std::trunc(value) && !(value == 0.0f && std::signbit(value))) {
        const auto whole = static_cast<std::int32_t>(value);
        return static_cast<std::size_t>(std::to_chars(buffer, buffer + kFloatTextSize, whole).ptr - buffer);
    }
    // Plain digits for magnitudes from 0.0001 up to 1e16, scientific
    // notation ("1e-05", "3.4028235e+38") outside.
    const bool plain = magnitude == 0.0f || (magnitude >= 1e-4f && magnitude < 1e16f);
    const auto format = plain ? std::chars_format::fixed : std::chars_format::scientific;
    return static_cast<std::size_t>(std::to_chars(buffer, buffer + kFloatTextSize, value, format).ptr - buffer);
}

void appendFloat(std::string& out, float value)
{
    char buffer[kFloatTextSize];
    out.append(buffer, formatFloat(buffer, value));
}

std::string floatText(float value)
{
    std::string out;
    appendFloat(out, value);
    return out;
}

} // namespace Vmc
