// SPDX-License-Identifier: Apache-2.0
// vellmeta --catalog end to end, on real SQLite files on disk: rescans that
// read only what changed, moves, missing files and pruning, every bad catalog
// refused with the file untouched, a run killed at any moment, and two runs
// writing one catalog at once.
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "ToolRun.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

using namespace vellmeta::testing;

// The rows of a catalog's clips table, path to the other columns' texts,
// leaving out when each was scanned and seen; or the integrity check.
class Catalog {
public:
    // Opened for writing, never created: a run killed while it switched a
    // new catalog to write-ahead logging leaves a rollback journal, which
    // SQLite plays back on the next opening that may write, as the next
    // scan's does, and refuses to a read-only one.
    explicit Catalog(const fs::path& path)
    {
        EXPECT_EQ(sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK) << path;
    }
    ~Catalog() { sqlite3_close_v2(db_); }

    std::vector<std::vector<std::string>> query(const std::string& sql)
    {
        sqlite3_stmt* statement = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr), SQLITE_OK) << sqlite3_errmsg(db_);
        std::vector<std::vector<std::string>> rows;
        while (statement != nullptr && sqlite3_step(statement) == SQLITE_ROW) {
            std::vector<std::string> row;
            for (int i = 0; i < sqlite3_column_count(statement); ++i) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
                row.emplace_back(text != nullptr ? text : "NULL");
            }
            rows.push_back(std::move(row));
        }
        sqlite3_finalize(statement);
        return rows;
    }

    std::map<std::string, std::vector<std::string>> clips()
    {
        std::map<std::string, std::vector<std::string>> rows;
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db_, "SELECT * FROM clips", -1, &statement, nullptr);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            std::vector<std::string> row;
            for (int i = 1; i < sqlite3_column_count(statement); ++i) {
                const std::string name = sqlite3_column_name(statement, i);
                if (name == "scanned_ns" || name == "last_seen_ns")
                    continue;
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
                row.emplace_back(text != nullptr ? text : "NULL");
            }
            rows[reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))] = row;
        }
        sqlite3_finalize(statement);
        return rows;
    }

    std::string one(const std::string& sql)
    {
        const auto rows = query(sql);
        return rows.empty() || rows[0].empty() ? "" : rows[0][0];
    }

private:
    sqlite3* db_ = nullptr;
};

class CatalogRun : public ScratchTest {
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        ::setenv("VELLMETA", toolUnderTest(), 1);
    }

    Outcome run(const std::string& commandLine)
    {
        return runShell("cd " + quoted(dir_.string()) + " && { " + commandLine + "; }", dir_);
    }

    // `count` distinct clips in `folder`: the samples, each copy with one
    // byte of its own.
    void writeClips(const fs::path& folder, int count, int seed = 0)
    {
        const char* const names[] = {"corva-compact", "corva-stage", "corva-nx-r-by-serial", "k40-older-camera"};
        fs::create_directories(dir_ / folder);
        for (int i = 0; i < count; ++i) {
            std::string image = slurp(sample(names[i % 4]));
            image[1500 + static_cast<std::size_t>((i + seed) % 32)] = static_cast<char>(i / 4 + seed); // a production text
            char name[32];
            std::snprintf(name, sizeof name, "C%05d.vellraw", i);
            std::ofstream(dir_ / folder / name, std::ios::binary)
                .write(image.data(), static_cast<std::streamsize>(image.size()));
        }
    }
};

