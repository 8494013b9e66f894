// SPDX-License-Identifier: Apache-2.0
#include "Sinks.h"

#include <algorithm>
#include <vector>

#include <vellmeta/Diff.h>
#include <vellmeta/Text.h>

namespace vellmeta::cli {

namespace {

class ReportSink : public Sink {
public:
    explicit ReportSink(const ReportOptions& options) : report_(options) {}

    void begin(Output& output) override { report_.begin(output.report()); }

    void prepare(Scanned& input) const override
    {
        report_.entry(input.entry, input.clip.container, input.clip.result(input.path));
    }

    void take(Output& output, Scanned& input) override
    {
        const Decoded& clip = input.clip;
        const std::string& path = input.path;
        if (!input.entry.empty())
            report_.clip(output.report(), input.entry);
        else
            report_.clip(output.report(), clip.container, clip.result(path));
        if (!clip.isError)
            return;
        status_ = kHeaderFailed;
        // A view without a place for the failure says it on standard error;
        // what was decoded before it is still written.
        if (!report_.showsResult())
            output.message(path, "decoding reported failure " + std::to_string(clip.code) +
                                     (clip.message.empty() ? "" : ": ") + printable(clip.message));
    }

    int end(Output& output, bool) override
    {
        report_.end(output.report());
        return status_;
    }

private:
    ClipReport report_;
    int status_ = kAllDecoded;
};

class DiffSink : public Sink {
public:
    explicit DiffSink(const ReportOptions& options) : options_(options) {}

    void begin(Output&) override {}

    void take(Output&, Scanned& input) override
    {
        // Two clips are kept; more only count, for the message.
        if (++count_ <= 2)
            clips_.push_back({input.path, input.clip});
    }

    int end(Output& output, bool inputsUnusable) override
    {
        if (inputsUnusable)
            return kUnusable;
        if (count_ != 2) {
            output.message("--diff compares two files; " + std::to_string(count_) +
                           (count_ == 1 ? " was" : " were") + " given");
            return kUnusable;
        }
        const bool differs = appendDiff(output.report(), clips_[0].path, clips_[0].clip.container,
                                        clips_[1].path, clips_[1].clip.container, options_);
        return differs ? kHeaderFailed : kAllDecoded;
    }

private:
    struct Kept {
        std::string path;
        Decoded clip;
    };
    ReportOptions options_;
    std::vector<Kept> clips_;
    std::size_t count_ = 0;
};

} // namespace

void Output::message(std::string_view path, std::string_view text)
{
    message(printable(path) + ": " + std::string(text));
}

std::unique_ptr<Sink> reportSink(const ReportOptions& options) { return std::make_unique<ReportSink>(options); }
std::unique_ptr<Sink> diffSink(const ReportOptions& options) { return std::make_unique<DiffSink>(options); }

} // namespace vellmeta::cli
