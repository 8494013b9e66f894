// SPDX-License-Identifier: Apache-2.0
// The views of many clips: people's text, JSON and JSON Lines, CSV/TSV clip
// reports and OpenTrackIO samples.
#include <vellmeta/Report.h>

#include <algorithm>

#include "JsonWriter.h"
#include "Writing.h"

namespace vellmeta {

namespace {

using Container = Vmc::VellMetadataContainer;

bool underHeadings(const std::vector<Heading>& headings, int index)
{
    return headings.empty() || std::find(headings.begin(), headings.end(), kFields[index].heading) != headings.end();
}

bool isJson(ReportFormat format) { return format == ReportFormat::Json || format == ReportFormat::OpenTrackIo; }
bool isTable(ReportFormat format) { return format == ReportFormat::Csv || format == ReportFormat::Tsv; }

// One CSV or TSV line of `count` cells, `appendCell(i)` appending cell i.
template <class AppendCell>
void appendRow(Out& out, std::size_t count, ReportFormat format, AppendCell&& appendCell)
{
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0)
            out += format == ReportFormat::Csv ? ',' : '\t';
        appendCell(i);
    }
    out += format == ReportFormat::Csv ? "\r\n" : "\n";
}

// Whether the people's view of a clip folds the tint into the white balance
// line: unless it shows decoded numbers, or fields named one by one.
bool foldsTint(const ReportOptions& options, bool chosen) { return !options.numeric && !chosen; }

// The result as the text view shows it: one status line for people; with
// container names, isError, code and message as the error value holds them.
// Calls line(label, appendValue), appendValue(out) appending the value.
template <class Line>
void forEachResultLine(const ClipResult& result, bool names, Line&& line)
{
    if (names) {
        line("isError", [&](Out& out) { out += result.isError ? "true" : "false"; });
        line("code", [&](Out& out) { out.integer(result.code); });
        line("message", [&](Out& out) { appendPrintable(out, result.message); });
    } else if (!result.isError) {
        line("Status", [](Out& out) { out += "decoded without failure"; });
    } else {
        line("Status", [&](Out& out) {
            out += "failure ";
            out.integer(result.code);
            out += ": ";
            appendPrintable(out, result.message);
        });
    }
}

} // namespace

void writeFieldsObject(JsonWriter& json, const Container& container, const std::vector<int>& indexes, bool all)
{
    json.beginObject();
    for (int index : indexes) {
        if (!writeFieldMember(json, container, index) && all) {
            json.key(kFields[index].name);
            json.null();
        }
    }
    json.endObject();
}

