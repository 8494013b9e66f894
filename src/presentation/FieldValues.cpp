// One formatting of every field value: for people, as plain decoded numbers,
// and as typed JSON. Values are formatted per value type, and converted for
// people per reading; no field has a formatter of its own.
#include <VellMetadataContainer/FieldPresentation.h>

#include "FieldEntry.h"
#include "ShortText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <type_traits>
#include <utility>

namespace Vmc {

namespace {

using Container = VellMetadataContainer;

// ---- plain decoded numbers ------------------------------------------------

template <class Out>
void appendNumber(Out& out, std::uint64_t value)
{
    char buffer[24];
    out.append(buffer, static_cast<std::size_t>(std::to_chars(buffer, buffer + sizeof buffer, value).ptr - buffer));
}

template <class Out>
void appendNumber(Out& out, std::int64_t value)
{
    char buffer[24];
    out.append(buffer, static_cast<std::size_t>(std::to_chars(buffer, buffer + sizeof buffer, value).ptr - buffer));
}

// A double as its shortest round-trip decimal; "NaN", "Infinity", "-Infinity".
template <class Out>
void appendDouble(Out& out, double value)
{
    if (std::isnan(value)) {
        out += "NaN";
    } else if (std::isinf(value)) {
        out += value > 0 ? "Infinity" : "-Infinity";
    } else {
        char buffer[64];
        out.append(buffer, static_cast<std::size_t>(std::to_chars(buffer, buffer + sizeof buffer, value).ptr - buffer));
    }
}

// A number with at most `decimals` decimals, trailing zeros dropped:
// 23.976, 25, 29.97.
template <class Out>
void appendRounded(Out& out, double value, int decimals)
{
    // printf's "%.*f", without the cost of parsing a format.
    char buffer[64];
    const auto [last, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (error != std::errc())
        return appendDouble(out, value);
    auto end = last - buffer;
    if (decimals > 0) {
        while (buffer[end - 1] == '0')
            --end;
        if (buffer[end - 1] == '.')
            --end;
    }
    if (end == 2 && buffer[0] == '-' && buffer[1] == '0')
        out += '0'; // no "-0" for a value that rounds to zero
    else
        out.append(buffer, static_cast<std::size_t>(end));
}

template <class Out>
void appendPoint(Out& out, float x, float y)
{
    out += '(';
    appendFloat(out, x);
    out += ", ";
    appendFloat(out, y);
    out += ')';
}

template <class Out>
void appendPlain(Out& out, std::uint32_t value) { appendNumber(out, static_cast<std::uint64_t>(value)); }
template <class Out>
void appendPlain(Out& out, std::int32_t value) { appendNumber(out, static_cast<std::int64_t>(value)); }
template <class Out>
void appendPlain(Out& out, bool value) { out += value ? "yes" : "no"; }
template <class Out>
void appendPlain(Out& out, float value) { appendFloat(out, value); }
template <class Out>
void appendPlain(Out& out, const Vec2& value) { appendPoint(out, value.x, value.y); }

template <class Out>
void appendPlain(Out& out, const Vec3& value)
{
    out += '(';
    appendFloat(out, value.x);
    out += ", ";
    appendFloat(out, value.y);
    out += ", ";
    appendFloat(out, value.z);
    out += ')';
}

template <class Out>
void appendPlain(Out& out, const ImageWindow& value)
{
    appendPlain(out, value.first);
    out += " to ";
    appendPlain(out, value.second);
}

template <class Out>
void appendPlain(Out& out, const Chromaticities& value)
{
    out += "red ";
    appendPlain(out, value.red);
    out += ", green ";
    appendPlain(out, value.green);
    out += ", blue ";
    appendPlain(out, value.blue);
    out += ", white ";
    appendPlain(out, value.white);
}

template <class Out>
void appendPlain(Out& out, const CameraTriple& value)
{
    appendFloat(out, value.a);
    out += ", ";
    appendFloat(out, value.b);
    out += ", ";
    appendFloat(out, value.c);
    out += " (extra ";
    appendPlain(out, value.extra);
    out += ')';
}

double quotient(const Rational& value)
{
    return static_cast<double>(value.numerator) / static_cast<double>(value.denominator);
}

// A fraction as the header holds it and as a decimal: "23976/1000 (23.976)".
template <class Out>
void appendPlain(Out& out, const Rational& value)
{
    appendPlain(out, value.numerator);
    out += '/';
    appendPlain(out, value.denominator);
    out += " (";
    appendDouble(out, quotient(value));
    out += ')';
}

// HH:MM:SS:FF, with ';' before the frames for drop-frame counting, as the
// time-code printer writes it: each BCD nibble as its decimal value (a nibble
// above 9 as two digits).
template <class Out>
void appendPlain(Out& out, const VellRawMeta::TC_Struct& value)
{
    const std::uint32_t bcd = value.bcdTime;
    const bool dropFrame = static_cast<std::int32_t>(static_cast<std::uint32_t>(value.rateAndDropFrame)) < 0;
    for (int shift = 28; shift >= 0; shift -= 4) {
        const unsigned nibble = (bcd >> shift) & 0xF;
        if (nibble >= 10)
            out += '1';
        out += static_cast<char>('0' + nibble % 10);
        if (shift == 24 || shift == 16)
            out += ':';
        else if (shift == 8)
            out += dropFrame ? ';' : ':';
    }
}

void appendPlain(std::string& out, const MetaString& value)
{
    if (value.text != nullptr)
        appendPrintable(out, value.text);
}

// ---- values for people ----------------------------------------------------

template <class T>
bool finite(const T&)
{
    return true;
}
bool finite(float value) { return std::isfinite(value); }

template <class Out>
void appendUnit(Out& out, const char* unit)
{
    if (*unit != '\0') {
        out += ' ';
        out += unit;
    }
}

template <class Out>
void appendFrameRate(Out& out, double rate)
{
    appendRounded(out, rate, 3);
    out += " fps";
}

// "1/48 s (0.020833 s)" for a time close to a whole fraction of a second,
// then the shutter angle, 360° × exposure time × sensor frame rate, where the
// sensor frame rate is known: "1/48 s (0.020833 s), 180° shutter".
template <class Out>
void appendExposureTime(Out& out, float seconds, const Container& container)
{
    const double reciprocal = 1.0 / static_cast<double>(seconds);
    const double whole = std::round(reciprocal);
    if (seconds > 0.0f && seconds < 1.0f && std::fabs(reciprocal - whole) <= 0.01 * whole) {
        out += "1/";
        appendRounded(out, whole, 0);
        out += " s (";
        appendFloat(out, seconds);
        out += " s)";
    } else {
        appendFloat(out, seconds);
        out += " s";
    }
    const MetaField<Rational>& rate = container.sensorFrameRate;
    if (rate.defined && rate.value.denominator != 0 && rate.value.numerator > 0 && seconds > 0.0f) {
        const double angle = 360.0 * static_cast<double>(seconds) * quotient(rate.value);
        if (std::isfinite(angle)) {
            out += ", ";
            appendRounded(out, angle, 1);
            out += "\xC2\xB0 shutter"; // degree sign
        }
    }
}

// The f-number. The header gives whole stops, 2^(k/2); those have names
// that differ from their value rounded (f/5.6 is 5.657, f/11 is 11.31).
template <class Out>
void appendFNumber(Out& out, float aperture)
{
    static constexpr const char* kStopNames[] = {"1",  "1.4", "2",  "2.8", "4",   "5.6", "8",  "11",
                                                 "16", "22",  "32", "45",  "64",  "90",  "128"};
    out += "f/";
    const double halfStops = std::round(2.0 * std::log2(static_cast<double>(aperture)));
    if (halfStops >= 0 && halfStops < static_cast<double>(std::size(kStopNames)) &&
        std::exp2f(static_cast<float>(halfStops) * 0.5f) == aperture) {
        out += kStopNames[static_cast<std::size_t>(halfStops)];
        return;
    }
    appendRounded(out, aperture, aperture < 10.0f ? 1 : 0);
}

template <class Out>
void appendAngle(Out& out, float degrees, const char* positive, const char* negative)
{
    appendFloat(out, std::fabs(degrees));
    out += "\xC2\xB0 ";
    out += degrees < 0.0f ? negative : positive;
}

// Seconds as an offset of the clock: "+05:30", "-04:00", "+00:00:30".
template <class Out>
void appendClockOffset(Out& out, float seconds)
{
    const long long total = std::llround(seconds);
    const long long magnitude = total < 0 ? -total : total;
    char buffer[48];
    int n = std::snprintf(buffer, sizeof buffer, "%c%02lld:%02lld", total < 0 ? '-' : '+', magnitude / 3600,
                          magnitude / 60 % 60);
    if (magnitude % 60 != 0 && n > 0)
        n += std::snprintf(buffer + n, sizeof buffer - static_cast<std::size_t>(n), ":%02lld", magnitude % 60);
    out += buffer;
}

template <class Out>
void appendSigned(Out& out, std::int32_t value)
{
    if (value > 0)
        out += '+';
    appendPlain(out, value);
}

// The time code, its rate and its drop-frame mark: "01:00:00;00 at 29.97 fps, drop frame".
template <class Out>
void appendTimeCode(Out& out, const VellRawMeta::TC_Struct& value)
{
    appendPlain(out, value);
    const std::uint32_t word = value.rateAndDropFrame;
    const std::uint32_t thousandths = word & 0x7FFFFFFFu;
    if (thousandths != 0) {
        out += " at ";
        appendFrameRate(out, thousandths / 1000.0);
    }
    if ((word & 0x80000000u) != 0)
        out += ", drop frame";
}

// "(0, 0) to (4095, 2159), 4096 × 2160 px"
template <class Out>
void appendWindow(Out& out, const ImageWindow& window)
{
    appendPlain(out, window);
    const double width = static_cast<double>(window.second.x) - window.first.x + 1.0;
    const double height = static_cast<double>(window.second.y) - window.first.y + 1.0;
    if (std::isfinite(width) && std::isfinite(height) && width > 0 && height > 0) {
        out += ", ";
        appendDouble(out, width);
        out += " \xC3\x97 "; // multiplication sign
        appendDouble(out, height);
        out += " px";
    }
}

template <class Out, class T>
void appendPeople(Out& out, const T& value, const FieldPresentation& p, const Container& container)
{
    if constexpr (std::is_same_v<T, float>) {
        if (std::isfinite(value)) {
            switch (p.reading) {
            case FieldReading::ExposureTime: return appendExposureTime(out, value, container);
            case FieldReading::FrameRate: return appendFrameRate(out, value);
            case FieldReading::FNumber:
                if (value > 0.0f)
                    return appendFNumber(out, value);
                break;
            case FieldReading::Latitude: return appendAngle(out, value, "N", "S");
            case FieldReading::Longitude: return appendAngle(out, value, "E", "W");
            case FieldReading::ClockOffset:
                if (std::fabs(value) < 1e12f)
                    return appendClockOffset(out, value);
                break;
            default: break;
            }
        } else if (p.reading == FieldReading::Distance && value > 0.0f) {
            out += "infinity";
            return;
        }
    } else if constexpr (std::is_same_v<T, Rational>) {
        if (p.reading == FieldReading::FrameRate && value.denominator != 0)
            return appendFrameRate(out, quotient(value));
    } else if constexpr (std::is_same_v<T, std::int32_t>) {
        if (p.reading == FieldReading::FrameRate)
            return appendFrameRate(out, value);
        if (p.reading == FieldReading::Tint)
            return appendSigned(out, value);
    } else if constexpr (std::is_same_v<T, std::uint32_t>) {
        if (p.reading == FieldReading::WhiteBalance) {
            appendPlain(out, value);
            out += " K";
            if (container.whiteBalanceTint.defined) {
                out += ", tint ";
                appendSigned(out, container.whiteBalanceTint.value);
            }
            return;
        }
    } else if constexpr (std::is_same_v<T, VellRawMeta::TC_Struct>) {
        if (p.reading == FieldReading::TimeCode)
            return appendTimeCode(out, value);
    } else if constexpr (std::is_same_v<T, ImageWindow>) {
        if (p.reading == FieldReading::Window)
            return appendWindow(out, value);
    }
    appendPlain(out, value);
    if (finite(value) && (p.reading == FieldReading::Plain || p.reading == FieldReading::Distance))
        appendUnit(out, p.unit);
}

// ---- typed JSON -----------------------------------------------------------

template <class Out>
void appendJson(Out& out, std::uint32_t value) { appendPlain(out, value); }
template <class Out>
void appendJson(Out& out, std::int32_t value) { appendPlain(out, value); }
template <class Out>
void appendJson(Out& out, bool value) { out += value ? "true" : "false"; }

// The shortest decimal, with ".0" after integral values so that they read
// back as numbers with a fraction; JSON has no NaN or infinity, so those are
// the strings "NaN", "Infinity" and "-Infinity".
template <class Out>
void appendJson(Out& out, float value)
{
    if (!std::isfinite(value)) {
        out += '"';
        appendFloat(out, value);
        out += '"';
        return;
    }
    char buffer[kFloatTextSize];
    const std::size_t length = formatFloat(buffer, value);
    out.append(buffer, length);
    if (std::none_of(buffer, buffer + length, [](char c) { return c == '.' || c == 'e'; }))
        out += ".0";
}

template <class Out>
void appendJsonPoint(Out& out, float x, float y)
{
    out += '[';
    appendJson(out, x);
    out += ',';
    appendJson(out, y);
    out += ']';
}

template <class Out>
void appendJson(Out& out, const Vec2& value) { appendJsonPoint(out, value.x, value.y); }

template <class Out>
void appendJson(Out& out, const Vec3& value)
{
    out += '[';
    appendJson(out, value.x);
    out += ',';
    appendJson(out, value.y);
    out += ',';
    appendJson(out, value.z);
    out += ']';
}

template <class Out>
void appendJson(Out& out, const ImageWindow& value)
{
    out += '[';
    appendJson(out, value.first);
    out += ',';
    appendJson(out, value.second);
    out += ']';
}

template <class Out>
void appendJson(Out& out, const Chromaticities& value)
{
    out += '[';
    appendJson(out, value.red);
    out += ',';
    appendJson(out, value.green);
    out += ',';
    appendJson(out, value.blue);
    out += ',';
    appendJson(out, value.white);
    out += ']';
}

template <class Out>
void appendJson(Out& out, const CameraTriple& value)
{
    out += '[';
    appendJson(out, value.a);
    out += ',';
    appendJson(out, value.b);
    out += ',';
    appendJson(out, value.c);
    out += ',';
    appendJson(out, value.extra);
    out += ']';
}

template <class Out>
void appendJson(Out& out, const Rational& value)
{
    out += "{\"numerator\":";
    appendJson(out, value.numerator);
    out += ",\"denominator\":";
    appendJson(out, value.denominator);
    out += '}';
}

template <class Out>
void appendJson(Out& out, const VellRawMeta::TC_Struct& value)
{
    // The record is packed and may lie misaligned in the container: its
    // words are read by value, never bound to references.
    out += "{\"text\":\"";
    appendPlain(out, value);
    out += "\",\"bcdTime\":";
    appendJson(out, static_cast<std::uint32_t>(value.bcdTime));
    out += ",\"word1\":";
    appendJson(out, static_cast<std::uint32_t>(value.word1));
    out += ",\"rateAndDropFrame\":";
    appendJson(out, static_cast<std::uint32_t>(value.rateAndDropFrame));
    out += ",\"word3\":";
    appendJson(out, static_cast<std::uint32_t>(value.word3));
    out += '}';
}

void appendJson(std::string& out, const MetaString& value)
{
    appendJsonString(out, value.text != nullptr ? std::string_view(value.text) : std::string_view());
}

// ---- one entry per field ----------------------------------------------------

template <class T>
const T& valueOf(const MetaField<T>& field)
{
    return field.value;
}
const MetaString& valueOf(const MetaString& field) { return field; }

struct FieldOps {
    bool (*defined)(const Container&);
    void (*text)(std::string&, std::string_view prefix, const Container&, const FieldPresentation&, TextStyle);
    void (*json)(std::string&, std::string_view prefix, const Container&);
};

// Appends `prefix` and what `format` writes: header texts straight to
// `out`, other values through a ShortText, in one append.
template <class T, class Format>
void appendFormatted(std::string& out, std::string_view prefix, Format&& format)
{
    if constexpr (std::is_same_v<T, MetaString>) {
        out += prefix;
        format(out);
    } else {
        ShortText text;
        text += prefix;
        format(text);
        text.appendTo(out);
    }
}

template <auto Member>
constexpr FieldOps opsOf()
{
    using Value = std::decay_t<decltype(valueOf(std::declval<const Container&>().*Member))>;
    return {
        [](const Container& c) { return (c.*Member).defined != 0; },
        [](std::string& out, std::string_view prefix, const Container& c, const FieldPresentation& p,
           TextStyle style) {
            appendFormatted<Value>(out, prefix, [&](auto& text) {
                if (style == TextStyle::People)
                    appendPeople(text, valueOf(c.*Member), p, c);
                else
                    appendPlain(text, valueOf(c.*Member));
            });
        },
        [](std::string& out, std::string_view prefix, const Container& c) {
            appendFormatted<Value>(out, prefix, [&](auto& text) { appendJson(text, valueOf(c.*Member)); });
        },
    };
}

constexpr FieldOps kFieldOps[] = {
#define VMC_FIELD(name, ...) opsOf<&VellMetadataContainer::name>(),
#include <VellMetadataContainer/ContainerFields.def>
#undef VMC_FIELD
};

} // namespace

int fieldIndex(std::string_view name)
{
    for (int i = 0; i < kFieldCount; ++i)
        if (name == kFieldPresentations[i].name)
            return i;
    return -1;
}

bool fieldDefined(const VellMetadataContainer& container, int index)
{
    return kFieldOps[index].defined(container);
}

bool listedForPeople(const VellMetadataContainer& container, int index)
{
    if (!fieldDefined(container, index))
        return false;
    return !(kFieldPresentations[index].reading == FieldReading::Tint && container.whiteBalanceCct.defined);
}

void appendFieldTextEntry(std::string& out, std::string_view prefix, const VellMetadataContainer& container, int index,
                          TextStyle style)
{
    if (fieldDefined(container, index))
        kFieldOps[index].text(out, prefix, container, kFieldPresentations[index], style);
    else
        out += prefix;
}

void appendFieldText(std::string& out, const VellMetadataContainer& container, int index, TextStyle style)
{
    appendFieldTextEntry(out, "", container, index, style);
}

std::string fieldText(const VellMetadataContainer& container, int index, TextStyle style)
{
    std::string out;
    appendFieldText(out, container, index, style);
    return out;
}

void appendFieldJsonEntry(std::string& out, std::string_view prefix, const VellMetadataContainer& container, int index)
{
    if (fieldDefined(container, index)) {
        kFieldOps[index].json(out, prefix, container);
    } else {
        out += prefix;
        out += "null";
    }
}

void appendFieldJson(std::string& out, const VellMetadataContainer& container, int index)
{
    appendFieldJsonEntry(out, "", container, index);
}

} // namespace Vmc
