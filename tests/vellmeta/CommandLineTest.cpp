// SPDX-License-Identifier: Apache-2.0
// vellmeta end to end: the program runs on the committed samples and on bad
// input, and its standard output, standard error and exit status are checked.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <VellMetadataContainer/VellMetadataContainer.h>

#include "ToolRun.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

using vellmeta::testing::Outcome;
using vellmeta::testing::sample;
using vellmeta::testing::slurp;

class Vellmeta : public vellmeta::testing::ScratchTest {
protected:
    Outcome run(const std::vector<std::string>& args)
    {
        std::string command = vellmeta::testing::quoted(vellmeta::testing::toolUnderTest());
        for (const std::string& a : args)
            command += " " + vellmeta::testing::quoted(a);
        return vellmeta::testing::runShell(command + " </dev/null", dir_);
    }

    // A file of `size` bytes cut from the front of a sample.
    std::string truncatedSample(std::size_t size)
    {
        const std::string bytes = slurp(sample("corva-compact"));
        const fs::path path = dir_ / ("cut-" + std::to_string(size) + ".vellraw");
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(size));
        return path.string();
    }

};

} // namespace

// The lines of `text` from `from` on, up to the next blank line.
std::vector<std::string> linesOf(const std::string& text, std::size_t from = 0)
{
    std::vector<std::string> lines;
    std::istringstream in(text.substr(from));
    for (std::string line; std::getline(in, line) && !line.empty();)
        lines.push_back(line);
    return lines;
}

std::size_t position(const std::vector<std::string>& lines, const std::string& line)
{
    return static_cast<std::size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
}

