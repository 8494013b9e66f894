// SPDX-License-Identifier: Apache-2.0
// One formatting of every field value: for people, as plain decoded numbers,
// and as typed JSON. Values are formatted per value type, and converted for
// people per reading; no field has a formatter of its own.
#include <vellmeta/Values.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>
#include <type_traits>

#include "JsonWriter.h"
#include "Writing.h"

namespace vellmeta {

namespace {

using Container = Vmc::VellMetadataContainer;
using Vmc::CameraTriple;
using Vmc::Chromaticities;
using Vmc::ImageWindow;
using Vmc::Rational;
using Vmc::Vec2;
using Vmc::Vec3;
using TimeCodeRecord = VellRawMeta::TC_Struct;

double quotient(const Rational& value)
{
    return static_cast<double>(value.numerator) / static_cast<double>(value.denominator);
}

constexpr int kSensorFrameRate = fieldIndexOf("sensorFrameRate");
constexpr int kWhiteBalanceCct = fieldIndexOf("whiteBalanceCct");
constexpr int kWhiteBalanceTint = fieldIndexOf("whiteBalanceTint");
static_assert(kSensorFrameRate >= 0 && kWhiteBalanceCct >= 0 && kWhiteBalanceTint >= 0);

// ---- values the camera never wrote ------------------------------------------

// What decoding makes of an all-ones header word that it stores without
// testing for it, worked out as decoding converts the word; a value equal to
// that is one the camera never wrote.
constexpr std::uint32_t kAllOnes = 0xFFFFFFFFu;

bool fromAllOnes(std::uint32_t value, Word word)
{
    switch (word) {
    case Word::Word32: return value == kAllOnes;
    case Word::Word16: return value == 0xFFFFu;
    case Word::Byte: return value == 0xFFu;
    default: return false;
    }
}

bool fromAllOnes(std::int32_t value, Word word)
{
    switch (word) {
    case Word::RateUntested: // the rate in single precision, rounded half away from zero
        return value == static_cast<std::int32_t>(std::roundf(static_cast<float>(kAllOnes) / 1000.0f));
    case Word::Floats: // a NaN truncated to an integer
        return value == std::numeric_limits<std::int32_t>::min();
    default: return false;
    }
}

bool fromAllOnes(float value, Word word)
{
    switch (word) {
    case Word::MilliUntested: // divided in single or in double precision, both round to 4294967.5
        return value == static_cast<float>(kAllOnes) / 1000.0f || value == static_cast<float>(kAllOnes / 1000.0);
    case Word::MicroUntested: return value == static_cast<float>(kAllOnes) / 1000000.0f;
    case Word::Word32Float: return value == static_cast<float>(kAllOnes);
    case Word::RateWord: return value == static_cast<float>(kAllOnes & 0x7FFFFFFFu) / 1000.0f;
    case Word::Floats: return std::isnan(value);
    default: return false;
    }
}

bool fromAllOnes(const Vec3& value, Word word)
{
    return word == Word::Floats && (std::isnan(value.x) || std::isnan(value.y) || std::isnan(value.z));
}

bool fromAllOnes(const Rational& value, Word word)
{
    // The word read as a signed numerator over 1000.
    return word == Word::RateUntested && value.numerator == -1 && value.denominator == 1000;
}

bool fromAllOnes(const ImageWindow& value, Word word)
{
    // A corner of an untested width, height or offset of all ones lands on
    // the float nearest 2^32 - 1 (as does a width or height of 0).
    const float allOnes = static_cast<float>(kAllOnes);
    return word == Word::Window32 && (value.first.x == allOnes || value.first.y == allOnes ||
                                      value.second.x == allOnes || value.second.y == allOnes);
}

bool fromAllOnes(const MetaString& value, Word word)
{
    if (value.text == nullptr)
        return false;
    const std::string_view text(value.text);
    switch (word) {
    case Word::Word32: return text == "4294967295";
    case Word::Byte: return text == "\xFF";
    case Word::SerialCode: return text.size() >= 4 && text.substr(text.size() - 4) == "\xFF\xFF\xFF\xFF";
    default: return false;
    }
}

template <class T>
bool fromAllOnes(const T&, Word)
{
    return false;
}

// How many decimals a value carries, from its header word; -1: as decoded.
int decimalsOf(Word word)
{
    switch (word) {
    case Word::Milli:
    case Word::MilliUntested: return 3;
    case Word::MicroUntested: return 6;
    case Word::Tenths: return 1;
    default: return -1;
    }
}

// ---- plain decoded numbers ------------------------------------------------

void appendPlain(Out& out, std::uint32_t value) { out.integer(value); }
void appendPlain(Out& out, std::int32_t value) { out.integer(value); }
void appendPlain(Out& out, bool value) { out += value ? "yes" : "no"; }
void appendPlain(Out& out, float value) { appendShortest(out, value); }

// "(a, b, c)": a point or a vector.
template <class... T>
void appendTuple(Out& out, const T&... items)
{
    std::string_view separator = "(";
    ((out += separator, appendShortest(out, items), separator = ", "), ...);
    out += ')';
}

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
    appendShortest(out, value.a);
    out += ", ";
    appendShortest(out, value.b);
    out += ", ";
    appendShortest(out, value.c);
    out += " (extra ";
    out.integer(value.extra);
    out += ')';
}

// A fraction as the header holds it and as a decimal: "23976/1000 (23.976)".
void appendPlain(Out& out, const Rational& value)
{
    out.integer(value.numerator);
    out += '/';
    out.integer(value.denominator);
    out += " (";
    appendShortest(out, quotient(value));
    out += ')';
}

void appendPlain(Out& out, const TimeCodeRecord& value) { appendTimeCode(out, timeCodeParts(value)); }

void appendPlain(Out& out, const MetaString& value)
{
    if (value.text != nullptr)
        appendPrintable(out, value.text);
}

// ---- values for people ----------------------------------------------------

void appendUnit(Out& out, std::string_view unit)
{
    if (!unit.empty()) {
        out += ' ';
        out += unit;
    }
}

// A float converted from a scaled header word, to the `decimals` the word
// carries (8.775 for the 8.775001 that 8775 thousandths give): unless the
// float holds fewer digits than that, when its shortest form is shorter.
// `decimals` -1: the shortest form.
void appendAtPrecision(Out& out, float value, int decimals)
{
    const std::size_t start = out.view().size();
    appendShortest(out, value);
    if (decimals < 0 || !std::isfinite(value))
        return;
    // Both forms written one after the other, the shorter kept.
    const std::size_t shortest = out.view().size() - start;
    appendRounded(out, value, decimals);
    const std::string_view rounded = out.view().substr(start + shortest);
    char kept[Out::kMostFormatted];
    if (rounded.size() < shortest && rounded.size() <= sizeof kept) {
        std::memcpy(kept, rounded.data(), rounded.size());
        out.truncate(start);
        out.append(kept, rounded.size());
    } else {
        out.truncate(start + shortest);
    }
}

// Frame rates as camera menus show them: to the thousandth the header
// carries, trailing zeros dropped (23.976, 25, 29.97 fps).
void appendFrameRate(Out& out, double rate)
{
    appendRounded(out, rate, 3);
    out += " fps";
}

// "1/48 s (0.020833 s)" for a time close to a whole fraction of a second,
// the decimal to the microsecond the header carries; then the shutter angle
// where the camera wrote the sensor frame rate, to a tenth of a degree as
// camera menus show it: "1/48 s (0.020833 s), 180° shutter".
void appendExposureTime(Out& out, float seconds, int decimals, const Container& container)
{
    const double reciprocal = 1.0 / static_cast<double>(seconds);
    const double whole = std::round(reciprocal);
    if (seconds > 0.0f && seconds < 1.0f && std::fabs(reciprocal - whole) <= 0.01 * whole) {
        out += "1/";
        appendRounded(out, whole, 0);
        out += " s (";
        appendAtPrecision(out, seconds, decimals);
        out += " s)";
    } else {
        appendAtPrecision(out, seconds, decimals);
        out += " s";
    }
    if (!setByCamera(container, kSensorFrameRate))
        return;
    if (const std::optional<double> angle = shutterAngle(seconds, container.sensorFrameRate.value)) {
        out += ", ";
        appendRounded(out, *angle, 1);
        out += "\xC2\xB0 shutter"; // degree sign
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
    appendShortest(out, std::fabs(degrees));
    out += "\xC2\xB0 ";
    out += degrees < 0.0f ? negative : positive;
}

// Seconds as an offset of the clock: "+05:30", "-04:00", "+00:00:30".
void appendClockOffset(Out& out, float seconds)
{
    const long long total = std::llround(seconds);
    const unsigned long long magnitude = total < 0 ? 0ULL - static_cast<unsigned long long>(total) : total;
    out += total < 0 ? '-' : '+';
    out.format(FMT_COMPILE("{:02}:{:02}"), magnitude / 3600, magnitude / 60 % 60);
    if (magnitude % 60 != 0)
        out.format(FMT_COMPILE(":{:02}"), magnitude % 60);
}

void appendSigned(Out& out, std::int32_t value)
{
    if (value > 0)
        out += '+';
    out.integer(value);
}

// The time code, its rate and its drop-frame mark: "01:00:00;00 at 29.97
// fps, drop frame"; a rate word the camera never wrote gives neither.
void appendPeopleTimeCode(Out& out, const TimeCodeRecord& value)
{
    TimeCodeParts parts = timeCodeParts(value);
    if (!parts.rateWritten()) {
        parts.dropFrame = false;
        parts.milliRate = 0;
    }
    appendTimeCode(out, parts);
    if (parts.milliRate != 0) {
        out += " at ";
        appendFrameRate(out, parts.milliRate / 1000.0);
    }
    if (parts.dropFrame)
        out += ", drop frame";
}

// "(0, 0) to (4095, 2159), 4096 × 2160 px"
void appendWindow(Out& out, const ImageWindow& window)
{
    appendPlain(out, window);
    if (const std::optional<WindowSize> size = windowSize(window)) {
        out += ", ";
        appendShortest(out, size->width);
        out += " \xC3\x97 "; // multiplication sign
        appendShortest(out, size->height);
        out += " px";
    }
}

// Focus distance to the precision the header carries: metres to the
// millimetre; with the lens in imperial units, feet and inches to the
// thousandth of an inch, and the metres beside them: 15' 2" (4.623 m).
void appendDistance(Out& out, float metres, const Container& container)
{
    const MetaString& units = container.lensDistanceUnits;
    const bool imperial = units.defined && units.text != nullptr && std::strcmp(units.text, "Imperial") == 0;
    if (imperial && metres >= 0.0f && metres < 1e6f) {
        // Decoding multiplied the thousandths by this single-precision factor.
        const long long thousandths = std::llround(static_cast<double>(metres) / static_cast<double>(0.0000254f));
        out.integer(thousandths / 12000);
        out += "' ";
        appendRounded(out, static_cast<double>(thousandths % 12000) / 1000.0, 3);
        out += "\" (";
        appendAtPrecision(out, metres, 3);
        out += " m)";
        return;
    }
    appendAtPrecision(out, metres, 3);
    out += " m";
}

template <class T>
bool finite(const T&)
{
    return true;
}
bool finite(float value) { return std::isfinite(value); }

template <class T>
void appendPeople(Out& out, const T& value, const FieldPresentation& p, const Container& container)
{
    if constexpr (std::is_same_v<T, float>) {
        if (std::isfinite(value)) {
            switch (p.reading) {
            case Reading::ExposureTime: return appendExposureTime(out, value, decimalsOf(p.word), container);
            case Reading::Distance: return appendDistance(out, value, container);
            case Reading::FrameRate: return appendFrameRate(out, value);
            case Reading::FNumber:
                if (value > 0.0f)
                    return appendFNumber(out, value);
                break;
            case Reading::Latitude: return appendAngle(out, value, "N", "S");
            case Reading::Longitude: return appendAngle(out, value, "E", "W");
            case Reading::ClockOffset:
                if (std::fabs(value) < 1e12f)
                    return appendClockOffset(out, value);
                break;
            default: break;
            }
        } else if (p.reading == Reading::Distance && value > 0.0f) {
            out += "infinity";
            return;
        }
    } else if constexpr (std::is_same_v<T, Rational>) {
        if (p.reading == Reading::FrameRate && value.denominator != 0)
            return appendFrameRate(out, quotient(value));
    } else if constexpr (std::is_same_v<T, std::int32_t>) {
        if (p.reading == Reading::FrameRate)
            return appendFrameRate(out, value);
        if (p.reading == Reading::Tint)
            return appendSigned(out, value);
    } else if constexpr (std::is_same_v<T, std::uint32_t>) {
        if (p.reading == Reading::WhiteBalance) {
            out.integer(value);
            out += " K";
            if (setByCamera(container, kWhiteBalanceTint)) {
                out += ", tint ";
                appendSigned(out, container.whiteBalanceTint.value);
            }
            return;
        }
    } else if constexpr (std::is_same_v<T, TimeCodeRecord>) {
        if (p.reading == Reading::TimeCode)
            return appendPeopleTimeCode(out, value);
    } else if constexpr (std::is_same_v<T, ImageWindow>) {
        if (p.reading == Reading::Window)
            return appendWindow(out, value);
    }
    if constexpr (std::is_same_v<T, float>)
        appendAtPrecision(out, value, decimalsOf(p.word));
    else
        appendPlain(out, value);
    if (finite(value) && (p.reading == Reading::Plain || p.reading == Reading::Distance || p.reading == Reading::Rgb))
        appendUnit(out, p.unit);
}

// ---- typed JSON -----------------------------------------------------------

void writeJson(JsonWriter& json, std::uint32_t value) { json.unsignedInteger(value); }
void writeJson(JsonWriter& json, std::int32_t value) { json.integer(value); }
void writeJson(JsonWriter& json, bool value) { json.boolean(value); }
void writeJson(JsonWriter& json, float value) { json.number(value); }
void writeJson(JsonWriter& json, const Vec2& value);

template <class... T>
void writeJsonArray(JsonWriter& json, const T&... items)
{
    json.beginArray();
    (writeJson(json, items), ...);
    json.endArray();
}

void writeJson(JsonWriter& json, const Vec2& value) { writeJsonArray(json, value.x, value.y); }
void writeJson(JsonWriter& json, const Vec3& value) { writeJsonArray(json, value.x, value.y, value.z); }
void writeJson(JsonWriter& json, const ImageWindow& value) { writeJsonArray(json, value.first, value.second); }

void writeJson(JsonWriter& json, const Chromaticities& value)
{
    writeJsonArray(json, value.red, value.green, value.blue, value.white);
}

void writeJson(JsonWriter& json, const CameraTriple& value) { writeJsonArray(json, value.a, value.b, value.c, value.extra); }

void writeJson(JsonWriter& json, const Rational& value)
{
    json.beginObject();
    json.member("numerator", value.numerator);
    json.member("denominator", value.denominator);
    json.endObject();
}

void writeJson(JsonWriter& json, const TimeCodeRecord& value)
{
    // The record is packed and may lie misaligned in the container: its
    // words are read by value, never bound to references.
    json.beginObject();
    json.key("text");
    json.plainString([&](Out& out) { appendPlain(out, value); });
    json.member("bcdTime", std::uint32_t{value.bcdTime});
    json.member("word1", std::uint32_t{value.word1});
    json.member("rateAndDropFrame", std::uint32_t{value.rateAndDropFrame});
    json.member("word3", std::uint32_t{value.word3});
    json.endObject();
}

void writeJson(JsonWriter& json, const MetaString& value)
{
    json.string(value.text != nullptr ? std::string_view(value.text) : std::string_view());
}

// ---- one entry per field ----------------------------------------------------

template <class T>
const T& valueOf(const MetaField<T>& field)
{
    return field.value;
}
const MetaString& valueOf(const MetaString& field) { return field; }

// Each field's operations, from its member of the container. The writers
// write a defined field and say whether it was defined, so that a view asks
// each field once.
struct FieldOps {
    bool (*defined)(const Container&);
    bool (*setByCamera)(const Container&, Word);
    bool (*text)(Out&, const Container&, const FieldPresentation&, TextStyle);
    bool (*member)(JsonWriter&, const Container&, std::string_view key);
    void (*copy)(Container& to, const Container& from);
};

// Field `index` of two containers compared by container equality itself: in
// two containers that hold that field alone (`copy` copies it), as equality
// then compares nothing else.
bool sameByContainerEquality(const Container& a, const Container& b, void (*copy)(Container&, const Container&))
{
    Container onlyA, onlyB;
    copy(onlyA, a);
    copy(onlyB, b);
    return onlyA == onlyB;
}

template <auto Member>
constexpr FieldOps opsOf()
{
    return {
        [](const Container& c) { return (c.*Member).defined != 0; },
        [](const Container& c, Word word) { return (c.*Member).defined && !fromAllOnes(valueOf(c.*Member), word); },
        [](Out& out, const Container& c, const FieldPresentation& p, TextStyle style) {
            if (!(c.*Member).defined)
                return false;
            if (style == TextStyle::People && fromAllOnes(valueOf(c.*Member), p.word))
                out += kNotSetByCamera;
            else if (style == TextStyle::People)
                appendPeople(out, valueOf(c.*Member), p, c);
            else
                appendPlain(out, valueOf(c.*Member));
            return true;
        },
        [](JsonWriter& json, const Container& c, std::string_view key) {
            if (!(c.*Member).defined)
                return false;
            if (!key.empty())
                json.key(key);
            writeJson(json, valueOf(c.*Member));
            return true;
        },
        [](Container& to, const Container& from) { to.*Member = from.*Member; },
    };
}

constexpr FieldOps kFieldOps[kFieldCount] = {
#define VMC_FIELD(name, Type) opsOf<&Container::name>(),
#include <VellMetadataContainer/ContainerFields.def>
#undef VMC_FIELD
};

} // namespace

bool appendFieldText(Out& out, const Container& container, int index, TextStyle style)
{
    return kFieldOps[index].text(out, container, kFields[index], style);
}

bool writeFieldJson(JsonWriter& json, const Container& container, int index)
{
    return kFieldOps[index].member(json, container, {});
}

bool writeFieldMember(JsonWriter& json, const Container& container, int index)
{
    return kFieldOps[index].member(json, container, kFields[index].name);
}

bool fieldDefined(const Container& container, int index) { return kFieldOps[index].defined(container); }

bool setByCamera(const Container& container, int index)
{
    return kFieldOps[index].setByCamera(container, kFields[index].word);
}

bool listedForPeople(const Container& container, int index)
{
    // The tint is folded into the white balance's line when the camera wrote both.
    return fieldDefined(container, index) &&
           !(kFields[index].reading == Reading::Tint && setByCamera(container, index) &&
             setByCamera(container, kWhiteBalanceCct));
}

void appendFieldText(std::string& out, const Container& container, int index, TextStyle style)
{
    appendBuilt(out, [&](Out& text) { appendFieldText(text, container, index, style); });
}

std::string fieldText(const Container& container, int index, TextStyle style)
{
    std::string out;
    appendFieldText(out, container, index, style);
    return out;
}

void appendFieldJson(std::string& out, const Container& container, int index)
{
    appendBuilt(out, [&](Out& text) {
        JsonWriter json(text);
        if (!writeFieldJson(json, container, index))
            json.null();
    });
}

bool sameFieldValue(const Container& a, const Container& b, int index)
{
    const FieldOps& ops = kFieldOps[index];
    return ops.defined(a) && ops.defined(b) && sameByContainerEquality(a, b, ops.copy);
}

} // namespace vellmeta
