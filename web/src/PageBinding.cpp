// SPDX-License-Identifier: Apache-2.0
// What the web page calls: the clips dropped on it, decoded by the library,
// and every text the page shows or saves, written by the presentation
// library. The page itself formats nothing; it puts these texts into the
// document as text.
#include <string>
#include <vector>

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <vellmeta/ColorSpaces.h>
#include <vellmeta/Decode.h>
#include <vellmeta/Report.h>

namespace {

using emscripten::val;

struct Clip {
    std::string name;
    std::string header; // the first kHeaderSize bytes of the file
    vellmeta::Decoded decoded;

    void decode(vellmeta::ColorSpace colorSpace)
    {
        decoded = vellmeta::decode(reinterpret_cast<const unsigned char*>(header.data()), colorSpace);
    }
    vellmeta::ClipResult result() const { return decoded.result(name); }
};

vellmeta::ReportOptions reportNamed(const std::string& name)
{
    vellmeta::ReportOptions options;
    options.format = name == "json" || name == "jsonl" ? vellmeta::ReportFormat::Json
                     : name == "csv"                  ? vellmeta::ReportFormat::Csv
                     : name == "tsv"                  ? vellmeta::ReportFormat::Tsv
                     : name == "opentrackio"          ? vellmeta::ReportFormat::OpenTrackIo
                                                      : vellmeta::ReportFormat::Text;
    options.lines = name == "jsonl";
    return options;
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

    static std::string directoryProblem() { return vellmeta::kFolderProblem; }
    static std::string unreadableProblem() { return "cannot read: the browser could not read the file"; }

    // Decodes the header bytes of the file `name`; false (nothing kept)
    // when there are fewer than a header's worth.
    bool add(const std::string& name, const std::string& header)
    {
        if (header.size() < vellmeta::kHeaderSize)
            return false;
        Clip clip;
        clip.name = name;
        clip.header = header.substr(0, vellmeta::kHeaderSize);
        clip.decode(colorSpace_);
        clips_.push_back(std::move(clip));
        return true;
    }

    void clear() { clips_.clear(); }
    int size() const { return static_cast<int>(clips_.size()); }

    // Decodes every clip again with the primaries of "native", "aces" or
    // "wide".
    void setColorSpace(const std::string& name)
    {
        colorSpace_ = vellmeta::colorSpaceNamed(name).value_or(vellmeta::kDefaultColorSpace);
        for (Clip& clip : clips_)
            clip.decode(colorSpace_);
    }

    // Every clip in one report, "text", "json", "jsonl", "csv", "tsv" or
    // "opentrackio": the bytes the command-line tool writes for the same
    // files, as a Uint8Array (copied out, so that no text decoding comes
    // between).
    val report(const std::string& format) const
    {
        vellmeta::ClipReport writer(reportNamed(format));
        std::string out;
        writer.begin(out);
        for (const Clip& clip : clips_)
            writer.clip(out, clip.decoded.container, clip.result());
        writer.end(out);
        const auto* bytes = reinterpret_cast<const unsigned char*>(out.data());
        return val::global("Uint8Array").new_(emscripten::typed_memory_view(out.size(), bytes));
    }

    // The people's view of one clip, as JSON for the page to parse (one
    // crossing into JavaScript instead of one per field).
    std::string clipView(int index) const
    {
        const Clip& clip = clips_.at(static_cast<std::size_t>(index));
        std::string out;
        textReport_.appendViewJson(out, clip.decoded.container, clip.result());
        return out;
    }

    // The clip report's table: the header row of its CSV view, then a row
    // per clip with the cells that view holds (before the spreadsheet guard
    // that the CSV puts before texts beginning with = + - @).
    val table() const
    {
        const vellmeta::ClipReport writer(reportNamed("csv"));
        val rows = val::array();
        rows.call<void>("push", textArray(writer.headerCells()));
        for (const Clip& clip : clips_)
            rows.call<void>("push", textArray(writer.rowCells(clip.decoded.container, clip.result())));
        return rows;
    }

private:
    const vellmeta::ClipReport textReport_{vellmeta::ReportOptions{}};
    std::vector<Clip> clips_;
    vellmeta::ColorSpace colorSpace_ = vellmeta::kDefaultColorSpace;
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
    emscripten::function("headerSize",
                         emscripten::optional_override([] { return static_cast<int>(vellmeta::kHeaderSize); }));
    emscripten::function("libraryVersion", emscripten::optional_override([] {
                             return std::string(
                                 Vmc::VellMetadataContainer::VellMetadataContainerVersion().versionString);
                         }));
}
