// The views of many clips: people's text, JSON, and CSV/TSV clip reports.
#include <VellMetadataContainer/ClipReport.h>

#include "FieldEntry.h"
#include "TextEncoding.h"

#include <algorithm>
#include <charconv>

namespace Vmc {

namespace {

bool underHeadings(const std::vector<FieldGroup>& headings, int index)
{
    return headings.empty() ||
           std::find(headings.begin(), headings.end(), kFieldPresentations[index].heading) != headings.end();
}

// Every JSON key (,"name":) and text line start ("    Label: ") fits a slot.
constexpr bool fieldPrefixesFitSlots()
{
    for (const FieldPresentation& p : kFieldPresentations)
        if (std::string_view(p.name).size() + 6 > SlotText::kSlotSize ||
            std::string_view(p.label).size() + 6 > SlotText::kSlotSize)
            return false;
    return true;
}
static_assert(fieldPrefixesFitSlots(), "field names and labels fit the slots of the views' prefixes");

// {"name":value,...} of the given fields, in the order given: the defined
// ones, or with `all` every one (null when undefined).
void appendFieldsObject(TextBuffer& out, const VellMetadataContainer& container, const std::vector<int>& indexes,
                        bool all)
{
    // ,"name": of every field, built once. Container names are identifiers:
    // nothing in them needs escaping.
    static const std::vector<SlotText> keys = [] {
        std::vector<SlotText> texts;
        for (const FieldPresentation& p : kFieldPresentations)
            texts.emplace_back(",\"" + std::string(p.name) + "\":");
        return texts;
    }();
    appendJsonObject(out, [&] {
        for (int index : indexes) {
            const std::size_t member = out.size();
            out += keys[static_cast<std::size_t>(index)];
            if (!appendFieldJsonIfDefined(out, container, index)) {
                if (all)
                    out += "null";
                else
                    out.truncate(member);
            }
        }
    });
}

// "    Label: " of every field in the text view: with the field's name
// instead of its label, and indented less when fields are named one by one
// (there are no headings then). Built once.
const std::vector<SlotText>& lineStarts(bool names, bool chosen)
{
    const auto build = [](bool names, bool chosen) {
        std::vector<SlotText> texts;
        for (const FieldPresentation& p : kFieldPresentations)
            texts.emplace_back((chosen ? "  " : "    ") + std::string(names ? p.name : p.label) + ": ");
        return texts;
    };
    static const std::vector<SlotText> kinds[] = {build(false, false), build(false, true), build(true, false),
                                                  build(true, true)};
    return kinds[(names ? 2 : 0) + (chosen ? 1 : 0)];
}

// A CSV or TSV cell: quoted, or with escapes, where its text needs it; a
// header text that a spreadsheet would take for a formula is quoted with a
// leading apostrophe.
void appendTableCell(TextBuffer& out, std::string_view text, ReportFormat format, bool untrusted)
{
    const bool formula = untrusted && !text.empty() && std::string_view("=+-@\t\r").find(text[0]) != std::string_view::npos;
    const auto needs = [&](auto&& special) { return std::any_of(text.begin(), text.end(), special); };
    if (format == ReportFormat::Tsv) {
        if (formula)
            out += '\'';
        if (!needs([](char c) { return c == '\t' || c == '\n' || c == '\r'; })) {
            out += text;
            return;
        }
        for (char c : text) {
            if (c == '\t' || c == '\n' || c == '\r')
                out += c == '\t' ? "\\t" : c == '\n' ? "\\n" : "\\r";
            else
                out += c;
        }
        return;
    }
    const bool quote = formula || needs([](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; });
    if (!quote) {
        out += text;
        return;
    }
    out += formula ? "\"'" : "\"";
    for (char c : text) {
        if (c == '"')
            out += '"'; // a quote inside a quoted cell is doubled
        out += c;
    }
    out += '"';
}

// One CSV or TSV line of `count` cells, `appendCell(i)` appending cell i.
template <class AppendCell>
void appendRow(TextBuffer& out, std::size_t count, ReportFormat format, AppendCell&& appendCell)
{
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0)
            out += format == ReportFormat::Csv ? ',' : '\t';
        appendCell(i);
    }
    out += format == ReportFormat::Csv ? "\r\n" : "\n";
}