TEST_F(CatalogRun, RescansReadOnlyWhatChangedAndKeepWhatIsGone)
{
    writeClips("card/A001", 6);
    writeClips("card/B001", 3, 7);
    const Outcome first = run("$VELLMETA --catalog cat.db -r card");
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, "");
    EXPECT_EQ(first.err, "vellmeta: cat.db: 9 added, 0 updated, 0 moved, 0 unchanged, 0 failed to decode, 0 missing\n");

    // One file changed, one added, a folder moved on the same disk, one removed.
    std::ofstream(dir_ / "card/A001/C00000.vellraw", std::ios::binary | std::ios::in | std::ios::out).put('\x01');
    fs::copy_file(sample("corva-stage"), dir_ / "card/A001/new.vellraw");
    fs::rename(dir_ / "card/B001", dir_ / "card/B002");
    fs::remove(dir_ / "card/A001/C00001.vellraw");
    const Outcome again = run("$VELLMETA --catalog cat.db -j 3 -r ./card/");
    EXPECT_EQ(again.err, "vellmeta: cat.db: 1 added, 1 updated, 3 moved, 4 unchanged, 0 failed to decode, 1 missing\n");
    Catalog catalog(dir_ / "cat.db");
    // Rows are keyed by the host's absolute path, with '/' between names:
    // "/tmp/…/card/" for this build's tool, "Z:/tmp/…/card/" for the Windows
    // tool under Wine, whose drive Z: is the Unix root.
    const std::string root = (std::string(toolUnderTest()) == VELLMETA_EXE ? "" : "Z:") +
                             fs::canonical(dir_).generic_string() + "/card/";
    EXPECT_EQ(catalog.one("SELECT count(*) FROM clips WHERE path LIKE '" + root + "%'"), "10");
    EXPECT_EQ(catalog.one("SELECT count(*) FROM clips"), "10");
    EXPECT_EQ(catalog.one("SELECT missing FROM clips WHERE path = '" + root + "A001/C00001.vellraw'"), "1");
    EXPECT_EQ(catalog.one("SELECT last_seen_ns = (SELECT started_ns FROM scans WHERE id = 1) FROM clips "
                          "WHERE path = '" + root + "A001/C00001.vellraw'"),
              "1")
        << "last seen by the first scan";
    EXPECT_EQ(catalog.one("SELECT count(*) FROM clips WHERE path LIKE '" + root + "B002/%' AND missing = 0"), "3");
    EXPECT_EQ(catalog.one("SELECT cameraModel FROM clips WHERE path = '" + root + "A001/new.vellraw'"), "CORVA Stage");
    EXPECT_EQ(catalog.one("SELECT \"Model\" FROM clip_report WHERE \"Path\" = '" + root + "A001/new.vellraw'"),
              "CORVA Stage");
    EXPECT_EQ(catalog.one("PRAGMA integrity_check"), "ok");

    // Pruning deletes the missing rows under the paths given, and only there.
    writeClips("elsewhere", 2);
    run("$VELLMETA --catalog cat.db -r elsewhere");
    fs::remove_all(dir_ / "elsewhere");
    const Outcome pruned = run("$VELLMETA --catalog cat.db --prune -r card");
    EXPECT_NE(pruned.err.find(", 1 pruned"), std::string::npos) << pruned.err;
    EXPECT_EQ(Catalog(dir_ / "cat.db").one("SELECT count(*) FROM clips"), "11");
}

TEST_F(CatalogRun, BadCatalogsAreRefusedAndLeftUntouched)
{
    writeClips("card", 2);
    fs::create_directory(dir_ / "folder.db");
    std::ofstream(dir_ / "notes.db") << "not a database, and it stays as it is\n";
    run("sqlite3 newer.db 'PRAGMA user_version = 99; CREATE TABLE t (x);'");
    run("sqlite3 other.db 'CREATE TABLE t (x);'");
    const std::string newer = slurp(dir_ / "newer.db");
    const struct {
        const char* catalog;
        const char* message;
    } cases[] = {
        {"folder.db", "vellmeta: folder.db: is a directory, not a catalog\n"},
        {"notes.db", "vellmeta: notes.db: is not a SQLite database\n"},
        {"newer.db", "vellmeta: newer.db: catalog schema version 99 is newer than this vellmeta's (1); use a newer vellmeta\n"},
        {"other.db", "vellmeta: other.db: is a SQLite database, but not a vellmeta catalog\n"},
        {"no/such/folder/cat.db", "vellmeta: no/such/folder/cat.db: catalog: unable to open database file"},
    };
    for (const auto& c : cases) {
        const Outcome r = run(std::string("$VELLMETA --catalog ") + c.catalog + " -r card");
        EXPECT_EQ(r.status, 2) << c.catalog;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.substr(0, std::string(c.message).size()), c.message);
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    EXPECT_EQ(slurp(dir_ / "notes.db"), "not a database, and it stays as it is\n");
    EXPECT_EQ(slurp(dir_ / "newer.db"), newer);
    EXPECT_FALSE(fs::exists(dir_ / "notes.db-wal"));

    // An empty database is a catalog of version 0: made current in one
    // transaction.
    run("sqlite3 empty.db 'PRAGMA user_version = 0;'");
    const Outcome migrated = run("$VELLMETA --catalog empty.db -r card");
    EXPECT_EQ(migrated.status, 0) << migrated.err;
    Catalog empty(dir_ / "empty.db");
    EXPECT_EQ(empty.one("PRAGMA user_version"), "1");
    EXPECT_EQ(empty.one("SELECT value FROM catalog WHERE key = 'schema_version'"), "1");
}

