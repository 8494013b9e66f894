#include "JsonSchema.h"

#include <VellMetadataContainer/FieldPresentation.h>

namespace vellmeta {

namespace {

constexpr Vmc::ValueType kValueTypes[] = {
    Vmc::ValueType::UInt32,      Vmc::ValueType::Int32,          Vmc::ValueType::Float,
    Vmc::ValueType::Bool,        Vmc::ValueType::Vec2,           Vmc::ValueType::Vec3,
    Vmc::ValueType::ImageWindow, Vmc::ValueType::Chromaticities, Vmc::ValueType::CameraTriple,
    Vmc::ValueType::Rational,    Vmc::ValueType::TimeCode,       Vmc::ValueType::Text,
};
static_assert(sizeof(kValueTypes) / sizeof(kValueTypes[0]) == static_cast<int>(Vmc::ValueType::Text) + 1,
              "every value type has its definition");

// The name of a value type's definition under "$defs", and the definition.
struct Definition {
    const char* name;
    const char* schema;
};

Definition definition(Vmc::ValueType type)
{
    using Vmc::ValueType;
    switch (type) {
    case ValueType::UInt32: return {"uint32", R"({"type": "integer", "minimum": 0, "maximum": 4294967295})"};
    case ValueType::Int32: return {"int32", R"({"type": "integer", "minimum": -2147483648, "maximum": 2147483647})"};
    case ValueType::Float:
        return {"float", R"({"description": "a 32-bit float; NaN and the infinities as strings", )"
                         R"("anyOf": [{"type": "number"}, {"enum": ["NaN", "Infinity", "-Infinity"]}]})"};
    case ValueType::Bool: return {"bool", R"({"type": "boolean"})"};
    case ValueType::Vec2:
        return {"vec2", R"({"type": "array", "prefixItems": [{"$ref": "#/$defs/float"}, {"$ref": "#/$defs/float"}], )"
                        R"("minItems": 2, "items": false})"};
    case ValueType::Vec3:
        return {"vec3", R"({"type": "array", "prefixItems": [{"$ref": "#/$defs/float"}, {"$ref": "#/$defs/float"}, )"
                        R"({"$ref": "#/$defs/float"}], "minItems": 3, "items": false})"};
    case ValueType::ImageWindow:
        return {"imageWindow", R"({"description": "[[minX, minY], [maxX, maxY]]", "type": "array", )"
                               R"("prefixItems": [{"$ref": "#/$defs/vec2"}, {"$ref": "#/$defs/vec2"}], )"
                               R"("minItems": 2, "items": false})"};
    case ValueType::Chromaticities:
        return {"chromaticities", R"({"description": "red, green, blue and white xy", "type": "array", )"
                                  R"("prefixItems": [{"$ref": "#/$defs/vec2"}, {"$ref": "#/$defs/vec2"}, )"
                                  R"({"$ref": "#/$defs/vec2"}, {"$ref": "#/$defs/vec2"}], "minItems": 4, "items": false})"};
    case ValueType::CameraTriple:
        return {"cameraTriple", R"({"description": "[a, b, c, extra]", "type": "array", "prefixItems": [)"
                                R"({"$ref": "#/$defs/float"}, {"$ref": "#/$defs/float"}, {"$ref": "#/$defs/float"}, )"
                                R"({"$ref": "#/$defs/uint32"}], "minItems": 4, "items": false})"};
    case ValueType::Rational:
        return {"rational", R"({"type": "object", "properties": {"numerator": {"$ref": "#/$defs/int32"}, )"
                            R"("denominator": {"$ref": "#/$defs/uint32"}}, "required": ["numerator", "denominator"], )"
                            R"("additionalProperties": false})"};
    case ValueType::TimeCode:
        return {"timeCode", R"({"type": "object", "properties": {"text": {"type": "string"}, )"
                            R"("bcdTime": {"$ref": "#/$defs/uint32"}, "word1": {"$ref": "#/$defs/uint32"}, )"
                            R"("rateAndDropFrame": {"$ref": "#/$defs/uint32"}, "word3": {"$ref": "#/$defs/uint32"}}, )"
                            R"("required": ["text", "bcdTime", "word1", "rateAndDropFrame", "word3"], )"
                            R"("additionalProperties": false})"};
    case ValueType::Text: return {"text", R"({"type": "string"})"};
    }
    return {"", "{}"};
}

// "Lens and location, in mm", and what views make of spare and fixed fields.
std::string fieldDescription(const Vmc::FieldPresentation& p)
{
    std::string text = Vmc::fieldGroupTitle(p.heading);
    if (*p.unit != '\0')
        text += std::string(", in ") + p.unit;
    if (p.kind == Vmc::FieldKind::Spare)
        text += "; a spare field that decoding never writes";
    else if (p.kind == Vmc::FieldKind::Fixed)
        text += "; decoding only ever stores one fixed value";
    return text;
}

} // namespace

std::string jsonViewSchema()
{
    std::string out = R"({
  "$schema": "https://json-schema.org/draft/2020-12/schema",
  "title": "vellmeta --json",
  "description": "What the headers of VELLRAW clips say: one object per decoded clip, in the order the files were given.",
  "type": "array",
  "items": {"$ref": "#/$defs/clip"},
  "$defs": {
    "clip": {"type": "object", "properties": {"path": {"type": "string"}, "result": {"$ref": "#/$defs/result"}, )"
                      R"("fields": {"$ref": "#/$defs/fields"}}, "required": ["path", "result", "fields"], )"
                      R"("additionalProperties": false},
    "result": {"description": "the outcome of decoding", "type": "object", "properties": {"isError": {"type": "boolean"}, )"
                      R"("code": {"$ref": "#/$defs/uint32"}, "message": {"type": "string"}}, )"
                      R"("required": ["isError", "code", "message"], "additionalProperties": false},
)";
    for (const Vmc::ValueType type : kValueTypes) {
        const Definition d = definition(type);
        out += "    \"";
        out += d.name;
        out += "\": ";
        out += d.schema;
        out += ",\n";
    }
    out += R"(    "fields": {
      "description": "The fields the header defines by container name, in container order or in the order --fields gives; with --all every field, null where undefined.",
      "type": "object",
      "additionalProperties": false,
      "properties": {
)";
    for (int i = 0; i < Vmc::kFieldCount; ++i) {
        const Vmc::FieldPresentation& p = Vmc::kFieldPresentations[i];
        out += "        ";
        Vmc::appendJsonString(out, p.name);
        out += ": {\"title\": ";
        Vmc::appendJsonString(out, p.label);
        out += ", \"description\": ";
        Vmc::appendJsonString(out, fieldDescription(p));
        out += ", \"anyOf\": [{\"$ref\": \"#/$defs/";
        out += definition(p.type).name;
        out += "\"}, {\"type\": \"null\"}]}";
        out += i + 1 < Vmc::kFieldCount ? ",\n" : "\n";
    }
    out += "      }\n    }\n  }\n}\n";
    return out;
}

} // namespace vellmeta
