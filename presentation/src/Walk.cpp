// SPDX-License-Identifier: Apache-2.0
// The walk of folders: the one place that lists them.
#include "Walk.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <utility>

#include <vellmeta/System.h>

#include "host/Host.h"

namespace vellmeta {

namespace {

using host::FolderId;
using host::Kind;

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameWithoutCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

std::string joined(const std::string& folder, std::string_view name)
{
    std::string path; // in one allocation
    path.reserve(folder.size() + 1 + name.size());
    path += folder;
    if (folder.empty() || (folder.back() != '/' && !(host::kBackslashSeparates && folder.back() == '\\')))
        path += '/';
    path += name;
    return path;
}

bool inside(const std::string& real, const std::string& root)
{
    return real == root || (real.size() > root.size() && real.compare(0, root.size(), root) == 0 &&
                            (root.back() == '/' || real[root.size()] == '/'));
}

const char* kindOfSpecial(Kind kind)
{
    switch (kind) {
    case Kind::Fifo: return "is a FIFO";
    case Kind::Device: return "is a device";
    case Kind::Socket: return "is a socket";
    default: return "is not a regular file";
    }
}

class Walk {
public:
    Walk(const WalkOptions& options, const std::function<void(Input&&)>& visit) : options_(options), visit_(visit) {}

    void root(const std::string& path)
    {
        root_ = host::realPath(path);
        folder(path);
    }

private:
    struct Entry {
        std::size_t at;     // where the name starts in the folder's names
        std::size_t length;
        std::uint64_t key;  // see sortByName
        Kind kind;          // Unknown when the listing does not say

        std::string_view nameIn(std::string_view names) const { return names.substr(at, length); }
    };

    // Sorts a folder's entries by name, byte by byte. A card's clip names
    // share a long start ("A001C003_", "clip0001"), so each entry first
    // gets as its key the eight bytes after the start all names share, most
    // significant first and padded with zeros (no name holds a zero byte):
    // names whose keys differ are in the order of their keys, and only
    // equal keys need the names compared.
    static void sortByName(std::vector<Entry>& entries, std::string_view names)
    {
        const auto nameOf = [&](const Entry& e) { return e.nameIn(names); };
        if (entries.empty())
            return;
        const std::string_view first = nameOf(entries.front());
        std::size_t shared = first.size();
        for (const Entry& e : entries) {
            const std::string_view name = nameOf(e);
            std::size_t i = 0;
            while (i < shared && i < name.size() && name[i] == first[i])
                ++i;
            shared = i;
        }
        for (Entry& e : entries) {
            const std::string_view rest = nameOf(e).substr(shared);
            e.key = 0;
            for (std::size_t i = 0; i < 8; ++i)
                e.key = e.key << 8 | (i < rest.size() ? static_cast<unsigned char>(rest[i]) : 0u);
        }
        std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
            return a.key != b.key ? a.key < b.key : nameOf(a) < nameOf(b);
        });
    }

    void emit(Input::Kind kind, std::string path, std::string message = {})
    {
        Input input;
        input.kind = kind;
        input.path = std::move(path);
        input.message = std::move(message);
        input.foundByWalk = true;
        visit_(std::move(input));
    }

    void folder(const std::string& path)
    {
        // One folder's names at a time, one after the other in one text:
        // sorted, so the order does not depend on the file system's.
        std::string names;
        std::vector<Entry> entries;
        bool listed = false;
        const std::string problem = host::listFolder(
            path,
            [&](const FolderId& id) {
                // Not when walked already, by another path (a bind mount, a followed link).
                listed = visited_.insert(id).second;
                if (listed)
                    ancestors_.emplace_back(id, path);
                return listed;
            },
            [&](std::string_view name, Kind kind) {
                entries.push_back({names.size(), name.size(), 0, kind});
                names += name;
            });
        if (!problem.empty())
            emit(Input::Kind::Problem, path, "cannot read folder: " + problem);
        if (!listed)
            return;
        sortByName(entries, names);
        for (const Entry& e : entries)
            entry(joined(path, e.nameIn(names)), e.nameIn(names), e.kind);
        ancestors_.pop_back();
    }

    void entry(std::string path, std::string_view name, Kind kind)
    {
        if (kind == Kind::Unknown) { // some file systems leave the kind to examining the entry
            FileFacts facts;
            if (std::string problem = host::examine(path, false, kind, facts); !problem.empty()) {
                fileProblem(path, name, "cannot examine: " + problem);
                return;
            }
        }
        if (kind == Kind::Folder)
            folder(path);
        else if (kind == Kind::Link)
            link(path, name);
        else if (hasExtension(name, options_.extensions)) {
            if (kind == Kind::Regular)
                emit(Input::Kind::File, std::move(path));
            else
                emit(Input::Kind::Problem, path, std::string(kindOfSpecial(kind)) + "; a walk reads regular files only");
        }
    }

    // A file that vanished between listing and examining, for a picked name.
    void fileProblem(const std::string& path, std::string_view name, std::string message)
    {
        if (hasExtension(name, options_.extensions))
            emit(Input::Kind::Problem, path, std::move(message));
    }

    void link(const std::string& path, std::string_view name)
    {
        const bool picked = hasExtension(name, options_.extensions);
        Kind target = Kind::Unknown;
        FileFacts facts;
        if (!host::examine(path, true, target, facts).empty()) {
            if (picked)
                emit(Input::Kind::Note, path, "symbolic link leads nowhere; skipped");
            return;
        }
        const bool isFolder = target == Kind::Folder;
        if (!isFolder && !picked)
            return;
        if (isFolder) {
            for (const auto& [id, ancestor] : ancestors_)
                if (id == FolderId{facts.device, facts.inode}) {
                    emit(Input::Kind::Note, path, "symbolic-link loop back to " + ancestor + "; skipped");
                    return;
                }
        }
        if (!options_.followLinks) {
            // Inside the tree the link's target is walked under its own name.
            if (!inside(host::realPath(path), root_))
                emit(Input::Kind::Note, path,
                     "symbolic link leads out of the folder walked; not followed (--follow-links follows it)");
            return;
        }
        if (isFolder)
            folder(path);
        else if (target == Kind::Regular)
            emit(Input::Kind::File, path);
        else
            emit(Input::Kind::Problem, path, std::string(kindOfSpecial(target)) + "; a walk reads regular files only");
    }

    const WalkOptions& options_;
    const std::function<void(Input&&)>& visit_;
    std::string root_;
    std::set<FolderId> visited_;
    std::vector<std::pair<FolderId, std::string>> ancestors_;
};

} // namespace

bool hasExtension(std::string_view name, const std::vector<std::string>& extensions)
{
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0)
        return false;
    const std::string_view extension = name.substr(dot + 1);
    return std::any_of(extensions.begin(), extensions.end(), [&](std::string_view wanted) {
        return sameWithoutCase(extension, !wanted.empty() && wanted[0] == '.' ? wanted.substr(1) : wanted);
    });
}

void walkInputs(const std::vector<std::string>& arguments, const WalkOptions& options,
                const std::function<void(Input&&)>& visit)
{
    for (const std::string& argument : arguments) {
        if (argument == "-") {
            Input input;
            input.kind = Input::Kind::StandardInput;
            input.path = argument;
            visit(std::move(input));
        } else if (options.recursive && pathKind(argument) == PathKind::Folder) {
            // Each folder named is its own tree: named twice, it is walked twice.
            Walk(options, visit).root(argument);
        } else {
            // Named files are read whatever their name; reading reports what is wrong.
            Input input;
            input.path = argument;
            visit(std::move(input));
        }
    }
}

} // namespace vellmeta
