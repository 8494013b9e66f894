// SPDX-License-Identifier: Apache-2.0
// vellmeta: shows what the headers of VELLRAW clips say.
//
//   vellmeta [--json | --json-lines | --csv | --tsv | --opentrackio] [-s] [-n] [--all] [-f LIST] [-g HEADING]... FILE...
//   vellmeta --diff [--json] A B
//   vellmeta --catalog FILE [--prune] [-r] PATH...
//   vellmeta -r [--ext EXT]... [--follow-links] [-j N] [--progress | --no-progress] ... FOLDER...
//
// Every view is a sink of the one pipeline, so every input (files, -, walks)
// reaches every view the same way.
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <CLI/CLI.hpp>

#include <vellmeta/Catalog.h>
#include <vellmeta/ColorSpaces.h>
#include <vellmeta/JsonSchema.h>
#include <vellmeta/System.h>
#include <vellmeta/Text.h>

#include "Catalog.h"
#include "FieldChoice.h"
#include "Run.h"
#include "Sinks.h"

using namespace vellmeta;
using namespace vellmeta::cli;

namespace {

// An input as the catalog keys its rows: absolute, without "." and ".."
// parts or a trailing slash, so that a card scanned from anywhere finds its
// rows. Standard input stays "-".
std::string catalogPath(const std::string& input)
{
    if (input == "-")
        return input;
    // With '/' between names on Windows too ("D:/card/A001"), as a walk
    // writes the paths under it.
    std::string path = std::filesystem::absolute(std::filesystem::u8path(input)).lexically_normal().generic_u8string();
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

} // namespace

int main(int argc, char** argv)
{
    useBinaryStandardStreams();
    CLI::App app("Shows the metadata in the headers of VELLRAW (version 3) clips: by default every field the header "
                 "defines, with labels and units under headings; or JSON, a CSV or TSV clip report with a row per "
                 "clip, OpenTrackIO samples, or the fields that differ between two clips.",
                 "vellmeta");
    // Options read the same on every platform: on Windows too, a word that
    // starts with a slash is a path ("/clips/A001"), not an option.
    app.allow_windows_style_options(false);
    app.set_version_flag("--version",
                         std::string(Vmc::VellMetadataContainer::VellMetadataContainerVersion().versionString),
                         "Print the library's version and exit");

    ReportOptions report;
    std::vector<std::string> paths;
    std::string colorSpace = colorSpaceName(kDefaultColorSpace);
    std::string fieldList;
    std::vector<std::string> headings;
    bool json = false, jsonLines = false, csv = false, tsv = false, openTrackIo = false, diff = false;

    auto* jsonFlag = app.add_flag("--json", json, "Write JSON: an array with an object per file");
    auto* linesFlag = app.add_flag("--json-lines", jsonLines,
                                   "Write JSON Lines: an object per file, one per line (with --opentrackio, one "
                                   "sample per line)");
    auto* csvFlag = app.add_flag("--csv", csv, "Write a CSV clip report: a header row, then a row per file");
    auto* tsvFlag = app.add_flag("--tsv", tsv, "Write the clip report separated by tabs");
    auto* openTrackIoFlag =
        app.add_flag("--opentrackio", openTrackIo, "Write one OpenTrackIO 1.0.0 sample per file (a JSON array)");
    auto* diffFlag = app.add_flag("--diff", diff,
                                  "Compare two files: list the fields whose values differ or that only one defines "
                                  "(with --all, the equal ones too); exit 0 when none differs, 1 when some do");
    csvFlag->excludes(tsvFlag)->excludes(jsonFlag)->excludes(linesFlag)->excludes(openTrackIoFlag)->excludes(diffFlag);
    tsvFlag->excludes(jsonFlag)->excludes(linesFlag)->excludes(openTrackIoFlag)->excludes(diffFlag);
    openTrackIoFlag->excludes(jsonFlag)->excludes(diffFlag);
    diffFlag->excludes(linesFlag);
    app.add_flag("-s,--names", report.names, "Show the container's field names instead of labels");
    app.add_flag("-n,--numeric", report.numeric, "Show the decoded numbers as they are, without conversion for people");
    app.add_flag("--all", report.all,
                 "Also show fields the header leaves undefined (null in JSON), and spare and fixed ones");
    app.add_option("-f,--fields", fieldList,
                   "Show only these fields, in this order: container names separated by commas "
                   "(e.g. cameraModel,exposureTime)");
    app.add_option("-g,--group", headings, "Show only the fields under this heading (repeatable): " + headingNames())
        ->allow_extra_args(false);
    app.add_flag_callback("--json-schema", [] { std::cout << jsonViewSchema(); throw CLI::Success(); },
                          "Print the JSON Schema of the --json view and exit");
    std::string catalog;
    bool prune = false;
    auto* catalogOption =
        app.add_option("--catalog", catalog,
                       "Create or update a SQLite catalog of the clips: files whose size, modification time and inode "
                       "are unchanged are not read again, files no longer found are marked missing");
    catalogOption->excludes(jsonFlag)->excludes(linesFlag)->excludes(csvFlag)->excludes(tsvFlag)
        ->excludes(openTrackIoFlag)->excludes(diffFlag);
    app.add_flag("--prune", prune, "With --catalog: delete the rows of files no longer found under the paths given")
        ->needs(catalogOption);
    app.add_flag_callback("--catalog-schema", [] { std::cout << catalogSchema(); throw CLI::Success(); },
                          "Print the SQL of the catalog's schema and exit");
    std::string colorSpaceHelp = "Colour space of the primaries:";
    for (const ColorSpaceName& entry : kColorSpaces)
        colorSpaceHelp += std::string(entry.value == kColorSpaces[0].value ? " " : ", ") + entry.name + " (" +
                          entry.description + ")";
    app.add_option("--color-space", colorSpace, colorSpaceHelp)
        ->check([](const std::string& name) {
            return colorSpaceNamed(name) ? std::string() : "needs one of " + colorSpaceNames();
        })
        ->capture_default_str();
    app.add_option("FILE", paths,
                   "VELLRAW files (- for standard input), or folders with -r; the first 2480 bytes of each file are "
                   "decoded")
        ->required();

    // Whole cards and archives: walks, parallel reading, progress.
    RunOptions runOptions;
    WalkOptions& walk = runOptions.scan.walk;
    std::vector<std::string> extensions;
    runOptions.scan.jobs = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    app.add_flag("-r,--recursive", walk.recursive,
                 "Walk the folders given, in sorted order, reading the files with the extensions of --ext");
    app.add_option("--ext", extensions, "Extension of the files a walk reads (repeatable, any case; default vellraw)")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_flag("--follow-links", walk.followLinks, "Follow symbolic links found by a walk, out of the tree too");
    app.add_option("-j,--jobs", runOptions.scan.jobs,
                   "Files read, decoded and formatted at once, on as many threads (default: the processors)")
        ->check(CLI::Validator(
            [](const std::string& text) {
                return text.find_first_not_of("0123456789") == std::string::npos &&
                               text.find_first_not_of('0') != std::string::npos
                           ? std::string()
                           : std::string("needs a number of threads, 1 or more");
            },
            "N"));
    auto* progressOn = app.add_flag("--progress", "Show progress on standard error, for any number of files");
    app.add_flag("--no-progress", "Never show progress")->excludes(progressOn);

    try {
        // CLI11 takes the arguments without the program's name, last first.
        std::vector<std::string> arguments = commandLineArguments(argc, argv);
        if (!arguments.empty())
            arguments.erase(arguments.begin());
        std::reverse(arguments.begin(), arguments.end());
        app.parse(std::move(arguments));
    } catch (const CLI::ParseError& e) {
        // Help and version end with status 0; anything else is an unusable
        // command line, said in one line.
        if (e.get_exit_code() == 0)
            return app.exit(e);
        std::cerr << "vellmeta: " << e.what() << " (vellmeta --help lists the options)\n";
        return kUnusable;
    }

    std::string problem;
    if (app.count("--fields") > 0)
        problem = chooseFields(fieldList, report.fields);
    if (problem.empty())
        problem = chooseHeadings(headings, report.headings);
    if (problem.empty() && diff && !walk.recursive && paths.size() != 2)
        problem = "--diff compares two files; " + std::to_string(paths.size()) + (paths.size() == 1 ? " was" : " were") +
                  " given";
    if (problem.empty() && openTrackIo && (report.names || report.numeric || report.all || !report.fields.empty() ||
                                           !report.headings.empty()))
        problem = "--opentrackio writes the members OpenTrackIO defines; -s, -n, --all, -f and -g do not apply";
    if (problem.empty() && !catalog.empty() && (report.names || report.numeric || report.all ||
                                                !report.fields.empty() || !report.headings.empty()))
        problem = "--catalog stores every field; -s, -n, --all, -f and -g do not apply";
    if (problem.empty() && std::count(extensions.begin(), extensions.end(), "") +
                                   std::count(extensions.begin(), extensions.end(), ".") >
                               0)
        problem = "--ext needs an extension, such as vellraw";
    if (!problem.empty()) {
        std::cerr << "vellmeta: " << problem << '\n';
        return kUnusable;
    }

    report.format = openTrackIo ? ReportFormat::OpenTrackIo
                    : json || jsonLines ? ReportFormat::Json
                    : csv               ? ReportFormat::Csv
                    : tsv               ? ReportFormat::Tsv
                                        : ReportFormat::Text;
    report.lines = jsonLines;
    if (!extensions.empty())
        walk.extensions = extensions;
    runOptions.scan.colorSpace = *colorSpaceNamed(colorSpace);
    runOptions.errIsTerminal = standardErrorIsTerminal();
    runOptions.progress = progressOn->count() > 0 ? RunOptions::Progress::On
                          : app.count("--no-progress") > 0 || !runOptions.errIsTerminal ? RunOptions::Progress::Off
                                                                                        : RunOptions::Progress::Auto;
    std::ios::sync_with_stdio(false);
    std::unique_ptr<Sink> sink;
    if (!catalog.empty()) {
        CatalogOptions options;
        options.path = catalog;
        options.colorSpace = colorSpace;
        options.prune = prune;
        for (std::string& path : paths)
            options.roots.push_back(path = catalogPath(path));
        std::string problem;
        sink = catalogSink(options, problem);
        if (!sink) {
            std::cerr << "vellmeta: " << printable(catalog) << ": " << problem << '\n';
            return kUnusable;
        }
    } else {
        sink = diff ? diffSink(report) : reportSink(report);
    }
    return run(paths, runOptions, *sink, std::cout, std::cerr);
}
