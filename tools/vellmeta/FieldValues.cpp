#include "FieldValues.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace vellmeta {

// Writes the shortest decimal that reads back as the same finite float:
// plain digits for magnitudes from 0.0001 up to 1e16, scientific notation
// ("1e-05", "3.4028235e+38") outside. Returns the end of the text.
char* writeShortest(char* first, char* last, float value)
{
    const float magnitude = std::fabs(value);
    const bool plain = magnitude == 0.0f || (magnitude >= 1e-4f && magnitude < 1e16f);
    return std::to_chars(first, last, value, plain ? std::chars_format::fixed : std::chars_format::scientific).ptr;
}

} // namespace vellmeta

NLOHMANN_JSON_NAMESPACE_BEGIN
namespace detail {
// A finite float (the writer handles NaN and infinity before it gets here),
// with ".0" added to integral values so that they read back as numbers with
// a fraction, as nlohmann/json writes them.
template <>
__attribute__((nonnull(1, 2), returns_nonnull))
char* to_chars<float>(char* first, const char* last, float value)
{
    char* end = vellmeta::writeShortest(first, const_cast<char*>(last), value);
    if (std::find_if(first, end, [](char c) { return c == '.' || c == 'e'; }) == end && last - end >= 2) {
        *end++ = '.';
        *end++ = '0';
    }
    return end;
}
} // namespace detail
NLOHMANN_JSON_NAMESPACE_END

namespace vellmeta {

namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD"; // U+FFFD

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

std::string pointText(float x, float y)
{
    return "(" + floatText(x) + ", " + floatText(y) + ")";
}

Json pointJson(float x, float y)
{
    return Json::array({jsonValue(x), jsonValue(y)});
}

} // namespace

std::string validUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::size_t bad = 1;
        const std::size_t length = sequenceLength(bytes, i, bad);
        if (length > 0) {
            out.append(bytes.substr(i, length));
            i += length;
        } else {
            out += kReplacement;
            i += bad;
        }
    }
    return out;
}

std::string printable(std::string_view bytes)
{
    const std::string text = validUtf8(bytes);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        char escape[8];
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c < 0x20 || c == 0x7F) {
            std::snprintf(escape, sizeof escape, "\\x%02X", c);
            out += escape;
        } else if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xA0) {
            // U+0080 to U+009F: the C1 controls, which terminals act on.
            std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned char>(text[i + 1]));
            out += escape;
            ++i;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string floatText(float value)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "Infinity" : "-Infinity";
    char buffer[64];
    return std::string(buffer, writeShortest(buffer, buffer + sizeof buffer, value));
}

std::string textValue(std::uint32_t value) { return std::to_string(value); }
std::string textValue(std::int32_t value) { return std::to_string(value); }
std::string textValue(bool value) { return value ? "yes" : "no"; }
std::string textValue(float value) { return floatText(value); }
std::string textValue(const Vmc::Vec2& value) { return pointText(value.x, value.y); }

std::string textValue(const Vmc::Vec3& value)
{
    return "(" + floatText(value.x) + ", " + floatText(value.y) + ", " + floatText(value.z) + ")";
}

std::string textValue(const Vmc::ImageWindow& value)
{
    return textValue(value.first) + " to " + textValue(value.second);
}

std::string textValue(const Vmc::Chromaticities& value)
{
    return "red " + textValue(value.red) + ", green " + textValue(value.green) + ", blue " + textValue(value.blue) +
           ", white " + textValue(value.white);
}

std::string textValue(const Vmc::CameraTriple& value)
{
    return floatText(value.a) + ", " + floatText(value.b) + ", " + floatText(value.c) + " (extra " +
           std::to_string(value.extra) + ")";
}

// A frame rate as the fraction the header holds and as a decimal:
// "23976/1000 (23.976)". A zero denominator gives an infinite or NaN decimal.
std::string textValue(const Vmc::Rational& value)
{
    const double quotient = static_cast<double>(value.numerator) / static_cast<double>(value.denominator);
    std::string decimal;
    if (std::isfinite(quotient)) {
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, quotient);
        decimal.assign(buffer, result.ptr);
    } else {
        decimal = std::isnan(quotient) ? "NaN" : (quotient > 0 ? "Infinity" : "-Infinity");
    }
    return std::to_string(value.numerator) + "/" + std::to_string(value.denominator) + " (" + decimal + ")";
}

// HH:MM:SS:FF, with ';' before the frames for drop-frame counting.
std::string textValue(const VellRawMeta::TC_Struct& value)
{
    std::ostringstream out;
    out << value;
    return out.str();
}

std::string textValue(const MetaString& value)
{
    return value.text != nullptr ? printable(value.text) : std::string();
}

Json jsonValue(std::uint32_t value) { return value; }
Json jsonValue(std::int32_t value) { return value; }
Json jsonValue(bool value) { return value; }

Json jsonValue(float value)
{
    if (!std::isfinite(value))
        return floatText(value); // JSON has no NaN or infinity
    return value;
}

Json jsonValue(const Vmc::Vec2& value) { return pointJson(value.x, value.y); }

Json jsonValue(const Vmc::Vec3& value)
{
    return Json::array({jsonValue(value.x), jsonValue(value.y), jsonValue(value.z)});
}

Json jsonValue(const Vmc::ImageWindow& value)
{
    return Json::array({jsonValue(value.first), jsonValue(value.second)});
}

Json jsonValue(const Vmc::Chromaticities& value)
{
    return Json::array({jsonValue(value.red), jsonValue(value.green), jsonValue(value.blue), jsonValue(value.white)});
}

Json jsonValue(const Vmc::CameraTriple& value)
{
    return Json::array({jsonValue(value.a), jsonValue(value.b), jsonValue(value.c), jsonValue(value.extra)});
}

Json jsonValue(const Vmc::Rational& value)
{
    Json out = Json::object();
    out["numerator"] = value.numerator;
    out["denominator"] = value.denominator;
    return out;
}

Json jsonValue(const VellRawMeta::TC_Struct& value)
{
    // The record is packed and may lie misaligned in the container: its
    // words are read by value, never bound to references.
    const std::uint32_t bcdTime = value.bcdTime;
    const std::uint32_t word1 = value.word1;
    const std::uint32_t rateAndDropFrame = value.rateAndDropFrame;
    const std::uint32_t word3 = value.word3;
    Json out = Json::object();
    out["text"] = textValue(value);
    out["bcdTime"] = bcdTime;
    out["word1"] = word1;
    out["rateAndDropFrame"] = rateAndDropFrame;
    out["word3"] = word3;
    return out;
}

Json jsonValue(const MetaString& value)
{
    return value.text != nullptr ? validUtf8(value.text) : std::string();
}

} // namespace vellmeta
