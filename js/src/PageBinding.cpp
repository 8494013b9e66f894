// SPDX-License-Identifier: Apache-2.0
// What the web page calls (through the npm package's module, which holds
// this binding beside the package's own): the clips dropped on it, decoded by the library,
// and every text the page shows or saves, written by the presentation
// library. The page itself formats nothing; it puts these texts into the
// document as text.
//
// A clip is kept as the bytes of its header alone (2480 bytes) and decoded
// again whenever a view of it is asked for: decoding takes microseconds,
// and a card of thousands of clips then costs the page no more than their
// headers.
#include <algorithm>
#include <array>
#include <cmath>
#include <deque>
#include <limits>
#include <numeric>
#include <string>
#include <string_view>
#include <vector>

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <vellmeta/ColorSpaces.h>
#include <vellmeta/Decode.h>
#include <vellmeta/Diff.h>
#include <vellmeta/Fields.h>
#include <vellmeta/Report.h>
#include <vellmeta/Scan.h>
#include <vellmeta/Values.h>

#include "JsShapes.h"
#include "JsonWriter.h"
#include "Out.h"

namespace {

using emscripten::val;
using Container = Vmc::VellMetadataContainer;

constexpr double kNoKey = std::numeric_limits<double>::quiet_NaN();

// ---- sort keys: a number per table cell that sorts as the column reads ----

double keyOf(std::uint32_t value) { return value; }
double keyOf(std::int32_t value) { return value; }
double keyOf(float value) { return value; }
double keyOf(bool value) { return value ? 1 : 0; }
double keyOf(const Vmc::Rational& value)
{
    return value.denominator != 0 ? static_cast<double>(value.numerator) / value.denominator : kNoKey;
}
// A time code by its digits, hours' tens first: hours, minutes, seconds,
// then frames, whatever its rate.
double keyOf(const VellRawMeta::TC_Struct& value)
{
    const vellmeta::TimeCodeParts parts = vellmeta::timeCodeParts(value);
    double key = 0;
    for (unsigned digit : parts.digits)
        key = key * 16 + digit;
    return key;
}
// Texts, pairs and windows sort by their text.
template <class T>
double keyOf(const T&)
{
    return kNoKey;
}

template <auto Member>
double memberKey(const Container& container)
{
    const auto& field = container.*Member;
    if (!field.defined)
        return kNoKey;
    if constexpr (std::is_same_v<std::decay_t<decltype(field)>, MetaString>)
        return kNoKey;
    else
        return keyOf(field.value);
}

constexpr double (*kFieldKeys[])(const Container&) = {
#define VMC_FIELD(name, Type) &memberKey<&Container::name>,
#include <VellMetadataContainer/ContainerFields.def>
#undef VMC_FIELD
};
static_assert(std::size(kFieldKeys) == vellmeta::kFieldCount);

// How a column of the table sorts, from the type of its field's value.
const char* columnKind(int field)
{
    switch (vellmeta::kFields[field].type) {
    case vellmeta::ValueType::UInt32:
    case vellmeta::ValueType::Int32:
    case vellmeta::ValueType::Float:
    case vellmeta::ValueType::Bool:
    case vellmeta::ValueType::Rational: return "number";
    case vellmeta::ValueType::TimeCode: return "timeCode";
    default: return "text";
    }
}

// ---------------------------------------------------------------------------

val bytesOf(const std::string& text)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    return val::global("Uint8Array").new_(emscripten::typed_memory_view(text.size(), bytes));
}

template <class Write>
std::string built(Write&& write)
{
    vellmeta::Out out;
    write(out);
    std::string text;
    out.appendTo(text);
    return text;
}

struct Clip {
    std::string path;
    std::array<unsigned char, vellmeta::kHeaderSize> header;
};

// The clips dropped on the page, in the order a walk of the drop reads them.
class ClipSet {
public:
    // Why a file of `size` bytes cannot be decoded, or "" when it can.
    static std::string sizeProblem(double size)
    {
        return vellmeta::headerSizeProblem(size > 0 ? static_cast<std::size_t>(size) : 0);
    }

    static std::string unreadableProblem() { return "cannot read: the browser could not read the file"; }
    static std::string unreadableFolderProblem() { return "cannot read folder: the browser could not list it"; }

