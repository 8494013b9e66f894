// SPDX-License-Identifier: Apache-2.0
// vellmeta over the card folders of a shoot, set against the I/O floor:
// opening, reading 2480 bytes and closing every file, timed in the same run;
// and the catalog: a first scan into a new one against the same floor, a
// rescan of the unchanged card against the stat floor (a stat of every
// file), and its size per clip.
//
//   cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DVMC_BUILD_BENCHMARKS=ON
//   cmake --build build/bench -j2 --target vellmeta_batch_bench        (builds the tool too)
//   build/bench/bench/vellmeta_batch_bench [N...]      (default: 10000 100000)
//   build/bench/bench/vellmeta_batch_bench --write DIR N   (writes the shoot only, to profile with)
//
// For each N it writes the first N clips of a shoot (ShootDay.h: four
// cameras, each clip with its own time, time code, lens settings, slate and
// identifiers) to a scratch folder as the cards hold them, a folder per card
// (A001/A001_C001_240610.vellraw, ...). It waits until they are on disk,
// reads them once to warm the cache, then times `vellmeta -r` nine times in
// each format with -j 1 and with the default -j (standard output to
// /dev/null), each time right after a timing of the floor. It prints the
// median files per second and the median ratio of a run to its floor, by
// elapsed time and by processor time (user and system: on a shared machine
// the elapsed time also counts waiting for a processor), the peak resident
// memory of each vellmeta run, and the best ratio: the fastest run against
// the fastest of its floors, the least disturbed of each.
//
// The catalog's first scan and rescan take one thread (-j 1); the first
// scan starts from no catalog each time, and the rescan follows it.
//
// Each N's table is a Markdown table, also written to batch-N.md in the build's
// results folder, which the documentation's benchmarks page shows.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ShootDay.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRepetitions = 9;
constexpr std::size_t kHeaderSize = 2480;
constexpr unsigned kShootSeed = 20240610;

struct Timing {
    double seconds = 0;    // wall-clock time
    double cpuSeconds = 0; // user and system time: what a busy machine does not inflate
    long peakKiB = 0;      // the child's peak resident set (from its start as a copy of this program)
};

double cpuSeconds(const rusage& usage)
{
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A card's folder: its clips are numbered from 1 to `clips`. The floor
// makes the paths from these rather than keeping a list of them: a child of
// this program starts as a copy of it, and its peak memory would count the
// list.
struct Card {
    char camera;
    int number;
    int clips;
    Vmc::bench::Date date;
};

// Writes the first `count` clips of the shoot under `dir`; returns the cards
// in the order a walk reads them.
std::vector<Card> writeShoot(const std::string& dir, int count)
{
    std::vector<Card> cards;
    std::map<char, std::size_t> cardIn; // each camera's card in use
    char path[512];
    const Vmc::bench::ShootDay shoot(VMC_SAMPLES_DIR);
    shoot.roll(count, kShootSeed, [&](const Vmc::bench::Clip& clip) {
        if (clip.number == 1) {
            cardIn[clip.camera] = cards.size();
            cards.push_back({clip.camera, clip.card, 0, clip.date});
        }
        Card& card = cards[cardIn[clip.camera]];
        ++card.clips;
        const int length = std::snprintf(path, sizeof path, "%s/", dir.c_str());
        Vmc::bench::clipPath(path + length, sizeof path - static_cast<std::size_t>(length), clip.camera, card.number,
                             clip.number, clip.date);
        if (clip.number == 1)
            fs::create_directories(fs::path(path).parent_path());
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(clip.header.data()), static_cast<std::streamsize>(kHeaderSize));
    });
    // A walk takes a folder's entries in byte order of their names: A1000
    // comes between A100 and A101.
    const auto folder = [](const Card& card) {
        char name[16];
        std::snprintf(name, sizeof name, "%c%03d", card.camera, card.number);
        return std::string(name);
    };
    std::sort(cards.begin(), cards.end(), [&](const Card& a, const Card& b) { return folder(a) < folder(b); });
    return cards;
}

