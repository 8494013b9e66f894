// One formatting of every field value: for people, as plain decoded numbers,
// and as typed JSON. Values are formatted per value type, and converted for
// people per reading; no field has a formatter of its own.
#include <VellMetadataContainer/FieldPresentation.h>

#include "FieldEntry.h"
#include "NumberText.h"
#include "TextEncoding.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <type_traits>
#include <utility>

namespace Vmc {

namespace {

using Container = VellMetadataContainer;
using Out = TextBuffer;

// Every writer of a value, declared first so that the list writers below
// find those of the types they hold.
void appendPlain(Out& out, std::uint32_t value);
void appendPlain(Out& out, std::int32_t value);
void appendPlain(Out& out, bool value);
void appendPlain(Out& out, float value);
void appendPlain(Out& out, const Vec2& value);
void appendJson(Out& out, std::uint32_t value);
void appendJson(Out& out, std::int32_t value);
void appendJson(Out& out, bool value);
void appendJson(Out& out, float value);
void appendJson(Out& out, const Vec2& value);

// ---- plain decoded numbers ------------------------------------------------

// A double as its shortest round-trip decimal; "NaN", "Infinity", "-Infinity".
void appendDouble(Out& out, double value)
{
    if (std::isnan(value)) {
        out += "NaN";
    } else if (std::isinf(value)) {
        out += value > 0 ? "Infinity" : "-Infinity";
    } else if (value == std::trunc(value) && std::fabs(value) < 1e5 && !(value == 0 && std::signbit(value))) {
        // A whole number this small is its integer digits (from 1e5 on, the
        // shortest form of some is scientific: "1e+05").
        appendInteger(out, static_cast<std::int32_t>(value));
    } else {
        char* text = out.room(kNumberTextSize);
        out.grownTo(std::to_chars(text, text + kNumberTextSize, value).ptr);
    }
}

// A number with at most `decimals` decimals, trailing zeros dropped:
// 23.976, 25, 29.97.
void appendRounded(Out& out, double value, int decimals)
{
    out.grownTo(formatRounded(out.room(kNumberTextSize), value, decimals));
}

// "(a, b, c)": a point or a vector.
template <class... T>
void appendTuple(Out& out, const T&... items)
{
    std::string_view separator = "(";
    ((out += separator, appendPlain(out, items), separator = ", "), ...);
    out += ')';
}

// "[a,b,c]"
template <class... T>
void appendJsonArray(Out& out, const T&... items)
{
    char separator = '[';
    ((out += separator, appendJson(out, items), separator = ','), ...);
    out += ']';
}

void appendPlain(Out& out, std::uint32_t value) { appendInteger(out, value); }
void appendPlain(Out& out, std::int32_t value) { appendInteger(out, value); }
void appendPlain(Out& out, bool value) { out += value ? "yes" : "no"; }
void appendPlain(Out& out, float value) { appendFloat(out, value); }
void appendPlain(Out& out, const Vec2& value) { appendTuple(out, value.x, value.y); }
void appendPlain(Out& out, const Vec3& value) { appendTuple(out, value.x, value.y, value.z); }

void appendPlain(Out& out, const ImageWindow& value)
{
    appendPlain(out, value.first);
    out += " to ";
    appendPlain(out, value.second);
}

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
void appendPlain(Out& out, const VellRawMeta::TC_Struct& value)
{
    const std::uint32_t bcd = value.bcdTime;
    const bool dropFrame = static_cast<std::int32_t>(static_cast<std::uint32_t>(value.rateAndDropFrame)) < 0;
    char* text = out.room(19); // eight digits of at most two, three separators
    // A nibble above 9 has its top bit and one of the two below it set.
    if ((bcd & 0x88888888u & (((bcd & 0x44444444u) << 1) | ((bcd & 0x22222222u) << 2))) == 0) {
        // Every nibble a digit: "HH:MM:SS:FF" at fixed places.
        static constexpr int kPlaces[] = {0, 1, 3, 4, 6, 7, 9, 10};
        for (int i = 0; i < 8; ++i)
            text[kPlaces[i]] = static_cast<char>('0' + ((bcd >> (28 - 4 * i)) & 0xF));
        text[2] = text[5] = ':';
        text[8] = dropFrame ? ';' : ':';
        out.grownTo(text + 11);
        return;
    }
    for (int shift = 28; shift >= 0; shift -= 4) {
        const unsigned nibble = (bcd >> shift) & 0xF;
        if (nibble >= 10)
            *text++ = '1';
        *text++ = static_cast<char>('0' + nibble % 10);
        if (shift == 24 || shift == 16)
            *text++ = ':';
        else if (shift == 8)
            *text++ = dropFrame ? ';' : ':';
    }
    out.grownTo(text);
}

void appendPlain(Out& out, const MetaString& value)
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

void appendUnit(Out& out, const char* unit)
{
    if (*unit != '\0') {
        out += ' ';
        out += unit;
    }
}

void appendFrameRate(Out& out, double rate)
{
    appendRounded(out, rate, 3);
    out += " fps";
}

// "1/48 s (0.020833 s)" for a time close to a whole fraction of a second,
// then the shutter angle, 360° × exposure time × sensor frame rate, where the
// sensor frame rate is known: "1/48 s (0.020833 s), 180° shutter".
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

void appendAngle(Out& out, float degrees, const char* positive, const char* negative)
{
    appendFloat(out, std::fabs(degrees));
    out += "\xC2\xB0 ";
    out += degrees < 0.0f ? negative : positive;
}

// Seconds as an offset of the clock: "+05:30", "-04:00", "+00:00:30".
void appendClockOffset(Out& out, float seconds)
{
    const long long total = std::llround(seconds);
    const unsigned long long magnitude = total < 0 ? 0ULL - static_cast<unsigned long long>(total) : total;
    const auto appendTwoDigits = [&](unsigned long long value) { // at least two: "05", "123"
        if (value < 10)
            out += '0';
        appendInteger(out, value);
    };
    out += total < 0 ? '-' : '+';
    appendTwoDigits(magnitude / 3600);
    out += ':';
    appendTwoDigits(magnitude / 60 % 60);
    if (magnitude % 60 != 0) {
        out += ':';
        appendTwoDigits(magnitude % 60);
    }
}

void appendSigned(Out& out, std::int32_t value)
{
    if (value > 0)
        out += '+';
    appendPlain(out, value);
}

// The time code, its rate and its drop-frame mark: "01:00:00;00 at 29.97 fps, drop frame".
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

template <class T>
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

void appendJson(Out& out, std::uint32_t value) { appendInteger(out, value); }
void appendJson(Out& out, std::int32_t value) { appendInteger(out, value); }
void appendJson(Out& out, bool value) { out += value ? "true" : "false"; }

// The shortest decimal, with ".0" after whole values so that they read back
// as numbers with a fraction; JSON has no NaN or infinity, so those are the
// strings "NaN", "Infinity" and "-Infinity".
void appendJson(Out& out, float value)
{
    if (!std::isfinite(value)) {
        out += '"';
        appendFloat(out, value);
        out += '"';
        return;
    }
    out.grownTo(out.recentFloats().formatJson(out.room(kNumberTextSize), value));
}

void appendJson(Out& out, const Vec2& value) { appendJsonArray(out, value.x, value.y); }
void appendJson(Out& out, const Vec3& value) { appendJsonArray(out, value.x, value.y, value.z); }
void appendJson(Out& out, const ImageWindow& value) { appendJsonArray(out, value.first, value.second); }

void appendJson(Out& out, const Chromaticities& value)
{
    appendJsonArray(out, value.red, value.green, value.blue, value.white);
}

void appendJson(Out& out, const CameraTriple& value) { appendJsonArray(out, value.a, value.b, value.c, value.extra); }

void appendJson(Out& out, const Rational& value)
{
    out += "{\"numerator\":";
    appendJson(out, value.numerator);
    out += ",\"denominator\":";
    appendJson(out, value.denominator);
    out += '}';
}

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

void appendJson(Out& out, const MetaString& value)
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

template <auto Member>
constexpr FieldOps opsOf()
{
    return {
        [](const Container& c) { return (c.*Member).defined != 0; },
        [](Out& out, const Container& c, const FieldPresentation& p, TextStyle style) {
            if (!(c.*Member).defined)
                return false;
            if (style == TextStyle::People)
                appendPeople(out, valueOf(c.*Member), p, c);
            else
                appendPlain(out, valueOf(c.*Member));
            return true;
        },
        [](Out& out, const Container& c) {
            if (!(c.*Member).defined)
                return false;
            appendJson(out, valueOf(c.*Member));
            return true;
        },
    };
}

} // namespace

constexpr FieldOps kFieldOps[kFieldCount] = {
#define VMC_FIELD(name, ...) opsOf<&VellMetadataContainer::name>(),
#include <VellMetadataContainer/ContainerFields.def>
#undef VMC_FIELD
};

namespace {

// ,"name":value of a field, written inline: the key is a constant.
template <class Field, std::size_t N>
void appendJsonMember(Out& out, const Field& field, const char (&key)[N], bool all)
{
    if (field.defined) {
        out.append(key, N - 1);
        appendJson(out, valueOf(field));
    } else if (all) {
        out.append(key, N - 1);
        out += "null";
    }
}

} // namespace

void appendFieldsJsonObject(TextBuffer& out, const VellMetadataContainer& container, const FieldMask& wanted, bool all)
{
    appendJsonObject(out, [&] {
        std::size_t index = 0;
#define VMC_FIELD(name, ...)                                                                                           \
    if (wanted[index++])                                                                                               \
        appendJsonMember(out, container.name, ",\"" #name "\":", all);
#include <VellMetadataContainer/ContainerFields.def>
#undef VMC_FIELD
    });
}

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
    return fieldDefined(container, index) && !tintInWhiteBalance(container, kFieldPresentations[index]);
}

void appendFieldText(std::string& out, const VellMetadataContainer& container, int index, TextStyle style)
{
    appendBuilt(out, [&](TextBuffer& text) { appendFieldTextIfDefined(text, container, index, style); });
}

std::string fieldText(const VellMetadataContainer& container, int index, TextStyle style)
{
    std::string out;
    appendFieldText(out, container, index, style);
    return out;
}

void appendFieldJson(std::string& out, const VellMetadataContainer& container, int index)
{
    appendBuilt(out, [&](TextBuffer& text) {
        if (!appendFieldJsonIfDefined(text, container, index))
            text += "null";
    });
}

} // namespace Vmc
