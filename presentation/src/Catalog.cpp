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

CatalogValue integerValue(std::int64_t value)
{
    CatalogValue v;
    v.kind = Kind::Integer;
    v.integer = value;
    return v;
}

// SQL holds no NaN: it is written as a text.
CatalogValue realValue(double value)
{
    CatalogValue v;
    if (std::isnan(value)) {
        v.kind = Kind::Text;
        v.text = "NaN";
    } else {
        v.kind = Kind::Real;
        v.real = value;
    }
    return v;
}

CatalogValue textValue(std::string text)
{
    CatalogValue v;
    v.kind = Kind::Text;
    v.text = std::move(text);
    return v;
}

// Each value type's parts: emit(suffix, type, value) in turn, the suffix
// appended to the field's name after an underscore ("" for the field's own
// column).
template <class Emit>
void partsOf(std::uint32_t value, const FieldPresentation&, Emit&& emit)
{
    emit("", SqlType::Integer, integerValue(value));
}
template <class Emit>
void partsOf(std::int32_t value, const FieldPresentation&, Emit&& emit)
{
    emit("", SqlType::Integer, integerValue(value));
}
template <class Emit>
void partsOf(bool value, const FieldPresentation&, Emit&& emit)
{
    emit("", SqlType::Integer, integerValue(value ? 1 : 0));
}
template <class Emit>
void partsOf(float value, const FieldPresentation&, Emit&& emit)
{
    emit("", SqlType::Real, realValue(value));
}
template <class Emit>
void partsOf(const Vmc::Vec2& value, const FieldPresentation&, Emit&& emit)
{
    emit("x", SqlType::Real, realValue(value.x));
    emit("y", SqlType::Real, realValue(value.y));
}
template <class Emit>
void partsOf(const Vmc::Vec3& value, const FieldPresentation& p, Emit&& emit)
{
    const bool rgb = p.reading == Reading::Rgb;
    emit(rgb ? "r" : "x", SqlType::Real, realValue(value.x));
    emit(rgb ? "g" : "y", SqlType::Real, realValue(value.y));
    emit(rgb ? "b" : "z", SqlType::Real, realValue(value.z));
}
template <class Emit>
void partsOf(const Vmc::ImageWindow& value, const FieldPresentation&, Emit&& emit)
{
    emit("minX", SqlType::Real, realValue(value.first.x));
    emit("minY", SqlType::Real, realValue(value.first.y));
    emit("maxX", SqlType::Real, realValue(value.second.x));
    emit("maxY", SqlType::Real, realValue(value.second.y));
    const std::optional<WindowSize> size = windowSize(value);
    emit("width", SqlType::Real, size ? realValue(size->width) : CatalogValue());
    emit("height", SqlType::Real, size ? realValue(size->height) : CatalogValue());
}
template <class Emit>
void partsOf(const Vmc::Chromaticities& value, const FieldPresentation&, Emit&& emit)
{
    const std::pair<const char*, const Vmc::Vec2*> points[] = {
        {"red", &value.red}, {"green", &value.green}, {"blue", &value.blue}, {"white", &value.white}};
    for (const auto& [name, point] : points) {
        emit(std::string(name) + "X", SqlType::Real, realValue(point->x));
        emit(std::string(name) + "Y", SqlType::Real, realValue(point->y));
    }
}
template <class Emit>
void partsOf(const Vmc::CameraTriple& value, const FieldPresentation&, Emit&& emit)
{
    emit("a", SqlType::Real, realValue(value.a));
    emit("b", SqlType::Real, realValue(value.b));
    emit("c", SqlType::Real, realValue(value.c));
    emit("extra", SqlType::Integer, integerValue(value.extra));
}
// The fraction as the header holds it, and its quotient for queries
// (`sensorFrameRate > 30`).
template <class Emit>
void partsOf(const Vmc::Rational& value, const FieldPresentation&, Emit&& emit)
{
    emit("", SqlType::Real,
         realValue(static_cast<double>(value.numerator) / static_cast<double>(value.denominator)));
    emit("numerator", SqlType::Integer, integerValue(value.numerator));
    emit("denominator", SqlType::Integer, integerValue(value.denominator));
}
template <class Emit>
void partsOf(const VellRawMeta::TC_Struct& value, const FieldPresentation&, Emit&& emit)
{
    emit("", SqlType::Text, textValue(timeCodeText(value)));
    emit("bcdTime", SqlType::Integer, integerValue(std::uint32_t{value.bcdTime}));
    emit("word1", SqlType::Integer, integerValue(std::uint32_t{value.word1}));
    emit("rateAndDropFrame", SqlType::Integer, integerValue(std::uint32_t{value.rateAndDropFrame}));
    emit("word3", SqlType::Integer, integerValue(std::uint32_t{value.word3}));
}
template <class Emit>
void partsOf(const MetaString& value, const FieldPresentation&, Emit&& emit)
{
    emit("", SqlType::Text, textValue(value.text != nullptr ? validUtf8(value.text) : std::string()));
}

// Calls partsOf for every field of `container`, in container order, with
// the field's presentation and whether it is defined.
template <class Visit>
void forEachFieldParts(const Container& container, Visit&& visit)
{
    Vmc::forEachField(container, [&](const Vmc::FieldInfo& info, const auto& field) {
        const FieldPresentation& p = kFields[info.index];
        if constexpr (std::is_same_v<std::decay_t<decltype(field)>, MetaString>)
            visit(info.index, field.defined != 0, [&](auto&& emit) { partsOf(field, p, emit); });
        else
            visit(info.index, field.defined != 0, [&](auto&& emit) { partsOf(field.value, p, emit); });
    });
}

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
        const Container empty;
        forEachFieldParts(empty, [&](int index, bool, auto&& parts) {
            parts([&](const std::string& suffix, SqlType type, const CatalogValue&) {
                std::string name(kFields[index].name);
                if (!suffix.empty())
                    name += "_" + suffix;
                list.push_back({std::move(name), type, index});
            });
        });
        return list;
    }();
    return columns;
}

std::vector<CatalogValue> catalogFieldValues(const Container& container)
{
    std::vector<CatalogValue> values;
    values.reserve(catalogFieldColumns().size());
    forEachFieldParts(container, [&](int, bool defined, auto&& parts) {
        parts([&](const std::string&, SqlType, CatalogValue value) {
            values.push_back(defined ? std::move(value) : CatalogValue());
        });
    });
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
           "CREATE INDEX clips_by_inode ON clips (device, inode);\n\n"
           "-- The clip report: its columns under their people's labels.\n"
           "CREATE VIEW clip_report AS SELECT\n    path AS \"Path\",\n";
    for (int index : kReportColumns)
        sql += "    " + identifier(kFields[index].name) + " AS " + identifier(kFields[index].label) + ",\n";
    sql += "    result_code AS \"Result code\",\n    result_message AS \"Result message\",\n"
           "    missing AS \"Missing\"\nFROM clips;\n";
    return sql;
}

std::string headerFingerprint(const unsigned char* header)
{
    std::uint64_t hash = 0xCBF29CE484222325u; // FNV-1a, 64 bits
    for (std::size_t i = 0; i < kHeaderSize; ++i) {
        hash ^= header[i];
        hash *= 0x100000001B3u;
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4)
        text[static_cast<std::size_t>(i)] = kDigits[hash & 0xF];
    return text;
}

} // namespace vellmeta
