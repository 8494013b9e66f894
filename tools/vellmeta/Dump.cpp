#include "Dump.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "FieldValues.h"

namespace vellmeta {

namespace {

constexpr std::size_t kHeaderSize = VellRawMeta::kVellFileHeaderV3Size;

std::string withErrno(const char* what)
{
    return std::string(what) + ": " + std::strerror(errno);
}

class View {
public:
    virtual ~View() = default;
    virtual void begin() {}
    virtual void file(const Decoded& decoded) = 0;
    virtual void end() {}
};

// Per file: the path, then one heading per group that has something to show,
// its fields as "name: value" lines in container order, then the result.
class TextView : public View {
public:
    TextView(std::ostream& out, bool all) : out_(out), all_(all) {}

    void file(const Decoded& d) override
    {
        std::string byGroup[Vmc::kFieldGroupCount];
        Vmc::forEachField(d.container, [&](const Vmc::FieldInfo& info, const auto& field) {
            if (!field.defined && !all_)
                return;
            std::string& lines = byGroup[static_cast<int>(info.group)];
            lines += "    ";
            lines += info.name;
            lines += ": ";
            lines += field.defined ? textValue(field) : "(undefined)";
            lines += '\n';
        });

        if (!first_)
            out_ << '\n';
        first_ = false;
        out_ << printable(d.path) << '\n';
        for (int g = 0; g < Vmc::kFieldGroupCount; ++g) {
            if (byGroup[g].empty())
                continue;
            out_ << "  " << Vmc::fieldGroupTitle(static_cast<Vmc::FieldGroup>(g)) << '\n' << byGroup[g];
        }
        out_ << "  result\n"
             << "    isError: " << (d.isError ? "true" : "false") << '\n'
             << "    code: " << d.code << '\n'
             << "    message:" << (d.message.empty() ? "" : " ") << printable(d.message) << '\n';
    }

private:
    std::ostream& out_;
    bool all_;
    bool first_ = true;
};

// One JSON array with an object per file. Each file's object is built and
// written on its own, so memory does not grow with the number of files.
class JsonView : public View {
public:
    JsonView(std::ostream& out, bool all) : out_(out), all_(all) {}

    void begin() override { out_ << '['; }

    void file(const Decoded& d) override
    {
        const Json entry = jsonEntry(d, all_);
        out_ << (first_ ? "\n" : ",\n") << entry;
        first_ = false;
    }

    void end() override { out_ << (first_ ? "]\n" : "\n]\n"); }

private:
    std::ostream& out_;
    bool all_;
    bool first_ = true;
};

} // namespace

Json jsonEntry(const Decoded& d, bool all)
{
    Json fields = Json::object();
    // Field names are unique, so they are appended without the lookup that
    // an insertion by key would make for each of them.
    auto& members = fields.get_ref<Json::object_t&>();
    members.reserve(Vmc::kFieldCount);
    Vmc::forEachField(d.container, [&](const Vmc::FieldInfo& info, const auto& field) {
        if (field.defined)
            members.emplace_back(info.name, jsonValue(field));
        else if (all)
            members.emplace_back(info.name, nullptr);
    });

    Json result = Json::object();
    result["isError"] = d.isError;
    result["code"] = d.code;
    result["message"] = validUtf8(d.message);

    Json entry = Json::object();
    entry["path"] = validUtf8(d.path);
    entry["result"] = std::move(result);
    entry["fields"] = std::move(fields);
    return entry;
}

std::string shortHeaderProblem(std::size_t got)
{
    if (got == 0)
        return "is empty; a VELLRAW header has " + std::to_string(kHeaderSize) + " bytes";
    if (got < kHeaderSize)
        return "is " + std::to_string(got) + " bytes long, shorter than the " + std::to_string(kHeaderSize) +
               "-byte VELLRAW header";
    return {};
}

std::string readHeader(const std::string& path, HeaderBytes& header, bool regularOnly)
{
    // A walk's file may have become a FIFO since it was listed: opened
    // without blocking, it is refused after fstat rather than waited on.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | (regularOnly ? O_NONBLOCK : 0));
    if (fd < 0)
        return withErrno("cannot open");
    // Closes the descriptor on every way out.
    const std::unique_ptr<const int, void (*)(const int*)> closer(&fd, [](const int* f) { ::close(*f); });

    struct stat info{};
    if (::fstat(fd, &info) != 0)
        return withErrno("cannot examine");
    if (S_ISDIR(info.st_mode))
        return "is a directory, not a VELLRAW file";
    if (regularOnly && !S_ISREG(info.st_mode))
        return "is not a regular file; a walk reads regular files only";

    std::size_t got = 0;
    while (got < kHeaderSize) {
        const ssize_t n = ::read(fd, header.data() + got, kHeaderSize - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return withErrno("cannot read");
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    return shortHeaderProblem(got);
}

int dumpFiles(const std::vector<std::string>& paths, const Options& options, std::ostream& out, std::ostream& err)
{
    std::unique_ptr<View> view;
    if (options.json)
        view = std::make_unique<JsonView>(out, options.all);
    else
        view = std::make_unique<TextView>(out, options.all);

    int status = kAllDecoded;
    HeaderBytes header;
    view->begin();
    for (const std::string& path : paths) {
        const std::string problem = readHeader(path, header);
        if (!problem.empty()) {
            err << "vellmeta: " << printable(path) << ": " << problem << '\n';
            status = std::max(status, static_cast<int>(kUnusable));
            continue;
        }

        Vmc::VellMetadataContainer container;
        Vmc::ErrorValue result = container.initFromHeader(
            reinterpret_cast<const VellRawMeta::VellFileHeaderV3*>(header.data()), options.colorSpace);
        const Decoded decoded{path, container, result.isError, result.code,
                              result.message != nullptr ? result.message : ""};
        std::free(result.message); // the result's message is ours to release
        if (decoded.isError)
            status = std::max(status, static_cast<int>(kHeaderFailed));
        view->file(decoded);
    }
    view->end();
    out.flush();
    return status;
}

} // namespace vellmeta
