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

std::string readHeader(const std::string& path, HeaderBytes& header, bool regularOnly)
{
    // A walk's file was a regular file when it was listed; should it have
    // become a FIFO since, it is opened without waiting for a writer, reads
    // short, and is refused below.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | (regularOnly ? O_NONBLOCK : 0));
    if (fd < 0)
        return withErrno("cannot open");
    // Closes the descriptor on every way out.
    const std::unique_ptr<const int, void (*)(const int*)> closer(&fd, [](const int* f) { ::close(*f); });

    // What the file is, asked only when needed: for a walk's file (a regular
    // file when listed) only when the header does not come out whole.
    const auto kindProblem = [&]() -> std::string {
        struct stat info{};
        if (::fstat(fd, &info) != 0)
            return withErrno("cannot examine");
        if (S_ISDIR(info.st_mode))
            return kDirectoryProblem;
        if (regularOnly && !S_ISREG(info.st_mode))
            return "is not a regular file; a walk reads regular files only";
        return {};
    };
    if (!regularOnly) {
        if (std::string problem = kindProblem(); !problem.empty())
            return problem;
    }

    std::size_t got = 0;
    while (got < kHeaderSize) {
        const ssize_t n = ::read(fd, header.data() + got, kHeaderSize - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const std::string problem = withErrno("cannot read");
            const std::string kind = regularOnly ? kindProblem() : std::string();
            return kind.empty() ? problem : kind;
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    if (got < kHeaderSize && regularOnly) {
        if (std::string problem = kindProblem(); !problem.empty())
            return problem;
    }
    return headerSizeProblem(got);
}

std::string decodeFile(const std::string& path, Vmc::VellMetadataContainer::ColorSpace colorSpace,
                       DecodedClip& clip)
{
    HeaderBytes header;
    std::string problem = readHeader(path, header);
    if (problem.empty())
        decodeHeader(header, colorSpace, clip);
    return problem;
}

void forgetFields(Vmc::VellMetadataContainer& container)
{
#define VMC_FIELD(name, ...) container.name.defined = 0;
#include <VellMetadataContainer/ContainerFields.def>
#undef VMC_FIELD
}

void decodeHeader(const HeaderBytes& header, Vmc::VellMetadataContainer::ColorSpace colorSpace, DecodedClip& clip)
{
    Vmc::ErrorValue result =
        clip.container.initFromHeader(reinterpret_cast<const VellRawMeta::VellFileHeaderV3*>(header.data()), colorSpace);
    clip.isError = result.isError;
    clip.code = result.code;
    clip.message.assign(result.message != nullptr ? result.message : "");
    std::free(result.message); // the result's message is ours to release
}

} // namespace vellmeta
