// SPDX-License-Identifier: Apache-2.0
// Where the decoded clips of a run go: one sink per output. The scan hands a
// sink the clips in input order; a sink that can format a clip on its own
// does so on the worker threads (`prepare`), so that -j N writes what -j 1
// writes, byte for byte.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include <vellmeta/Report.h>
#include <vellmeta/Scan.h>

namespace vellmeta::cli {

// Exit statuses: the worst of the run wins.
enum ExitStatus : int {
    kAllDecoded = 0,   // every header decoded without a failure (with --diff: no field differs)
    kHeaderFailed = 1, // some header reported a failure, still shown (with --diff: some field differs)
    kUnusable = 2,     // unusable arguments, or an input that could not be read
};

// What a run writes: its report on standard output and one line per message
// on standard error, in input order.
class Output {
public:
    virtual ~Output() = default;
    // The report not yet written.
    virtual std::string& report() = 0;
    // "vellmeta: TEXT" on standard error, after the report so far.
    virtual void message(std::string_view text) = 0;
    // "vellmeta: PATH: TEXT", the path made printable.
    void message(std::string_view path, std::string_view text);
};

class Sink {
public:
    virtual ~Sink() = default;

    // Sets what the sink needs of the scan (the facts of files, files to
    // leave unread).
    virtual void configure(ScanOptions&) {}
    virtual void begin(Output& output) = 0;
    // Formats what the sink can of one clip alone, into its entry; called on
    // worker threads, several at once.
    virtual void prepare(Scanned&) const {}
    // Takes one decoded clip (or a file left unread), in input order; the
    // entry is what `prepare` made of it, or empty on one thread.
    virtual void take(Output& output, Scanned& input) = 0;
    // After the last input. `inputsUnusable`: some input could not be read
    // (and has had its message). Returns the exit status of what the sink
    // took.
    virtual int end(Output& output, bool inputsUnusable) = 0;
};

// A report of every clip (text, JSON, JSON Lines, CSV, TSV, OpenTrackIO).
std::unique_ptr<Sink> reportSink(const ReportOptions& options);
// The differences between exactly two clips.
std::unique_ptr<Sink> diffSink(const ReportOptions& options);

} // namespace vellmeta::cli
