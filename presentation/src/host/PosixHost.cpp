// SPDX-License-Identifier: Apache-2.0
// The host on Linux, macOS and other POSIX systems.
#include "Host.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vellmeta/System.h>

namespace vellmeta {

namespace host {

namespace {

std::string errnoText(int error) { return std::strerror(error); }

Kind kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return Kind::Regular;
    if (S_ISDIR(mode))
        return Kind::Folder;
    if (S_ISLNK(mode))
        return Kind::Link;
    if (S_ISFIFO(mode))
        return Kind::Fifo;
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return Kind::Device;
    if (S_ISSOCK(mode))
        return Kind::Socket;
    return Kind::Other;
}

Kind kindOfEntry(unsigned char type)
{
    switch (type) {
    case DT_REG: return Kind::Regular;
    case DT_DIR: return Kind::Folder;
    case DT_LNK: return Kind::Link;
    case DT_FIFO: return Kind::Fifo;
    case DT_CHR:
    case DT_BLK: return Kind::Device;
    case DT_SOCK: return Kind::Socket;
    default: return Kind::Unknown; // some file systems leave the type to lstat
    }
}

FileFacts factsOf(const struct stat& info)
{
    FileFacts facts;
    facts.device = static_cast<std::uint64_t>(info.st_dev);
    facts.inode = static_cast<std::uint64_t>(info.st_ino);
    facts.size = static_cast<std::uint64_t>(info.st_size);
#if defined(__APPLE__)
    facts.modifiedNs = static_cast<std::int64_t>(info.st_mtimespec.tv_sec) * 1000000000 + info.st_mtimespec.tv_nsec;
#else
    facts.modifiedNs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
#endif
    return facts;
}

} // namespace

std::string examine(const std::string& path, bool followLinks, Kind& kind, FileFacts& facts)
{
    struct stat info{};
    if ((followLinks ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info)) != 0)
        return errnoText(errno);
    kind = kindOf(info.st_mode);
    facts = factsOf(info);
    return {};
}

std::string listFolder(const std::string& path, const std::function<bool(const FolderId&)>& wanted,
                       const std::function<void(std::string_view name, Kind kind)>& entry)
{
    DIR* const dir = ::opendir(path.c_str());
    if (dir == nullptr)
        return errnoText(errno);
    const std::unique_ptr<DIR, int (*)(DIR*)> closer(dir, ::closedir);
    struct stat info{};
    if (::fstat(::dirfd(dir), &info) != 0 ||
        !wanted({static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)}))
        return {};
    errno = 0;
    while (const dirent* e = ::readdir(dir)) {
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
            entry(e->d_name, kindOfEntry(e->d_type));
    }
    return errno != 0 ? errnoText(errno) : std::string();
}

std::string realPath(const std::string& path)
{
    const std::unique_ptr<char, void (*)(void*)> real(::realpath(path.c_str(), nullptr), std::free);
    return real ? std::string(real.get()) : std::string();
}

InputFile::~InputFile()
{
    if (handle_ >= 0)
        ::close(static_cast<int>(handle_));
}

std::string InputFile::open(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errnoText(errno);
    handle_ = fd;
    return {};
}

std::string InputFile::examine(Kind& kind, FileFacts& facts) const
{
    struct stat info{};
    if (::fstat(static_cast<int>(handle_), &info) != 0)
        return errnoText(errno);
    kind = kindOf(info.st_mode);
    facts = factsOf(info);
    return {};
}

std::string InputFile::waitForBytes()
{
    const int fd = static_cast<int>(handle_);
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        return errnoText(errno);
    return {};
}

namespace {

long long readFrom(int fd, unsigned char* to, std::size_t size, std::string& problem)
{
    for (;;) {
        const ssize_t n = ::read(fd, to, size);
        if (n >= 0)
            return n;
        if (errno != EINTR) {
            problem = errnoText(errno);
            return -1;
        }
    }
}

} // namespace

long long InputFile::read(unsigned char* to, std::size_t size, std::string& problem)
{
    return readFrom(static_cast<int>(handle_), to, size, problem);
}

long long readStandardInput(unsigned char* to, std::size_t size, std::string& problem)
{
    return readFrom(STDIN_FILENO, to, size, problem);
}

} // namespace host

std::vector<std::string> commandLineArguments(int argc, char** argv) { return {argv, argv + argc}; }

void useBinaryStandardStreams() {}

bool standardErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

NewFile createNewFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) {
        ::close(fd);
        return NewFile::Created;
    }
    return errno == EEXIST ? NewFile::Existed : NewFile::Failed;
}

} // namespace vellmeta
