// SPDX-License-Identifier: Apache-2.0
// What the npm package's JavaScript calls: a header decoded into a JSON text
// of typed values that JavaScript parses in one go (one crossing rather than
// one per field), the people's text of a field, reports of many clips, and
// the presentation descriptions. Every value and every report is written
// here by the presentation library; the JavaScript only reshapes.
//
// No call keeps anything between calls: each decodes the header bytes it is
// given into a container of its own, so calls never see each other's clips.
#include <cmath>
#include <iterator>
#include <string>
#include <type_traits>

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <vellmeta/ColorSpaces.h>
#include <vellmeta/Decode.h>
#include <vellmeta/Fields.h>
#include <vellmeta/Report.h>
#include <vellmeta/Values.h>

#include "JsShapes.h"
#include "JsonWriter.h"
#include "Out.h"

namespace {

using emscripten::val;
using Container = Vmc::VellMetadataContainer;

// ---- whether a field's value holds a float that is not finite ----

bool nonFinite(float value) { return !std::isfinite(value); }
bool nonFinite(const Vmc::Vec2& value) { return nonFinite(value.x) || nonFinite(value.y); }
bool nonFinite(const Vmc::Vec3& value) { return nonFinite(value.x) || nonFinite(value.y) || nonFinite(value.z); }
bool nonFinite(const Vmc::ImageWindow& value) { return nonFinite(value.first) || nonFinite(value.second); }
bool nonFinite(const Vmc::Chromaticities& value)
{
    return nonFinite(value.red) || nonFinite(value.green) || nonFinite(value.blue) || nonFinite(value.white);
}
bool nonFinite(const Vmc::CameraTriple& value) { return nonFinite(value.a) || nonFinite(value.b) || nonFinite(value.c); }
template <class T>
bool nonFinite(const T&)
{
    return false;
}

template <auto Member>
bool memberNonFinite(const Container& container)
{
    const auto& field = container.*Member;
    if constexpr (std::is_same_v<std::decay_t<decltype(field)>, MetaString>)
        return false;
    else
        return field.defined && nonFinite(field.value);
}

constexpr bool (*kNonFinite[])(const Container&) = {
#define VMC_FIELD(name, Type) &memberNonFinite<&Container::name>,
#include <VellMetadataContainer/ContainerFields.def>
#undef VMC_FIELD
};
static_assert(std::size(kNonFinite) == vellmeta::kFieldCount);

// ---------------------------------------------------------------------------

template <class Write>
std::string built(Write&& write)
{
    vellmeta::Out out;
    write(out);
    std::string text;
    out.appendTo(text);
    return text;
}

vellmeta::ColorSpace colorSpaceOf(const std::string& name)
{
    return vellmeta::colorSpaceNamed(name).value_or(vellmeta::kDefaultColorSpace);
}

// Why a decode() or report() argument is refused, or "" when it is taken.
std::string colorSpaceProblem(const std::string& name)
{
    if (vellmeta::colorSpaceNamed(name))
        return {};
    return "unknown colour space \"" + name + "\": choose one of " + vellmeta::colorSpaceNames();
}

std::string reportFormatProblem(const std::string& name)
{
    if (vellmeta::js::reportFormatNamed(name))
        return {};
    std::string names;
    for (const auto& format : vellmeta::js::kReportFormats)
        names += (names.empty() ? "" : ", ") + std::string(format.name);
    return "unknown report format \"" + name + "\": choose one of " + names;
}

std::string headerSizeProblem(double size)
{
    return vellmeta::headerSizeProblem(size > 0 ? static_cast<std::size_t>(size) : 0);
}

// The clip of a header (at least kHeaderSize bytes; the caller checks), as
// JSON: [[every field's value in container order as the JSON view types it,
// null where the header leaves it undefined], {"isError", "code",
// "message"}, [indexes of the fields whose numbers include a NaN or an
// infinity, which JSON writes as the strings "NaN", "Infinity" and
// "-Infinity"]]. An array of values parses, and becomes an object, in half
// the time an object of two hundred members takes.
std::string decodeClip(const std::string& header, const std::string& colorSpace)
{
    const vellmeta::Decoded decoded =
        vellmeta::decode(reinterpret_cast<const unsigned char*>(header.data()), colorSpaceOf(colorSpace));
    std::string out = "[[";
    for (int i = 0; i < vellmeta::kFieldCount; ++i) {
        if (i > 0)
            out += ',';
        vellmeta::appendFieldJson(out, decoded.container, i);
    }
    out += "],";
    out += built([&](vellmeta::Out& text) {
        vellmeta::JsonWriter json(text);
        json.beginObject();
        json.member("isError", decoded.isError);
        json.member("code", decoded.code);
        json.member("message", decoded.message);
        json.endObject();
    });
    out += ',';
    out += built([&](vellmeta::Out& text) {
        vellmeta::JsonWriter json(text);
        json.beginArray();
        for (int i = 0; i < vellmeta::kFieldCount; ++i)
            if (kNonFinite[i](decoded.container))
                json.integer(i);
        json.endArray();
    });
    out += ']';
    return out;
}

// The people's text of field `name` of a header, or undefined when the
// header leaves it undefined (or there is no such field).
val fieldText(const std::string& header, const std::string& colorSpace, const std::string& name)
{
    const int index = vellmeta::fieldIndex(name);
    if (index < 0)
        return val::undefined();
    const vellmeta::Decoded decoded =
        vellmeta::decode(reinterpret_cast<const unsigned char*>(header.data()), colorSpaceOf(colorSpace));
    if (!vellmeta::fieldDefined(decoded.container, index))
        return val::undefined();
    return val(vellmeta::fieldText(decoded.container, index, vellmeta::TextStyle::People));
}

// One report of the clips [{header, colorSpace, path}] in `format` (checked
// by reportFormatProblem first): the bytes the tool writes for the same
// files, as text.
std::string report(const val& clips, const std::string& format)
{
    vellmeta::ClipReport writer(vellmeta::js::reportOptionsNamed(format));
    std::string out;
    writer.begin(out);
    const unsigned count = clips["length"].as<unsigned>();
    for (unsigned i = 0; i < count; ++i) {
        const val clip = clips[i];
        const std::string header = clip["header"].as<std::string>();
        const std::string path = clip["path"].as<std::string>();
        const vellmeta::Decoded decoded = vellmeta::decode(reinterpret_cast<const unsigned char*>(header.data()),
                                                           colorSpaceOf(clip["colorSpace"].as<std::string>()));
        writer.clip(out, decoded.container, decoded.result(path));
    }
    writer.end(out);
    return out;
}

// Every field's presentation in the order people read them, as JSON:
// [{"name", "label", "unit", "heading", "headingTitle", "kind", "type",
// "reportColumn"}].
std::string fieldsJson()
{
    return built([](vellmeta::Out& out) {
        vellmeta::JsonWriter json(out);
        json.beginArray();
        for (int index : vellmeta::kPresentationOrder) {
            const vellmeta::FieldPresentation& p = vellmeta::kFields[index];
            json.beginObject();
            json.member("name", p.name);
            json.member("label", p.label);
            json.member("unit", p.unit);
            json.member("heading", vellmeta::headingName(p.heading));
            json.member("headingTitle", vellmeta::headingTitle(p.heading));
            json.member("kind", vellmeta::kindName(p.kind));
            json.member("type", vellmeta::js::valueShape(p.type).name);
            json.member("reportColumn", p.report);
            json.endObject();
        }
        json.endArray();
    });
}

// The field names in container order, the order of decodeClip's values.
std::string fieldNamesJson()
{
    return built([](vellmeta::Out& out) {
        vellmeta::JsonWriter json(out);
        json.beginArray();
        for (const vellmeta::FieldPresentation& p : vellmeta::kFields)
            json.string(p.name);
        json.endArray();
    });
}

} // namespace

EMSCRIPTEN_BINDINGS(vellmeta_package)
{
    emscripten::function("decodeClip", &decodeClip);
    emscripten::function("fieldText", &fieldText);
    emscripten::function("report", &report);
    emscripten::function("fieldsJson", &fieldsJson);
    emscripten::function("fieldNamesJson", &fieldNamesJson);
    emscripten::function("colorSpaceProblem", &colorSpaceProblem);
    emscripten::function("reportFormatProblem", &reportFormatProblem);
    emscripten::function("headerSizeProblem", &headerSizeProblem);
}
