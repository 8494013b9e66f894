// SPDX-License-Identifier: Apache-2.0
#include "Catalog.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include <sqlite3.h>
#include <sys/stat.h>

#include <VellMetadataContainer/MetadataContainer.h>
#include <vellmeta/Catalog.h>

namespace vellmeta::cli {

namespace {

// What SQLite says went wrong, with what the system said where it said it.
class Failure : public std::runtime_error {
public:
    explicit Failure(sqlite3* db) : std::runtime_error(describe(db)) {}

private:
    static std::string describe(sqlite3* db)
    {
        std::string text = sqlite3_errmsg(db);
        const int system = sqlite3_system_errno(db);
        if (system != 0 && sqlite3_errcode(db) != SQLITE_NOTADB)
            text += std::string(" (") + std::strerror(system) + ")";
        return text;
    }
};

std::int64_t nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

class Database {
public:
    Database() = default;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database() { sqlite3_close_v2(db_); }

    sqlite3** out() { return &db_; }
    sqlite3* get() const { return db_; }

    void exec(const char* sql)
    {
        if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            throw Failure(db_);
    }

private:
    sqlite3* db_ = nullptr;
};

class Statement {
public:
    Statement(sqlite3* db, std::string_view sql) : db_(db)
    {
        if (sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT, &statement_,
                               nullptr) != SQLITE_OK)
            throw Failure(db);
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement() { sqlite3_finalize(statement_); }

    void bind(int at, std::int64_t value) { check(sqlite3_bind_int64(statement_, at, value)); }
    void bind(int at, double value) { check(sqlite3_bind_double(statement_, at, value)); }
    void bind(int at, std::string_view text)
    {
        check(sqlite3_bind_text(statement_, at, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT));
    }
    // A text that stays where it is until the statement has run: not copied.
    void bindInPlace(int at, std::string_view text)
    {
        check(sqlite3_bind_text(statement_, at, text.data(), static_cast<int>(text.size()), SQLITE_STATIC));
    }
    void bindNull(int at) { check(sqlite3_bind_null(statement_, at)); }

    // The next row, or false when there is none.
    bool step()
    {
        const int rc = sqlite3_step(statement_);
        if (rc == SQLITE_ROW)
            return true;
        if (rc != SQLITE_DONE) {
            sqlite3_reset(statement_);
            throw Failure(db_);
        }
        return false;
    }
    void run()
    {
        step();
        reset();
    }
    // Ready to run again; each run binds all its parameters anew.
    void reset() { sqlite3_reset(statement_); }

    std::int64_t integer(int column) const { return sqlite3_column_int64(statement_, column); }
    std::string text(int column) const
    {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
        return text != nullptr ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)))
                               : std::string();
    }

private:
    void check(int rc)
    {
        if (rc != SQLITE_OK)
            throw Failure(db_);
    }

    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
};

std::int64_t queryInteger(sqlite3* db, const char* sql)
{
    Statement statement(db, sql);
    return statement.step() ? statement.integer(0) : 0;
}

// What the catalog knows of a file, from its row, and whether this scan
// found it.
struct Known {
    FileFacts facts;
    bool sameColorSpace = false; // decoded in this scan's colour space: unread while unchanged
    bool missing = false;
    bool seen = false;
};

