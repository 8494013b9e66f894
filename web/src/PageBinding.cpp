// What the web page calls: the clips dropped on it, decoded by the library,
// and every text the page shows or saves, written by the library's
// presentation layer and clip report. The page itself formats nothing; it
// puts these texts into the document as text.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <VellMetadataContainer/ClipReport.h>
#include <VellMetadataContainer/FieldPresentation.h>
#include <VellMetadataContainer/VellMetadataContainer.h>

#include "FileProblems.h" // the command-line tool's words for unusable files

namespace {

using emscripten::val;
using ColorSpace = Vmc::VellMetadataContainer::ColorSpace;

constexpr std::size_t kHeaderSize = VellRawMeta::kVellFileHeaderV3Size;

struct Clip {
    std::string name;
    std::string header; // the first kHeaderSize bytes of the file
    Vmc::VellMetadataContainer container;
    bool isError = false;
    std::uint32_t code = 0;
    std::string message;

    Vmc::ClipResult result() const { return {name, isError, code, message}; }
};

void decode(Clip& clip, ColorSpace colorSpace)
{
    // A fresh container: decoding leaves undefined fields as they were.
    clip.container = Vmc::VellMetadataContainer();
    Vmc::ErrorValue result = clip.container.initFromHeader(
        reinterpret_cast<const VellRawMeta::VellFileHeaderV3*>(clip.header.data()), colorSpace);
    clip.isError = result.isError;
    clip.code = result.code;
    clip.message = result.message != nullptr ? result.message : "";
    std::free(result.message);
}

ColorSpace colorSpaceNamed(const std::string& name)
{
    if (name == "aces")
        return ColorSpace::AcesAP0;
    if (name == "wide")
        return ColorSpace::WideGamut;
    return ColorSpace::CameraNative;
}

Vmc::ReportFormat formatNamed(const std::string& name)
{
    if (name == "json")
        return Vmc::ReportFormat::Json;
    if (name == "csv")
        return Vmc::ReportFormat::Csv;
    if (name == "tsv")
        return Vmc::ReportFormat::Tsv;
    return Vmc::ReportFormat::Text;
}

val textArray(const std::vector<std::string>& texts)
{
    val array = val::array();
    for (const std::string& text : texts)
        array.call<void>("push", text);
    return array;
}

// The clips dropped on the page, in the order they were dropped.
class ClipSet {
public:
    // Why a file of `size` bytes cannot be decoded, or "" when it can.
    static std::string sizeProblem(double size)
    {
        return vellmeta::headerSizeProblem(size > 0 ? static_cast<std::size_t>(size) : 0);
    }

    static std::string directoryProblem() { return vellmeta::kDirectoryProblem; }
    static std::string unreadableProblem() { return "cannot read: the browser could not read the file"; }

    // Decodes the header bytes of the file `name`; false (nothing kept)
    // when there are fewer than a header's worth.
    bool add(const std::string& name, const std::string& header)
    {
        if (header.size() < kHeaderSize)
            return false;
        Clip clip;
        clip.name = name;
        clip.header = header.substr(0, kHeaderSize);
        decode(clip, colorSpace_);
        clips_.push_back(std::move(clip));
        return true;
    }

    void clear() { clips_.clear(); }
    int size() const { return static_cast<int>(clips_.size()); }

    // Decodes every clip again with the primaries of "native", "aces" or
    // "wide".
    void setColorSpace(const std::string& name)
    {
        colorSpace_ = colorSpaceNamed(name);
        for (Clip& clip : clips_)
            decode(clip, colorSpace_);
    }

    // Every clip in one report, "text", "json", "csv" or "tsv": the bytes
    // the command-line tool writes for the same files, as a Uint8Array
    // (copied out, so that no text decoding comes between).
    val report(const std::string& format) const
    {
        Vmc::ReportOptions options;
        options.format = formatNamed(format);
        Vmc::ClipReport writer(options);
        std::string out;
        writer.begin(out);
        for (const Clip& clip : clips_)
            writer.clip(out, clip.container, clip.result());
        writer.end(out);
        const auto* bytes = reinterpret_cast<const unsigned char*>(out.data());
        return val::global("Uint8Array").new_(emscripten::typed_memory_view(out.size(), bytes));
    }

