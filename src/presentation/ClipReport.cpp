// The views of many clips: people's text, JSON, and CSV/TSV clip reports.
#include <VellMetadataContainer/ClipReport.h>

#include "FieldEntry.h"

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
    // ,"name": of every field, built once. Container names are identifiers:
    // nothing in them needs escaping.
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> texts;
        for (const FieldPresentation& p : kFieldPresentations)
            texts.push_back(",\"" + std::string(p.name) + "\":");
        return texts;
    }();
    out += '{';
    bool first = true;
    for (int index : indexes) {
        if (!all && !fieldDefined(container, index))
            continue;
        std::string_view key = keys[static_cast<std::size_t>(index)];
        if (first)
            key.remove_prefix(1); // no comma before the first member
        first = false;
        appendFieldJsonEntry(out, key, container, index);
    }
    out += '}';
}

// One CSV or TSV line of `count` cells, `appendCell(i)` appending cell i.
template <class AppendCell>
void appendRow(std::string& out, std::size_t count, ReportFormat format, AppendCell&& appendCell)
{
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0)
            out += format == ReportFormat::Csv ? ',' : '\t';
        appendCell(i);
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
    if (chosen_)
        columns_ = options_.fields;
    else
        chooseColumns();
    // "    Label: " of every column, built once for the text view.
    if (options_.format != ReportFormat::Text)
        return;
    for (int index : columns_) {
        const FieldPresentation& p = kFieldPresentations[index];
        lineStarts_.push_back((chosen_ ? "  " : "    ") + std::string(options_.names ? p.name : p.label) + ": ");
    }
}

void ClipReport::chooseColumns()
{
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
        const std::vector<std::string> cells = headerCells();
        appendRow(out, cells.size(), options_.format,
                  [&](std::size_t i) { appendTableCell(out, cells[i], options_.format, false); });
        break;
    }
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
    for (std::size_t column = 0; column < columns_.size(); ++column) {
        const int index = columns_[column];
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
        const std::size_t start = out.size();
        const std::string& line = lineStarts_[column];
        appendFieldTextEntry(out, line, container, index, style);
        if (!defined)
            out += "(undefined)";
        else if (out.size() == start + line.size())
            out.pop_back(); // an empty text: no trailing blank
        out += '\n';
    }

    out += options_.names ? "  result\n" : "  Result\n";
    forEachResultLine(result, [&](std::string_view label, auto&& appendValue) {
        out += "    ";
        out += label;
        out += ": ";
        const std::size_t start = out.size();
        appendValue(out);
        if (out.size() == start)
            out.pop_back(); // an empty value: no trailing blank
        out += '\n';
    });
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
// message, as the container's error value holds them. Calls
// line(label, appendValue) for each, appendValue(out) appending the value.
template <class Line>
void ClipReport::forEachResultLine(const ClipResult& result, Line&& line) const
{
    if (options_.names) {
        line("isError", [&](std::string& out) { out += result.isError ? "true" : "false"; });
        line("code", [&](std::string& out) { appendNumber(out, result.code); });
        line("message", [&](std::string& out) { appendPrintable(out, result.message); });
    } else if (!result.isError) {
        line("Status", [](std::string& out) { out += "decoded without failure"; });
    } else {
        line("Status", [&](std::string& out) {
            out += "failure ";
            appendNumber(out, result.code);
            out += ": ";
            appendPrintable(out, result.message);
        });
    }
}

std::vector<std::pair<std::string, std::string>> ClipReport::resultLines(const ClipResult& result) const
{
    std::vector<std::pair<std::string, std::string>> lines;
    forEachResultLine(result, [&](std::string_view label, auto&& appendValue) {
        std::string value;
        appendValue(value);
        lines.emplace_back(label, std::move(value));
    });
    return lines;
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

// A row's cells are the path, the columns' fields and, unless fields were
// named one by one, the result's code and message.
std::size_t ClipReport::cellCount() const
{
    return 1 + columns_.size() + (chosen_ ? 0 : 2);
}

// Header texts (the path, text fields, the message) are guarded against
// running as formulas; numbers of ours are not.
bool ClipReport::untrustedCell(std::size_t cell) const
{
    if (cell == 0)
        return true;
    if (cell <= columns_.size())
        return kFieldPresentations[columns_[cell - 1]].type == ValueType::Text;
    return cell == columns_.size() + 2;
}

void ClipReport::appendCellText(std::string& out, const VellMetadataContainer& container, const ClipResult& result,
                                std::size_t cell) const
{
    if (cell == 0)
        appendPrintable(out, result.path);
    else if (cell <= columns_.size())
        appendFieldText(out, container, columns_[cell - 1], options_.numeric ? TextStyle::Numeric : TextStyle::People);
    else if (cell == columns_.size() + 1)
        appendNumber(out, result.code);
    else
        appendPrintable(out, result.message);
}

void ClipReport::tableRow(std::string& out, const VellMetadataContainer& container, const ClipResult& result) const
{
    std::string text; // one cell's text before quoting, reused along the row
    appendRow(out, cellCount(), options_.format, [&](std::size_t cell) {
        text.clear();
        appendCellText(text, container, result, cell);
        appendTableCell(out, text, options_.format, untrustedCell(cell));
    });
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
    std::vector<std::string> cells(cellCount());
    for (std::size_t cell = 0; cell < cells.size(); ++cell)
        appendCellText(cells[cell], container, result, cell);
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
    // Characters that need an escape are rare: the runs between them are
    // appended whole.
    const auto appendEscaped = [&](std::string_view special, auto&& escape) {
        for (std::size_t at = text.find_first_of(special); at != std::string_view::npos;
             at = text.find_first_of(special)) {
            out.append(text.substr(0, at));
            escape(text[at]);
            text.remove_prefix(at + 1);
        }
        out.append(text);
    };
    if (format == ReportFormat::Tsv) {
        if (formula)
            out += '\'';
        appendEscaped("\t\n\r", [&](char c) { out += c == '\t' ? "\\t" : c == '\n' ? "\\n" : "\\r"; });
        return;
    }
    const bool quote = formula || text.find_first_of(",\"\r\n") != std::string_view::npos;
    if (quote)
        out += formula ? "\"'" : "\"";
    appendEscaped("\"", [&](char) { out += "\"\""; });
    if (quote)
        out += '"';
}

} // namespace Vmc