// The paths of rows under a root: the root itself (a file named) and what
// lies below it (a folder walked).
std::string rowsUnder(const char* columns)
{
    return std::string("SELECT ") + columns + " FROM clips WHERE path = ?1 OR (path > ?1 || '/' AND path < ?1 || '0')";
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
        // The workers look the rows loaded at start up; the sink marks them
        // seen, a member they do not read.
        scan.known = [this](const std::string& path) -> const FileFacts* {
            const auto row = known_.find(path);
            return row != known_.end() && row->second.sameColorSpace && !row->second.missing ? &row->second.facts
                                                                                              : nullptr;
        };
    }

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
                known_.find(input.path)->second.seen = true;
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
        Statement rows(db_->get(), rowsUnder("path, device, inode, size, modified_ns, color_space = ?2, missing"));
        for (const std::string& root : options_.roots) {
            rows.bind(1, std::string_view(root));
            rows.bind(2, std::string_view(options_.colorSpace));
            while (rows.step()) {
                Known known;
                known.facts.device = static_cast<std::uint64_t>(rows.integer(1));
                known.facts.inode = static_cast<std::uint64_t>(rows.integer(2));
                known.facts.size = static_cast<std::uint64_t>(rows.integer(3));
                known.facts.modifiedNs = rows.integer(4);
                known.sameColorSpace = rows.integer(5) != 0;
                known.missing = rows.integer(6) != 0;
                known_.emplace(rows.text(0), known);
            }
            rows.reset();
        }
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
        const std::string fingerprint = headerFingerprint(input.header.data());
        const auto row = known_.find(input.path);
        write([&] {
            if (row != known_.end()) {
                row->second.seen = true;
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
            bindRow(input, fingerprint);
            upsert_->run();
        });
        rowWritten();
    }

    // The path of a row whose file this is, moved on the same disk: the same
    // device, inode, size, modification time and header, at a path where
    // that file no longer is.
    std::string movedFrom(const Scanned& input, const std::string& fingerprint)
    {
        if (!input.hasFacts)
            return {};
        Statement& same = *sameFile_;
        same.bind(1, static_cast<std::int64_t>(input.facts.device));
        same.bind(2, static_cast<std::int64_t>(input.facts.inode));
        same.bind(3, static_cast<std::int64_t>(input.facts.size));
        same.bind(4, input.facts.modifiedNs);
        same.bind(5, std::string_view(fingerprint));
        while (same.step()) {
            const std::string path = same.text(0);
            struct stat info{};
            const bool stillThere = ::stat(path.c_str(), &info) == 0 &&
                                    static_cast<std::uint64_t>(info.st_ino) == input.facts.inode &&
                                    static_cast<std::uint64_t>(info.st_dev) == input.facts.device;
            if (path != input.path && !stillThere) {
                same.reset();
                return path;
            }
        }
        same.reset();
        return {};
    }

    // Binds the row of `input`; the texts are bound where they are, in
    // `input`, `fingerprint` and values_, which all outlive the run.
    void bindRow(const Scanned& input, const std::string& fingerprint)
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
        catalogFieldValues(input.clip.container, values_);
        for (const CatalogValue& value : values_) {
            switch (value.kind) {
            case CatalogValue::Kind::Null: s.bindNull(at); break;
            case CatalogValue::Kind::Integer: s.bind(at, value.integer); break;
            case CatalogValue::Kind::Real: s.bind(at, value.real); break;
            case CatalogValue::Kind::Text: s.bindInPlace(at, value.text); break;
            }
            ++at;
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
        for (const auto& [path, known] : known_) {
            if (known.seen || movedFrom_.count(path) != 0)
                continue;
            write([&] {
                if (options_.prune) {
                    prune.bind(1, std::string_view(path));
                    prune.run();
                    ++pruned_;
                    return;
                }
                ++missing_;
                if (known.missing)
                    return;
                lastScan.bind(1, scanId_);
                lastScan.bind(2, std::string_view(path));
                const std::int64_t lastSeen = lastScan.step() ? lastScan.integer(0) : 0;
                lastScan.reset();
                mark.bind(1, lastSeen);
                mark.bind(2, std::string_view(path));
                mark.run();
            });
            rowWritten();
        }
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
    std::vector<CatalogValue> values_; // the row being written
    std::unordered_map<std::string, Known> known_;
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

} // namespace

std::unique_ptr<Sink> catalogSink(const CatalogOptions& options, std::string& problem)
{
    struct stat info{};
    const bool existed = ::stat(options.path.c_str(), &info) == 0;
    if (existed && S_ISDIR(info.st_mode)) {
        problem = "is a directory, not a catalog";
        return nullptr;
    }
    if (existed && !S_ISREG(info.st_mode)) {
        problem = "is not a regular file, not a catalog";
        return nullptr;
    }
    auto db = std::make_unique<Database>();
    // A catalog this run creates and cannot finish setting up is removed.
    const auto removeNew = [&] {
        if (!existed) {
            db.reset();
            for (const char* suffix : {"", "-wal", "-shm", "-journal"})
                std::remove((options.path + suffix).c_str());
        }
    };
    try {
        if (sqlite3_open_v2(options.path.c_str(), db->out(), SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_READWRITE | (existed ? 0 : SQLITE_OPEN_CREATE),
                            nullptr) != SQLITE_OK)
            throw Failure(db->get());
        if (sqlite3_db_readonly(db->get(), "main") == 1) {
            problem = "catalog is read-only";
            return nullptr;
        }
        // A second scan of the same catalog waits for the first's batch.
        sqlite3_busy_timeout(db->get(), 60000);
        // What the file is, read in one snapshot (another scan may be
        // creating the catalog) and before anything is written to it.
        db->exec("BEGIN");
        const std::int64_t version = queryInteger(db->get(), "PRAGMA user_version");
        const std::int64_t tables = queryInteger(db->get(), "SELECT count(*) FROM sqlite_schema");
        db->exec("COMMIT");
        if (version > kCatalogSchemaVersion) {
            problem = "catalog schema version " + std::to_string(version) + " is newer than this vellmeta's (" +
                      std::to_string(kCatalogSchemaVersion) + "); use a newer vellmeta";
            return nullptr;
        }
        if (version == 0 && tables > 0) {
            problem = "is a SQLite database, but not a vellmeta catalog";
            return nullptr;
        }
        // Readers never block the writer, nor the writer them.
        db->exec("PRAGMA journal_mode = WAL");
        db->exec("PRAGMA synchronous = NORMAL");
        if (version < kCatalogSchemaVersion)
            migrate(*db);
        return std::make_unique<CatalogSink>(options, std::move(db));
    } catch (const Failure& failure) {
        problem = std::string("catalog: ") + failure.what();
        if (sqlite3_errcode(db->get()) == SQLITE_NOTADB)
            problem = "is not a SQLite database";
        removeNew();
        return nullptr;
    }
}

} // namespace vellmeta::cli
