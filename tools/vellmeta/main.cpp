// vellmeta: shows what the headers of VELLRAW clips say.
//
//   vellmeta [--json] [--all] [--color-space aces|native|wide] FILE...
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "Dump.h"
#include "JsonSchema.h"
#include "OpenTrackIo.h"

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
    bool openTrackIo = false, jsonLines = false;
    app.add_flag("--opentrackio", openTrackIo, "Write one OpenTrackIO 1.0.0 sample per file (a JSON array)");
    app.add_flag("--json-lines", jsonLines, "With --opentrackio: one sample per line, no array")->needs("--opentrackio");
    app.add_flag_callback("--json-schema", [] { std::cout << vellmeta::jsonViewSchema(); throw CLI::Success(); },
                          "Print the JSON Schema of the --json view and exit");
    app.add_option("--color-space", colorSpace,
                   "Colour space of the primaries: aces (ACES AP0), native (the camera's own) or wide (wide gamut)")
        ->check(CLI::IsMember({"aces", "native", "wide"}))
        ->capture_default_str();
    app.add_option("FILE", paths, "VELLRAW files; the first 2480 bytes of each are decoded")->required();

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // Help and version end with status 0; anything else is an unusable
        // command line.
        const int status = app.exit(e);
        return status == 0 ? 0 : vellmeta::kUnusable;
    }

    options.colorSpace = colorSpaces.at(colorSpace);
    std::ios::sync_with_stdio(false);
    if (openTrackIo)
        return vellmeta::writeOpenTrackIoSamples(paths, options.colorSpace, jsonLines, std::cout, std::cerr);
    return vellmeta::dumpFiles(paths, options, std::cout, std::cerr);
}
