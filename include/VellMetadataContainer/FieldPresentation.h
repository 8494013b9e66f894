// How people read the container's fields: a label, a unit, a heading and a
// place under it, and one formatting of each value, for people or as plain
// decoded numbers, as text or as typed JSON. Every view (the command-line
// tool, the C interface, the Python package, the web page) is built on these,
// so that a field reads the same wherever it is shown.
//
//   const Vmc::FieldPresentation& p = Vmc::kFieldPresentations[Vmc::fieldIndex("exposureTime")];
//   std::string line = std::string(p.label) + ": " + Vmc::fieldText(meta, index, Vmc::TextStyle::People);
//   // "Exposure time: 1/48 s (0.020833 s), 180° shutter"
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "Export.h"
#include "FieldDescription.h"
#include "MetadataContainer.h"

namespace Vmc {

// Whether views show a field by default.
enum class FieldKind : std::uint8_t {
    Shown, // a value the header carries
    Spare, // decoding never writes it
    Fixed, // decoding only ever stores one fixed value
};

// How a field's value reads for people; the numeric style ignores it.
enum class FieldReading : std::uint8_t {
    Plain,        // the decoded value, then its unit if it has one ("50 mm")
    ExposureTime, // "1/48 s (0.020833 s)", and the shutter angle when the sensor frame rate is known
    FrameRate,    // "23.976 fps"
    Distance,     // metres, or "infinity"
    FNumber,      // "f/2.8"
    Latitude,     // "51.5° N"
    Longitude,    // "0.12° W"
    ClockOffset,  // seconds as "+05:30"
    WhiteBalance, // "5600 K, tint +3" (the tint field folded in)
    Tint,         // "+3"; in the people's view shown within the white balance when that is defined
    TimeCode,     // "01:00:00;00 at 29.97 fps, drop frame"
    Window,       // "(0, 0) to (4095, 2159), 4096 × 2160 px"
};

// The type of a field's value, as the JSON view and the C interface give it.
enum class ValueType : std::uint8_t {
    UInt32,
    Int32,
    Float,
    Bool,
    Vec2,           // [x, y]
    Vec3,           // [x, y, z]
    ImageWindow,    // [[minX, minY], [maxX, maxY]]
    Chromaticities, // [[rx, ry], [gx, gy], [bx, by], [wx, wy]]
    CameraTriple,   // [a, b, c, extra]
    Rational,       // {"numerator": n, "denominator": d}
    TimeCode,       // {"text": ..., "bcdTime": ..., "word1": ..., "rateAndDropFrame": ..., "word3": ...}
    Text,
};

namespace detail {
template <class Field>
struct ValueTypeOf;
template <> struct ValueTypeOf<MetaField<std::uint32_t>> { static constexpr ValueType value = ValueType::UInt32; };
template <> struct ValueTypeOf<MetaField<std::int32_t>> { static constexpr ValueType value = ValueType::Int32; };
template <> struct ValueTypeOf<MetaField<float>> { static constexpr ValueType value = ValueType::Float; };
template <> struct ValueTypeOf<MetaField<bool>> { static constexpr ValueType value = ValueType::Bool; };
template <> struct ValueTypeOf<MetaField<Vec2>> { static constexpr ValueType value = ValueType::Vec2; };
template <> struct ValueTypeOf<MetaField<Vec3>> { static constexpr ValueType value = ValueType::Vec3; };
template <> struct ValueTypeOf<MetaField<ImageWindow>> { static constexpr ValueType value = ValueType::ImageWindow; };
template <> struct ValueTypeOf<MetaField<Chromaticities>> { static constexpr ValueType value = ValueType::Chromaticities; };
template <> struct ValueTypeOf<MetaField<CameraTriple>> { static constexpr ValueType value = ValueType::CameraTriple; };
template <> struct ValueTypeOf<MetaField<Rational>> { static constexpr ValueType value = ValueType::Rational; };
template <> struct ValueTypeOf<MetaField<VellRawMeta::TC_Struct>> { static constexpr ValueType value = ValueType::TimeCode; };
template <> struct ValueTypeOf<MetaString> { static constexpr ValueType value = ValueType::Text; };
} // namespace detail

struct FieldPresentation {
    const char* name;  // the container member's name
    const char* label; // the field's name for people ("Focal length")
    const char* unit;  // unit of the decoded number ("mm", "s", "fps"), "" where none
    FieldGroup heading;
    int order;         // place under the heading
    FieldKind kind;
    FieldReading reading;
    ValueType type;
};

// Every field's presentation, in container order (index as in kFieldInfos).
constexpr FieldPresentation kFieldPresentations[] = {
#define VMC_FIELD(name, Type, heading, order, kind, reading, label, unit)                                      \
    {#name, label, unit, FieldGroup::heading, order, FieldKind::kind, FieldReading::reading,                 \
     detail::ValueTypeOf<Type>::value},
#include "ContainerFields.def"
#undef VMC_FIELD
};
static_assert(sizeof(kFieldPresentations) / sizeof(kFieldPresentations[0]) == kFieldCount,
              "one presentation per container field");

namespace detail {
constexpr bool presentedBefore(int a, int b)
{
    const FieldPresentation& x = kFieldPresentations[a];
    const FieldPresentation& y = kFieldPresentations[b];
    if (x.heading != y.heading)
        return x.heading < y.heading;
    return x.order < y.order;
}

constexpr std::array<int, kFieldCount> sortedByPresentation()
{
    std::array<int, kFieldCount> order{};
    for (int i = 0; i < kFieldCount; ++i) {
        int j = i;
        while (j > 0 && presentedBefore(i, order[static_cast<std::size_t>(j - 1)])) {
            order[static_cast<std::size_t>(j)] = order[static_cast<std::size_t>(j - 1)];
            --j;
        }
        order[static_cast<std::size_t>(j)] = i;
    }
    return order;
}

constexpr bool sameText(const char* a, const char* b)
{
    while (*a != '\0' && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

// Places under one heading are unique, and so are labels.
constexpr bool presentationIsConsistent()
{
    for (int i = 0; i < kFieldCount; ++i)
        for (int j = i + 1; j < kFieldCount; ++j) {
            const FieldPresentation& x = kFieldPresentations[i];
            const FieldPresentation& y = kFieldPresentations[j];
            if ((x.heading == y.heading && x.order == y.order) || sameText(x.label, y.label))
                return false;
        }
    return true;
}
} // namespace detail

static_assert(detail::presentationIsConsistent(), "labels and places under a heading are unique");

// Container indexes of every field in the order people read them: headings in
// FieldGroup order, fields by their place under the heading.
constexpr std::array<int, kFieldCount> kPresentationOrder = detail::sortedByPresentation();

// How a value is written.
enum class TextStyle : std::uint8_t {
    People,  // converted for people, with units ("1/48 s (0.020833 s), 180° shutter", "f/2.8")
    Numeric, // the decoded numbers as they are ("0.020833", "2.828427")
};

// Index of the field named `name` (a container member name), or -1.
VMC_EXPORT int fieldIndex(std::string_view name);

// Whether field `index` of `container` is defined. `index` must lie in
// [0, kFieldCount).
VMC_EXPORT bool fieldDefined(const VellMetadataContainer& container, int index);

// Whether the people's view lists the field: it is defined, and its value is
// not already part of another field's line (the tint, within the white
// balance).
VMC_EXPORT bool listedForPeople(const VellMetadataContainer& container, int index);

// Appends the value of field `index` as text; nothing when it is undefined.
// Header texts are made valid UTF-8, with control characters escaped, so a
// value always stays on its one line.
VMC_EXPORT void appendFieldText(std::string& out, const VellMetadataContainer& container, int index,
                                TextStyle style);
VMC_EXPORT std::string fieldText(const VellMetadataContainer& container, int index, TextStyle style);

// Appends the value of field `index` as a JSON value of its type (see
// ValueType); "null" when it is undefined.
VMC_EXPORT void appendFieldJson(std::string& out, const VellMetadataContainer& container, int index);

// Whether field `index` is defined in both containers and holds the same
// value there, by the rules of container equality: fractions by quotient,
// floats by IEEE comparison (a NaN equals nothing), texts byte for byte.
VMC_EXPORT bool sameFieldValue(const VellMetadataContainer& a, const VellMetadataContainer& b, int index);

// Text helpers shared by every view.

// The bytes as UTF-8: every maximal ill-formed subsequence becomes one
// U+FFFD replacement character; valid sequences pass unchanged.
VMC_EXPORT void appendValidUtf8(std::string& out, std::string_view bytes);
VMC_EXPORT std::string validUtf8(std::string_view bytes);

// appendValidUtf8, with control characters written as escapes (\n, \t,
// \xNN, \u0085), so that a header text always stays on its one line.
VMC_EXPORT void appendPrintable(std::string& out, std::string_view bytes);
VMC_EXPORT std::string printable(std::string_view bytes);

// A JSON string literal of the bytes made valid UTF-8, quotes included.
VMC_EXPORT void appendJsonString(std::string& out, std::string_view bytes);

// The shortest decimal that reads back as the same float, in plain digits
// from 0.0001 up to 1e16 and in scientific notation outside; "NaN",
// "Infinity" and "-Infinity" for values that are not finite.
VMC_EXPORT void appendFloat(std::string& out, float value);
VMC_EXPORT std::string floatText(float value);

} // namespace Vmc
