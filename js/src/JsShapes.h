// SPDX-License-Identifier: Apache-2.0
// How the package shows things to JavaScript, kept in one place for the
// binding and for the generator of the TypeScript declarations: the name and
// the TypeScript type of each value type, and the report formats by name.
#pragma once

#include <string_view>

#include <vellmeta/Fields.h>
#include <vellmeta/Report.h>

namespace vellmeta::js {

// The name of a value type as fields() gives it, and the TypeScript type
// that decode() gives a value of it (undefined aside).
struct ValueShape {
    const char* name;
    const char* typeScript;
};

constexpr ValueShape valueShape(ValueType type)
{
    switch (type) {
    case ValueType::UInt32: return {"uint32", "number"};
    case ValueType::Int32: return {"int32", "number"};
    case ValueType::Float: return {"float", "number"};
    case ValueType::Bool: return {"bool", "boolean"};
    case ValueType::Vec2: return {"vec2", "[number, number]"};
    case ValueType::Vec3: return {"vec3", "[number, number, number]"};
    case ValueType::ImageWindow: return {"imageWindow", "[[number, number], [number, number]]"};
    case ValueType::Chromaticities:
        return {"chromaticities", "[[number, number], [number, number], [number, number], [number, number]]"};
    case ValueType::CameraTriple: return {"cameraTriple", "[number, number, number, number]"};
    case ValueType::Rational: return {"rational", "Rational"};
    case ValueType::TimeCode: return {"timeCode", "TimeCode"};
    case ValueType::Text: return {"text", "string"};
    }
    return {"", ""};
}

// The report formats by the names report() takes, as the tool's options
// write them.
struct ReportFormatName {
    const char* name;  // "jsonl"
    const char* tool;  // "--json-lines"
    ReportFormat format;
    bool lines;
};

inline constexpr ReportFormatName kReportFormats[] = {
    {"text", "(no option)", ReportFormat::Text, false},
    {"json", "--json", ReportFormat::Json, false},
    {"jsonl", "--json-lines", ReportFormat::Json, true},
    {"csv", "--csv", ReportFormat::Csv, false},
    {"tsv", "--tsv", ReportFormat::Tsv, false},
    {"opentrackio", "--opentrackio", ReportFormat::OpenTrackIo, false},
};

// The options of the report named `name`; nullptr for a name that is none.
inline const ReportFormatName* reportFormatNamed(std::string_view name)
{
    for (const ReportFormatName& format : kReportFormats)
        if (name == format.name)
            return &format;
    return nullptr;
}

// The options of a report in the format named `name`; the text view for a
// name that is none.
inline ReportOptions reportOptionsNamed(std::string_view name)
{
    const ReportFormatName* named = reportFormatNamed(name);
    ReportOptions options;
    options.format = named ? named->format : ReportFormat::Text;
    options.lines = named && named->lines;
    return options;
}

// Names a decoded clip object holds beside its fields.
inline constexpr std::string_view kClipMembers[] = {"path", "colorSpace", "result"};

} // namespace vellmeta::js
