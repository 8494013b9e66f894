// SPDX-License-Identifier: Apache-2.0
#include "Catalog.h"
#include "CatalogRow.h"
#include "KnownFiles.h"
#include "Sqlite.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string_view>
#include <unordered_set>

#include <sqlite3.h>

#include <VellMetadataContainer/MetadataContainer.h>
#include <vellmeta/Catalog.h>
#include <vellmeta/System.h>

namespace vellmeta::cli {

namespace {

std::int64_t nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// The rows under a root: the root itself (a file named) and what lies below
// it (a folder walked). Two searches rather than one with OR, which would
// read each row from the table rather than from an index that covers
// `columns`.
std::string rowsUnder(const std::string& columns)
{
    return "SELECT " + columns + " FROM clips WHERE path = ?1 UNION ALL SELECT " + columns +
           " FROM clips WHERE path > ?1 || '/' AND path < ?1 || '0'";
}

class CatalogSink : public Sink {
public:
    CatalogSink(const CatalogOptions& options, std::unique_ptr<Database> db) : options_(options), db_(std::move(db))
    {
        loadKnown();
        std::string columns, values, updates;
        const auto add = [&](std::string_view name) {
            const std::string quoted = "\"" + std::string(name) + "\"";
            columns += (columns.empty() ? "" : ", ") + quoted;
            values += values.empty() ? "?" : ", ?";
            if (name != "path")
                updates += (updates.empty() ? "" : ", ") + quoted + " = excluded." + quoted;
        };
        for (std::string_view name : catalogFileColumns())
            add(name);
        for (const CatalogColumn& column : catalogFieldColumns())
            add(column.name);
        upsert_ = std::make_unique<Statement>(db_->get(), "INSERT INTO clips (" + columns + ") VALUES (" + values +
                                                              ") ON CONFLICT(path) DO UPDATE SET " + updates);
        sameFile_ = std::make_unique<Statement>(db_->get(), "SELECT path FROM clips WHERE device = ? AND inode = ? AND "
                                                                "size = ? AND modified_ns = ? AND fingerprint = ?");
        move_ = std::make_unique<Statement>(db_->get(), "UPDATE clips SET path = ? WHERE path = ?");
    }

    ~CatalogSink() override
    {
        // A run that stops early keeps the whole rows it committed.
        if (inTransaction_)
            sqlite3_exec(db_->get(), "ROLLBACK", nullptr, nullptr, nullptr);
    }

    void configure(ScanOptions& scan) override
    {
        scan.facts = true;
        // Writing a row costs about what reading and decoding its file does:
        // the two go side by side.
        scan.readAhead = true;
        // The workers look the rows loaded at start up; the sink marks them
        // seen, a member they do not read.
        scan.known = [this](const std::string& path) -> const FileFacts* {
            const Known* row = known_.find(path);
            return row != nullptr && row->sameColorSpace && !row->missing ? &row->facts : nullptr;
        };
    }

    void prepare(Scanned& input) const override { encodeRow(input, input.entry); }

    void begin(Output&) override
    {
        write([&] {
            Statement scan(db_->get(), "INSERT INTO scans (started_ns, color_space) VALUES (?, ?)");
            scan.bind(1, started_);
            scan.bind(2, std::string_view(options_.colorSpace));
            scan.run();
            scanId_ = sqlite3_last_insert_rowid(db_->get());
            Statement root(db_->get(), "INSERT INTO scan_roots (scan, root) VALUES (?, ?)");
            for (const std::string& path : options_.roots) {
                root.bind(1, scanId_);
                root.bind(2, std::string_view(path));
                root.run();
            }
            Statement version(db_->get(), "INSERT OR REPLACE INTO catalog (key, value) VALUES ('library_version', ?)");
            version.bind(1, std::string_view(Vmc::VellMetadataContainer::VellMetadataContainerVersion().versionString));
            version.run();
        });
        commit();
    }

    void take(Output& output, Scanned& input) override
    {
        if (failed_)
            return;
        try {
            if (input.kind == Scanned::Kind::Unchanged) {
                ++unchanged_;
                return;
            }
            store(input);
            if (input.clip.isError) {
                ++failedToDecode_;
                status_ = kHeaderFailed;
            }
        } catch (const Failure& failure) {
            fail(output, failure);
        }
    }

