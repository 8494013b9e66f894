#include "ReportFormatter.h"

namespace vellmeta {

namespace {

// Until the clip report lands: JSON through the document of each entry.
class JsonFormatter : public ClipFormatter {
public:
    explicit JsonFormatter(bool all) : all_(all) {}
    std::unique_ptr<ClipFormatter> copy() const override { return std::make_unique<JsonFormatter>(all_); }
    void begin(std::string& out) override { out += '['; }
    void separator(std::string& out, bool first) override { out += first ? "\n" : ",\n"; }
    void clip(std::string& out, const Vmc::VellMetadataContainer& container, const Vmc::ClipResult& result) override
    {
        const std::string path(result.path);
        const Decoded decoded{path, container, result.isError, result.code, std::string(result.message)};
        out += jsonEntry(decoded, all_).dump();
    }
    void end(std::string& out, bool any) override { out += any ? "\n]\n" : "]\n"; }

private:
    bool all_;
};

} // namespace

std::unique_ptr<ClipFormatter> makeFormatter(const Options& options)
{
    return std::make_unique<JsonFormatter>(options.all);
}

} // namespace vellmeta
