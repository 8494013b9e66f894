// vellmeta: shows what the headers of VELLRAW clips say.
//
//   vellmeta [--json] [--all] [--color-space aces|native|wide] FILE...
#include <iostream>

#include <unistd.h>
#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <CLI/CLI.hpp>

#include "Batch.h"
#include "Dump.h"
#include "ReportFormatter.h"

int main(int argc, char** argv)
{
    using ColorSpace = Vmc::VellMetadataContainer::ColorSpace;

    CLI::App app("Shows the metadata in the headers of VELLRAW (version 3) clips: every field the header "
                 "defines, grouped under headings, or one JSON document for all files.",
                 "vellmeta");
    app.set_version_flag("--version", std::string(Vmc::VellMetadataContainer::VellMetadataContainerVersion().versionString),
                         "Print the library's version and exit");

    vellmeta::Options options;
    std::vector<std::string> paths;
    std::string colorSpace = "native";
    const std::map<std::string, ColorSpace> colorSpaces = {
        {"aces", ColorSpace::AcesAP0},
        {"native", ColorSpace::CameraNative},
        {"wide", ColorSpace::WideGamut},
    };

    app.add_flag("--json", options.json, "Write one JSON document (an array with an object per file)");
    app.add_flag("--all", options.all, "Also list fields the header leaves undefined (null in JSON), spare ones too");
    app.add_option("--color-space", colorSpace,
                   "Colour space of the primaries: aces (ACES AP0), native (the camera's own) or wide (wide gamut)")
        ->check(CLI::IsMember({"aces", "native", "wide"}))
        ->capture_default_str();
    app.add_option("FILE", paths, "VELLRAW files (- for standard input), or folders with -r; the first 2480 bytes of "
                                  "each file are decoded")->required();

    vellmeta::WalkOptions walk;
    std::vector<std::string> extensions;
    vellmeta::BatchOptions batch;
    batch.jobs = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    app.add_flag("-r,--recursive", walk.recursive, "Walk the folders given, in sorted order, for files with the extensions");
    app.add_option("--ext", extensions, "Extension of the files a walk reads (repeatable, any case; default vellraw)")
        ->expected(1)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_flag("--follow-links", walk.followLinks, "Follow symbolic links found by a walk, out of the tree too");
    app.add_option("-j,--jobs", batch.jobs, "Files read, decoded and formatted at once (default: the processors)")
        ->check(CLI::PositiveNumber);
    auto* progressOn = app.add_flag("--progress", "Show progress on standard error even for few files or no terminal");
    auto* progressOff = app.add_flag("--no-progress", "Never show progress")->excludes(progressOn);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // Help and version end with status 0; anything else is an unusable
        // command line.
        const int status = app.exit(e);
        return status == 0 ? 0 : vellmeta::kUnusable;
    }

    for (const std::string& extension : extensions)
        if (extension.empty() || extension == ".") {
            std::cerr << "vellmeta: --ext needs an extension, such as vellraw\n";
            return vellmeta::kUnusable;
        }
    if (!extensions.empty())
        walk.extensions = extensions;
    options.colorSpace = colorSpaces.at(colorSpace);
    batch.colorSpace = options.colorSpace;
    batch.errIsTerminal = ::isatty(STDERR_FILENO) == 1;
    batch.progress = progressOn->count() != 0   ? vellmeta::BatchOptions::Progress::On
                     : progressOff->count() != 0 ? vellmeta::BatchOptions::Progress::Off
                     : batch.errIsTerminal       ? vellmeta::BatchOptions::Progress::Auto
                                                 : vellmeta::BatchOptions::Progress::Off;
    std::ios::sync_with_stdio(false);
    if (!options.json)
        return vellmeta::dumpFiles(paths, options, std::cout, std::cerr);
    const std::unique_ptr<vellmeta::ClipFormatter> formatter = vellmeta::makeFormatter(options);
    return vellmeta::runBatch(paths, walk, batch, *formatter, std::cout, std::cerr);
}