    int end(Output& output, bool) override
    {
        if (!failed_) {
            try {
                markMissing();
                write([&] {
                    Statement finished(db_->get(), "UPDATE scans SET finished_ns = ? WHERE id = ?");
                    finished.bind(1, nowNs());
                    finished.bind(2, scanId_);
                    finished.run();
                });
                commit();
            } catch (const Failure& failure) {
                fail(output, failure);
            }
        }
        if (failed_)
            return kUnusable;
        std::string summary = options_.path + ": " + std::to_string(added_) + " added, " + std::to_string(updated_) +
                              " updated, " + std::to_string(moved_) + " moved, " + std::to_string(unchanged_) +
                              " unchanged, " + std::to_string(failedToDecode_) + " failed to decode, " +
                              std::to_string(missing_) + " missing";
        if (options_.prune)
            summary += ", " + std::to_string(pruned_) + " pruned";
        output.message(summary);
        return status_;
    }

private:
    static constexpr int kRowsPerTransaction = 256;
    static constexpr std::int64_t kNsPerTransaction = 500000000; // half a second

    // The rows under the roots, for the scan to leave unchanged files unread
    // and for the end to find what is missing.
    void loadKnown()
    {
        Statement count(db_->get(), "SELECT count(*) FROM (" + rowsUnder("path") + ")");
        std::size_t rowCount = 0;
        for (const std::string& root : options_.roots) {
            count.bind(1, std::string_view(root));
            if (count.step())
                rowCount += static_cast<std::size_t>(count.integer(0));
            count.reset();
        }
        known_.reserve(rowCount);
        Statement rows(db_->get(), rowsUnder("path, device, inode, size, modified_ns, color_space = ?2, missing"));
        for (const std::string& root : options_.roots) {
            rows.bind(1, std::string_view(root));
            rows.bind(2, std::string_view(options_.colorSpace));
            while (rows.step()) {
                Known& known = known_.add(rows.textView(0));
                known.facts.device = static_cast<std::uint64_t>(rows.integer(1));
                known.facts.inode = static_cast<std::uint64_t>(rows.integer(2));
                known.facts.size = static_cast<std::uint64_t>(rows.integer(3));
                known.facts.modifiedNs = rows.integer(4);
                known.sameColorSpace = rows.integer(5) != 0;
                known.missing = rows.integer(6) != 0;
            }
            rows.reset();
        }
        known_.ready();
    }

    // Runs `work` inside the current write transaction, beginning one when
    // there is none.
    template <class Work>
    void write(Work&& work)
    {
        if (!inTransaction_) {
            db_->exec("BEGIN IMMEDIATE");
            inTransaction_ = true;
            transactionStarted_ = nowNs();
            rowsInTransaction_ = 0;
        }
        work();
    }

    void commit()
    {
        if (inTransaction_) {
            db_->exec("COMMIT");
            inTransaction_ = false;
        }
    }

    // Whole rows reach the disk in batches: a transaction ends after a few
    // hundred rows or half a second, so that a run stopped at any moment
    // keeps what it committed and another scan of the catalog is not kept
    // waiting long.
    void rowWritten()
    {
        if (++rowsInTransaction_ >= kRowsPerTransaction || nowNs() - transactionStarted_ >= kNsPerTransaction)
            commit();
    }

    void store(const Scanned& input)
    {
        if (input.entry.empty())
            encodeRow(input, row_);
        RowReader row(input.entry.empty() ? row_ : input.entry);
        const std::string_view fingerprint = row.fingerprint();
        const Known* known = known_.find(input.path);
        write([&] {
            if (known != nullptr) {
                ++updated_;
            } else if (const std::string from = movedFrom(input, fingerprint); !from.empty()) {
                move_->bind(1, std::string_view(input.path));
                move_->bind(2, std::string_view(from));
                move_->run();
                movedFrom_.insert(from);
                ++moved_;
            } else {
                ++added_;
            }
            bindRow(input, fingerprint, row);
            upsert_->run();
        });
        rowWritten();
    }

    // The path of a row whose file this is, moved on the same disk: the same
    // device, inode, size, modification time and header, at a path where
    // that file no longer is.
    std::string movedFrom(const Scanned& input, std::string_view fingerprint)
    {
        if (!input.hasFacts)
            return {};
        Statement& same = *sameFile_;
        same.bind(1, static_cast<std::int64_t>(input.facts.device));
        same.bind(2, static_cast<std::int64_t>(input.facts.inode));
        same.bind(3, static_cast<std::int64_t>(input.facts.size));
        same.bind(4, input.facts.modifiedNs);
        same.bind(5, fingerprint);
        while (same.step()) {
            const std::string path = same.text(0);
            FileFacts there;
            const bool stillThere = fileFacts(path, there) && there.inode == input.facts.inode &&
                                    there.device == input.facts.device;
            if (path != input.path && !stillThere) {
                same.reset();
                return path;
            }
        }
        same.reset();
        return {};
    }

