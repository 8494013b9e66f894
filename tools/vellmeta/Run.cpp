// SPDX-License-Identifier: Apache-2.0
#include "Run.h"

#include <algorithm>

#include "Progress.h"

namespace vellmeta::cli {

namespace {

constexpr std::size_t kFlushAt = 64 * 1024; // bytes of report gathered before they are written

// The report and the messages, written to the streams in order; progress
// shares standard error.
class StreamOutput : public Output {
public:
    StreamOutput(std::ostream& out, std::ostream& err, Progress& progress) : out_(out), err_(err), progress_(progress) {}

    std::string& report() override { return buffer_; }

    void message(std::string_view text) override
    {
        flush(); // the report so far reaches a shared terminal before the message
        err_ << "vellmeta: " << text << '\n';
    }
    using Output::message;

    void flushIfLarge()
    {
        if (buffer_.size() >= kFlushAt)
            flush();
    }

    void flush()
    {
        // Standard output may share the terminal with the progress line.
        const bool cleared = progress_.clear();
        out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        if (cleared)
            out_.flush();
        buffer_.clear();
    }

private:
    std::ostream& out_;
    std::ostream& err_;
    Progress& progress_;
    std::string buffer_;
};

} // namespace

int run(const std::vector<std::string>& inputs, RunOptions options, Sink& sink, std::ostream& out, std::ostream& err)
{
    Progress progress(err, options.progress != RunOptions::Progress::Off, options.progress == RunOptions::Progress::On,
                      options.errIsTerminal);
    StreamOutput output(out, err, progress);
    ScanOptions& scanOptions = options.scan;
    sink.configure(scanOptions);
    // With worker threads, each prepares what the sink can make of its clip;
    // on one thread the sink formats a clip as it takes it.
    if (scanOptions.jobs > 1 || scanOptions.readAhead)
        scanOptions.prepare = [&sink](Scanned& input) { sink.prepare(input); };
    scanOptions.walked = [&progress](std::uint64_t files) { progress.setTotal(files); };

    int status = kAllDecoded;
    sink.begin(output);
    scan(inputs, scanOptions, [&](Scanned& input) {
        switch (input.kind) {
        case Scanned::Kind::Problem:
            status = kUnusable;
            output.message(input.path, input.message);
            break;
        case Scanned::Kind::Note: output.message(input.path, input.message); break;
        case Scanned::Kind::Clip:
        case Scanned::Kind::Unchanged:
            sink.take(output, input);
            output.flushIfLarge();
            break;
        }
        if (input.kind != Scanned::Kind::Note)
            progress.fileDone();
    });
    status = std::max(status, sink.end(output, status == kUnusable));
    output.flush();
    progress.finish();
    out.flush();
    return status;
}

} // namespace vellmeta::cli