    // The order a walk takes a folder's entries in: byte order of their
    // names in UTF-8. Returns the indexes of `names` in that order.
    static val byteOrder(const val& names)
    {
        const std::vector<std::string> texts = emscripten::vecFromJSArray<std::string>(names);
        std::vector<int> order(texts.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return texts[static_cast<std::size_t>(a)] < texts[static_cast<std::size_t>(b)];
        });
        return val::array(order);
    }

    // The extensions of the files a folder's walk reads, as the tool's
    // --ext takes each one (a leading dot allowed, any case), separated by
    // commas or spaces; none: vellraw. Returns why the text is refused, or
    // "" when the extensions are taken.
    std::string setExtensions(const std::string& text)
    {
        std::vector<std::string> extensions;
        std::size_t at = 0;
        while (at < text.size()) {
            const std::size_t end = std::min(text.find_first_of(", \t", at), text.size());
            if (end > at)
                extensions.push_back(text.substr(at, end - at));
            at = end + 1;
        }
        if (std::count(extensions.begin(), extensions.end(), ".") > 0)
            return "each extension needs a name after its dot, such as vellraw";
        extensions_ = extensions.empty() ? vellmeta::WalkOptions{}.extensions : extensions;
        return {};
    }

    // Whether a walk reads the file `name`.
    bool picks(const std::string& name) const { return vellmeta::hasExtension(name, extensions_); }

    // What a walk says of a file it does not read.
    std::string skippedNote() const
    {
        std::string note = "skipped: not a";
        for (std::size_t i = 0; i < extensions_.size(); ++i) {
            const std::string& extension = extensions_[i];
            note += i == 0 ? " " : i + 1 == extensions_.size() ? " or " : ", ";
            note += extension[0] == '.' ? extension : '.' + extension;
        }
        return note + " file";
    }

    // Keeps the header bytes of the file at `path`; false (nothing kept)
    // when there are fewer than a header's worth.
    bool add(const std::string& path, const std::string& header)
    {
        if (header.size() < vellmeta::kHeaderSize)
            return false;
        Clip& clip = clips_.emplace_back();
        clip.path = path;
        std::copy_n(header.begin(), vellmeta::kHeaderSize, clip.header.begin());
        return true;
    }

    void clear() { clips_.clear(); }
    int size() const { return static_cast<int>(clips_.size()); }

    // Decodes the clips with the primaries of "native", "aces" or "wide"
    // from now on.
    void setColorSpace(const std::string& name)
    {
        colorSpace_ = vellmeta::colorSpaceNamed(name).value_or(vellmeta::kDefaultColorSpace);
    }

    // Every clip in one report, "text", "json", "jsonl", "csv", "tsv" or
    // "opentrackio": the bytes the command-line tool writes for the same
    // files, as a Uint8Array (copied out, so that no text decoding comes
    // between).
    val report(const std::string& format) const
    {
        vellmeta::ClipReport writer(vellmeta::js::reportOptionsNamed(format));
        std::string out;
        writer.begin(out);
        for (const Clip& clip : clips_) {
            const vellmeta::Decoded decoded = decode(clip);
            writer.clip(out, decoded.container, decoded.result(clip.path));
        }
        writer.end(out);
        return bytesOf(out);
    }

    // The table's columns, those of the clip report, as JSON: [{"label",
    // "name", "kind"}], where kind says how the column sorts: "text",
    // "number" or "timeCode".
    std::string columns() const
    {
        const std::vector<std::string> labels = tableWriter_.headerCells();
        const std::vector<int>& fields = tableWriter_.columns();
        return built([&](vellmeta::Out& out) {
            vellmeta::JsonWriter json(out);
            json.beginArray();
            for (std::size_t i = 0; i < labels.size(); ++i) {
                const bool isField = i >= 1 && i <= fields.size();
                json.beginObject();
                json.member("label", labels[i]);
                json.member("name", isField ? vellmeta::kFields[fields[i - 1]].name
                                    : i == 0 ? std::string_view("path")
                                    : i == fields.size() + 1 ? std::string_view("resultCode")
                                                             : std::string_view("resultMessage"));
                json.member("kind", isField ? columnKind(fields[i - 1]) : i == fields.size() + 1 ? "number" : "text");
                json.endObject();
            }
            json.endArray();
        });
    }

    // The table's rows of clips `from` to `to` (not included): {"cells": a
    // JSON array of each clip's cells, as the clip report holds them (before
    // the spreadsheet guard that the CSV puts before texts beginning with =
    // + - @), "keys": a Float64Array of a sort key per cell, row after row
    // (NaN where the column sorts by its text or the clip has no value)}.
    val rows(int from, int to) const
    {
        from = std::max(from, 0);
        to = std::min(to, size());
        const std::vector<int>& fields = tableWriter_.columns();
        const std::size_t width = fields.size() + 3;
        std::vector<double> keys;
        keys.reserve(static_cast<std::size_t>(std::max(to - from, 0)) * width);
        const std::string cells = built([&](vellmeta::Out& out) {
            vellmeta::JsonWriter json(out);
            json.beginArray();
            for (int i = from; i < to; ++i) {
                const Clip& clip = clips_[static_cast<std::size_t>(i)];
                const vellmeta::Decoded decoded = decode(clip);
                json.beginArray();
                for (const std::string& cell : tableWriter_.rowCells(decoded.container, decoded.result(clip.path)))
                    json.string(cell);
                json.endArray();
                keys.push_back(kNoKey);
                // A value the camera never wrote sorts with the empty cells,
                // as its cell reads "not set by the camera".
                for (int field : fields)
                    keys.push_back(vellmeta::setByCamera(decoded.container, field)
                                       ? kFieldKeys[field](decoded.container)
                                       : kNoKey);
                keys.push_back(decoded.code);
                keys.push_back(kNoKey);
            }
            json.endArray();
        });
        val result = val::object();
        result.set("cells", cells);
        result.set("keys", val::global("Float64Array")
                               .new_(emscripten::typed_memory_view(keys.size(), keys.data())));
        return result;
    }

    // The people's view of one clip, as JSON for the page to parse (one
    // crossing into JavaScript instead of one per field).
    std::string clipView(int index) const
    {
        const Clip& clip = clips_.at(static_cast<std::size_t>(index));
        const vellmeta::Decoded decoded = decode(clip);
        std::string out;
        textReport_.appendViewJson(out, decoded.container, decoded.result(clip.path));
        return out;
    }

    // The library's diff of two clips, as JSON: {"a", "b": their paths,
    // "differs", "fields": [{"name", "label", "comparison", "a", "b"}]}, the
    // fields in the order the text view lists them, each value as people
    // read it ("" where the clip does not define it); the equal ones only
    // with `all`. What `vellmeta --diff` lists for the same files.
    std::string diff(int first, int second, bool all) const
    {
        const Clip& clipA = clips_.at(static_cast<std::size_t>(first));
        const Clip& clipB = clips_.at(static_cast<std::size_t>(second));
        const vellmeta::Decoded a = decode(clipA);
        const vellmeta::Decoded b = decode(clipB);
        const std::vector<vellmeta::FieldComparison> comparisons =
            vellmeta::compareClips(a.container, b.container, vellmeta::ReportOptions{});
        bool differs = false;
        for (const vellmeta::FieldComparison& c : comparisons)
            differs = differs || c.comparison != vellmeta::Comparison::Equal;
        return built([&](vellmeta::Out& out) {
            vellmeta::JsonWriter json(out);
            json.beginObject();
            json.member("a", clipA.path);
            json.member("b", clipB.path);
            json.member("differs", differs);
            json.key("fields");
            json.beginArray();
            for (const vellmeta::FieldComparison& c : comparisons) {
                if (!all && c.comparison == vellmeta::Comparison::Equal)
                    continue;
                json.beginObject();
                json.member("name", vellmeta::kFields[c.field].name);
                json.member("label", vellmeta::kFields[c.field].label);
                json.member("comparison", vellmeta::comparisonName(c.comparison));
                json.member("a", vellmeta::fieldText(a.container, c.field, vellmeta::TextStyle::People));
                json.member("b", vellmeta::fieldText(b.container, c.field, vellmeta::TextStyle::People));
                json.endObject();
            }
            json.endArray();
            json.endObject();
        });
    }

