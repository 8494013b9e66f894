// SPDX-License-Identifier: Apache-2.0
/// @file
/// How people read the container's fields: a label, a unit, a heading and a
/// place under it, whether views show the field by default, how its value
/// reads for people, the header word it comes from, the type of its value and
/// its column in the clip report.
/// The table is expanded from FieldPresentation.def; every view of every
/// surface is built on it.
///
/// @code
///   const vellmeta::FieldPresentation& p = vellmeta::kFields[vellmeta::fieldIndex("exposureTime")];
///   // p.label "Exposure time", p.unit "s", p.heading Heading::Capture
/// @endcode
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include <VellMetadataContainer/FieldDescription.h>

#include "Export.h"

/// The presentation library: how people read each field, and every view,
/// writer and surface helper built on that one description.
namespace vellmeta {

using Vmc::kFieldCount;

/// The headings under which views show the fields, in the order they read.
enum class Heading : std::uint8_t {
    Camera,
    Capture,
    Lens,
    Color,
    Look,
    Sensor,
    Encoders,
    Texts,
    Records,
    Spare,
};
/// The number of headings.
constexpr int kHeadingCount = static_cast<int>(Heading::Spare) + 1;

/// Whether views show a field by default.
enum class FieldKind : std::uint8_t {
    Shown, ///< a value the header carries
    Spare, ///< decoding never writes it
    Fixed, ///< decoding only ever stores one fixed value
};

/// How a field's value reads for people; the numeric style ignores it.
enum class Reading : std::uint8_t {
    Plain,        ///< the decoded value, then its unit if it has one ("50 mm")
    ExposureTime, ///< "1/48 s (0.020833 s)", and the shutter angle when the sensor frame rate is known
    FrameRate,    ///< "23.976 fps"
    Distance,     ///< metres, or "infinity"
    FNumber,      ///< "f/2.8"
    Latitude,     ///< "51.5° N"
    Longitude,    ///< "0.12° W"
    ClockOffset,  ///< seconds as "+05:30"
    WhiteBalance, ///< "5600 K, tint +3" (the tint field folded in)
    Tint,         ///< "+3"; in the people's view shown within the white balance when that is defined
    TimeCode,     ///< "01:00:00;00 at 29.97 fps, drop frame"
    Window,       ///< "(0, 0) to (4095, 2159), 4096 × 2160 px"
    Rgb,          ///< "(1, 0.98, 1.02)": red, green and blue, read as Plain
};

/// The header word a field's value comes from, as far as people's reading of
/// it needs: the precision the word carries, and what decoding makes of the
/// word's all-ones pattern (the camera's mark for "never written") where it
/// stores the word without testing for it. A value equal to that is read as
/// "not set by the camera" (see setByCamera in Values.h); the numeric and JSON
/// views keep it as decoded.
enum class Word : std::uint8_t {
    Any,           ///< nothing to add: read as decoded; an all-ones word leaves the field undefined
    Milli,         ///< thousandths of the unit: read to three decimals
    Tenths,        ///< tenths of the unit: read to one decimal
    MilliUntested, ///< thousandths, all ones untested: 4294967.5
    MicroUntested, ///< millionths, all ones untested: 4294.967296
    RateUntested,  ///< a frame rate in thousandths, all ones untested: the fraction -1/1000, or 4294968 rounded
    RateWord,      ///< a time code's rate word, untested: all ones is no rate (and no drop-frame mark)
    Word32,        ///< an unsigned 32-bit word, untested: 4294967295, as a number or its decimal text
    Word32Float,   ///< an unsigned 32-bit word to the nearest float, untested: 4294967296
    Word16,        ///< a 16-bit word, untested: 65535
    Byte,          ///< one byte, untested: 255, or the text of that one byte
    SerialCode,    ///< a text ending in four untested bytes of a serial code: all four 0xFF
    Floats,        ///< float words copied untested: a NaN in any of them (a tint truncated from one: -2147483648)
    Window32,      ///< image corners from untested 32-bit words: a coordinate of 4294967296
};

/// The type of a field's value, as the JSON view, the C interface and the
/// bindings give it.
enum class ValueType : std::uint8_t {
    UInt32,
    Int32,
    Float,
    Bool,
    Vec2,           ///< [x, y]
    Vec3,           ///< [x, y, z]
    ImageWindow,    ///< [[minX, minY], [maxX, maxY]]
    Chromaticities, ///< [[rx, ry], [gx, gy], [bx, by], [wx, wy]]
    CameraTriple,   ///< [a, b, c, extra]
    Rational,       ///< {"numerator": n, "denominator": d}
    TimeCode,       ///< {"text": ..., "bcdTime": ..., "word1": ..., "rateAndDropFrame": ..., "word3": ...}
    Text,
};
/// The number of value types.
constexpr int kValueTypeCount = static_cast<int>(ValueType::Text) + 1;

namespace detail {
template <class Field>
struct ValueTypeOf;
template <> struct ValueTypeOf<MetaField<std::uint32_t>> { static constexpr ValueType value = ValueType::UInt32; };
template <> struct ValueTypeOf<MetaField<std::int32_t>> { static constexpr ValueType value = ValueType::Int32; };
template <> struct ValueTypeOf<MetaField<float>> { static constexpr ValueType value = ValueType::Float; };
template <> struct ValueTypeOf<MetaField<bool>> { static constexpr ValueType value = ValueType::Bool; };
template <> struct ValueTypeOf<MetaField<Vmc::Vec2>> { static constexpr ValueType value = ValueType::Vec2; };
template <> struct ValueTypeOf<MetaField<Vmc::Vec3>> { static constexpr ValueType value = ValueType::Vec3; };
template <> struct ValueTypeOf<MetaField<Vmc::ImageWindow>> { static constexpr ValueType value = ValueType::ImageWindow; };
template <> struct ValueTypeOf<MetaField<Vmc::Chromaticities>> { static constexpr ValueType value = ValueType::Chromaticities; };
template <> struct ValueTypeOf<MetaField<Vmc::CameraTriple>> { static constexpr ValueType value = ValueType::CameraTriple; };
template <> struct ValueTypeOf<MetaField<Vmc::Rational>> { static constexpr ValueType value = ValueType::Rational; };
template <> struct ValueTypeOf<MetaField<VellRawMeta::TC_Struct>> { static constexpr ValueType value = ValueType::TimeCode; };
template <> struct ValueTypeOf<MetaString> { static constexpr ValueType value = ValueType::Text; };
} // namespace detail

/// How people read one container field. Texts of the table are literals:
/// their data() is NUL-terminated.
struct FieldPresentation {
    std::string_view name;  ///< the container member's name
    std::string_view label; ///< the field's name for people ("Focal length")
    std::string_view unit;  ///< unit of the decoded number ("mm", "s", "fps"), "" where none
    Heading heading;   ///< the heading views show the field under
    int order;         ///< place under the heading
    FieldKind kind;    ///< whether views show the field by default
    Reading reading;   ///< how its value reads for people
    int report;        ///< column in the clip report, from 1; 0: not in it
    Word word;         ///< the header word its value comes from
    ValueType type;    ///< the type of its value
};

/// Every field's presentation, in container order (the index of a field is
/// the same as in Vmc::kFieldInfos), expanded from this table:
///
/// @include FieldPresentation.def
constexpr FieldPresentation kFields[] = {
#define VMC_PRESENTATION(name, heading, order, kind, reading, report, word, label, unit)                    \
    {#name, label, unit, Heading::heading, order, FieldKind::kind, Reading::reading, report, Word::word,     \
     detail::ValueTypeOf<decltype(Vmc::VellMetadataContainer::name)>::value},
#include "FieldPresentation.def"
#undef VMC_PRESENTATION
};

namespace detail {

// One presentation per container field, in container order; places under
// one heading, labels and clip-report columns unique; the clip report's
// columns numbered from 1 without a gap.
constexpr bool presentationIsConsistent()
{
    if (static_cast<int>(sizeof(kFields) / sizeof(kFields[0])) != kFieldCount)
        return false;
    int reportColumns = 0, highestColumn = 0;
    for (int i = 0; i < kFieldCount; ++i) {
        if (kFields[i].name != Vmc::kFieldInfos[i].name)
            return false;
        if (kFields[i].report > 0) {
            ++reportColumns;
            highestColumn = kFields[i].report > highestColumn ? kFields[i].report : highestColumn;
        }
        for (int j = i + 1; j < kFieldCount; ++j) {
            const FieldPresentation& x = kFields[i];
            const FieldPresentation& y = kFields[j];
            if ((x.heading == y.heading && x.order == y.order) || x.label == y.label ||
                (x.report > 0 && x.report == y.report))
                return false;
        }
    }
    return reportColumns == highestColumn;
}

constexpr bool presentedBefore(int a, int b)
{
    const FieldPresentation& x = kFields[a];
    const FieldPresentation& y = kFields[b];
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

constexpr int reportColumnCount()
{
    int count = 0;
    for (const FieldPresentation& p : kFields)
        count += p.report > 0 ? 1 : 0;
    return count;
}
} // namespace detail

static_assert(detail::presentationIsConsistent(),
              "one presentation per container field, in container order, with unique labels, places and columns");

/// Container indexes of every field in the order people read them: headings in
/// Heading order, fields by their place under the heading.
constexpr std::array<int, kFieldCount> kPresentationOrder = detail::sortedByPresentation();

/// The number of columns in the clip report.
constexpr int kReportColumnCount = detail::reportColumnCount();
/// The clip report's fields, the CSV and TSV views' default columns, by
/// container index in column order.
constexpr std::array<int, kReportColumnCount> kReportColumns = [] {
    std::array<int, kReportColumnCount> columns{};
    for (int i = 0; i < kFieldCount; ++i)
        if (kFields[i].report > 0)
            columns[static_cast<std::size_t>(kFields[i].report - 1)] = i;
    return columns;
}();

/// Index of the field named `name` (a container member name), or -1.
VELLMETA_EXPORT int fieldIndex(std::string_view name);

/// The same, worked out when compiled: for code that names a few fields.
constexpr int fieldIndexOf(std::string_view name)
{
    for (int i = 0; i < kFieldCount; ++i)
        if (kFields[i].name == name)
            return i;
    return -1;
}

/// Name of a heading, in lower case ("camera", "capture", ...), as `-g` takes it.
VELLMETA_EXPORT const char* headingName(Heading heading);
/// The heading as a person reads it ("Camera", "Capture and time codes", ...).
VELLMETA_EXPORT const char* headingTitle(Heading heading);
/// Name of a field kind: "shown", "spare", "fixed".
VELLMETA_EXPORT const char* kindName(FieldKind kind);

} // namespace vellmeta
