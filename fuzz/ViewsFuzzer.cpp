// SPDX-License-Identifier: Apache-2.0
// libFuzzer target of the views: every input is a header image (short inputs
// padded with never-written 0xFF bytes, long ones cut at 2480), decoded and
// written in every view the presentation library has. Whatever a header
// holds, a view is valid UTF-8 and keeps its layout: the text view holds no
// control character but its line breaks, a CSV or TSV report is a header row
// and one row, and a JSON entry is one line. The sanitizers catch the rest.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include <vellmeta/Decode.h>
#include <vellmeta/Diff.h>
#include <vellmeta/Report.h>
#include <vellmeta/Text.h>

namespace {

void check(bool holds, const char* what, const std::string& view)
{
    if (!holds) {
        std::fprintf(stderr, "invariant broken: %s\n%s\n", what, view.c_str());
        std::abort();
    }
}

// How many times `c` occurs, and whether any other control character does.
std::size_t count(std::string_view text, char c) { return static_cast<std::size_t>(std::count(text.begin(), text.end(), c)); }

bool onlyControls(std::string_view text, std::string_view allowed)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 && allowed.find(c) == std::string_view::npos)
            return false;
    return true;
}

std::string report(const vellmeta::Decoded& decoded, vellmeta::ReportOptions options)
{
    vellmeta::ClipReport writer(options);
    std::string out;
    writer.begin(out);
    writer.clip(out, decoded.container, decoded.result("clip\n\"=1\".vellraw"));
    writer.end(out);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::array<unsigned char, vellmeta::kHeaderSize> bytes;
    bytes.fill(0xFF);
    std::memcpy(bytes.data(), data, size < bytes.size() ? size : bytes.size());
    const vellmeta::Decoded decoded = vellmeta::decode(bytes.data(), vellmeta::ColorSpace::CameraNative);

    using vellmeta::ReportFormat;
    for (const bool all : {false, true}) {
        vellmeta::ReportOptions options;
        options.all = all;
        options.numeric = all;
        options.names = all;
        for (const ReportFormat format : {ReportFormat::Text, ReportFormat::Json, ReportFormat::Csv, ReportFormat::Tsv,
                                          ReportFormat::OpenTrackIo}) {
            options.format = format;
            options.lines = true;
            const std::string view = report(decoded, options);
            check(vellmeta::validUtf8(view) == view, "a view is valid UTF-8", view);
            switch (format) {
            case ReportFormat::Text: check(onlyControls(view, "\n"), "the text view breaks lines only", view); break;
            case ReportFormat::Csv:
                check(onlyControls(view, "\r\n") && count(view, '\n') == 2 && count(view, '\r') == 2,
                      "a CSV report is two rows", view);
                break;
            case ReportFormat::Tsv:
                check(onlyControls(view, "\t\n") && count(view, '\n') == 2, "a TSV report is two rows", view);
                break;
            case ReportFormat::Json:
            case ReportFormat::OpenTrackIo:
                check(onlyControls(view, "\n") && count(view, '\n') == 1, "a JSON Lines entry is one line", view);
                break;
            }
        }
        std::string diff;
        vellmeta::appendDiff(diff, "a", decoded.container, "b", vellmeta::Decoded().container, vellmeta::ReportOptions{});
        check(vellmeta::validUtf8(diff) == diff && onlyControls(diff, "\n"), "a diff breaks lines only", diff);
    }
    return 0;
}
