// SPDX-License-Identifier: Apache-2.0
// vellmeta over many inputs: walks of composed trees, standard input, every
// input reaching every view, and parallel runs that must write what a
// single-threaded run writes.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "ToolRun.h"

namespace fs = std::filesystem;

namespace {

using namespace vellmeta::testing;

class Batch : public ScratchTest {
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        ::setenv("VELLMETA", toolUnderTest(), 1);
    }

    // Runs a shell command line in the scratch folder, $VELLMETA naming the tool.
    Outcome run(const std::string& commandLine)
    {
        return vellmeta::testing::runShell("cd " + vellmeta::testing::quoted(dir_.string()) + " && " + commandLine, dir_);
    }

    void copySample(const std::string& name, const fs::path& to)
    {
        fs::create_directories((dir_ / to).parent_path());
        fs::copy_file(sample(name), dir_ / to);
    }
};

std::vector<std::string> pathsIn(const std::string& json)
{
    std::vector<std::string> paths;
    for (std::size_t at = json.find("\"path\":\""); at != std::string::npos; at = json.find("\"path\":\"", at + 1))
        paths.push_back(json.substr(at + 8, json.find('"', at + 8) - at - 8));
    return paths;
}

TEST_F(Batch, WalkOfAComposedTree)
{
    copySample("corva-compact", "card/B/clip.vellraw");
    copySample("corva-stage", "card/a/Upper.VELLRAW");
    copySample("k40-older-camera", "card/a/b/deep.vellraw");
    copySample("corva-stage", "card/a/b/other.mov");
    copySample("k40-older-camera", "card/a/b/notes.txt");
    copySample("corva-compact", "card/a.vellraw");
    copySample("corva-compact", "card/locked/hidden.vellraw");
    copySample("corva-compact", "outside/far.vellraw");
    fs::create_directory_symlink("..", dir_ / "card/a/b/loop");
    fs::create_symlink("../outside/far.vellraw", dir_ / "card/link.vellraw");
    fs::create_symlink("a/Upper.VELLRAW", dir_ / "card/inside.vellraw");
    ASSERT_EQ(::mkfifo((dir_ / "card/a/pipe.vellraw").c_str(), 0600), 0);
    fs::permissions(dir_ / "card/locked", fs::perms::none);
    const bool root = ::geteuid() == 0; // root reads any folder: its "locked" folder is read

    const Outcome r = run("$VELLMETA --json -j 3 -r card");
    std::vector<std::string> expected = {"card/B/clip.vellraw", "card/a/Upper.VELLRAW", "card/a/b/deep.vellraw",
                                         "card/a.vellraw"};
    if (root)
        expected.push_back("card/locked/hidden.vellraw");
    EXPECT_EQ(pathsIn(r.out), expected) << "byte order of names, depth first";
    std::string err = "vellmeta: card/a/b/loop: symbolic-link loop back to card/a; skipped\n"
                      "vellmeta: card/a/pipe.vellraw: is a FIFO; a walk reads regular files only\n"
                      "vellmeta: card/link.vellraw: symbolic link leads out of the folder walked; not followed "
                      "(--follow-links follows it)\n";
    if (!root)
        err += "vellmeta: card/locked: cannot read folder: Permission denied\n";
    EXPECT_EQ(r.err, err);
    EXPECT_EQ(r.status, 2) << "a FIFO found by a walk is not read";

    // Other extensions, any case; links followed on request, loops still not.
    const Outcome more = run("$VELLMETA --json -r --ext TXT --ext .mov --follow-links card/a card/link.vellraw");
    EXPECT_EQ(pathsIn(more.out), (std::vector<std::string>{"card/a/b/notes.txt", "card/a/b/other.mov", "card/link.vellraw"}));
    EXPECT_EQ(more.err, "vellmeta: card/a/b/loop: symbolic-link loop back to card/a; skipped\n");
    EXPECT_EQ(more.status, 0);

    // Without -r a folder stays an unusable file.
    const Outcome flat = run("$VELLMETA --json card");
    EXPECT_EQ(flat.err, "vellmeta: card: is a directory, not a VELLRAW file\n");
    EXPECT_EQ(flat.status, 2);

    // A FIFO named on the command line is opened without waiting for a
    // writer: with none, it reads empty and the run goes on.
    const Outcome named = run("timeout 10 $VELLMETA --json card/a/pipe.vellraw");
    EXPECT_EQ(named.err, "vellmeta: card/a/pipe.vellraw: is empty; a VELLRAW header has 2480 bytes\n");
    EXPECT_EQ(named.status, 2) << "not 124: the open did not wait";
}