// A catalog that cannot take a write fails the run with one message, and
// keeps the whole rows it had.
TEST_F(CatalogRun, UnwritableCatalogsFailWithOneMessage)
{
    writeClips("card", 2);

    // A full disk, as a limit on the size of files.
    run("$VELLMETA --catalog full.db -r card");
    writeClips("more", 400);
    const Outcome full = run("trap '' XFSZ; ulimit -f 200; $VELLMETA --catalog full.db -r more");
    EXPECT_EQ(full.status, 2) << full.err;
    EXPECT_EQ(full.err.substr(0, 28), "vellmeta: full.db: catalog: ") << full.err;
    EXPECT_EQ(std::count(full.err.begin(), full.err.end(), '\n'), 1) << full.err;
    Catalog kept(dir_ / "full.db");
    EXPECT_EQ(kept.one("PRAGMA integrity_check"), "ok");
    EXPECT_EQ(kept.one("SELECT count(*) FROM clips WHERE path LIKE '%/card/%'"), "2");

    // A catalog the user may not write: run as nobody when the tests run as
    // root, whom permissions do not stop.
    run("$VELLMETA --catalog locked.db -r card && chmod 444 locked.db && chmod 555 .");
    const std::string asUser = ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    const Outcome locked = run(asUser + "$VELLMETA --catalog locked.db -r card");
    run("chmod 755 .");
    EXPECT_EQ(locked.status, 2);
    EXPECT_EQ(locked.err, "vellmeta: locked.db: catalog is read-only\n");
}

// Killed at any moment of a scan, a catalog holds whole rows only, each as a
// complete scan writes it; the next scan completes it. Two scans of one
// catalog at once both finish, losing nothing.
TEST_F(CatalogRun, KilledRunsKeepWholeRowsAndTwoWritersBothFinish)
{
    writeClips("card", 3000);
    ASSERT_EQ(run("$VELLMETA --catalog clean.db -r card").status, 0);
    auto clean = Catalog(dir_ / "clean.db").clips();
    ASSERT_EQ(clean.size(), 3000u);

    std::mt19937 random(2480);
    const std::string catalog = (dir_ / "killed.db").string();
    const std::string card = (dir_ / "card").string();
    for (int attempt = 0; attempt < 6; ++attempt) {
        const char* argv[] = {toolUnderTest(), "--catalog", catalog.c_str(), "-r", card.c_str(), nullptr};
        pid_t child = 0;
        posix_spawn_file_actions_t quiet;
        posix_spawn_file_actions_init(&quiet);
        posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
        ASSERT_EQ(posix_spawn(&child, argv[0], &quiet, nullptr, const_cast<char**>(argv), environ), 0);
        posix_spawn_file_actions_destroy(&quiet);
        std::this_thread::sleep_for(std::chrono::milliseconds(5 + random() % 150));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);

        if (!fs::exists(catalog))
            continue; // killed before it made the catalog
        Catalog killed(catalog);
        ASSERT_EQ(killed.one("PRAGMA integrity_check"), "ok") << "attempt " << attempt;
        if (killed.one("SELECT count(*) FROM sqlite_schema WHERE name = 'clips'") == "0")
            continue; // killed before its schema was committed: a catalog with nothing in it yet
        for (const auto& [path, row] : killed.clips())
            ASSERT_EQ(row, clean.at(path)) << path;
    }
    const Outcome finished = run("$VELLMETA --catalog killed.db -r card");
    EXPECT_EQ(finished.status, 0) << finished.err;
    EXPECT_EQ(Catalog(catalog).clips(), clean);

    writeClips("other", 1500, 5);
    const Outcome both = run("$VELLMETA --catalog two.db -r card 2>one.err & first=$!; "
                             "$VELLMETA --catalog two.db -r other 2>two.err; second=$?; wait $first && "
                             "[ $second -eq 0 ] && cat one.err two.err");
    EXPECT_EQ(both.status, 0) << slurp(dir_ / "one.err") << slurp(dir_ / "two.err");
    EXPECT_EQ(both.out.find("locked"), std::string::npos) << both.out;
    Catalog two(dir_ / "two.db");
    EXPECT_EQ(two.one("SELECT count(*) FROM clips"), "4500");
    EXPECT_EQ(two.one("PRAGMA integrity_check"), "ok");

    // Two scans that both find no catalog and set it up at once, again and
    // again: neither gives up nor removes what the other made.
    writeClips("small", 20, 7);
    writeClips("small2", 20, 9);
    const Outcome creating = run("for i in 1 2 3 4 5 6 7 8 9 10 11 12; do rm -f new.db*; "
                                 "$VELLMETA --catalog new.db -r small 2>>new.err & first=$!; "
                                 "$VELLMETA --catalog new.db -r small2 2>>new.err || exit 1; wait $first || exit 1; "
                                 "[ \"$(sqlite3 new.db 'SELECT count(*) FROM clips')\" = 40 ] || exit 1; done");
    EXPECT_EQ(creating.status, 0) << slurp(dir_ / "new.err");
}

} // namespace
