// SPDX-License-Identifier: Apache-2.0
/// @file
/// Reading clips for a surface: files named one by one, `-` for a header on
/// standard input, and with a walk the files of folders picked by extension;
/// each header read from the start of its file, decoded, and handed over in
/// input order, however many threads read and decode. A bounded ring of
/// inputs is in flight, so memory stays flat however many files there are.
///
/// @code
///   vellmeta::ScanOptions options;
///   options.walk.recursive = true;
///   options.jobs = 4;
///   vellmeta::scan({"/media/A001"}, options, [](vellmeta::Scanned& input) {
///       if (input.kind == vellmeta::Scanned::Kind::Clip) ... input.clip.container ...
///   });
/// @endcode
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ColorSpaces.h"
#include "Decode.h"
#include "Export.h"

namespace vellmeta {

/// Which files a walk of a folder picks, and how it walks.
struct WalkOptions {
    bool recursive = false;   ///< walk folders rather than refusing them
    bool followLinks = false; ///< follow symbolic links found by a walk, out of the tree too
    /// Extensions of the files a walk picks, compared without regard to case;
    /// a leading dot is allowed.
    std::vector<std::string> extensions{"vellraw"};
};

/// What the file system says of a file.
struct FileFacts {
    std::uint64_t device = 0; ///< the device the file lies on
    std::uint64_t inode = 0;  ///< the file's inode on that device
    std::uint64_t size = 0;   ///< the file's size in bytes
    std::int64_t modifiedNs = 0; ///< modification time, nanoseconds since 1970
};

/// Facts are equal when all four are.
inline bool operator==(const FileFacts& a, const FileFacts& b)
{
    return a.device == b.device && a.inode == b.inode && a.size == b.size && a.modifiedNs == b.modifiedNs;
}

/// One input of a scan.
struct Scanned {
    /// What an input turned out to be.
    enum class Kind {
        Clip,      ///< a header read and decoded
        Unchanged, ///< a file the scan was told not to read again (ScanOptions::known)
        Problem,   ///< an input that could not be used: `message` says why
        Note,      ///< something a walk skips on purpose: `message` says what
    };
    Kind kind = Kind::Clip;   ///< what the input turned out to be
    std::string path;         ///< as given, or as a walk found it; "-" for standard input
    std::string message;      ///< Problem and Note
    bool standardInput = false; ///< the input is the header on standard input
    bool hasFacts = false;    ///< `facts` holds the file's, when asked for (ScanOptions::facts)
    FileFacts facts;          ///< the file's facts, when `hasFacts`
    std::array<unsigned char, kHeaderSize> header{}; ///< Clip: the bytes decoded
    Decoded clip;             ///< Clip: the container and the result
    std::string entry;        ///< Clip: what ScanOptions::prepare made of it
};

/// How a scan reads its inputs.
struct ScanOptions {
    WalkOptions walk; ///< which files a walk picks
    int jobs = 1; ///< threads reading, decoding and preparing inputs
    /// With one job, the inputs are read and decoded on a thread of their
    /// own all the same, ahead of the thread that takes them: for a sink
    /// whose work on each clip weighs as much as reading it (a database).
    bool readAhead = false;
    ColorSpace colorSpace = kDefaultColorSpace; ///< the colour space decoding gives primaries in
    /// The facts of each file read, from the open file.
    bool facts = false;
    /// When given, asked on a worker thread before a file is read: the facts
    /// the host holds for its path, or nullptr. A file whose facts are still
    /// the same is left unread, an input of kind Unchanged (`facts` is then
    /// implied). The answer must stay valid until the scan ends.
    std::function<const FileFacts*(const std::string& path)> known;
    /// When given, called on a worker thread for each decoded clip, several
    /// at once: what a sink can make of a clip alone (its entry in a report).
    std::function<void(Scanned& input)> prepare;
    /// When given, called once the walks have ended, with the number of
    /// inputs that count as files (all but notes).
    std::function<void(std::uint64_t files)> walked;
};

/// The most threads a scan starts, whatever `jobs` asks.
constexpr int kMostJobs = 256;

/// Calls `take` with every input of `inputs`, in order, on the calling thread.
/// A scan with one job reads, decodes and takes one input after the other on
/// the calling thread; with more, inputs are read, decoded and prepared on
/// worker threads, and a folder's walk goes on while they are.
///
/// Folders are walked depth first, their entries in byte order of their
/// names, so a walk of the same tree always gives the same order. A folder is
/// walked once (by device and inode): a symbolic link back to a folder being
/// walked is a Note. Without `followLinks` a walk follows no symbolic link
/// (the files and folders a link inside the tree leads to are walked under
/// their own names) and notes the links that lead out of the tree. A folder
/// that cannot be read, a FIFO, device or socket with a picked extension, and
/// a folder named without `recursive` are Problems.
VELLMETA_EXPORT void scan(const std::vector<std::string>& inputs, const ScanOptions& options,
                          const std::function<void(Scanned& input)>& take);

/// Whether a file name ends in one of the extensions (without regard to case).
VELLMETA_EXPORT bool hasExtension(std::string_view name, const std::vector<std::string>& extensions);

} // namespace vellmeta
