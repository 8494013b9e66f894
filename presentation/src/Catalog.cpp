// SPDX-License-Identifier: Apache-2.0
// The catalog's columns and values, per value type, and its SQL.
#include <vellmeta/Catalog.h>

#include <cmath>
#include <optional>
#include <string>
#include <type_traits>

#include <VellMetadataContainer/FieldDescription.h>
#include <vellmeta/Fields.h>
#include <vellmeta/Report.h>
#include <vellmeta/Text.h>
#include <vellmeta/Values.h>

#include "Writing.h"

namespace vellmeta {

namespace {

using Container = Vmc::VellMetadataContainer;
using Kind = CatalogValue::Kind;

// Each value type's parts, handed to a column writer `to` in turn:
// to.integer(suffix, v), to.real(suffix, v), to.text(suffix, bytes) and
// to.null(suffix, type), the suffix appended to the field's name after an
// underscore ("" for the field's own column).
template <class To>
void partsOf(std::uint32_t value, const FieldPresentation&, To& to)
{
    to.integer("", value);
}
template <class To>
void partsOf(std::int32_t value, const FieldPresentation&, To& to)
{
    to.integer("", value);
}
template <class To>
void partsOf(bool value, const FieldPresentation&, To& to)
{
    to.integer("", value ? 1 : 0);
}
template <class To>
void partsOf(float value, const FieldPresentation&, To& to)
{
    to.real("", value);
}
template <class To>
void partsOf(const Vmc::Vec2& value, const FieldPresentation&, To& to)
{
    to.real("x", value.x);
    to.real("y", value.y);
}
template <class To>
void partsOf(const Vmc::Vec3& value, const FieldPresentation& p, To& to)
{
    const bool rgb = p.reading == Reading::Rgb;
    to.real(rgb ? "r" : "x", value.x);
    to.real(rgb ? "g" : "y", value.y);
    to.real(rgb ? "b" : "z", value.z);
}
template <class To>
void partsOf(const Vmc::ImageWindow& value, const FieldPresentation&, To& to)
{
    to.real("minX", value.first.x);
    to.real("minY", value.first.y);
    to.real("maxX", value.second.x);
    to.real("maxY", value.second.y);
    if (const std::optional<WindowSize> size = windowSize(value)) {
        to.real("width", size->width);
        to.real("height", size->height);
    } else {
        to.null("width", SqlType::Real);
        to.null("height", SqlType::Real);
    }
}
template <class To>
void partsOf(const Vmc::Chromaticities& value, const FieldPresentation&, To& to)
{
    to.real("redX", value.red.x);
    to.real("redY", value.red.y);
    to.real("greenX", value.green.x);
    to.real("greenY", value.green.y);
    to.real("blueX", value.blue.x);
    to.real("blueY", value.blue.y);
    to.real("whiteX", value.white.x);
    to.real("whiteY", value.white.y);
}
template <class To>
void partsOf(const Vmc::CameraTriple& value, const FieldPresentation&, To& to)
{
    to.real("a", value.a);
    to.real("b", value.b);
    to.real("c", value.c);
    to.integer("extra", value.extra);
}
// The fraction as the header holds it, and its quotient for queries
// (`sensorFrameRate > 30`).
template <class To>
void partsOf(const Vmc::Rational& value, const FieldPresentation&, To& to)
{
    to.real("", static_cast<double>(value.numerator) / static_cast<double>(value.denominator));
    to.integer("numerator", value.numerator);
    to.integer("denominator", value.denominator);
}
template <class To>
void partsOf(const VellRawMeta::TC_Struct& value, const FieldPresentation&, To& to)
{
    to.text("", timeCodeText(value));
    to.integer("bcdTime", std::uint32_t{value.bcdTime});
    to.integer("word1", std::uint32_t{value.word1});
    to.integer("rateAndDropFrame", std::uint32_t{value.rateAndDropFrame});
    to.integer("word3", std::uint32_t{value.word3});
}
template <class To>
void partsOf(const MetaString& value, const FieldPresentation&, To& to)
{
    to.text("", value.text != nullptr ? std::string_view(value.text) : std::string_view());
}

// Calls partsOf for every field of `container`, in container order; before
// each field's parts, to.field(index, defined).
template <class To>
void forEachFieldParts(const Container& container, To& to)
{
    Vmc::forEachField(container, [&](const Vmc::FieldInfo& info, const auto& field) {
        const FieldPresentation& p = kFields[info.index];
        to.field(info.index, field.defined != 0);
        if constexpr (std::is_same_v<std::decay_t<decltype(field)>, MetaString>)
            partsOf(field, p, to);
        else
            partsOf(field.value, p, to);
    });
}

// The columns' names and types.
struct ColumnLister {
    std::vector<CatalogColumn>& columns;
    int index = 0;

