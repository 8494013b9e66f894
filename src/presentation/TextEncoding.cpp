// Header texts made safe for every view: valid UTF-8, control characters
// escaped, JSON string literals.
#include <VellMetadataContainer/FieldPresentation.h>

#include "NumberText.h"
#include "TextEncoding.h"

#include <cstdint>
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

// Which bytes a view copies as they are: ASCII, for a text that only has to
// be valid UTF-8; printable ASCII, for people; in JSON, ASCII but control
// characters, quotes and backslashes.
enum class Plain { Ascii, Printable, Json };

template <Plain Kind>
bool plainByte(unsigned char c)
{
    if (Kind == Plain::Ascii)
        return c < 0x80;
    if (Kind == Plain::Printable)
        return c >= 0x20 && c < 0x7F;
    return c >= 0x20 && c < 0x80 && c != '"' && c != '\\';
}

// Whether all eight bytes of `word` are plain. Per byte, (b - k) has its high
// bit set, where b has not, exactly when b is below k (a borrow comes only
// from a lower byte that is itself below k); b ^ c is below 1 where b is c.
template <Plain Kind>
bool plainWord(std::uint64_t word)
{
    constexpr std::uint64_t kOnes = 0x0101010101010101u, kHighBits = 0x8080808080808080u;
    if (Kind == Plain::Ascii)
        return (word & kHighBits) == 0;
    if (Kind == Plain::Printable) // above 0x7E: adding one sets the high bit
        return ((((word - kOnes * 0x20) & ~word) | (word + kOnes) | word) & kHighBits) == 0;
    const std::uint64_t below = (word - kOnes * 0x20) | ((word ^ (kOnes * '"')) - kOnes) | ((word ^ (kOnes * '\\')) - kOnes);
    return (((below & ~word) | word) & kHighBits) == 0;
}

// Appends the run of plain bytes at the start of `bytes` and returns its
// length. It is copied as it is looked at, eight bytes at once; a text of
// eight bytes or more ends with the word that ends it, a shorter one of four
// or more is looked at as two overlapping halves of a word.
template <Plain Kind>
std::size_t appendPlainRun(TextBuffer& out, std::string_view bytes)
{
    const std::size_t size = bytes.size();
    const char* const from = bytes.data();
    char* const to = out.room(size);
    std::size_t n = 0;
    if (size >= 8) {
        const auto copyWord = [&](std::size_t at) {
            std::uint64_t word = 0;
            std::memcpy(&word, from + at, sizeof word);
            if (!plainWord<Kind>(word))
                return false;
            std::memcpy(to + at, &word, sizeof word);
            return true;
        };
        while (n + 8 <= size && copyWord(n))
            n += 8;
        if (n + 8 > size && (n == size || copyWord(size - 8)))
            n = size;
    } else if (size >= 4) {
        std::uint32_t first = 0, last = 0;
        std::memcpy(&first, from, sizeof first);
        std::memcpy(&last, from + size - 4, sizeof last);
        if (plainWord<Kind>(first | static_cast<std::uint64_t>(last) << 32)) {
            std::memcpy(to, &first, sizeof first);
            std::memcpy(to + size - 4, &last, sizeof last);
            n = size;
        }
    }
    for (; n < size && plainByte<Kind>(static_cast<unsigned char>(from[n])); ++n)
        to[n] = from[n];
    out.grownTo(to + n);
    return n;
}

// Calls emit(sequence) for every character that is not part of a plain run,
// and appends plain runs to `out` whole: most header texts are plain ASCII.
template <Plain Kind, class Emit>
void forEachSpecial(TextBuffer& out, std::string_view bytes, Emit&& emit)
{
    while (!bytes.empty()) {
        bytes.remove_prefix(appendPlainRun<Kind>(out, bytes));
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

void appendHexByte(TextBuffer& out, const char* prefix, unsigned value, int digits)
{
    out += prefix;
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out += kHexDigits[(value >> shift) & 0xF];
}

} // namespace

void appendValidUtf8(TextBuffer& out, std::string_view bytes)
{
    forEachSpecial<Plain::Ascii>(out, bytes, [&](std::string_view c) { out.append(c); });
}

void appendValidUtf8(std::string& out, std::string_view bytes)
{
    appendBuilt(out, [&](TextBuffer& text) { appendValidUtf8(text, bytes); });
}

std::string validUtf8(std::string_view bytes)
{
    std::string out;
    appendValidUtf8(out, bytes);
    return out;
}

void appendPrintable(TextBuffer& out, std::string_view bytes)
{
    forEachSpecial<Plain::Printable>(out, bytes, [&](std::string_view c) {
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

void appendPrintable(std::string& out, std::string_view bytes)
{
    appendBuilt(out, [&](TextBuffer& text) { appendPrintable(text, bytes); });
}

std::string printable(std::string_view bytes)
{
    std::string out;
    appendPrintable(out, bytes);
    return out;
}

void appendJsonString(TextBuffer& out, std::string_view bytes)
{
    out += '"';
    forEachSpecial<Plain::Json>(out, bytes, [&](std::string_view c) {
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

void appendJsonString(std::string& out, std::string_view bytes)
{
    appendBuilt(out, [&](TextBuffer& text) { appendJsonString(text, bytes); });
}

void appendFloat(TextBuffer& out, float value)
{
    out.grownTo(out.recentFloats().format(out.room(kNumberTextSize), value));
}

void appendFloat(std::string& out, float value)
{
    char buffer[kNumberTextSize];
    out.append(buffer, static_cast<std::size_t>(formatFloat(buffer, value) - buffer));
}

std::string floatText(float value)
{
    std::string out;
    appendFloat(out, value);
    return out;
}

} // namespace Vmc