    // Binds the row of `input`; the texts are bound where they are, in
    // `input` and its entry, which outlive the run.
    void bindRow(const Scanned& input, std::string_view fingerprint, RowReader& row)
    {
        Statement& s = *upsert_;
        int at = 1;
        const auto fact = [&](std::uint64_t value) {
            if (input.hasFacts)
                s.bind(at, static_cast<std::int64_t>(value));
            else
                s.bindNull(at);
            ++at;
        };
        s.bindInPlace(at++, input.path);
        fact(input.facts.device);
        fact(input.facts.inode);
        fact(input.facts.size);
        fact(static_cast<std::uint64_t>(input.facts.modifiedNs));
        s.bindInPlace(at++, fingerprint);
        s.bind(at++, nowNs());
        s.bindInPlace(at++, options_.colorSpace);
        s.bind(at++, std::int64_t{input.clip.isError ? 1 : 0});
        s.bind(at++, std::int64_t{input.clip.code});
        s.bindInPlace(at++, input.clip.message);
        s.bind(at++, std::int64_t{0}); // not missing
        s.bind(at++, started_);        // seen by this scan
        for (std::size_t column = 0, columns = catalogFieldColumns().size(); column < columns; ++column, ++at) {
            switch (row.kind()) {
            case CatalogValue::Kind::Null: s.bindNull(at); break;
            case CatalogValue::Kind::Integer: s.bind(at, row.integer()); break;
            case CatalogValue::Kind::Real: s.bind(at, row.real()); break;
            case CatalogValue::Kind::Text: s.bindInPlace(at, row.text()); break;
            }
        }
    }

    // Rows under the roots that this scan did not find are kept and marked
    // missing, with when a scan last saw them: the start of the last
    // finished scan before this one whose roots held them, if that is later
    // than the row's own time. With --prune they are deleted instead.
    void markMissing()
    {
        Statement lastScan(db_->get(), "SELECT max(s.started_ns) FROM scans s JOIN scan_roots r ON r.scan = s.id "
                                       "WHERE s.finished_ns IS NOT NULL AND s.id <> ?1 AND "
                                       "(?2 = r.root OR (?2 > r.root || '/' AND ?2 < r.root || '0'))");
        Statement mark(db_->get(), "UPDATE clips SET missing = 1, last_seen_ns = max(coalesce(last_seen_ns, 0), "
                                   "coalesce(?, 0)) WHERE path = ?");
        Statement prune(db_->get(), "DELETE FROM clips WHERE path = ?");
        known_.forEachUnseen([&](std::string_view path, const Known& known) {
            if (movedFrom_.count(std::string(path)) != 0)
                return;
            write([&] {
                if (options_.prune) {
                    prune.bind(1, path);
                    prune.run();
                    ++pruned_;
                    return;
                }
                ++missing_;
                if (known.missing)
                    return;
                lastScan.bind(1, scanId_);
                lastScan.bind(2, path);
                const std::int64_t lastSeen = lastScan.step() ? lastScan.integer(0) : 0;
                lastScan.reset();
                mark.bind(1, lastSeen);
                mark.bind(2, path);
                mark.run();
            });
            rowWritten();
        });
    }

    void fail(Output& output, const Failure& failure)
    {
        if (inTransaction_) {
            sqlite3_exec(db_->get(), "ROLLBACK", nullptr, nullptr, nullptr);
            inTransaction_ = false;
        }
        failed_ = true;
        output.message(options_.path, std::string("catalog: ") + failure.what());
    }