void appendTableCell(Out& out, std::string_view text, ReportFormat format, bool untrusted)
{
    const bool formula = untrusted && !text.empty() && std::string_view("=+-@\t\r").find(text[0]) != std::string_view::npos;
    if (format == ReportFormat::Tsv) {
        if (formula)
            out += '\'';
        std::size_t start = 0;
        for (std::size_t special; (special = text.find_first_of("\t\n\r", start)) != std::string_view::npos;
             start = special + 1) {
            out += text.substr(start, special - start);
            out += text[special] == '\t' ? "\\t" : text[special] == '\n' ? "\\n" : "\\r";
        }
        out += text.substr(start);
        return;
    }
    const bool quote = formula || text.find_first_of(",\"\r\n") != std::string_view::npos;
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

ClipReport::ClipReport(ReportOptions options) : options_(std::move(options))
{
    chosen_ = !options_.fields.empty();
    if (chosen_) {
        columns_ = options_.fields;
        return;
    }
    if (isTable(options_.format) && options_.headings.empty()) {
        columns_.assign(kReportColumns.begin(), kReportColumns.end());
        return;
    }
    // JSON keeps container order and every kind of field (it is for
    // machines); the text and table views read in presentation order and
    // leave spare and fixed fields out unless asked.
    const bool json = isJson(options_.format);
    for (int i = 0; i < kFieldCount; ++i) {
        const int index = json ? i : kPresentationOrder[static_cast<std::size_t>(i)];
        const bool wanted = json || options_.all || kFields[index].kind == FieldKind::Shown;
        if (wanted && underHeadings(options_.headings, index))
            columns_.push_back(index);
    }
}

void ClipReport::begin(std::string& out)
{
    if (isJson(options_.format) && !options_.lines)
        out += '[';
    if (!isTable(options_.format))
        return;
    const std::vector<std::string> cells = headerCells();
    appendBuilt(out, [&](Out& row) {
        appendRow(row, cells.size(), options_.format,
                  [&](std::size_t i) { appendTableCell(row, cells[i], options_.format, false); });
    });
}

void ClipReport::clip(std::string& out, const Container& container, const ClipResult& result)
{
    between(out, [&] { entry(out, container, result); });
}

void ClipReport::clip(std::string& out, std::string_view entry)
{
    between(out, [&] { out += entry; });
}

// Between entries: a blank line between two clips' texts; in a JSON array
// a line break (and a comma) before each entry; in JSON Lines a line break
// after each.
template <class AppendEntry>
void ClipReport::between(std::string& out, AppendEntry&& appendEntry)
{
    if (isJson(options_.format) && !options_.lines)
        out += first_ ? "\n" : ",\n";
    else if (options_.format == ReportFormat::Text && !first_)
        out += '\n';
    appendEntry();
    if (isJson(options_.format) && options_.lines)
        out += '\n';
    first_ = false;
}

void ClipReport::end(std::string& out)
{
    if (isJson(options_.format) && !options_.lines)
        out += first_ ? "]\n" : "\n]\n";
}

std::vector<std::string> ClipReport::headerCells() const
{
    std::vector<std::string> cells{options_.names ? "path" : "Path"};
    for (int index : columns_)
        cells.emplace_back(options_.names ? kFields[index].name : kFields[index].label);
    if (!chosen_) {
        cells.emplace_back(options_.names ? "resultCode" : "Result code");
        cells.emplace_back(options_.names ? "resultMessage" : "Result message");
    }
    return cells;
}

namespace {

// What a report writes of a clip: its entry in each format, and the pieces
// the page lays out itself.
class ClipWriter {
public:
    ClipWriter(const ReportOptions& options, const std::vector<int>& columns, bool chosen,
               const Container& container, const ClipResult& result)
        : options_(options), columns_(columns), chosen_(chosen), container_(container), result_(result)
    {
    }

    void entry(Out& out) const
    {
        switch (options_.format) {
        case ReportFormat::Text: text(out); break;
        case ReportFormat::Json: json(out); break;
        case ReportFormat::Csv:
        case ReportFormat::Tsv: row(out); break;
        case ReportFormat::OpenTrackIo: {
            JsonWriter json(out);
            writeOpenTrackIoSample(json, container_);
            break;
        }
        }
    }

    // Per clip: the path, then one heading per group that has something to
    // show with "Label: value" lines (fields named one by one: those lines
    // alone), then the result.
    void text(Out& out) const
    {
        appendPrintable(out, result_.path);
        out += '\n';
        const char* const indent = chosen_ ? "  " : "    ";
        forEachLine(
            [&](Heading heading) {
                out += "  ";
                out += options_.names ? headingName(heading) : headingTitle(heading);
                out += '\n';
            },
            [&](int index, auto&& appendValue) {
                out += indent;
                out += options_.names ? kFields[index].name : kFields[index].label;
                out += ": ";
                endLine(out, appendValue);
            });
        out += options_.names ? "  result\n" : "  Result\n";
        forEachResultLine(result_, options_.names, [&](std::string_view label, auto&& appendValue) {
            out += "    ";
            out += label;
            out += ": ";
            endLine(out, appendValue);
        });
    }

    // {"path":…,"result":{"isError":…,"code":…,"message":…},"fields":{…}}
    void json(Out& out) const
    {
        JsonWriter json(out);
        json.beginObject();
        json.member("path", result_.path);
        json.key("result");
        json.beginObject();
        json.member("isError", result_.isError);
        json.member("code", result_.code);
        json.member("message", result_.message);
        json.endObject();
        json.key("fields");
        writeFieldsObject(json, container_, columns_, options_.all);
        json.endObject();
    }

    void row(Out& out) const
    {
        Out cell; // one cell's text before quoting, reused along the row
        appendRow(out, cellCount(), options_.format, [&](std::size_t i) {
            cell.clear();
            appendCell(cell, i);
            appendTableCell(out, cell.view(), options_.format, untrustedCell(i));
        });
    }

    std::vector<std::string> cells() const
    {
        std::vector<std::string> texts(cellCount());
        Out cell;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            cell.clear();
            appendCell(cell, i);
            texts[i] = cell.view();
        }
        return texts;
    }

    void viewJson(Out& out) const
    {
        JsonWriter json(out);
        const auto member = [&](std::string_view name, std::string_view label, auto&& appendValue) {
            json.beginObject();
            json.member("name", name);
            json.member("label", label);
            json.key("value");
            Out value;
            appendValue(value);
            json.string(value.view());
            json.endObject();
        };
        json.beginObject();
        json.key("name");
        Out name;
        appendPrintable(name, result_.path);
        json.string(name.view());
        json.member("isError", result_.isError);
        json.key("headings");
        json.beginArray();
        bool open = false;
        forEachLine(
            [&](Heading heading) {
                if (open) {
                    json.endArray();
                    json.endObject();
                }
                open = true;
                json.beginObject();
                json.member("title", headingTitle(heading));
                json.key("fields");
                json.beginArray();
            },
            [&](int index, auto&& appendValue) { member(kFields[index].name, kFields[index].label, appendValue); });
        if (open) {
            json.endArray();
            json.endObject();
        }
        json.endArray();
        json.key("result");
        json.beginObject();
        json.member("title", "Result");
        json.key("fields");
        json.beginArray();
        forEachResultLine(result_, options_.names, [&](std::string_view label, auto&& appendValue) {
            member("", label, appendValue);
        });
        json.endArray();
        json.endObject();
        json.endObject();
    }

private:
    // Calls heading(h) before the first line under each heading (unless
    // fields are named one by one) and line(index, appendValue) for each
    // field the text view lists: with `all` every column, else the defined
    // ones, but not the tint where the white balance shows it.
    template <class OnHeading, class OnLine>
    void forEachLine(OnHeading&& heading, OnLine&& line) const
    {
        const TextStyle style = options_.numeric ? TextStyle::Numeric : TextStyle::People;
        const bool fold = foldsTint(options_, chosen_);
        int current = -1;
        for (int index : columns_) {
            const bool defined = fieldDefined(container_, index);
            const bool listed =
                options_.all || (defined && !(fold && kFields[index].reading == Reading::Tint &&
                                              container_.whiteBalanceCct.defined));
            if (!listed)
                continue;
            if (!chosen_ && static_cast<int>(kFields[index].heading) != current) {
                current = static_cast<int>(kFields[index].heading);
                heading(kFields[index].heading);
            }
            line(index, [&](Out& out) {
                if (!appendFieldText(out, container_, index, style))
                    out += "(undefined)";
            });
        }
    }

    // The value, then the line's end; an empty value leaves no trailing blank.
    template <class AppendValue>
    static void endLine(Out& out, AppendValue&& appendValue)
    {
        const std::size_t start = out.size();
        appendValue(out);
        if (out.size() == start)
            out.truncate(start - 1);
        out += '\n';
    }

    // A row's cells are the path, the columns' fields and, unless fields
    // were named one by one, the result's code and message.
    std::size_t cellCount() const { return 1 + columns_.size() + (chosen_ ? 0 : 2); }

    // Header texts (the path, text fields, the message) are guarded against
    // running as formulas; numbers of ours are not.
    bool untrustedCell(std::size_t cell) const
    {
        if (cell == 0)
            return true;
        if (cell <= columns_.size())
            return kFields[columns_[cell - 1]].type == ValueType::Text;
        return cell == columns_.size() + 2;
    }

    void appendCell(Out& out, std::size_t cell) const
    {
        if (cell == 0)
            appendPrintable(out, result_.path);
        else if (cell <= columns_.size())
            appendFieldText(out, container_, columns_[cell - 1],
                            options_.numeric ? TextStyle::Numeric : TextStyle::People);
        else if (cell == columns_.size() + 1)
            out.integer(result_.code);
        else
            appendPrintable(out, result_.message);
    }

    const ReportOptions& options_;
    const std::vector<int>& columns_;
    bool chosen_;
    const Container& container_;
    const ClipResult& result_;
};

} // namespace

