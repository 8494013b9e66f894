// The views of many clips: people's text, JSON, and CSV/TSV clip reports.
#include <VellMetadataContainer/ClipReport.h>

#include <algorithm>
#include <charconv>

namespace Vmc {

namespace {

void appendNumber(std::string& out, std::uint32_t value)
{
    char buffer[16];
    out.append(buffer, static_cast<std::size_t>(std::to_chars(buffer, buffer + sizeof buffer, value).ptr - buffer));
}

bool underHeadings(const std::vector<FieldGroup>& headings, int index)
{
    return headings.empty() ||
           std::find(headings.begin(), headings.end(), kFieldPresentations[index].heading) != headings.end();
}

// {"name":value,...} of the given fields: the defined ones, or with `all`
// every one (null when undefined).
void appendFieldsObject(std::string& out, const VellMetadataContainer& container, const std::vector<int>& indexes,
                        bool all)
{
    out += '{';
    bool first = true;
    for (int index : indexes) {
        if (!all && !fieldDefined(container, index))
            continue;
        if (!first)
            out += ',';
        first = false;
        // Container names are identifiers: nothing in them needs escaping.
        out += '"';
        out += kFieldPresentations[index].name;
        out += "\":";
        appendFieldJson(out, container, index);
    }
    out += '}';
}

// One CSV or TSV line of cells; `untrusted` says which hold header text
// (none, when empty).
void appendRow(std::string& out, const std::vector<std::string>& cells, const std::vector<bool>& untrusted,
               ReportFormat format)
{
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            out += format == ReportFormat::Csv ? ',' : '\t';
        appendTableCell(out, cells[i], format, i < untrusted.size() && untrusted[i]);
    }
    out += format == ReportFormat::Csv ? "\r\n" : "\n";
}

const char* headingText(FieldGroup heading, bool names)
{
    return names ? fieldGroupName(heading) : fieldGroupTitle(heading);
}

} // namespace

const std::vector<int>& ClipReport::cameraReportFields()
{
    static const std::vector<int> fields = [] {
        static constexpr const char* kNames[] = {
            "cameraModel",     "cameraSerialNumber", "cameraIndex",       "captureDateTime",
            "timeCode",        "sensorFrameRate",    "projectFrameRate",  "exposureTime",
            "exposureIndex",   "whiteBalanceCct",    "whiteBalanceTint",  "lensMaker",
            "lensModel",       "lensFocalLength",    "lensAperture",      "lensFocusDistance",
            "ndFilter",        "lookName",
        };
        std::vector<int> indexes;
        for (const char* name : kNames)
            indexes.push_back(fieldIndex(name));
        return indexes;
    }();
    return fields;
}

ClipReport::ClipReport(ReportOptions options) : options_(std::move(options))
{
    chosen_ = !options_.fields.empty();
    if (chosen_) {
        columns_ = options_.fields;
        return;
    }
    const bool table = options_.format == ReportFormat::Csv || options_.format == ReportFormat::Tsv;
    if (table && options_.headings.empty()) {
        columns_ = cameraReportFields();
        return;
    }
    // JSON keeps container order; the text and table views read in
    // presentation order and leave spare and fixed fields out unless asked.
    for (int i = 0; i < kFieldCount; ++i) {
        const int index = options_.format == ReportFormat::Json ? i : kPresentationOrder[static_cast<std::size_t>(i)];
        const bool wanted = options_.format == ReportFormat::Json || options_.all ||
                            kFieldPresentations[index].kind == FieldKind::Shown;
        if (wanted && underHeadings(options_.headings, index))
            columns_.push_back(index);
    }
}

void ClipReport::begin(std::string& out)
{
    switch (options_.format) {
    case ReportFormat::Json: out += '['; break;
    case ReportFormat::Csv:
    case ReportFormat::Tsv: appendRow(out, headerCells(), {}, options_.format); break;
    case ReportFormat::Text: break;
    }
}

void ClipReport::clip(std::string& out, const VellMetadataContainer& container, const ClipResult& result)
{
    separate(out);
    entry(out, container, result);
}

void ClipReport::entry(std::string& out, const VellMetadataContainer& container, const ClipResult& result) const
{
    switch (options_.format) {
    case ReportFormat::Text: textClip(out, container, result); break;
    case ReportFormat::Json: jsonClip(out, container, result); break;
    case ReportFormat::Csv:
    case ReportFormat::Tsv: tableRow(out, container, result); break;
    }
}

void ClipReport::clip(std::string& out, std::string_view entry)
{
    separate(out);
    out += entry;
}

// What goes before a clip's entry: a blank line between two clips' texts,
// the line break (and comma) before each JSON object.
void ClipReport::separate(std::string& out)
{
    if (options_.format == ReportFormat::Text && !first_)
        out += '\n';
    else if (options_.format == ReportFormat::Json)
        out += first_ ? "\n" : ",\n";
    first_ = false;
}

void ClipReport::end(std::string& out)
{
    if (options_.format == ReportFormat::Json)
        out += first_ ? "]\n" : "\n]\n";
}

