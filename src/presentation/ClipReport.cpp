// The views of many clips: people's text, JSON, and CSV/TSV clip reports.
#include <VellMetadataContainer/ClipReport.h>

#include <algorithm>
#include <charconv>

namespace Vmc {

namespace {

void appendNumber(std::string& out, std::uint32_t value)
{
    char buffer[16];
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
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
        appendJsonString(out, kFieldPresentations[index].name);
        out += ':';
        appendFieldJson(out, container, index);
    }
    out += '}';
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
    case ReportFormat::Tsv: {
        const ReportFormat f = options_.format;
        const char separator = f == ReportFormat::Csv ? ',' : '\t';
        appendTableCell(out, options_.names ? "path" : "Path", f, false);
        for (int index : columns_) {
            out += separator;
            const FieldPresentation& p = kFieldPresentations[index];
            appendTableCell(out, options_.names ? p.name : p.label, f, false);
        }
        if (!chosen_) {
            out += separator;
            appendTableCell(out, options_.names ? "resultCode" : "Result code", f, false);
            out += separator;
            appendTableCell(out, options_.names ? "resultMessage" : "Result message", f, false);
        }
        out += f == ReportFormat::Csv ? "\r\n" : "\n";
        break;
    }
    case ReportFormat::Text: break;
    }
}

void ClipReport::clip(std::string& out, const VellMetadataContainer& container, const ClipResult& result)
{
    switch (options_.format) {
    case ReportFormat::Text: textClip(out, container, result); break;
    case ReportFormat::Json: jsonClip(out, container, result); break;
    case ReportFormat::Csv:
    case ReportFormat::Tsv: tableRow(out, container, result); break;
    }
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
void ClipReport::textClip(std::string& out, const VellMetadataContainer& container, const ClipResult& result)
{
    const TextStyle style = options_.numeric ? TextStyle::Numeric : TextStyle::People;
    const bool folded = !options_.numeric && !chosen_ && !options_.all;
    if (!first_)
        out += '\n';
    appendPrintable(out, result.path);
    out += '\n';

    int heading = -1;
    for (int index : columns_) {
        const bool defined = fieldDefined(container, index);
        if (!(defined || options_.all) || (folded && !listedForPeople(container, index)))
            continue;
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

    if (options_.names) {
        out += "  result\n    isError: ";
        out += result.isError ? "true" : "false";
        out += "\n    code: ";
        appendNumber(out, result.code);
        out += "\n    message:";
        if (!result.message.empty())
            out += ' ';
        appendPrintable(out, result.message);
        out += '\n';
    } else {
        out += "  Result\n    Status: ";
        if (result.isError) {
            out += "failure ";
            appendNumber(out, result.code);
            out += ": ";
            appendPrintable(out, result.message);
        } else {
            out += "decoded without failure";
        }
        out += '\n';
    }
}

// {"path":…,"result":{"isError":…,"code":…,"message":…},"fields":{…}}
void ClipReport::jsonClip(std::string& out, const VellMetadataContainer& container, const ClipResult& result)
{
    out += first_ ? "\n" : ",\n";
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

void ClipReport::tableRow(std::string& out, const VellMetadataContainer& container, const ClipResult& result)
{
    const ReportFormat f = options_.format;
    const char separator = f == ReportFormat::Csv ? ',' : '\t';
    const TextStyle style = options_.numeric ? TextStyle::Numeric : TextStyle::People;
    std::string cell;
    cell.reserve(64);
    cell.clear();
    appendPrintable(cell, result.path);
    appendTableCell(out, cell, f, true);
    for (int index : columns_) {
        out += separator;
        cell.clear();
        appendFieldText(cell, container, index, style);
        appendTableCell(out, cell, f, kFieldPresentations[index].type == ValueType::Text);
    }
    if (!chosen_) {
        out += separator;
        cell.clear();
        appendNumber(cell, result.code);
        appendTableCell(out, cell, f, false);
        out += separator;
        cell.clear();
        appendPrintable(cell, result.message);
        appendTableCell(out, cell, f, true);
    }
    out += f == ReportFormat::Csv ? "\r\n" : "\n";
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