// Whether the text view lists a field: with `all` every one, otherwise the
// defined ones, but, when it folds the tint, not the tint where the white
// balance shows it.
bool listed(bool all, bool defined, bool foldsTint, const VellMetadataContainer& container,
            const FieldPresentation& p)
{
    return all || (defined && !(foldsTint && tintInWhiteBalance(container, p)));
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
    if (!chosen_)
        for (int index : columns_)
            jsonColumns_[static_cast<std::size_t>(index)] = true;
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
        appendBuilt(out, [&](TextBuffer& row) {
            appendRow(row, cells.size(), options_.format,
                      [&](std::size_t i) { appendTableCell(row, cells[i], options_.format, false); });
        });
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

// A clip's entry is built in a buffer of its own and reaches `out` whole.
void ClipReport::entry(std::string& out, const VellMetadataContainer& container, const ClipResult& result) const
{
    appendBuilt(out, [&](TextBuffer& text) {
        switch (options_.format) {
        case ReportFormat::Text: textClip(text, container, result); break;
        case ReportFormat::Json: jsonClip(text, container, result); break;
        case ReportFormat::Csv:
        case ReportFormat::Tsv: tableRow(text, container, result); break;
        }
    });
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
void ClipReport::textClip(TextBuffer& out, const VellMetadataContainer& container, const ClipResult& result) const
{
    const TextStyle style = options_.numeric ? TextStyle::Numeric : TextStyle::People;
    appendPrintable(out, result.path);
    out += '\n';

    // A field's lines (its heading's too, when it comes first under it) are
    // written, then taken back if the field is not listed: every field is
    // asked once whether it is defined, as it is written.
    const std::vector<SlotText>& starts = lineStarts(options_.names, chosen_);
    const bool foldTint = foldsTint();
    int heading = chosen_ ? -2 : -1; // -2: no headings
    for (int index : columns_) {
        const FieldPresentation& p = kFieldPresentations[index];
        const std::size_t mark = out.size();
        const bool newHeading = heading != -2 && static_cast<int>(p.heading) != heading;
        if (newHeading) {
            out += "  ";
            out += headingText(p.heading, options_.names);
            out += '\n';
        }
        out += starts[static_cast<std::size_t>(index)];
        const std::size_t start = out.size();
        const bool defined = appendFieldTextIfDefined(out, container, index, style);
        if (!listed(options_.all, defined, foldTint, container, p)) {
            out.truncate(mark);
            continue;
        }
        if (newHeading)
            heading = static_cast<int>(p.heading);
        if (!defined)
            out += "(undefined)";
        else if (out.size() == start)
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
    return listed(options_.all, fieldDefined(container, index), foldsTint(), container, kFieldPresentations[index]);
}

// Whether this view shows a tint within the white balance: the people's
// view does, unless fields are named one by one.
bool ClipReport::foldsTint() const
{
    return !options_.numeric && !chosen_;
}

// People's view: one status line; with container names: isError, code and
// message, as the container's error value holds them. Calls
// line(label, appendValue) for each, appendValue(out) appending the value.
template <class Line>
void ClipReport::forEachResultLine(const ClipResult& result, Line&& line) const
{
    if (options_.names) {
        line("isError", [&](TextBuffer& out) { out += result.isError ? "true" : "false"; });
        line("code", [&](TextBuffer& out) { appendInteger(out, result.code); });
        line("message", [&](TextBuffer& out) { appendPrintable(out, result.message); });
    } else if (!result.isError) {
        line("Status", [](TextBuffer& out) { out += "decoded without failure"; });
    } else {
        line("Status", [&](TextBuffer& out) {
            out += "failure ";
            appendInteger(out, result.code);
            out += ": ";
            appendPrintable(out, result.message);
        });
    }
}

std::vector<std::pair<std::string, std::string>> ClipReport::resultLines(const ClipResult& result) const
{
    std::vector<std::pair<std::string, std::string>> lines;
    forEachResultLine(result, [&](std::string_view label, auto&& appendValue) {
        TextBuffer value;
        appendValue(value);
        lines.emplace_back(label, value.view());
    });
    return lines;
}

// {"path":…,"result":{"isError":…,"code":…,"message":…},"fields":{…}}
void ClipReport::jsonClip(TextBuffer& out, const VellMetadataContainer& container, const ClipResult& result) const
{
    out += "{\"path\":";
    appendJsonString(out, result.path);
    out += ",\"result\":{\"isError\":";
    out += result.isError ? "true" : "false";
    out += ",\"code\":";
    appendInteger(out, result.code);
    out += ",\"message\":";
    appendJsonString(out, result.message);
    out += "},\"fields\":";
    if (chosen_)
        appendFieldsObject(out, container, columns_, options_.all);
    else
        appendFieldsJsonObject(out, container, jsonColumns_, options_.all);
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

void ClipReport::appendCellText(TextBuffer& out, const VellMetadataContainer& container, const ClipResult& result,
                                std::size_t cell) const
{
    if (cell == 0)
        appendPrintable(out, result.path);
    else if (cell <= columns_.size())
        appendFieldTextIfDefined(out, container, columns_[cell - 1],
                                 options_.numeric ? TextStyle::Numeric : TextStyle::People);
    else if (cell == columns_.size() + 1)
        appendInteger(out, result.code);
    else
        appendPrintable(out, result.message);
}

void ClipReport::tableRow(TextBuffer& out, const VellMetadataContainer& container, const ClipResult& result) const
{
    TextBuffer text; // one cell's text before quoting, reused along the row
    appendRow(out, cellCount(), options_.format, [&](std::size_t cell) {
        text.clear();
        appendCellText(text, container, result, cell);
        appendTableCell(out, text.view(), options_.format, untrustedCell(cell));
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
    TextBuffer text;
    for (std::size_t cell = 0; cell < cells.size(); ++cell) {
        text.clear();
        appendCellText(text, container, result, cell);
        cells[cell] = text.view();
    }
    return cells;
}

void appendContainerJson(std::string& out, const VellMetadataContainer& container, bool all)
{
    static const FieldMask every = [] {
        FieldMask mask{};
        mask.fill(true);
        return mask;
    }();
    appendBuilt(out, [&](TextBuffer& text) { appendFieldsJsonObject(text, container, every, all); });
}

void appendTableCell(std::string& out, std::string_view text, ReportFormat format, bool untrusted)
{
    appendBuilt(out, [&](TextBuffer& cell) { appendTableCell(cell, text, format, untrusted); });
}

} // namespace Vmc