TEST_F(Batch, NonAsciiNamesCarriedAsUtf8)
{
    copySample("corva-stage", "S\xc3\xa4ule/A001_C001.vellraw");
    const Outcome r = run("$VELLMETA --json -r .");
    EXPECT_EQ(pathsIn(r.out), (std::vector<std::string>{"./S\xc3\xa4ule/A001_C001.vellraw"}));
    const Outcome text = run("$VELLMETA -r S\xc3\xa4ule");
    EXPECT_EQ(text.out.substr(0, text.out.find('\n')), "S\xc3\xa4ule/A001_C001.vellraw");
    const Outcome folder = run("$VELLMETA S\xc3\xa4ule");
    EXPECT_EQ(folder.err, "vellmeta: S\xc3\xa4ule: is a directory, not a VELLRAW file\n");
}

TEST_F(Batch, WalkSortsNamesByteByByte)
{
    // Names sharing a long start, differing late, one the start of another,
    // and one with a byte above 0x7F (not UTF-8: shown with U+FFFD).
    for (const char* name : {"A001C0\xE9.x", "A001C002_take_b.x", "A001C00z.x", "A001C002.x.x", "A001C002_take_a.x", "A001C002.x"})
        copySample("corva-compact", fs::path("reel") / name);
    EXPECT_EQ(pathsIn(run("$VELLMETA --json -r --ext x reel").out),
              (std::vector<std::string>{"reel/A001C002.x", "reel/A001C002.x.x", "reel/A001C002_take_a.x", "reel/A001C002_take_b.x",
                                        "reel/A001C00z.x", "reel/A001C0\xEF\xBF\xBD.x"}));
}

TEST_F(Batch, StandardInputAndJobs)
{
    const Outcome piped = run("cat '" + sample("corva-stage") + "' | $VELLMETA --json - '" + sample("k40-older-camera") + "'");
    EXPECT_EQ(pathsIn(piped.out), (std::vector<std::string>{"-", sample("k40-older-camera")}));
    EXPECT_NE(piped.out.find("\"cameraModel\":\"CORVA Stage\""), std::string::npos);
    EXPECT_EQ(piped.status, 0) << piped.err;
    const Outcome shortInput = run("head -c 100 '" + sample("corva-stage") + "' | $VELLMETA --json -");
    EXPECT_EQ(shortInput.err, "vellmeta: -: is 100 bytes long, shorter than the 2480-byte VELLRAW header\n");
    EXPECT_EQ(shortInput.status, 2);

    // More jobs than files, and progress forced onto a file, never onto standard output.
    const Outcome many = run("$VELLMETA --json -j 200 --progress '" + sample("corva-stage") + "'");
    EXPECT_EQ(many.status, 0);
    EXPECT_EQ(pathsIn(many.out).size(), 1u);
    EXPECT_NE(many.err.find("vellmeta: 1 of 1 files"), std::string::npos) << many.err;
}

