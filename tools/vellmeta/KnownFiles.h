// SPDX-License-Identifier: Apache-2.0
// What a catalog knows of the files under a scan's roots, loaded from its
// rows before the scan: looked up for every file the walks find (a rescan of
// an unchanged card is little else), then walked for the ones not found.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include <vellmeta/Scan.h>

namespace vellmeta::cli {

struct Known {
    FileFacts facts;
    bool sameColorSpace = false; // decoded in the scan's colour space: unread while unchanged
    bool missing = false;        // marked missing by an earlier scan
};

// The rows in path order, as the catalog's index holds them. A walk asks
// for a folder's files in the same order, so each lookup first tries the
// row after the one its thread found last, and searches only when that is
// not it.
class KnownFiles {
public:
    void reserve(std::size_t count) { rows_.reserve(count); }

    Known& add(std::string_view path)
    {
        if (blocks_.empty() || kBlockSize - used_ < path.size()) {
            blocks_.push_back(std::make_unique<char[]>(std::max(kBlockSize, path.size())));
            used_ = 0;
        }
        char* copy = blocks_.back().get() + used_;
        std::memcpy(copy, path.data(), path.size());
        used_ += path.size();
        rows_.push_back({std::string_view(copy, path.size()), Known()});
        return rows_.back().known;
    }

    // Once every row is added: in path order, each path once.
    void ready()
    {
        const auto byPath = [](const Row& a, const Row& b) { return a.path < b.path; };
        if (!std::is_sorted(rows_.begin(), rows_.end(), byPath))
            std::stable_sort(rows_.begin(), rows_.end(), byPath);
        rows_.erase(std::unique(rows_.begin(), rows_.end(), [](const Row& a, const Row& b) { return a.path == b.path; }),
                    rows_.end());
        seen_ = std::make_unique<std::atomic<bool>[]>(rows_.size());
    }

    // The row of `path`, marked seen (from any thread), or nullptr.
    const Known* find(std::string_view path)
    {
        thread_local std::size_t next = 0; // only a guess: any value is safe
        std::size_t at = next;
        if (at >= rows_.size() || rows_[at].path != path) {
            const auto row = std::lower_bound(rows_.begin(), rows_.end(), path,
                                              [](const Row& r, std::string_view p) { return r.path < p; });
            if (row == rows_.end() || row->path != path)
                return nullptr;
            at = static_cast<std::size_t>(row - rows_.begin());
        }
        next = at + 1;
        seen_[at].store(true, std::memory_order_relaxed);
        return &rows_[at].known;
    }

    // Calls visit(path, known) for each row no lookup found.
    template <class Visit>
    void forEachUnseen(Visit&& visit) const
    {
        for (std::size_t i = 0; i < rows_.size(); ++i)
            if (!seen_[i].load(std::memory_order_relaxed))
                visit(rows_[i].path, rows_[i].known);
    }

private:
    struct Row {
        std::string_view path; // in blocks_
        Known known;
    };
    static constexpr std::size_t kBlockSize = std::size_t{1} << 20;
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t used_ = 0;
    std::vector<Row> rows_;
    std::unique_ptr<std::atomic<bool>[]> seen_;
};

} // namespace vellmeta::cli
