// SPDX-License-Identifier: Apache-2.0
#include "HeaderFile.h"

#include <vellmeta/System.h>

#include "host/Host.h"

namespace vellmeta {

namespace {

const char* kindProblem(host::Kind kind, bool regularOnly)
{
    if (kind == host::Kind::Folder)
        return kFolderProblem;
    if (regularOnly && kind != host::Kind::Regular)
        return "is not a regular file; a walk reads regular files only";
    return nullptr;
}

// Reads until `header` is full or `read` reaches the end: how many bytes,
// or -1 with `problem`.
template <typename Read>
long long readWhole(HeaderBytes& header, std::string& problem, Read read)
{
    std::size_t got = 0;
    while (got < header.size()) {
        const long long n = read(header.data() + got, header.size() - got, problem);
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    return static_cast<long long>(got);
}

} // namespace

bool fileFacts(const std::string& path, FileFacts& facts)
{
    host::Kind kind = host::Kind::Unknown;
    return host::examine(path, true, kind, facts).empty();
}

PathKind pathKind(const std::string& path)
{
    host::Kind kind = host::Kind::Unknown;
    FileFacts facts;
    if (!host::examine(path, true, kind, facts).empty())
        return PathKind::Missing;
    return kind == host::Kind::Regular ? PathKind::File : kind == host::Kind::Folder ? PathKind::Folder : PathKind::Other;
}

std::string readHeader(const std::string& path, HeaderBytes& header, bool regularOnly, FileFacts* facts)
{
    // A walk's file that has become a FIFO since it was listed reads short
    // and is refused below; a named FIFO or device is read as it comes (a
    // writer's bytes, or none when there is no writer).
    host::InputFile file;
    if (std::string problem = file.open(path); !problem.empty())
        return "cannot open: " + problem;

    // What the file is, asked once and only when needed: for a walk's file
    // (a regular file when listed) only when the header does not come out
    // whole, or when its facts are wanted.
    host::Kind kind = host::Kind::Unknown;
    FileFacts examined;
    bool known = false;
    const auto problemOfKind = [&]() -> std::string {
        if (!known) {
            if (std::string problem = file.examine(kind, examined); !problem.empty())
                return "cannot examine: " + problem;
            known = true;
        }
        const char* problem = kindProblem(kind, regularOnly);
        return problem != nullptr ? problem : std::string();
    };
    if (!regularOnly || facts != nullptr) {
        if (std::string problem = problemOfKind(); !problem.empty())
            return problem;
    }
    if (facts != nullptr)
        *facts = examined;
    if (!regularOnly && kind != host::Kind::Regular) {
        if (std::string problem = file.waitForBytes(); !problem.empty())
            return "cannot read: " + problem;
    }

    std::string problem;
    const long long got = readWhole(header, problem, [&](unsigned char* to, std::size_t size, std::string& p) {
        return file.read(to, size, p);
    });
    if (got < 0) {
        const std::string kindText = regularOnly ? problemOfKind() : std::string();
        return kindText.empty() ? "cannot read: " + problem : kindText;
    }
    if (static_cast<std::size_t>(got) < kHeaderSize && regularOnly) {
        if (std::string p = problemOfKind(); !p.empty())
            return p;
    }
    return headerSizeProblem(static_cast<std::size_t>(got));
}

std::string readStandardInput(HeaderBytes& header)
{
    std::string problem;
    const long long got = readWhole(header, problem, host::readStandardInput);
    return got < 0 ? "cannot read: " + problem : headerSizeProblem(static_cast<std::size_t>(got));
}

} // namespace vellmeta
