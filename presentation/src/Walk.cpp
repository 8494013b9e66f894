// SPDX-License-Identifier: Apache-2.0
// The walk of folders: the one place that lists them.
#include "Walk.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <utility>

#include <dirent.h>
#include <sys/stat.h>

namespace vellmeta {

namespace {

using FolderId = std::pair<dev_t, ino_t>;

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
    if (folder.empty() || folder.back() != '/')
        path += '/';
    path += name;
    return path;
}

// The canonical absolute path of `path`, or an empty text when it has none.
std::string realPath(const std::string& path)
{
    const std::unique_ptr<char, void (*)(void*)> real(::realpath(path.c_str(), nullptr), std::free);
    return real ? std::string(real.get()) : std::string();
}

bool inside(const std::string& real, const std::string& root)
{
    return real == root || (real.size() > root.size() && real.compare(0, root.size(), root) == 0 &&
                            (root.back() == '/' || real[root.size()] == '/'));
}

const char* kindOfSpecial(mode_t mode)
{
    if (S_ISFIFO(mode))
        return "is a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "is a device";
    if (S_ISSOCK(mode))
        return "is a socket";
    return "is not a regular file";
}

class Walk {
public:
    Walk(const WalkOptions& options, const std::function<void(Input&&)>& visit) : options_(options), visit_(visit) {}

    void root(const std::string& path)
    {
        root_ = realPath(path);
        folder(path);
    }

private:
    struct Entry {
        std::size_t at;     // where the name starts in the folder's names
        std::size_t length;
        std::uint64_t key;  // see sortByName
        unsigned char type; // d_type: DT_UNKNOWN when the file system does not say

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
        DIR* const dir = ::opendir(path.c_str());
        if (dir == nullptr) {
            emit(Input::Kind::Problem, path, std::string("cannot read folder: ") + std::strerror(errno));
            return;
        }
        struct stat info{};
        if (::fstat(::dirfd(dir), &info) != 0 || !visited_.insert({info.st_dev, info.st_ino}).second) {
            ::closedir(dir); // walked already, by another path (a bind mount, a followed link)
            return;
        }
        ancestors_.emplace_back(FolderId{info.st_dev, info.st_ino}, path);

        // One folder's names at a time, one after the other in one text:
        // sorted, so the order does not depend on the file system's.
        std::string names;
        std::vector<Entry> entries;
        errno = 0;
        while (const dirent* e = ::readdir(dir)) {
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) {
                const std::size_t length = std::strlen(e->d_name);
                entries.push_back({names.size(), length, 0, e->d_type});
                names.append(e->d_name, length);
            }
        }
        const int readError = errno;
        ::closedir(dir);
        if (readError != 0)
            emit(Input::Kind::Problem, path, std::string("cannot read folder: ") + std::strerror(readError));
        sortByName(entries, names);
        for (const Entry& e : entries)
            entry(joined(path, e.nameIn(names)), e.nameIn(names), e.type);
        ancestors_.pop_back();
    }

    void entry(std::string path, std::string_view name, unsigned char type)
    {
        struct stat info{};
        if (type == DT_UNKNOWN) { // some file systems leave the type to lstat
            if (::lstat(path.c_str(), &info) != 0) {
                fileProblem(path, name, std::string("cannot examine: ") + std::strerror(errno));
                return;
            }
            type = S_ISDIR(info.st_mode) ? DT_DIR : S_ISREG(info.st_mode) ? DT_REG : S_ISLNK(info.st_mode) ? DT_LNK : DT_FIFO;
        }
        if (type == DT_DIR)
            folder(path);
        else if (type == DT_LNK)
            link(path, name);
        else if (hasExtension(name, options_.extensions)) {
            if (type == DT_REG)
                emit(Input::Kind::File, std::move(path));
            else if (::lstat(path.c_str(), &info) == 0)
                emit(Input::Kind::Problem, path, std::string(kindOfSpecial(info.st_mode)) + "; a walk reads regular files only");
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
        struct stat target{};
        if (::stat(path.c_str(), &target) != 0) {
            if (picked)
                emit(Input::Kind::Note, path, "symbolic link leads nowhere; skipped");
            return;
        }
        const bool isFolder = S_ISDIR(target.st_mode);
        if (!isFolder && !picked)
            return;
        if (isFolder) {
            for (const auto& [id, ancestor] : ancestors_)
                if (id == FolderId{target.st_dev, target.st_ino}) {
                    emit(Input::Kind::Note, path, "symbolic-link loop back to " + ancestor + "; skipped");
                    return;
                }
        }
        if (!options_.followLinks) {
            // Inside the tree the link's target is walked under its own name.
            if (!inside(realPath(path), root_))
                emit(Input::Kind::Note, path,
                     "symbolic link leads out of the folder walked; not followed (--follow-links follows it)");
            return;
        }
        if (isFolder)
            folder(path);
        else if (S_ISREG(target.st_mode))
            emit(Input::Kind::File, path);
        else
            emit(Input::Kind::Problem, path, std::string(kindOfSpecial(target.st_mode)) + "; a walk reads regular files only");
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
        struct stat info{};
        if (argument == "-") {
            Input input;
            input.kind = Input::Kind::StandardInput;
            input.path = argument;
            visit(std::move(input));
        } else if (options.recursive && ::stat(argument.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
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