    CatalogOptions options_;
    std::unique_ptr<Database> db_;
    std::unique_ptr<Statement> upsert_;
    std::unique_ptr<Statement> sameFile_;
    std::unique_ptr<Statement> move_;
    std::string row_; // a clip's row when no worker made it
    KnownFiles known_;
    std::unordered_set<std::string> movedFrom_;
    const std::int64_t started_ = nowNs();
    std::int64_t scanId_ = 0;
    bool inTransaction_ = false;
    std::int64_t transactionStarted_ = 0;
    int rowsInTransaction_ = 0;
    bool failed_ = false;
    int status_ = kAllDecoded;
    std::uint64_t added_ = 0, updated_ = 0, moved_ = 0, unchanged_ = 0, failedToDecode_ = 0, missing_ = 0,
                  pruned_ = 0;
};

// Brings a catalog to kCatalogSchemaVersion, in one transaction: a new
// database (version 0) gets the whole schema. A later schema version adds
// its step here.
void migrate(Database& db)
{
    db.exec("BEGIN IMMEDIATE");
    try {
        // Read again inside the transaction: another scan may have just done it.
        const std::int64_t version = queryInteger(db.get(), "PRAGMA user_version");
        if (version == 0) {
            db.exec(catalogSchema().c_str());
            Statement versions(db.get(), "INSERT INTO catalog (key, value) VALUES ('schema_version', ?)");
            versions.bind(1, std::string_view(std::to_string(kCatalogSchemaVersion)));
            versions.run();
        }
        db.exec("COMMIT");
    } catch (...) {
        sqlite3_exec(db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

// Makes the file a catalog of kCatalogSchemaVersion, or says why it is not
// one: "" when it is.
std::string setUp(Database& db)
{
    // What the file is, read in one snapshot (another scan may be creating
    // the catalog) and before anything is written to it.
    db.exec("BEGIN");
    const std::int64_t version = queryInteger(db.get(), "PRAGMA user_version");
    const std::int64_t tables = queryInteger(db.get(), "SELECT count(*) FROM sqlite_schema");
    db.exec("COMMIT");
    if (version > kCatalogSchemaVersion)
        return "catalog schema version " + std::to_string(version) + " is newer than this vellmeta's (" +
               std::to_string(kCatalogSchemaVersion) + "); use a newer vellmeta";
    if (version == 0 && tables > 0)
        return "is a SQLite database, but not a vellmeta catalog";
    // A new catalog's page size is set before its first page is written.
    if (version == 0)
        db.exec(("PRAGMA page_size = " + std::to_string(kCatalogPageSize)).c_str());
    // Readers never block the writer, nor the writer them.
    db.exec("PRAGMA journal_mode = WAL");
    db.exec("PRAGMA synchronous = NORMAL");
    if (version < kCatalogSchemaVersion)
        migrate(db);
    return {};
}

} // namespace

std::unique_ptr<Sink> catalogSink(const CatalogOptions& options, std::string& problem)
{
    const PathKind kind = pathKind(options.path);
    if (kind == PathKind::Folder) {
        problem = "is a directory, not a catalog";
        return nullptr;
    }
    if (kind == PathKind::Other) {
        problem = "is not a regular file, not a catalog";
        return nullptr;
    }
    bool existed = kind == PathKind::File;
    // A catalog this run creates, and only one it creates, is removed when
    // it cannot be set up; another scan may have created it a moment ago.
    bool createdHere = false;
    if (!existed) {
        const NewFile made = createNewFile(options.path);
        createdHere = made == NewFile::Created;
        existed = made != NewFile::Failed;
    }
    auto db = std::make_unique<Database>();
    try {
        const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (existed ? 0 : SQLITE_OPEN_CREATE);
        if (sqlite3_open_v2(options.path.c_str(), db->out(), flags, nullptr) != SQLITE_OK)
            throw Failure(db->get());
        if (sqlite3_db_readonly(db->get(), "main") == 1) {
            problem = "catalog is read-only";
            return nullptr;
        }
        // A second scan of the same catalog waits for the first's batch.
        sqlite3_busy_timeout(db->get(), 60000);
        // Two scans setting up one new catalog at once can each hold a lock
        // the other needs to change the journal mode, which SQLite does not
        // wait for: the one told so starts again, for as long as it would
        // wait for a batch.
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        for (;;) {
            try {
                problem = setUp(*db);
                break;
            } catch (const Failure& failure) {
                if (failure.code() != SQLITE_BUSY || std::chrono::steady_clock::now() > giveUp)
                    throw;
                sqlite3_exec(db->get(), "ROLLBACK", nullptr, nullptr, nullptr);
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        }
        if (!problem.empty())
            return nullptr;
        return std::make_unique<CatalogSink>(options, std::move(db));
    } catch (const Failure& failure) {
        problem = failure.code() == SQLITE_NOTADB ? "is not a SQLite database" : std::string("catalog: ") + failure.what();
        if (createdHere) {
            db.reset();
            for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
                std::error_code ignored; // what is not there needs no removing
                std::filesystem::remove(std::filesystem::u8path(options.path + suffix), ignored);
            }
        }
        return nullptr;
    }
}

} // namespace vellmeta::cli
