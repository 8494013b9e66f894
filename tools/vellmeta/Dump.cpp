#include "Dump.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "FileProblems.h"

namespace vellmeta {

namespace {

constexpr std::size_t kHeaderSize = VellRawMeta::kVellFileHeaderV3Size;

std::string withErrno(const char* what)
{
    return std::string(what) + ": " + std::strerror(errno);
}

} // namespace

std::string readHeader(const std::string& path, HeaderBytes& header)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return withErrno("cannot open");
    // Closes the descriptor on every way out.
    const std::unique_ptr<const int, void (*)(const int*)> closer(&fd, [](const int* f) { ::close(*f); });

    struct stat info{};
    if (::fstat(fd, &info) != 0)
        return withErrno("cannot examine");
    if (S_ISDIR(info.st_mode))
        return kDirectoryProblem;

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
    return headerSizeProblem(got);
}

std::string decodeFile(const std::string& path, Vmc::VellMetadataContainer::ColorSpace colorSpace,
                       DecodedClip& clip)
{
    HeaderBytes header;
    std::string problem = readHeader(path, header);
    if (!problem.empty())
        return problem;
    Vmc::ErrorValue result =
        clip.container.initFromHeader(reinterpret_cast<const VellRawMeta::VellFileHeaderV3*>(header.data()), colorSpace);
    clip.isError = result.isError;
    clip.code = result.code;
    clip.message.assign(result.message != nullptr ? result.message : "");
    std::free(result.message); // the result's message is ours to release
    return {};
}

int dumpFiles(const std::vector<std::string>& paths, const Options& options, std::ostream& out, std::ostream& err)
{
    // The report is written into a buffer that goes out in large pieces.
    constexpr std::size_t kFlushSize = 1 << 16;
    Vmc::ClipReport report(options.report);
    std::string buffer;
    buffer.reserve(2 * kFlushSize);
    int status = kAllDecoded;
    report.begin(buffer);
    for (const std::string& path : paths) {
        DecodedClip clip; // a new container each time: no field carries over from the file before
        const std::string problem = decodeFile(path, options.colorSpace, clip);
        if (!problem.empty()) {
            err << "vellmeta: " << Vmc::printable(path) << ": " << problem << '\n';
            status = std::max(status, static_cast<int>(kUnusable));
            continue;
        }
        if (clip.isError)
            status = std::max(status, static_cast<int>(kHeaderFailed));
        report.clip(buffer, clip.container, clip.result(path));
        if (buffer.size() >= kFlushSize) {
            out << buffer;
            buffer.clear();
        }
    }
    report.end(buffer);
    out << buffer;
    out.flush();
    return status;
}

} // namespace vellmeta