// Per clip: the path, then one heading per group that has something to show
// with "Label: value" lines (fields named one by one: those lines alone),
// then the result.
void ClipReport::textClip(std::string& out, const VellMetadataContainer& container, const ClipResult& result) const
{
    const TextStyle style = options_.numeric ? TextStyle::Numeric : TextStyle::People;
    appendPrintable(out, result.path);
    out += '\n';

    int heading = -1;
    for (int index : columns_) {
        if (!lists(container, index))
            continue;
        const bool defined = fieldDefined(container, index);
        const FieldPresentation& p = kFieldPresentations[index];
        if (!chosen_ && static_cast<int>(p.heading) != heading) {
            heading = static_cast<int>(p.heading);
            out += "  ";
            out += headingText(p.heading, options_.names);
            out += '\n';
        }
        out += chosen_ ? "  " : "    ";
        out += options_.names ? p.name : p.label;
        out += ':';
        if (defined) {
            const std::size_t start = out.size();
            out += ' ';
            appendFieldText(out, container, index, style);
            if (out.size() == start + 1)
                out.pop_back(); // an empty text: no trailing blank
        } else {
            out += " (undefined)";
        }
        out += '\n';
    }

    out += "  ";
    out += options_.names ? "result" : "Result";
    out += '\n';
    for (const auto& [label, value] : resultLines(result)) {
        out += "    ";
        out += label;
        out += ':';
        if (!value.empty())
            out += ' ';
        out += value;
        out += '\n';
    }
}

bool ClipReport::lists(const VellMetadataContainer& container, int index) const
{
    if (options_.all)
        return true;
    // The tint is folded into the white balance in the people's view.
    const bool folded = !options_.numeric && !chosen_;
    return folded ? listedForPeople(container, index) : fieldDefined(container, index);
}

// People's view: one status line; with container names: isError, code and
// message, as the container's error value holds them.
std::vector<std::pair<std::string, std::string>> ClipReport::resultLines(const ClipResult& result) const
{
    std::string code;
    appendNumber(code, result.code);
    if (options_.names)
        return {{"isError", result.isError ? "true" : "false"}, {"code", code}, {"message", printable(result.message)}};
    if (!result.isError)
        return {{"Status", "decoded without failure"}};
    return {{"Status", "failure " + code + ": " + printable(result.message)}};
}

// {"path":…,"result":{"isError":…,"code":…,"message":…},"fields":{…}}
void ClipReport::jsonClip(std::string& out, const VellMetadataContainer& container, const ClipResult& result) const
{
    out += "{\"path\":";
    appendJsonString(out, result.path);
    out += ",\"result\":{\"isError\":";
    out += result.isError ? "true" : "false";
    out += ",\"code\":";
    appendNumber(out, result.code);
    out += ",\"message\":";
    appendJsonString(out, result.message);
    out += "},\"fields\":";
    appendFieldsObject(out, container, columns_, options_.all);
    out += '}';
}

void ClipReport::tableRow(std::string& out, const VellMetadataContainer& container, const ClipResult& result) const
{
    // Header texts (the path, text fields, the message) are guarded against
    // running as formulas; numbers of ours are not.
    std::vector<bool> untrusted{true};
    for (int index : columns_)
        untrusted.push_back(kFieldPresentations[index].type == ValueType::Text);
    if (!chosen_)
        untrusted.insert(untrusted.end(), {false, true});
    appendRow(out, rowCells(container, result), untrusted, options_.format);
}

std::vector<std::string> ClipReport::headerCells() const
{
    std::vector<std::string> cells{options_.names ? "path" : "Path"};
    for (int index : columns_)
        cells.emplace_back(options_.names ? kFieldPresentations[index].name : kFieldPresentations[index].label);
    if (!chosen_) {
        cells.emplace_back(options_.names ? "resultCode" : "Result code");
        cells.emplace_back(options_.names ? "resultMessage" : "Result message");
    }
    return cells;
}

std::vector<std::string> ClipReport::rowCells(const VellMetadataContainer& container, const ClipResult& result) const
{
    const TextStyle style = options_.numeric ? TextStyle::Numeric : TextStyle::People;
    std::vector<std::string> cells{printable(result.path)};
    for (int index : columns_)
        cells.push_back(fieldText(container, index, style));
    if (!chosen_) {
        std::string code;
        appendNumber(code, result.code);
        cells.push_back(std::move(code));
        cells.push_back(printable(result.message));
    }
    return cells;
}

void appendContainerJson(std::string& out, const VellMetadataContainer& container, bool all)
{
    static const std::vector<int> containerOrder = [] {
        std::vector<int> indexes(kFieldCount);
        for (int i = 0; i < kFieldCount; ++i)
            indexes[static_cast<std::size_t>(i)] = i;
        return indexes;
    }();
    appendFieldsObject(out, container, containerOrder, all);
}

void appendTableCell(std::string& out, std::string_view text, ReportFormat format, bool untrusted)
{
    const bool formula = untrusted && !text.empty() && std::string_view("=+-@\t\r").find(text[0]) != std::string_view::npos;
    if (format == ReportFormat::Tsv) {
        if (formula)
            out += '\'';
        for (char c : text) {
            if (c == '\t')
                out += "\\t";
            else if (c == '\n')
                out += "\\n";
            else if (c == '\r')
                out += "\\r";
            else
                out += c;
        }
        return;
    }
    const bool quote = formula || text.find_first_of(",\"\r\n") != std::string_view::npos;
    if (quote)
        out += '"';
    if (formula)
        out += '\'';
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    if (quote)
        out += '"';
}

} // namespace Vmc
