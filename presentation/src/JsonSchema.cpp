// SPDX-License-Identifier: Apache-2.0
#include <vellmeta/JsonSchema.h>

#include <vellmeta/Fields.h>

#include "JsonWriter.h"

namespace vellmeta {

namespace {

// {"$ref": "#/$defs/<name>"}
void reference(JsonWriter& json, const char* name)
{
    json.beginObject();
    json.member("$ref", std::string("#/$defs/") + name);
    json.endObject();
}

// A JSON array of the given item schemas and nothing more.
void tuple(JsonWriter& json, std::initializer_list<const char*> items)
{
    json.member("type", "array");
    json.key("prefixItems");
    json.beginArray();
    for (const char* item : items)
        reference(json, item);
    json.endArray();
    json.member("minItems", static_cast<std::int64_t>(items.size()));
    json.member("items", false);
}

// An object of the given members, each referring to a definition, all of
// them required and nothing more.
void record(JsonWriter& json, std::initializer_list<std::pair<const char*, const char*>> members)
{
    json.member("type", "object");
    json.key("properties");
    json.beginObject();
    for (const auto& [name, type] : members) {
        json.key(name);
        reference(json, type);
    }
    json.endObject();
    json.key("required");
    json.beginArray();
    for (const auto& member : members)
        json.string(member.first);
    json.endArray();
    json.member("additionalProperties", false);
}

void integerRange(JsonWriter& json, std::int64_t minimum, std::int64_t maximum)
{
    json.member("type", "integer");
    json.member("minimum", minimum);
    json.member("maximum", maximum);
}

// The name of a value type's definition under "$defs".
const char* definitionName(ValueType type)
{
    switch (type) {
    case ValueType::UInt32: return "uint32";
    case ValueType::Int32: return "int32";
    case ValueType::Float: return "float";
    case ValueType::Bool: return "bool";
    case ValueType::Vec2: return "vec2";
    case ValueType::Vec3: return "vec3";
    case ValueType::ImageWindow: return "imageWindow";
    case ValueType::Chromaticities: return "chromaticities";
    case ValueType::CameraTriple: return "cameraTriple";
    case ValueType::Rational: return "rational";
    case ValueType::TimeCode: return "timeCode";
    case ValueType::Text: return "text";
    }
    return "";
}

// The members of a value type's definition, as the JSON view writes values
// of that type.
void definition(JsonWriter& json, ValueType type)
{
    switch (type) {
    case ValueType::UInt32: return integerRange(json, 0, 4294967295);
    case ValueType::Int32: return integerRange(json, -2147483648, 2147483647);
    case ValueType::Float:
        json.key("description");
        json.string("a 32-bit float; NaN and the infinities as strings");
        json.key("anyOf");
        json.beginArray();
        json.beginObject();
        json.member("type", "number");
        json.endObject();
        json.beginObject();
        json.key("enum");
        json.beginArray();
        for (const char* word : {"NaN", "Infinity", "-Infinity"})
            json.string(word);
        json.endArray();
        json.endObject();
        json.endArray();
        return;
    case ValueType::Bool:
        json.member("type", "boolean");
        return;
    case ValueType::Vec2: return tuple(json, {"float", "float"});
    case ValueType::Vec3: return tuple(json, {"float", "float", "float"});
    case ValueType::ImageWindow:
        json.member("description", "[[minX, minY], [maxX, maxY]]");
        return tuple(json, {"vec2", "vec2"});
    case ValueType::Chromaticities:
        json.member("description", "red, green, blue and white xy");
        return tuple(json, {"vec2", "vec2", "vec2", "vec2"});
    case ValueType::CameraTriple:
        json.member("description", "[a, b, c, extra]");
        return tuple(json, {"float", "float", "float", "uint32"});
    case ValueType::Rational: return record(json, {{"numerator", "int32"}, {"denominator", "uint32"}});
    case ValueType::TimeCode:
        json.key("description");
        json.string("the time code as text (HH:MM:SS:FF, ';' before the frames for drop frame) and its four words");
        return record(json, {{"text", "text"},
                             {"bcdTime", "uint32"},
                             {"word1", "uint32"},
                             {"rateAndDropFrame", "uint32"},
                             {"word3", "uint32"}});
    case ValueType::Text:
        json.member("type", "string");
        return;
    }
}

// The value that an all-ones header word, which decoding stores without
// testing it, gives the field; nullptr for a field that has none.
const char* allOnesValue(Word word)
{
    switch (word) {
    case Word::MilliUntested: return "4294967.5";
    case Word::MicroUntested: return "4294.9673";
    case Word::RateUntested: return "numerator -1 (rounded: 4294968)";
    case Word::RateWord: return "2147483.8";
    case Word::Word32: return "4294967295";
    case Word::Word32Float: return "4294967296.0";
    case Word::Word16: return "65535";
    case Word::Byte: return "255 (as a text: the one byte 0xFF)";
    case Word::SerialCode: return "a text ending in four bytes 0xFF";
    case Word::Floats: return "\"NaN\" (a tint: -2147483648)";
    case Word::Window32: return "a coordinate of 4294967296.0";
    case Word::Any:
    case Word::Milli:
    case Word::Tenths: return nullptr;
    }
    return nullptr;
}

// "Lens and location, in mm", what views make of spare and fixed fields, and
// the value that says the camera left the field's header word unwritten.
std::string fieldDescription(const FieldPresentation& p)
{
    std::string text = headingTitle(p.heading);
    if (!p.unit.empty())
        text += ", in " + std::string(p.unit);
    if (const char* value = allOnesValue(p.word))
        text += std::string("; ") + value + " where the camera left the header word unwritten";
    if (p.kind == FieldKind::Spare)
        text += "; a spare field that decoding never writes";
    else if (p.kind == FieldKind::Fixed)
        text += "; decoding only ever stores one fixed value";
    return text;
}

} // namespace

std::string jsonViewSchema()
{
    Out out;
    JsonWriter json(out, 2);
    json.beginObject();
    json.member("$schema", "https://json-schema.org/draft/2020-12/schema");
    json.member("title", "vellmeta --json");
    json.member("description", "What the headers of VELLRAW clips say: one object per decoded clip, in the order the files were "
                "given (an array of them, or one per line with --json-lines).");
    json.member("type", "array");
    json.key("items");
    reference(json, "clip");
    json.key("$defs");
    json.beginObject();

    json.key("clip");
    json.beginObject();
    record(json, {{"path", "text"}, {"result", "result"}, {"fields", "fields"}});
    json.endObject();
    json.key("result");
    json.beginObject();
    json.member("description", "the outcome of decoding");
    record(json, {{"isError", "bool"}, {"code", "uint32"}, {"message", "text"}});
    json.endObject();
    for (int t = 0; t < kValueTypeCount; ++t) {
        const auto type = static_cast<ValueType>(t);
        json.key(definitionName(type));
        json.beginObject();
        definition(json, type);
        json.endObject();
    }

    json.key("fields");
    json.beginObject();
    json.key("description");
    json.string("The fields the header defines by container name, in container order or in the order --fields "
                "gives; with --all every field, null where undefined.");
    json.member("type", "object");
    json.member("additionalProperties", false);
    json.key("properties");
    json.beginObject();
    for (const FieldPresentation& p : kFields) {
        json.key(p.name);
        json.beginObject();
        json.member("title", p.label);
        json.member("description", fieldDescription(p));
        json.key("anyOf");
        json.beginArray();
        reference(json, definitionName(p.type));
        json.beginObject();
        json.member("type", "null");
        json.endObject();
        json.endArray();
        json.endObject();
    }
    json.endObject();
    json.endObject();

    json.endObject();
    json.endObject();
    out += '\n';
    return std::string(out.view());
}

} // namespace vellmeta
