// SPDX-License-Identifier: Apache-2.0
#include "HeaderFile.h"

#include <cerrno>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vellmeta {

namespace {

std::string withErrno(const char* what)
{
    return std::string(what) + ": " + std::strerror(errno);
}

FileFacts factsOf(const struct stat& info)
{
    FileFacts facts;
    facts.device = static_cast<std::uint64_t>(info.st_dev);
    facts.inode = static_cast<std::uint64_t>(info.st_ino);
    facts.size = static_cast<std::uint64_t>(info.st_size);
    facts.modifiedNs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return facts;
}

} // namespace

bool fileFacts(const std::string& path, FileFacts& facts)
{
    struct stat info{};
    if (::stat(path.c_str(), &info) != 0)
        return false;
    facts = factsOf(info);
    return true;
}

std::string readHeader(const std::string& path, HeaderBytes& header, bool regularOnly, FileFacts* facts)
{
    // Opened without waiting: a FIFO without a writer, or a device that waits
    // for a carrier, would otherwise hold the open for ever. A walk's file
    // that has become a FIFO since it was listed reads short and is refused
    // below; a named FIFO or device is then read as it comes (a writer's
    // bytes, or none when there is no writer).
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return withErrno("cannot open");
    // Closes the descriptor on every way out.
    const std::unique_ptr<const int, void (*)(const int*)> closer(&fd, [](const int* f) { ::close(*f); });

    // What the file is, asked once and only when needed: for a walk's file
    // (a regular file when listed) only when the header does not come out
    // whole, or when its facts are wanted.
    struct stat info{};
    bool examined = false;
    const auto kindProblem = [&]() -> std::string {
        if (!examined && ::fstat(fd, &info) != 0)
            return withErrno("cannot examine");
        examined = true;
        if (S_ISDIR(info.st_mode))
            return kFolderProblem;
        if (regularOnly && !S_ISREG(info.st_mode))
            return "is not a regular file; a walk reads regular files only";
        return {};
    };
    if (!regularOnly || facts != nullptr) {
        if (std::string problem = kindProblem(); !problem.empty())
            return problem;
    }
    if (facts != nullptr)
        *facts = factsOf(info);
    if (!regularOnly && !S_ISREG(info.st_mode)) {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
            return withErrno("cannot read");
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

std::string readStandardInput(HeaderBytes& header)
{
    std::size_t got = 0;
    while (got < header.size()) {
        const ssize_t n = ::read(STDIN_FILENO, header.data() + got, header.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return withErrno("cannot read");
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    return headerSizeProblem(got);
}

} // namespace vellmeta
