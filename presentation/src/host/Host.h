// SPDX-License-Identifier: Apache-2.0
// The operating system's files and folders, as the scan and the tools need
// them: the one place that knows the host. PosixHost.cpp serves Linux and
// macOS, WindowsHost.cpp Windows; everything else is plain C++17 over this.
//
// Paths are UTF-8 on every host. Problems come back as texts in the host's
// POSIX wording ("No such file or directory"), so that messages read the
// same everywhere; an empty text means success.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include <vellmeta/Scan.h>

namespace vellmeta::host {

// Windows takes a backslash between names as well as a slash.
#if defined(_WIN32)
constexpr bool kBackslashSeparates = true;
#else
constexpr bool kBackslashSeparates = false;
#endif

// What a directory entry or an open file is.
enum class Kind { Unknown, Regular, Folder, Link, Fifo, Device, Socket, Other };

// A folder's identity, the same for every path that leads to it.
struct FolderId {
    std::uint64_t device = 0;
    std::uint64_t node = 0;
    bool operator<(const FolderId& o) const { return device != o.device ? device < o.device : node < o.node; }
    bool operator==(const FolderId& o) const { return device == o.device && node == o.node; }
};

// The kind and facts of what `path` names: the link itself unless
// `followLinks`.
std::string examine(const std::string& path, bool followLinks, Kind& kind, FileFacts& facts);

// Lists the folder at `path`: asks `wanted` with the folder's identity
// whether to go on (not asked, and nothing listed, when the host cannot say
// it), then calls `entry` with each name but "." and "..", with its kind when
// the listing says it (Unknown otherwise). Returns what stopped the listing,
// the names read before that delivered.
std::string listFolder(const std::string& path, const std::function<bool(const FolderId&)>& wanted,
                       const std::function<void(std::string_view name, Kind kind)>& entry);

// The absolute path of `path` with every link resolved and '/' between
// names, or an empty text when it has none.
std::string realPath(const std::string& path);

// A file opened for reading its first bytes. The open never waits: a FIFO
// without a writer, or a device waiting for a carrier, would otherwise hold
// it for ever.
class InputFile {
public:
    InputFile() = default;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile();

    std::string open(const std::string& path);
    std::string examine(Kind& kind, FileFacts& facts) const;
    // Makes reads wait for bytes again, for a FIFO or device named as input.
    std::string waitForBytes();
    // Reads up to `size` bytes: how many, 0 at the end, or -1 with `problem`.
    long long read(unsigned char* to, std::size_t size, std::string& problem);

private:
    std::intptr_t handle_ = -1;
};

// Reads up to `size` bytes of standard input, as bytes: how many, 0 at the
// end, or -1 with `problem`.
long long readStandardInput(unsigned char* to, std::size_t size, std::string& problem);

} // namespace vellmeta::host