TEST_F(Vellmeta, PeoplesViewReadsInOrderWithUnits)
{
    const Outcome r = run({sample("corva-compact"), sample("k40-older-camera")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::vector<std::string> compact = linesOf(r.out);
    ASSERT_FALSE(compact.empty());
    EXPECT_EQ(compact.front(), sample("corva-compact")) << "a title line per file";
    EXPECT_EQ(compact.back(), "    Status: decoded without failure");

    // Headings in order, lines in the order of meaning, values for people.
    const char* const inOrder[] = {
        "  Camera", "    Manufacturer: VELL", "    Model: CORVA Compact", "  Capture and time codes",
        "    Sensor frame rate: 25 fps", "    Exposure time: 1/48 s (0.020833 s), 187.5\u00B0 shutter",
        "    Time code: 14:30:21:12 at 25 fps", "    Time code 3: 10:00:00;03 at 30 fps, drop frame",
        "    Time code 5: 10:00:00:05 at 50 fps", "    Time code 6: 10:00:00:06 at 60 fps", "  Lens and location",
        "    Lens maker: Zeiss", "    Lens model: Supreme Prime 50", "    Focal length: 50 mm", "    Iris: f/2.8",
        "    Focus distance: 3.2 m", "    Latitude: 40.4\u00B0 N", "    Longitude: 3.7\u00B0 W",
        "  Colour and white balance", "    White balance: 3200 K, tint +2", "  Sensor and ND",
        "    Active image: (8, 4) to (4087, 2155), 4080 \u00D7 2152 px", "  Result"};
    std::size_t previous = 0;
    for (const char* line : inOrder) {
        const std::size_t at = position(compact, line);
        EXPECT_LT(at, compact.size()) << line;
        EXPECT_GE(at, previous) << line;
        previous = at;
    }
    // Folded into the white balance; fixed and spare fields only with --all.
    for (const char* absent : {"    Tint: +2", "    Fixed zero value: 0", "  Spare"})
        EXPECT_EQ(position(compact, absent), compact.size()) << absent;
    const std::vector<std::string> older = linesOf(r.out, r.out.find(sample("k40-older-camera") + "\n"));
    EXPECT_LT(position(older, "    Group 1 name: Lumi\xEF\xBF\xBDre"), older.size()) << "valid UTF-8";
    EXPECT_LT(position(older, "    Focal length: not set by the camera"), older.size()) << "an all-ones word";

    const Outcome all = run({"--all", sample("k40-older-camera")});
    for (const char* line : {"    Tint: 0", "    Fixed zero value: 0", "  Spare", "    Spare word: (undefined)"})
        EXPECT_NE(all.out.find(std::string(line) + "\n"), std::string::npos) << line;

    // -s -n: container names and the decoded numbers, as the view for developers.
    const Outcome plain = run({"-s", "-n", sample("corva-compact")});
    for (const char* line : {"  camera\n    cameraManufacturer: VELL\n", "    exposureTime: 0.020833\n",
                             "    sensorFrameRate: 25000/1000 (25)\n", "    whiteBalanceTint: 2\n",
                             "    lensAperture: 2.828427\n", "  result\n    isError: false\n    code: 0\n    message:\n"})
        EXPECT_NE(plain.out.find(line), std::string::npos) << line;
}

TEST_F(Vellmeta, ChosenFieldsAndHeadingsInEveryFormat)
{
    const std::string compact = sample("corva-compact");
    const Outcome text = run({"-f", "lensFocalLength,cameraModel", compact});
    EXPECT_EQ(text.out, compact + "\n  Focal length: 50 mm\n  Model: CORVA Compact\n  Result\n"
                                  "    Status: decoded without failure\n");
    const Outcome json = run({"--json", "-f", "lensFocalLength,cameraModel,timeCode8", compact});
    EXPECT_EQ(nlohmann::ordered_json::parse(json.out).at(0).at("fields").dump(),
              R"({"lensFocalLength":50.0,"cameraModel":"CORVA Compact","timeCode8":{"text":"10:00:00:08","bcdTime":268435464,"word1":8,"rateAndDropFrame":24000,"word3":8}})");
    const Outcome csv = run({"--csv", "-n", "-s", "-f", "exposureTime,lookName", compact});
    EXPECT_EQ(csv.out, "path,exposureTime,lookName\r\n" + compact + ",0.020833,Warm Interior\r\n");
    // A value decoded from an all-ones word: the people's cell says so, -n keeps the number.
    const std::string older = sample("k40-older-camera");
    EXPECT_EQ(run({"--csv", "-f", "lensFocalLength", older}).out,
              "Path,Focal length\r\n" + older + ",not set by the camera\r\n");
    EXPECT_EQ(run({"--csv", "-n", "-f", "lensFocalLength", older}).out,
              "Path,Focal length\r\n" + older + ",4294967.5\r\n");

    const Outcome lens = run({"-g", "lens", "-g", "LOOK", compact});
    const std::vector<std::string> lines = linesOf(lens.out);
    EXPECT_EQ(lines.at(1), "  Lens and location");
    EXPECT_LT(position(lines, "  Look"), lines.size());
    EXPECT_EQ(position(lines, "  Camera"), lines.size());
}

TEST_F(Vellmeta, DiffOfTwoClips)
{
    const Outcome same = run({"--diff", sample("corva-stage"), sample("corva-stage")});
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_NE(same.out.find("no field differs\n"), std::string::npos);

    const Outcome differ = run({"--diff", sample("corva-compact"), sample("k40-older-camera")});
    EXPECT_EQ(differ.status, 1) << differ.err;
    for (const char* line : {"~ Model: CORVA Compact \u2192 K-40\n", "- Time code: 14:30:21:12 at 25 fps\n",
                             "~ Exposure time: 1/48 s (0.020833 s), 187.5\u00B0 shutter \u2192 1/100 s (0.01 s), 86.4\u00B0 shutter\n"})
        EXPECT_NE(differ.out.find(line), std::string::npos) << line;

    const Outcome json = run({"--json", "--diff", "-f", "cameraModel,timeCode,cameraManufacturer", "--all",
                              sample("corva-compact"), sample("k40-older-camera")});
    EXPECT_EQ(json.status, 1);
    const nlohmann::json fields = nlohmann::json::parse(json.out).at("fields");
    ASSERT_EQ(fields.size(), 3u);
    EXPECT_EQ(fields[0].at("comparison"), "differs");
    EXPECT_EQ(fields[0].at("b"), "K-40");
    EXPECT_EQ(fields[1].at("comparison"), "onlyInA");
    EXPECT_EQ(fields[1].at("b"), nullptr);
    EXPECT_EQ(fields[2].at("comparison"), "equal");

    const Outcome missing = run({"--diff", sample("corva-stage"), (dir_ / "missing").string()});
    EXPECT_EQ(missing.status, 2);
}

TEST_F(Vellmeta, BadFilesAreReportedAndTheOthersStillPrinted)
{
    fs::create_directory(dir_ / "a-directory");
    std::vector<std::pair<std::string, std::string>> cases = {
        {(dir_ / "missing.vellraw").string(), "cannot open: No such file or directory"},
        {(dir_ / "a-directory").string(), "is a directory, not a VELLRAW file"},
        {truncatedSample(2479), "is 2479 bytes long, shorter than the 2480-byte VELLRAW header"},
        {truncatedSample(1), "is 1 bytes long, shorter than the 2480-byte VELLRAW header"},
        {truncatedSample(0), "is empty; a VELLRAW header has 2480 bytes"},
    };
    if (::geteuid() != 0) { // root reads files whatever their permissions
        cases.emplace_back(truncatedSample(2480), "cannot open: Permission denied");
        fs::permissions(cases.back().first, fs::perms::none);
    }
    for (const auto& [path, message] : cases) {
        const Outcome text = run({path, sample("corva-compact")});
        EXPECT_EQ(text.status, 2) << path;
        EXPECT_EQ(text.err, "vellmeta: " + path + ": " + message + "\n");
        EXPECT_NE(text.out.find("Model: CORVA Compact"), std::string::npos) << path;

        const Outcome asJson = run({"--json", path, sample("corva-compact")});
        EXPECT_EQ(asJson.status, 2) << path;
        EXPECT_EQ(asJson.err, text.err);
        const json document = json::parse(asJson.out);
        EXPECT_EQ(document.size(), 1u) << "only the readable file is listed";
        EXPECT_EQ(document.at(0).at("fields").at("cameraModel"), "CORVA Compact");
    }
}

TEST_F(Vellmeta, ExitStatusIsTheWorstOfAllFiles)
{
    const std::string missing = (dir_ / "missing").string();
    const std::pair<std::vector<std::string>, int> cases[] = {
        {{sample("failures/unknown-flip-state"), sample("corva-stage")}, 1}, // a failure that goes on
        {{sample("failures/serial-in-no-range"), missing}, 2},
        {{missing, sample("failures/serial-in-no-range")}, 2},
    };
    for (const auto& [args, status] : cases)
        EXPECT_EQ(run(args).status, status) << args.back();
    const Outcome none = run({"--json", missing});
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(json::parse(none.out), json::array()) << "still one valid document";
}

TEST_F(Vellmeta, VersionAndUnusableArguments)
{
    const Outcome version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out,
              std::string(Vmc::VellMetadataContainer::VellMetadataContainerVersion().versionString) + "\n");

    // Mistakes: one line, status 2, nothing written.
    const std::string compact = sample("corva-compact");
    const std::pair<std::vector<std::string>, const char*> unusable[] = {
        {{"-f", "camModel", compact}, "unknown field 'camModel'; did you mean cameraModel?"},
        {{"-f", ",", compact}, "--fields needs at least one field name"},
        {{"-g", "optics", compact}, "unknown heading 'optics'; the headings are camera, capture,"},
        {{"--csv", "--json", compact}, "excludes"},
        {{"--diff", compact}, "--diff compares two files; 1 was given"},
        {{"--diff", "--csv", compact, compact}, "excludes"},
        {{"--json"}, "FILE is required"},
        {{"--color-space", "rec709", compact}, "--color-space"},
        {{"--no-such-option", compact}, "--no-such-option"},
        {{"-j", "0", compact}, "--jobs: needs a number of threads, 1 or more"}, {{"-j", "-1", compact}, "--jobs:"},
        {{"--jobs", "x", compact}, "--jobs:"}, {{"--ext", "", compact}, "--ext needs an extension"},
        {{"--progress", "--no-progress", compact}, "excludes"},
        {{"--json-lines", "--csv", compact}, "excludes"},
        {{"--diff", "--json-lines", compact, compact}, "excludes"},
        {{"--opentrackio", "-f", "cameraModel", compact}, "--opentrackio writes the members OpenTrackIO defines"},
    };
    for (const auto& [args, complaint] : unusable) {
        const Outcome r = run(args);
        EXPECT_EQ(r.status, 2) << complaint;
        EXPECT_EQ(r.out, "") << complaint;
        EXPECT_NE(r.err.find(complaint), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}
