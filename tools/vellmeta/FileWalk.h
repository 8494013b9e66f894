// The inputs of a run, in the order they are read: files named on the command
// line as given, `-` for standard input, and with `-r` the files found by
// walking the folders named, picked by extension.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vellmeta::cli {

struct WalkOptions {
    bool recursive = false;   // walk folders rather than reporting them
    bool followLinks = false; // follow symbolic links found by a walk, out of the tree too
    // Extensions of the files a walk picks, compared without regard to case;
    // a leading dot is allowed.
    std::vector<std::string> extensions{"vellraw"};
};

struct Input {
    enum class Kind {
        File,          // a file to read: named on the command line, or found by a walk
        StandardInput, // `-`: one header read from standard input
        Problem,       // something a walk cannot use: one message, nothing to read
        Note,          // something a walk skips on purpose: one message, the exit status unchanged
    };
    Kind kind = Kind::File;
    std::string path;
    std::string message; // Problem and Note: what is wrong or skipped
    bool foundByWalk = false; // a walk reads regular files only
};

// Calls `visit` with every input in order. Folders are walked depth first,
// their entries in byte order of their names, so a walk of the same tree
// always gives the same order. A walk holds one folder's sorted names per
// level it has descended, never the whole list of files, so it streams: the
// total number of files is known only when it ends.
//
// A folder is walked once (by device and inode): a symbolic link back to a
// folder being walked is a loop, reported once as a Note. Without
// `followLinks` a walk follows no symbolic link (the files and folders a link
// inside the tree leads to are walked under their own names) and notes the
// links that lead out of the tree. A folder that cannot be read, and a FIFO,
// device or socket with a picked extension, are Problems.
void walkInputs(const std::vector<std::string>& arguments, const WalkOptions& options,
                const std::function<void(Input&&)>& visit);

// Whether a file name ends in one of the extensions (without regard to case).
bool hasExtension(std::string_view name, const std::vector<std::string>& extensions);

} // namespace vellmeta::cli
