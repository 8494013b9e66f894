// SPDX-License-Identifier: Apache-2.0
/// @file
/// Reports of many clips in one format: the people's text view, JSON (one
/// array, or JSON Lines), a CSV or TSV clip report with a row per clip, or
/// OpenTrackIO samples. The command-line tool, the Python package, the page
/// and the C interface write through this one writer, so that the same clips
/// give the same bytes everywhere.
///
/// @code
///   vellmeta::ClipReport report(options);
///   std::string out;
///   report.begin(out);
///   for (each clip) report.clip(out, decoded.container, decoded.result(path));
///   report.end(out);
/// @endcode
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Decode.h"
#include "Export.h"
#include "Fields.h"

namespace vellmeta {

/// The format of a report.
enum class ReportFormat : std::uint8_t {
    Text,        ///< per clip a title line, then headings with "Label: value" lines
    Json,        ///< an object per clip: path, result and fields
    Csv,         ///< a header row, then a row per clip (RFC 4180)
    Tsv,         ///< the same, separated by tabs
    OpenTrackIo, ///< an OpenTrackIO sample per clip
};

/// What a report shows, and how.
struct ReportOptions {
    ReportFormat format = ReportFormat::Text; ///< the format
    /// JSON and OpenTrackIO: one document per line (JSON Lines) rather than
    /// one array of them.
    bool lines = false;
    bool names = false;   ///< container names instead of labels
    bool numeric = false; ///< decoded numbers instead of people's values
    bool all = false;     ///< undefined, spare and fixed fields too
    /// The fields to show, as container indexes in the order given; empty:
    /// every field (text and JSON views) or the clip report (CSV and TSV).
    std::vector<int> fields;
    /// With no `fields`: only the fields under these headings; empty: all.
    std::vector<Heading> headings;
};

/// A report of many clips in one format, written piece by piece into a
/// string: begin(), a clip() per clip, end().
class VELLMETA_EXPORT ClipReport {
public:
    /// A report that shows what `options` ask for.
    explicit ClipReport(ReportOptions options);

    /// Appends what comes before the first clip (the CSV header row, the
    /// opening bracket of a JSON array).
    void begin(std::string& out);
    /// Appends one clip.
    void clip(std::string& out, const Vmc::VellMetadataContainer& container, const ClipResult& result);
    ///@{
    /// The same in two steps, for clips formatted on several threads:
    /// `entry` appends a clip's entry, which depends on the clip alone (so
    /// threads may share one report), and `clip(out, entry)` appends entries
    /// in order with what goes between them.
    void entry(std::string& out, const Vmc::VellMetadataContainer& container, const ClipResult& result) const;
    void clip(std::string& out, std::string_view entry);
    ///@}
    /// Appends what comes after the last clip.
    void end(std::string& out);

    /// Whether the view shows a clip's decoding result; an OpenTrackIO
    /// sample has no place for it.
    bool showsResult() const { return options_.format != ReportFormat::OpenTrackIo; }

    /// The fields a clip's entry may show, in the order they are shown;
    /// whether each is shown also depends on the clip (defined or not).
    const std::vector<int>& columns() const { return columns_; }

    ///@{
    /// The pieces of the views, for surfaces that lay them out themselves
    /// (the page): the table's header cells and a clip's row cells, as plain
    /// texts before CSV or TSV quoting; and the people's view of a clip as
    /// JSON, `{"name", "isError", "headings": [{"title", "fields": [{"name",
    /// "label", "value"}]}], "result": {"title", "fields": [{"label",
    /// "value"}]}}`, with the headings, fields and result lines of the text
    /// view.
    std::vector<std::string> headerCells() const;
    std::vector<std::string> rowCells(const Vmc::VellMetadataContainer& container, const ClipResult& result) const;
    void appendViewJson(std::string& out, const Vmc::VellMetadataContainer& container, const ClipResult& result) const;
    ///@}

private:
    template <class AppendEntry>
    void between(std::string& out, AppendEntry&& appendEntry);

    ReportOptions options_;
    std::vector<int> columns_;
    bool chosen_ = false; // fields named one by one: shown whatever their kind
    bool first_ = true;
};

/// Appends the JSON object of a container's fields, as the JSON view writes
/// it: the defined fields (with `all`, every field, null when undefined) keyed
/// by container name, in container order.
VELLMETA_EXPORT void appendContainerJson(std::string& out, const Vmc::VellMetadataContainer& container, bool all);

/// Appends one OpenTrackIO sample of a container (see OpenTrackIo.cpp for the
/// mapping).
VELLMETA_EXPORT void appendOpenTrackIoSample(std::string& out, const Vmc::VellMetadataContainer& container);

/// Appends one CSV or TSV cell. CSV quotes a cell that holds a comma, a quote
/// or a line break, as RFC 4180 asks; TSV writes a tab or a line break as
/// `\t`, `\n` or `\r`. A cell of header text (`untrusted`: texts, paths, messages) that
/// begins with `=`, `+`, `-`, `@`, a tab or a carriage return gets a leading
/// apostrophe, so that a spreadsheet shows it rather than running it as a
/// formula.
VELLMETA_EXPORT void appendTableCell(std::string& out, std::string_view text, ReportFormat format, bool untrusted);

} // namespace vellmeta
