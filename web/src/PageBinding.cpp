// What the web page calls: the clips dropped on it, decoded by the library,
// and every text the page shows or saves, written by the library's
// presentation layer and clip report. The page itself formats nothing; it
// puts these texts into the document as text.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <VellMetadataContainer/ClipReport.h>
#include <VellMetadataContainer/FieldPresentation.h>
#include <VellMetadataContainer/VellMetadataContainer.h>

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
        if (size <= 0)
            return "is empty; a VELLRAW header has " + std::to_string(kHeaderSize) + " bytes";
        if (size < static_cast<double>(kHeaderSize))
            return "is " + std::to_string(static_cast<unsigned long long>(size)) + " bytes long, shorter than the " +
                   std::to_string(kHeaderSize) + "-byte VELLRAW header";
        return {};
    }

    static std::string directoryProblem() { return "is a directory, not a VELLRAW file"; }

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

    // Every clip in one report: "text", "json", "csv" or "tsv", the bytes
    // the command-line tool writes for the same files.
    std::string report(const std::string& format, bool all, bool numeric) const
    {
        Vmc::ReportOptions options;
        options.format = formatNamed(format);
        options.all = all;
        options.numeric = numeric;
        Vmc::ClipReport writer(options);
        std::string out;
        writer.begin(out);
        for (const Clip& clip : clips_)
            writer.clip(out, clip.container, {clip.name, clip.isError, clip.code, clip.message});
        writer.end(out);
        return out;
    }

    // The people's view of one clip: its title, then per heading the label
    // and value of every field the people's view lists, then the lines of
    // the result as the clip report's text view writes them.
    val clipView(int index) const
    {
        const Clip& clip = clips_.at(static_cast<std::size_t>(index));
        val view = val::object();
        view.set("name", Vmc::printable(clip.name));
        val headings = val::array();
        val fields = val::null();
        int currentHeading = -1;
        for (int field : Vmc::kPresentationOrder) {
            if (!Vmc::listedForPeople(clip.container, field))
                continue;
            const Vmc::FieldPresentation& p = Vmc::kFieldPresentations[field];
            if (static_cast<int>(p.heading) != currentHeading) {
                currentHeading = static_cast<int>(p.heading);
                fields = val::array();
                val heading = val::object();
                heading.set("title", std::string(Vmc::fieldGroupTitle(p.heading)));
                heading.set("fields", fields);
                headings.call<void>("push", heading);
            }
            val row = val::object();
            row.set("name", std::string(p.name));
            row.set("label", std::string(p.label));
            row.set("value", Vmc::fieldText(clip.container, field, Vmc::TextStyle::People));
            fields.call<void>("push", row);
        }
        view.set("headings", headings);
        view.set("isError", clip.isError);
        view.set("result", resultView(clip));
        return view;
    }

    // The clip report's table, one row per clip, parsed from its TSV so that
    // the page shows the columns and cells the CSV saves.
    val table() const
    {
        const std::string tsv = report("tsv", false, false);
        val rows = val::array();
        std::vector<std::string> cells(1);
        for (std::size_t i = 0; i < tsv.size(); ++i) {
            const char c = tsv[i];
            if (c == '\t') {
                cells.emplace_back();
            } else if (c == '\n') {
                rows.call<void>("push", textArray(cells));
                cells.assign(1, std::string());
            } else if (c == '\\' && i + 1 < tsv.size()) {
                // TSV escapes: \t, \n, \r and \\ stand for themselves in a cell.
                const char e = tsv[++i];
                cells.back() += e == 't' ? '\t' : e == 'n' ? '\n' : e == 'r' ? '\r' : e;
            } else {
                cells.back() += c;
            }
        }
        return rows;
    }

private:
    // The result heading of the clip's text report and its "label: value"
    // lines: the last heading of the clip's entry.
    static val resultView(const Clip& clip)
    {
        Vmc::ReportOptions options;
        options.format = Vmc::ReportFormat::Text;
        Vmc::ClipReport writer(options);
        std::string text;
        writer.begin(text);
        writer.clip(text, clip.container, {clip.name, clip.isError, clip.code, clip.message});
        writer.end(text);

        // Lines indented deepest are "label: value" lines; the line before
        // the last run of them is its heading.
        std::vector<std::string> lines;
        for (std::size_t start = 0; start < text.size();) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            lines.push_back(text.substr(start, end - start));
            start = end + 1;
        }
        const auto indent = [](const std::string& line) { return line.find_first_not_of(' '); };
        std::size_t deepest = 0;
        for (const std::string& line : lines)
            if (!line.empty() && indent(line) != std::string::npos)
                deepest = std::max(deepest, indent(line));
        std::size_t first = lines.size();
        while (first > 0 && (lines[first - 1].empty() || indent(lines[first - 1]) == deepest))
            --first;
        val result = val::object();
        result.set("title", first > 0 ? lines[first - 1].substr(indent(lines[first - 1])) : std::string());
        val rows = val::array();
        for (std::size_t i = first; i < lines.size(); ++i) {
            if (lines[i].empty())
                continue;
            const std::string line = lines[i].substr(deepest);
            const std::size_t colon = line.find(':');
            val row = val::object();
            row.set("label", line.substr(0, colon));
            row.set("value", colon == std::string::npos ? std::string() : line.substr(std::min(line.size(), colon + 2)));
            rows.call<void>("push", row);
        }
        result.set("fields", rows);
        return result;
    }

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
