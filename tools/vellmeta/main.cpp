// vellmeta: shows what the headers of VELLRAW clips say.
//
//   vellmeta [--json | --csv | --tsv] [-s] [-n] [--all] [-f LIST] [-g HEADING]... FILE...
//   vellmeta -r [--ext EXT]... [--follow-links] [-j N] [--progress | --no-progress] ... FOLDER...
//   vellmeta --diff [--json] A B
#include <algorithm>
#include <iostream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include <CLI/CLI.hpp>

#include <unistd.h>

#include "Batch.h"
#include "Diff.h"
#include "Dump.h"
#include "FieldChoice.h"
#include "JsonSchema.h"
#include "OpenTrackIo.h"

int main(int argc, char** argv)
{
    using ColorSpace = Vmc::VellMetadataContainer::ColorSpace;

    CLI::App app("Shows the metadata in the headers of VELLRAW (version 3) clips: by default every field the header "
                 "defines, with labels and units under headings; or one JSON document, or a CSV or TSV clip report "
                 "with a row per clip; or the fields that differ between two clips.",
                 "vellmeta");
    app.set_version_flag("--version", std::string(Vmc::VellMetadataContainer::VellMetadataContainerVersion().versionString),
                         "Print the library's version and exit");

    vellmeta::Options options;
    std::vector<std::string> paths;
    std::string colorSpace = "native";
    std::string fieldList;
    std::vector<std::string> headings;
    bool json = false, csv = false, tsv = false, diff = false;
    const std::map<std::string, ColorSpace> colorSpaces = {
        {"aces", ColorSpace::AcesAP0},
        {"native", ColorSpace::CameraNative},
        {"wide", ColorSpace::WideGamut},
    };

    auto* jsonFlag = app.add_flag("--json", json, "Write one JSON document (an array with an object per file)");
    auto* csvFlag = app.add_flag("--csv", csv, "Write a CSV clip report: a header row, then a row per file");
    auto* tsvFlag = app.add_flag("--tsv", tsv, "Write the clip report separated by tabs");
    jsonFlag->excludes(csvFlag)->excludes(tsvFlag);
    csvFlag->excludes(tsvFlag);
    app.add_flag("-s,--names", options.report.names, "Show the container's field names instead of labels");
    app.add_flag("-n,--numeric", options.report.numeric,
                 "Show the decoded numbers as they are, without conversion for people");
    app.add_flag("--all", options.report.all,
                 "Also show fields the header leaves undefined (null in JSON), and spare and fixed ones");
    app.add_option("-f,--fields", fieldList,
                   "Show only these fields, in this order: container names separated by commas "
                   "(e.g. cameraModel,exposureTime)");
    app.add_option("-g,--group", headings,
                   "Show only the fields under this heading (repeatable): " + vellmeta::headingNames())
        ->allow_extra_args(false);
    app.add_flag("--diff", diff,
                 "Compare two files: list the fields whose values differ or that only one defines "
                 "(with --all, the equal ones too); exit 0 when none differs, 1 when some do")
        ->excludes(csvFlag)
        ->excludes(tsvFlag);
    bool openTrackIo = false, jsonLines = false;
    app.add_flag("--opentrackio", openTrackIo, "Write one OpenTrackIO 1.0.0 sample per file (a JSON array)")
        ->excludes(jsonFlag)->excludes(csvFlag)->excludes(tsvFlag)->excludes("--diff");
    app.add_flag("--json-lines", jsonLines, "With --opentrackio: one sample per line, no array")->needs("--opentrackio");
    app.add_flag_callback("--json-schema", [] { std::cout << vellmeta::jsonViewSchema(); throw CLI::Success(); },
                          "Print the JSON Schema of the --json view and exit");
    app.add_option("--color-space", colorSpace,
                   "Colour space of the primaries: aces (ACES AP0), native (the camera's own) or wide (wide gamut)")
        ->check(CLI::IsMember({"aces", "native", "wide"}))
        ->capture_default_str();
    app.add_option("FILE", paths,
                   "VELLRAW files (- for standard input), or folders with -r; the first 2480 bytes of each file are decoded")
        ->required();

    // Whole cards and archives: walks, parallel reading, progress.
    vellmeta::WalkOptions walk;
    std::vector<std::string> extensions;
    vellmeta::BatchOptions batch;
    batch.jobs = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    app.add_flag("-r,--recursive", walk.recursive,
                 "Walk the folders given, in sorted order, reading the files with the extensions of --ext");
    app.add_option("--ext", extensions, "Extension of the files a walk reads (repeatable, any case; default vellraw)")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_flag("--follow-links", walk.followLinks, "Follow symbolic links found by a walk, out of the tree too");
    app.add_option("-j,--jobs", batch.jobs,
                   "Files read, decoded and formatted at once, on as many threads (default: the processors)")
        ->check(CLI::Validator([](const std::string& text) {
            return text.find_first_not_of("0123456789") == std::string::npos && text.find_first_not_of('0') != std::string::npos
                       ? std::string()
                       : std::string("needs a number of threads, 1 or more");
        }, "N"));
    auto* progressOn = app.add_flag("--progress", "Show progress on standard error, for any number of files");
    app.add_flag("--no-progress", "Never show progress")->excludes(progressOn);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // Help and version end with status 0; anything else is an unusable
        // command line, said in one line.
        if (e.get_exit_code() == 0)
            return app.exit(e);
        std::cerr << "vellmeta: " << e.what() << " (vellmeta --help lists the options)\n";
        return vellmeta::kUnusable;
    }

    std::string problem;
    if (app.count("--fields") > 0)
        problem = vellmeta::chooseFields(fieldList, options.report.fields);
    if (problem.empty())
        problem = vellmeta::chooseHeadings(headings, options.report.headings);
    if (problem.empty() && diff && paths.size() != 2)
        problem = "--diff compares two files; " + std::to_string(paths.size()) + (paths.size() == 1 ? " was" : " were") +
                  " given";
    if (problem.empty() && std::count(extensions.begin(), extensions.end(), "") + std::count(extensions.begin(), extensions.end(), ".") > 0)
        problem = "--ext needs an extension, such as vellraw";
    if (!problem.empty()) {
        std::cerr << "vellmeta: " << problem << '\n';
        return vellmeta::kUnusable;
    }

    options.report.format = json ? Vmc::ReportFormat::Json
                            : csv ? Vmc::ReportFormat::Csv
                            : tsv ? Vmc::ReportFormat::Tsv
                                  : Vmc::ReportFormat::Text;
    options.colorSpace = colorSpaces.at(colorSpace);
    std::ios::sync_with_stdio(false);
    if (openTrackIo)
        return vellmeta::writeOpenTrackIoSamples(paths, options.colorSpace, jsonLines, std::cout, std::cerr);
    if (diff)
        return vellmeta::diffFiles(paths[0], paths[1], options, std::cout, std::cerr);
    if (!extensions.empty())
        walk.extensions = extensions;
    batch.colorSpace = options.colorSpace;
    batch.errIsTerminal = ::isatty(STDERR_FILENO) == 1;
    batch.progress = progressOn->count() > 0                 ? vellmeta::BatchOptions::Progress::On
                     : app.count("--no-progress") > 0 || !batch.errIsTerminal ? vellmeta::BatchOptions::Progress::Off
                                                                             : vellmeta::BatchOptions::Progress::Auto;
    Vmc::ClipReport report(options.report);
    return vellmeta::runBatch(paths, walk, batch, report, std::cout, std::cerr);
}
