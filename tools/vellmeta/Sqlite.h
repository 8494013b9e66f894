// SPDX-License-Identifier: Apache-2.0
// A SQLite connection and its statements, for the catalog: failures are
// thrown as Failure with SQLite's message and the system's reason.
#pragma once

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>

#include <sqlite3.h>

namespace vellmeta::cli {

// What SQLite says went wrong, with what the system said where it said it.
class Failure : public std::runtime_error {
public:
    explicit Failure(sqlite3* db) : std::runtime_error(describe(db)), code_(sqlite3_errcode(db)) {}

    // SQLite's primary result code: SQLITE_BUSY, SQLITE_NOTADB, ...
    int code() const { return code_; }

private:
    static std::string describe(sqlite3* db)
    {
        std::string text = sqlite3_errmsg(db);
        const int system = sqlite3_system_errno(db);
        if (system != 0 && sqlite3_errcode(db) != SQLITE_NOTADB)
            text += std::string(" (") + std::strerror(system) + ")";
        return text;
    }

    int code_;
};

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
    // A column's text, valid until the next step or reset.
    std::string_view textView(int column) const
    {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
        return text != nullptr ? std::string_view(text, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)))
                               : std::string_view();
    }
    std::string text(int column) const { return std::string(textView(column)); }

private:
    void check(int rc)
    {
        if (rc != SQLITE_OK)
            throw Failure(db_);
    }

    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
};

inline std::int64_t queryInteger(sqlite3* db, const char* sql)
{
    Statement statement(db, sql);
    return statement.step() ? statement.integer(0) : 0;
}

} // namespace vellmeta::cli
