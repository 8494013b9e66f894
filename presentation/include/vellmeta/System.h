// SPDX-License-Identifier: Apache-2.0
/// @file
/// What a tool asks of the operating system, the same on every platform:
/// its command line and standard streams as UTF-8 and bytes, and a few facts
/// about files. Paths are UTF-8 everywhere.
#pragma once

#include <string>
#include <vector>

#include "Export.h"
#include "Scan.h"

namespace vellmeta {

/// The program's arguments as UTF-8, its name first. On Windows they are
/// taken from the wide command line, so that any name survives; elsewhere
/// they are `argv` as given.
VELLMETA_EXPORT std::vector<std::string> commandLineArguments(int argc, char** argv);

/// Makes standard input and output carry bytes as they are: on Windows no
/// line-end translation, and UTF-8 on a console. Call before any output.
VELLMETA_EXPORT void useBinaryStandardStreams();

/// True when standard error is a terminal (progress is shown there).
VELLMETA_EXPORT bool standardErrorIsTerminal();

/// The facts of the file at `path` (links followed); false when it cannot
/// be examined.
VELLMETA_EXPORT bool fileFacts(const std::string& path, FileFacts& facts);

/// What a path names, as far as creating a file there is concerned.
enum class PathKind {
    Missing, ///< nothing, or nothing that can be examined
    File,    ///< a regular file
    Folder,  ///< a folder
    Other,   ///< a FIFO, device, socket or the like
};

/// What `path` names, links followed.
VELLMETA_EXPORT PathKind pathKind(const std::string& path);

/// The outcome of createNewFile().
enum class NewFile {
    Created, ///< this call created the file, empty
    Existed, ///< the file was there already (maybe made a moment ago by another process)
    Failed,  ///< neither: the file cannot be created
};

/// Creates an empty file at `path` unless one is there, in one step, so that
/// of two processes trying at once exactly one creates it.
VELLMETA_EXPORT NewFile createNewFile(const std::string& path);

} // namespace vellmeta