private:
    vellmeta::Decoded decode(const Clip& clip) const { return vellmeta::decode(clip.header.data(), colorSpace_); }

    const vellmeta::ClipReport textReport_{vellmeta::ReportOptions{}};
    const vellmeta::ClipReport tableWriter_{vellmeta::js::reportOptionsNamed("csv")};
    // A deque: thousands of headers without a copy of them all as it grows.
    std::deque<Clip> clips_;
    vellmeta::ColorSpace colorSpace_ = vellmeta::kDefaultColorSpace;
    std::vector<std::string> extensions_ = vellmeta::WalkOptions{}.extensions;
};

} // namespace

EMSCRIPTEN_BINDINGS(vellmeta_page)
{
    emscripten::class_<ClipSet>("ClipSet")
        .constructor<>()
        .class_function("sizeProblem", &ClipSet::sizeProblem)
        .class_function("unreadableProblem", &ClipSet::unreadableProblem)
        .class_function("unreadableFolderProblem", &ClipSet::unreadableFolderProblem)
        .class_function("byteOrder", &ClipSet::byteOrder)
        .function("setExtensions", &ClipSet::setExtensions)
        .function("picks", &ClipSet::picks)
        .function("skippedNote", &ClipSet::skippedNote)
        .function("add", &ClipSet::add)
        .function("clear", &ClipSet::clear)
        .function("size", &ClipSet::size)
        .function("setColorSpace", &ClipSet::setColorSpace)
        .function("report", &ClipSet::report)
        .function("columns", &ClipSet::columns)
        .function("rows", &ClipSet::rows)
        .function("clipView", &ClipSet::clipView)
        .function("diff", &ClipSet::diff);
    emscripten::function("headerSize",
                         emscripten::optional_override([] { return static_cast<int>(vellmeta::kHeaderSize); }));
    emscripten::function("libraryVersion", emscripten::optional_override([] {
                             return std::string(
                                 Vmc::VellMetadataContainer::VellMetadataContainerVersion().versionString);
                         }));
}