    void field(int fieldIndex, bool) { index = fieldIndex; }
    void add(std::string_view suffix, SqlType type)
    {
        std::string name(kFields[index].name);
        if (!suffix.empty())
            name.append("_").append(suffix);
        columns.push_back({std::move(name), type, index});
    }
    template <class Number>
    void integer(std::string_view suffix, Number) { add(suffix, SqlType::Integer); }
    void real(std::string_view suffix, double) { add(suffix, SqlType::Real); }
    void text(std::string_view suffix, std::string_view) { add(suffix, SqlType::Text); }
    void null(std::string_view suffix, SqlType type) { add(suffix, type); }
};

// The values, written over those of the row before: the texts keep their
// storage. An undefined field's parts are NULL; SQL holds no NaN, which is
// written as the text "NaN".
struct ValueWriter {
    std::vector<CatalogValue>& values;
    std::size_t at = 0;
    bool defined = false;

    void field(int, bool isDefined) { defined = isDefined; }
    CatalogValue& next(Kind kind)
    {
        CatalogValue& v = values[at++];
        v.kind = defined ? kind : Kind::Null;
        return v;
    }
    template <class Number>
    void integer(std::string_view, Number value) { next(Kind::Integer).integer = static_cast<std::int64_t>(value); }
    void real(std::string_view, double value)
    {
        if (std::isnan(value) && defined) {
            next(Kind::Text).text.assign("NaN");
            return;
        }
        next(Kind::Real).real = value;
    }
    void text(std::string_view, std::string_view bytes)
    {
        CatalogValue& v = next(Kind::Text);
        if (defined) {
            v.text.clear();
            appendValidUtf8(v.text, bytes);
        }
    }
    void null(std::string_view, SqlType) { next(Kind::Null); }
};

// An SQL identifier: quoted, with any quote doubled.
std::string identifier(std::string_view name)
{
    std::string quoted = "\"";
    for (char c : name)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

// The file and clip columns before the field columns, with their SQL.
struct FileColumn {
    std::string_view name;
    const char* definition;
};
constexpr FileColumn kFileColumns[] = {
    {"path", "TEXT PRIMARY KEY NOT NULL"},   // absolute, as the scan found it
    {"device", "INTEGER"},                   // what the file system says of the file
    {"inode", "INTEGER"},
    {"size", "INTEGER"},
    {"modified_ns", "INTEGER"},              // modification time, nanoseconds since 1970
    {"fingerprint", "TEXT"},                 // of the 2480 header bytes (headerFingerprint)
    {"scanned_ns", "INTEGER"},               // when the header was decoded
    {"color_space", "TEXT"},                 // of the primaries: aces, native or wide
    {"result_is_error", "INTEGER"},
    {"result_code", "INTEGER"},
    {"result_message", "TEXT"},
    {"missing", "INTEGER NOT NULL DEFAULT 0"}, // 1: the last scan of its folder did not find it
    {"last_seen_ns", "INTEGER"},             // when a scan last found it
};

} // namespace

const char* sqlTypeName(SqlType type)
{
    switch (type) {
    case SqlType::Integer: return "INTEGER";
    case SqlType::Real: return "REAL";
    case SqlType::Text: return "TEXT";
    }
    return "";
}

const std::vector<CatalogColumn>& catalogFieldColumns()
{
    static const std::vector<CatalogColumn> columns = [] {
        std::vector<CatalogColumn> list;
        ColumnLister lister{list};
        forEachFieldParts(Container(), lister);
        return list;
    }();
    return columns;
}

void catalogFieldValues(const Container& container, std::vector<CatalogValue>& values)
{
    values.resize(catalogFieldColumns().size());
    ValueWriter writer{values};
    forEachFieldParts(container, writer);
}

std::vector<CatalogValue> catalogFieldValues(const Container& container)
{
    std::vector<CatalogValue> values;
    catalogFieldValues(container, values);
    return values;
}

const std::vector<std::string_view>& catalogFileColumns()
{
    static const std::vector<std::string_view> names = [] {
        std::vector<std::string_view> list;
        for (const FileColumn& column : kFileColumns)
            list.push_back(column.name);
        return list;
    }();
    return names;
}

std::string catalogSchema()
{
    std::string sql = "-- The vellmeta catalog, schema version " + std::to_string(kCatalogSchemaVersion) +
                      ": one row per clip file, one column per container field.\n"
                      "PRAGMA page_size = " + std::to_string(kCatalogPageSize) + ";\n" +
                      "PRAGMA user_version = " + std::to_string(kCatalogSchemaVersion) + ";\n\n"
                      "CREATE TABLE catalog (\n    key TEXT PRIMARY KEY NOT NULL,\n    value TEXT\n);\n\n"
                      "CREATE TABLE scans (\n    id INTEGER PRIMARY KEY,\n    started_ns INTEGER NOT NULL,\n"
                      "    finished_ns INTEGER,\n    color_space TEXT\n);\n\n"
                      "CREATE TABLE scan_roots (\n    scan INTEGER NOT NULL REFERENCES scans(id),\n"
                      "    root TEXT NOT NULL\n);\n\n"
                      "CREATE TABLE clips (\n";
    for (const FileColumn& column : kFileColumns)
        sql += "    " + identifier(column.name) + " " + column.definition + ",\n";
    const std::vector<CatalogColumn>& fields = catalogFieldColumns();
    for (std::size_t i = 0; i < fields.size(); ++i)
        sql += "    " + identifier(fields[i].name) + " " + sqlTypeName(fields[i].type) +
               (i + 1 < fields.size() ? ",\n" : "\n");
    sql += ");\n\n"
           "CREATE INDEX clips_by_inode ON clips (device, inode);\n"
           "-- What a rescan compares, read without the rows.\n"
           "CREATE INDEX clips_files ON clips (path, device, inode, size, modified_ns, color_space, missing);\n\n"
           "-- The clip report: its columns under their people's labels.\n"
           "CREATE VIEW clip_report AS SELECT\n    path AS \"Path\",\n";
    for (int index : kReportColumns)
        sql += "    " + identifier(kFields[index].name) + " AS " + identifier(kFields[index].label) + ",\n";
    sql += "    result_code AS \"Result code\",\n    result_message AS \"Result message\",\n"
           "    missing AS \"Missing\"\nFROM clips;\n";
    return sql;
}

namespace {

// xxHash64 with seed 0, over the 2480 bytes: a hash any language has a
// library for, and quick (a header is 77 stripes of four 64-bit lanes).
constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87u;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4Fu;
constexpr std::uint64_t kPrime3 = 0x165667B19E3779F9u;
constexpr std::uint64_t kPrime4 = 0x85EBCA77C2B2AE63u;

std::uint64_t rotateLeft(std::uint64_t value, int bits) { return value << bits | value >> (64 - bits); }

// Little-endian; written out, compilers make one load of it.
std::uint64_t word(const unsigned char* b)
{
    return std::uint64_t{b[0]} | std::uint64_t{b[1]} << 8 | std::uint64_t{b[2]} << 16 | std::uint64_t{b[3]} << 24 |
           std::uint64_t{b[4]} << 32 | std::uint64_t{b[5]} << 40 | std::uint64_t{b[6]} << 48 | std::uint64_t{b[7]} << 56;
}

std::uint64_t mixLane(std::uint64_t lane, std::uint64_t input)
{
    return rotateLeft(lane + input * kPrime2, 31) * kPrime1;
}

std::uint64_t merge(std::uint64_t hash, std::uint64_t lane)
{
    return (hash ^ mixLane(0, lane)) * kPrime1 + kPrime4;
}

} // namespace

std::string headerFingerprint(const unsigned char* header)
{
    static_assert(kHeaderSize % 8 == 0, "the tail is whole words");
    std::uint64_t lanes[4] = {kPrime1 + kPrime2, kPrime2, 0, 0 - kPrime1};
    const unsigned char* p = header;
    for (; p + 32 <= header + kHeaderSize; p += 32)
        for (int lane = 0; lane < 4; ++lane)
            lanes[lane] = mixLane(lanes[lane], word(p + 8 * lane));
    std::uint64_t hash = rotateLeft(lanes[0], 1) + rotateLeft(lanes[1], 7) + rotateLeft(lanes[2], 12) +
                         rotateLeft(lanes[3], 18);
    for (std::uint64_t lane : lanes)
        hash = merge(hash, lane);
    hash += kHeaderSize;
    for (; p < header + kHeaderSize; p += 8)
        hash = rotateLeft(hash ^ mixLane(0, word(p)), 27) * kPrime1 + kPrime4;
    hash ^= hash >> 33;
    hash *= kPrime2;
    hash ^= hash >> 29;
    hash *= kPrime3;
    hash ^= hash >> 32;

    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4)
        text[static_cast<std::size_t>(i)] = kDigits[hash & 0xF];
    return text;
}

} // namespace vellmeta