void ClipReport::entry(std::string& out, const Container& container, const ClipResult& result) const
{
    appendBuilt(out, [&](Out& text) { ClipWriter(options_, columns_, chosen_, container, result).entry(text); });
}

std::vector<std::string> ClipReport::rowCells(const Container& container, const ClipResult& result) const
{
    return ClipWriter(options_, columns_, chosen_, container, result).cells();
}

void ClipReport::appendViewJson(std::string& out, const Container& container, const ClipResult& result) const
{
    appendBuilt(out, [&](Out& text) { ClipWriter(options_, columns_, chosen_, container, result).viewJson(text); });
}

void appendContainerJson(std::string& out, const Container& container, bool all)
{
    static const std::vector<int> every = [] {
        std::vector<int> indexes(kFieldCount);
        for (int i = 0; i < kFieldCount; ++i)
            indexes[static_cast<std::size_t>(i)] = i;
        return indexes;
    }();
    appendBuilt(out, [&](Out& text) {
        JsonWriter json(text);
        writeFieldsObject(json, container, every, all);
    });
}

void appendOpenTrackIoSample(std::string& out, const Container& container)
{
    appendBuilt(out, [&](Out& text) {
        JsonWriter json(text);
        writeOpenTrackIoSample(json, container);
    });
}

void appendTableCell(std::string& out, std::string_view text, ReportFormat format, bool untrusted)
{
    appendBuilt(out, [&](Out& cell) { appendTableCell(cell, text, format, untrusted); });
}

} // namespace vellmeta