    // The people's view of one clip, as JSON for the page to parse (one
    // crossing into JavaScript instead of one per field):
    //   {"name": title, "isError": bool, "headings": [{"title": ..., "fields":
    //    [{"name": ..., "label": ..., "value": ...}]}], "result": {"title":
    //    ..., "fields": [{"label": ..., "value": ...}]}}
    // Headings and fields are those the text report lists, in its order;
    // the result is the last heading of the clip's text report.
    std::string clipView(int index) const
    {
        const Clip& clip = clips_.at(static_cast<std::size_t>(index));
        std::string out = "{\"name\":";
        Vmc::appendJsonString(out, Vmc::printable(clip.name));
        out += clip.isError ? ",\"isError\":true" : ",\"isError\":false";
        out += ",\"headings\":[";
        int currentHeading = -1;
        // The text report's fields: presentation order, spare and fixed
        // fields left out.
        for (int field : textReport_.columns()) {
            if (!textReport_.lists(clip.container, field))
                continue;
            const Vmc::FieldPresentation& p = Vmc::kFieldPresentations[field];
            if (static_cast<int>(p.heading) != currentHeading) {
                out += currentHeading < 0 ? "{\"title\":" : "]},{\"title\":";
                currentHeading = static_cast<int>(p.heading);
                Vmc::appendJsonString(out, Vmc::fieldGroupTitle(p.heading));
                out += ",\"fields\":[";
            } else {
                out += ',';
            }
            appendRow(out, p.name, p.label, Vmc::fieldText(clip.container, field, Vmc::TextStyle::People));
        }
        out += currentHeading < 0 ? "]" : "]}]";
        out += ",\"result\":{\"title\":\"Result\",\"fields\":[";
        bool first = true;
        for (const auto& [label, value] : textReport_.resultLines(clip.result())) {
            if (!first)
                out += ',';
            first = false;
            appendRow(out, "", label, value);
        }
        out += "]}}";
        return out;
    }

    // The clip report's table: the header row of its CSV view, then a row
    // per clip with the cells that view holds (before the spreadsheet guard
    // that the CSV puts before texts beginning with = + - @).
    val table() const
    {
        Vmc::ReportOptions options;
        options.format = Vmc::ReportFormat::Csv;
        const Vmc::ClipReport writer(options);
        val rows = val::array();
        rows.call<void>("push", textArray(writer.headerCells()));
        for (const Clip& clip : clips_)
            rows.call<void>("push", textArray(writer.rowCells(clip.container, clip.result())));
        return rows;
    }

private:
    static void appendRow(std::string& out, std::string_view name, std::string_view label, std::string_view value)
    {
        out += "{\"name\":";
        Vmc::appendJsonString(out, name);
        out += ",\"label\":";
        Vmc::appendJsonString(out, label);
        out += ",\"value\":";
        Vmc::appendJsonString(out, value);
        out += '}';
    }

    const Vmc::ClipReport textReport_{Vmc::ReportOptions{}};
    std::vector<Clip> clips_;
    ColorSpace colorSpace_ = ColorSpace::CameraNative;
};

} // namespace

EMSCRIPTEN_BINDINGS(vellmeta_page)
{
    emscripten::class_<ClipSet>("ClipSet")
        .constructor<>()
        .class_function("sizeProblem", &ClipSet::sizeProblem)
        .class_function("directoryProblem", &ClipSet::directoryProblem)
        .class_function("unreadableProblem", &ClipSet::unreadableProblem)
        .function("add", &ClipSet::add)
        .function("clear", &ClipSet::clear)
        .function("size", &ClipSet::size)
        .function("setColorSpace", &ClipSet::setColorSpace)
        .function("report", &ClipSet::report)
        .function("clipView", &ClipSet::clipView)
        .function("table", &ClipSet::table);
    emscripten::function("headerSize", emscripten::optional_override([] { return static_cast<int>(kHeaderSize); }));
    emscripten::function("libraryVersion", emscripten::optional_override([] {
                             return std::string(Vmc::VellMetadataContainer::VellMetadataContainerVersion().versionString);
                         }));
}