enum class Floor {
    Read, // open, read the header, close: the least a tool reading the headers does
    Stat, // stat: the least a tool finding what changed does
};

// The floor's work on every file of the shoot, in the order a walk takes them.
Timing floorTiming(const std::string& dir, const std::vector<Card>& cards, int count, Floor kind = Floor::Read)
{
    char header[kHeaderSize];
    char path[512];
    const int length = std::snprintf(path, sizeof path, "%s/", dir.c_str());
    char* const name = path + length;
    const std::size_t room = sizeof path - static_cast<std::size_t>(length);
    std::size_t bytes = 0;
    rusage before{};
    ::getrusage(RUSAGE_SELF, &before);
    const auto start = std::chrono::steady_clock::now();
    for (const Card& card : cards) {
        for (int clip = 1; clip <= card.clips; ++clip) {
            Vmc::bench::clipPath(name, room, card.camera, card.number, clip, card.date);
            if (kind == Floor::Stat) {
                struct stat info{};
                if (::stat(path, &info) != 0)
                    std::abort();
                bytes += static_cast<std::size_t>(info.st_size);
                continue;
            }
            const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
            if (fd < 0)
                std::abort();
            bytes += static_cast<std::size_t>(::read(fd, header, sizeof header));
            ::close(fd);
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    rusage after{};
    ::getrusage(RUSAGE_SELF, &after);
    if (bytes != static_cast<std::size_t>(count) * kHeaderSize)
        std::abort();
    return {seconds, cpuSeconds(after) - cpuSeconds(before), 0};
}

// Runs vellmeta with `args`, standard output to /dev/null and standard error
// to `errors` (so that no progress line is drawn either).
Timing runVellmeta(const std::vector<std::string>& args, const std::string& errors)
{
    std::vector<char*> argv;
    std::string exe = VELLMETA_EXE;
    argv.push_back(exe.data());
    std::vector<std::string> copies = args;
    for (std::string& a : copies)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(::open("/dev/null", O_WRONLY), STDOUT_FILENO);
        ::dup2(::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDERR_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // Every clip of the shoot decodes: anything but exit status 0 is a fault.
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "vellmeta failed (status %d); its messages are in %s\n", status, errors.c_str());
        std::exit(1);
    }
    return {seconds, cpuSeconds(usage), usage.ru_maxrss};
}

void benchmark(int count)
{
    char pattern[] = "/tmp/vellmeta-batch-bench-XXXXXX";
    if (::mkdtemp(pattern) == nullptr)
        std::abort();
    const fs::path scratch = pattern;
    const std::string dir = (scratch / "shoot").string();
    const std::string errors = (scratch / "vellmeta-errors").string();
    const std::string catalog = (scratch / "catalog.db").string();
    const std::vector<Card> cards = writeShoot(dir, count);
    ::sync(); // written back to disk before timing starts, not while vellmeta runs
    floorTiming(dir, cards, count); // warms the cache

    struct Run {
        const char* format;
        std::vector<std::string> flags;
    };
    const Run formats[] = {{"text", {}}, {"json", {"--json"}}, {"csv", {"--csv"}}, {"tsv", {"--tsv"}}};
    const auto removeCatalog = [&] {
        for (const char* suffix : {"", "-wal", "-shm"})
            fs::remove(catalog + suffix);
    };
    rusage self{};
    ::getrusage(RUSAGE_SELF, &self);

    // The floor is timed again right before each vellmeta run, and each run
    // is set against it: the ratio of a pair does not drift with the load
    // of a shared machine the way separate medians would. The views take
    // turns, so that a busy spell of the machine falls on all of them alike.
    struct Row {
        const char* format = "";
        const char* jobs = "";
        std::vector<std::string> args;
        Floor floor = Floor::Read;
        bool newCatalog = false; // the catalog is removed before each run
        std::vector<double> wall, cpu, wallRatio, cpuRatio, floorWall;
        long peakKiB = 0;
    };
    std::vector<Row> rows;
    for (const Run& run : formats) {
        for (const char* jobs : {"1", "default"}) {
            Row row;
            row.format = run.format;
            row.jobs = jobs;
            row.args = run.flags;
            if (std::string(jobs) == "1")
                row.args.insert(row.args.end(), {"-j", "1"});
            row.args.insert(row.args.end(), {"-r", dir});
            rows.push_back(std::move(row));
        }
    }
    for (const bool first : {true, false}) {
        Row row;
        row.format = first ? "catalog" : "rescan";
        row.jobs = "1";
        row.args = {"--catalog", catalog, "-j", "1", "-r", dir};
        row.floor = first ? Floor::Read : Floor::Stat;
        row.newCatalog = first;
        rows.push_back(std::move(row));
    }
    std::vector<double> floorWall, floorCpu;
    std::uintmax_t catalogBytes = 0;
    for (int i = 0; i < kRepetitions; ++i) {
        for (Row& row : rows) {
            if (row.newCatalog)
                removeCatalog();
            const Timing floor = floorTiming(dir, cards, count, row.floor);
            const Timing t = runVellmeta(row.args, errors);
            if (row.newCatalog)
                catalogBytes = fs::file_size(catalog);
            if (row.floor == Floor::Read) {
                floorWall.push_back(floor.seconds);
                floorCpu.push_back(floor.cpuSeconds);
            }
            row.floorWall.push_back(floor.seconds);
            row.wall.push_back(t.seconds);
            row.cpu.push_back(t.cpuSeconds);
            row.wallRatio.push_back(t.seconds / floor.seconds);
            row.cpuRatio.push_back(t.cpuSeconds / floor.cpuSeconds);
            row.peakKiB = std::max(row.peakKiB, t.peakKiB);
        }
    }
    const auto least = [](const std::vector<double>& values) { return *std::min_element(values.begin(), values.end()); };
    // One Markdown table, printed and written into the results folder, from
    // which the documentation's benchmarks page takes it.
    std::string table;
    char line[512];
    const auto add = [&](auto... values) {
        std::snprintf(line, sizeof line, values...);
        table += line;
    };
    add("### %d files, %zu card folders\n\n", count, cards.size());
    add("wall: elapsed time; cpu: user and system time; peak: vellmeta's resident memory, which counts the %.2f MiB "
        "of this program it starts as.\n\n",
        static_cast<double>(self.ru_maxrss) / 1024.0);
    add("| view | jobs | floor | wall files/s | wall ratio | cpu files/s | cpu ratio | peak MiB | best ratio |\n");
    add("|---|---|---|---:|---:|---:|---:|---:|---:|\n");
    add("| floor | 1 | read | %.0f | 1.00 | %.0f | 1.00 | | 1.00 |\n", count / median(floorWall), count / median(floorCpu));
    for (const Row& r : rows)
        add("| %s | %s | %s | %.0f | %.2f | %.0f | %.2f | %.2f | %.2f |\n", r.format, r.jobs,
            r.floor == Floor::Read ? "read" : "stat", count / median(r.wall), median(r.wallRatio),
            count / median(r.cpu), median(r.cpuRatio), static_cast<double>(r.peakKiB) / 1024.0,
            least(r.wall) / least(r.floorWall));
    add("\nThe catalog: %.0f bytes per clip (%.1f MiB for %d clips, after its first scan).\n",
        static_cast<double>(catalogBytes) / count, static_cast<double>(catalogBytes) / (1024.0 * 1024.0), count);
    std::printf("\n%s", table.c_str());
    std::fflush(stdout);
    fs::create_directories(VMC_BENCH_RESULTS_DIR);
    std::ofstream(fs::path(VMC_BENCH_RESULTS_DIR) / ("batch-" + std::to_string(count) + ".md")) << table;
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--write") {
        writeShoot(argv[2], std::atoi(argv[3]));
        return 0;
    }
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i)
        counts.push_back(std::atoi(argv[i]));
    if (counts.empty())
        counts = {10000, 100000};
    for (int count : counts)
        benchmark(count);
    return 0;
}
