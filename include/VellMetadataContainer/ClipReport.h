// Reports of many clips in one format: the people's text view, one JSON
// document, or a CSV/TSV clip report with a row per clip. The command-line
// tool, the web page and the C interface write through this one writer, so
// the same clips give the same bytes everywhere.
//
//   Vmc::ClipReport report(options);
//   std::string out;
//   report.begin(out);
//   for (each clip) { ...decode...; report.clip(out, container, {path, isError, code, message}); }
//   report.end(out);
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Export.h"
#include "FieldPresentation.h"

namespace Vmc {

enum class ReportFormat : std::uint8_t {
    Text, // per clip a title line, then headings with "Label: value" lines
    Json, // one JSON array with an object per clip
    Csv,  // a header row, then a row per clip (RFC 4180)
    Tsv,  // the same, separated by tabs
};

struct ReportOptions {
    ReportFormat format = ReportFormat::Text;
    bool names = false;   // container names instead of labels
    bool numeric = false; // decoded numbers instead of people's values
    bool all = false;     // undefined, spare and fixed fields too
    // The fields to show, as container indexes in the order given; empty:
    // every field (text and JSON views) or the camera report (CSV and TSV).
    std::vector<int> fields;
    // With no `fields`: only the fields under these headings; empty: all.
    std::vector<FieldGroup> headings;
};

// The outcome of decoding one clip, as the report shows it.
struct ClipResult {
    std::string_view path;
    bool isError = false;
    std::uint32_t code = 0;
    std::string_view message;
};

class TextBuffer;

class VMC_EXPORT ClipReport {
public:
    explicit ClipReport(ReportOptions options);

    // Appends what comes before the first clip (the CSV header row, the
    // opening bracket of the JSON array).
    void begin(std::string& out);
    // Appends one clip.
    void clip(std::string& out, const VellMetadataContainer& container, const ClipResult& result);
    // The same in two steps, for clips formatted on several threads:
    // `entry` appends a clip's entry, which depends on the clip alone (so
    // threads may share one report), and `clip(out, entry)` appends entries
    // in order with what goes between them.
    void entry(std::string& out, const VellMetadataContainer& container, const ClipResult& result) const;
    void clip(std::string& out, std::string_view entry);
    // Appends what comes after the last clip.
    void end(std::string& out);

    // The fields of the camera report, the CSV view's default columns:
    // camera, capture, exposure, white balance, lens, ND filter and look.
    static const std::vector<int>& cameraReportFields();

    // The fields a clip's entry may show, in the order they are shown;
    // whether each is shown also depends on the clip (defined or not).
    const std::vector<int>& columns() const { return columns_; }

    // The pieces of the views, for surfaces that lay them out themselves
    // (the web page): whether the text view lists field `index` of the clip;
    // the result's lines as (label, value) pairs under its heading; and the
    // table's header cells and a clip's row cells, as plain texts before
    // CSV or TSV quoting.
    bool lists(const VellMetadataContainer& container, int index) const;
    std::vector<std::pair<std::string, std::string>> resultLines(const ClipResult& result) const;
    std::vector<std::string> headerCells() const;
    std::vector<std::string> rowCells(const VellMetadataContainer& container, const ClipResult& result) const;

private:
    void textClip(TextBuffer& out, const VellMetadataContainer& container, const ClipResult& result) const;
    void jsonClip(TextBuffer& out, const VellMetadataContainer& container, const ClipResult& result) const;
    void tableRow(TextBuffer& out, const VellMetadataContainer& container, const ClipResult& result) const;
    bool foldsTint() const;
    template <class Line>
    void forEachResultLine(const ClipResult& result, Line&& line) const;
    std::size_t cellCount() const;
    bool untrustedCell(std::size_t cell) const;
    void appendCellText(TextBuffer& out, const VellMetadataContainer& container, const ClipResult& result,
                        std::size_t cell) const;
    void separate(std::string& out);
    void chooseColumns();

    ReportOptions options_;
    std::vector<int> columns_;
    // The JSON view's columns when they keep container order (no fields
    // named one by one), by container index.
    std::array<bool, kFieldCount> jsonColumns_{};
    bool chosen_ = false; // fields named one by one: shown whatever their kind
    bool first_ = true;
};

// Appends the JSON object of a container's fields, as the JSON view writes
// it: the defined fields (with `all`, every field, null when undefined) keyed
// by container name, in container order.
VMC_EXPORT void appendContainerJson(std::string& out, const VellMetadataContainer& container, bool all);

// Appends one CSV or TSV cell. CSV quotes a cell that holds a comma, a quote
// or a line break, as RFC 4180 asks; TSV writes a tab or a line break as \t,
// \n or \r. (Field values never hold them: texts come with control
// characters escaped.) A cell of
// header text (`untrusted`: texts, paths, messages) that begins with =, +,
// -, @, a tab or a carriage return gets a leading apostrophe, so that a
// spreadsheet shows it rather than running it as a formula.
VMC_EXPORT void appendTableCell(std::string& out, std::string_view text, ReportFormat format, bool untrusted);

} // namespace Vmc