// The views a run writes: each a sink of the one pipeline.
const char* const kSinks[] = {"",       "--json",         "--json-lines", "--csv",  "--tsv", "--opentrackio",
                              "--opentrackio --json-lines", "--diff", "--diff --json"};

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// Files named one by one, a walk, and standard input reach every view alike;
// a folder without -r is refused in every view, with status 2.
TEST_F(Batch, EveryInputReachesEverySink)
{
    copySample("corva-compact", "card/A.vellraw");
    copySample("corva-stage", "card/B.vellraw");
    for (const char* sink : kSinks) {
        const bool diff = std::string(sink).find("--diff") != std::string::npos;
        const Outcome files = run(std::string("$VELLMETA ") + sink + " card/A.vellraw card/B.vellraw");
        EXPECT_EQ(files.status, diff ? 1 : 0) << sink << files.err;
        EXPECT_EQ(files.err, "") << sink;
        EXPECT_GT(files.out.size(), 100u) << sink;

        const Outcome walk = run(std::string("$VELLMETA ") + sink + " -r card");
        EXPECT_EQ(walk.status, files.status) << sink;
        EXPECT_EQ(walk.out, files.out) << sink;

        // Standard input is named "-", which a clip report guards as it
        // guards any cell that a spreadsheet could take for a formula.
        const Outcome piped = run(std::string("cat card/A.vellraw | $VELLMETA ") + sink + " - card/B.vellraw");
        const std::string stdinName = std::string(sink) == "--csv" ? "\"'-\"" : std::string(sink) == "--tsv" ? "'-" : "-";
        EXPECT_EQ(piped.status, files.status) << sink;
        EXPECT_EQ(piped.out, replaced(files.out, "card/A.vellraw", stdinName)) << sink;

        const Outcome folder = run(std::string("$VELLMETA ") + sink + " card card/B.vellraw");
        EXPECT_EQ(folder.status, 2) << sink;
        EXPECT_EQ(folder.err, "vellmeta: card: is a directory, not a VELLRAW file\n") << sink;
    }
    const Outcome three = run("$VELLMETA --diff -r card card/A.vellraw");
    EXPECT_EQ(three.status, 2);
    EXPECT_EQ(three.out, "");
    EXPECT_EQ(three.err, "vellmeta: --diff compares two files; 3 were given\n");
}

// Several hundred varied headers (failures among them) and unusable files,
// run with one thread and with four: the same bytes on both streams.
TEST_F(Batch, ParallelRunsWriteWhatOneThreadWrites)
{
    const char* const names[] = {"corva-compact", "corva-stage", "corva-nx-r-by-serial", "k40-older-camera",
                                 "failures/unknown-flip-state", "failures/serial-in-no-range"};
    std::vector<std::string> images;
    for (const char* name : names)
        images.push_back(slurp(sample(name)));
    fs::create_directory(dir_ / "many");
    for (int i = 0; i < 300; ++i) {
        std::string image = images[static_cast<std::size_t>(i) % images.size()];
        image[static_cast<std::size_t>(i * 97) % image.size()] = static_cast<char>(i); // each header its own
        if (i % 50 == 7)
            image.resize(static_cast<std::size_t>(i)); // a short file now and then
        char name[32];
        std::snprintf(name, sizeof name, "many/clip%03d.vellraw", i);
        std::ofstream(dir_ / name, std::ios::binary).write(image.data(), static_cast<std::streamsize>(image.size()));
    }
    for (const char* format : {"", "--all -s", "--json --all", "--json-lines", "--csv", "--tsv -n", "--opentrackio",
                               "--opentrackio --json-lines"}) {
        const Outcome one = run(std::string("$VELLMETA -r -j 1 ") + format + " many");
        const Outcome four = run(std::string("$VELLMETA -r -j 4 ") + format + " many");
        EXPECT_EQ(one.status, 2) << format;
        EXPECT_EQ(four.status, one.status) << format;
        EXPECT_EQ(four.err, one.err) << format;
        EXPECT_TRUE(four.out == one.out) << format; // not printed: megabytes
        EXPECT_GT(one.out.size(), 290u * 150) << format; // every clip there
    }
    for (const char* format : {"--diff", "--diff --json --all"}) {
        const std::string two = std::string(" ") + format + " many/clip001.vellraw many/clip200.vellraw";
        const Outcome one = run("$VELLMETA -j 1" + two);
        const Outcome four = run("$VELLMETA -j 4" + two);
        EXPECT_EQ(one.status, 1) << format;
        EXPECT_EQ(four.status, one.status) << format;
        EXPECT_EQ(four.out, one.out) << format;
    }
}

} // namespace
