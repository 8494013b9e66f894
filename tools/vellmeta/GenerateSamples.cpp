// SPDX-License-Identifier: Apache-2.0
// Writes the sample VELLRAW headers of samples/ (2480 bytes each), composed
// field by field at the header's named offsets.
//
// To regenerate them after changing this file, from the repository root:
//
//   cmake --build build --target generate_samples && build/tools/vellmeta/generate_samples samples
//
// With --check instead of writing, it compares the files in the directory
// with freshly composed ones and exits 1 when any differs or is missing
// (a CTest test runs that against the committed samples).
//
// With --shoot N instead, it writes the first N clips of a shoot (the
// benchmarks' ShootDay: four cameras over the days of a shoot, each clip
// with its own time, time code, lens settings and slate) as the cards hold
// them, a folder per card (A001/A001_C001_240610.vellraw, ...): thousands
// of varied headers for the page's browser test, never committed.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "ShootDay.h"
#include "support/FullHeader.h"

using Vmc::testing::fullHeader;
using Vmc::testing::HeaderImage;
using Vmc::decoding::At;

namespace {

struct Sample {
    const char* name;
    HeaderImage image;
};

// A CORVA Compact whose model text names it, with a Zeiss lens, a look,
// time codes and every other group filled; ND filter 2 of the Compact table.
HeaderImage corvaCompact()
{
    HeaderImage h = fullHeader();
    h.setText(VMC_AT(cameraModelText), "CORVA Compact");
    h.set(VMC_AT(cameraSerialCode), 0x43303432u); // C042
    h.set(VMC_AT(cameraNumber), 42u);
    h.set(VMC_AT(cameraSerialNumber), 4711u);
    h.set(VMC_AT(cameraFamilyCode), std::uint16_t{2}); // not a stage camera
    h.set(VMC_AT(cameraVariantCode), std::uint16_t{1});
    h.setText(VMC_AT(lensName), "Zeiss Supreme Prime 50");
    h.set(VMC_AT(lensIris), 4000u);
    h.set(VMC_AT(lensFocalLength), 50000u);
    h.set(VMC_AT(lensFocusDistance), 3200u);
    h.set(VMC_AT(captureDate), 0x20240612u);
    h.set(VMC_AT(captureTime), 0x14302100u);
    h.set(VMC_AT(timeZone), 0x00000200u); // UTC +2
    h.set(VMC_AT(daylightSaving), 0x00000000u);
    h.set(VMC_AT(sensorFrameRate), 25000u);
    h.set(VMC_AT(projectFrameRate), 25000u);
    h.set(VMC_AT(timeCode), {0x14302112u, 0u, 25000u, 0u});
    h.setText(VMC_AT(lookName), "Warm Interior");
    h.set(VMC_AT(whiteBalanceCct), 3200u);
    h.set(VMC_AT(flipState), 0u);
    h.set(VMC_AT(ndFilterType), std::uint16_t{2});
    h.set(VMC_AT(ndFilterMilliValue), std::uint16_t{1200});
    h.setText(VMC_AT(groupName1), "Focus marks");
    h.setText(VMC_AT(groupName2), "Iris marks");
    return h;
}

// A stage camera named by its model text, ND filter type 1, drop-frame time code.
HeaderImage corvaStage()
{
    HeaderImage h = fullHeader();
    h.setText(VMC_AT(cameraModelText), "CORVA Stage");
    h.set(VMC_AT(cameraSerialCode), 0x53303037u); // S007
    h.set(VMC_AT(cameraNumber), 7u);
    h.set(VMC_AT(cameraSerialNumber), 6123u);
    h.set(VMC_AT(cameraFamilyCode), std::uint16_t{1}); // the model text alone makes it a stage camera
    h.set(VMC_AT(cameraVariantCode), std::uint16_t{1});
    h.set(VMC_AT(ndDataLevel), 25u);
    h.set(VMC_AT(ndFilterType), std::uint16_t{1});
    h.set(VMC_AT(ndFilterMilliValue), std::uint16_t{900});
    h.set(VMC_AT(sensorFrameRate), 29970u);
    h.set(VMC_AT(projectFrameRate), 29970u);
    h.set(VMC_AT(timeCode), {0x09595929u, 0u, 0x80007512u, 0u}); // drop frame, 29.97
    h.setText(VMC_AT(lensName), "Cooke S4/i 32mm");
    h.set(VMC_AT(lensDistanceUnits), 0u); // imperial
    h.set(VMC_AT(lensFocusDistance), 0xFFFFFFFFu); // infinity
    return h;
}

// A CORVA without model text: the model comes from the serial-number range
// (6950: Corva NX R). Fujinon zoom, southern and western location.
HeaderImage corvaNxRBySerial()
{
    HeaderImage h = fullHeader();
    h.fill(VMC_AT(cameraModelText), 0xFF);
    h.set(VMC_AT(cameraType), 2u);
    h.set(VMC_AT(cameraSerialNumber), 6950u);
    h.set(VMC_AT(cameraSerialCode), 0x4E583530u); // NX50
    h.set(VMC_AT(cameraFamilyCode), std::uint16_t{3});
    h.set(VMC_AT(cameraVariantCode), std::uint16_t{2});
    h.setText(VMC_AT(lensName), "Fujinon Premista 28-100");
    h.set(VMC_AT(latitude), 2u, 338688000u);  // 33.8688 S
    h.set(VMC_AT(longitude), 2u, 1512093000u); // 151.2093 W
    h.set(VMC_AT(flipState), 12u);
    h.set(VMC_AT(ndFilterType), std::uint16_t{0}); // no ND filter
    return h;
}

// An older-generation camera (camera type 1, no model text) that wrote few
// fields; its first group name is Latin-1, not UTF-8.
HeaderImage k40()
{
    HeaderImage h = HeaderImage::decodable();
    h.set(VMC_AT(cameraNumber), 3u);
    h.set(VMC_AT(cameraSerialNumber), 1502u);
    h.set(VMC_AT(cameraSerialCode), 0x4B343031u); // K401
    h.set(VMC_AT(cameraIndex), std::uint8_t{'B'});
    h.set(VMC_AT(imageWidth), 2880u);
    h.set(VMC_AT(imageHeight), 1620u);
    h.set(VMC_AT(activeAreaLeft), 0u);
    h.set(VMC_AT(activeAreaTop), 0u);
    h.set(VMC_AT(activeAreaWidth), 2880u);
    h.set(VMC_AT(activeAreaHeight), 1620u);
    h.set(VMC_AT(captureDate), 0x20110305u);
    h.set(VMC_AT(captureTime), 0x08150000u);
    h.set(VMC_AT(exposureTime), 10000u);
    h.set(VMC_AT(sensorFrameRate), 24000u);
    h.set(VMC_AT(projectFrameRate), 24000u);
    h.set(VMC_AT(whiteBalanceCct), 5600u);
    h.set(VMC_AT(whiteBalanceTint), 0.0f);
    h.set(VMC_AT(whiteBalanceRgb), {2.0f, 1.0f, 1.5f});
    h.set(VMC_AT(processingLevel), 1u);
    h.set(VMC_AT(lensIris), 5600u);
    h.set(VMC_AT(bayerColorOrder), 0x47524247u); // GRBG
    h.setText(VMC_AT(groupName1), "Lumi\xE8re");
    h.set(VMC_AT(record1.kind), 1u);
    h.setText(VMC_AT(record1.name), "Marks");
    for (int v = 0; v < 6; ++v)
        h.set(At<std::uint16_t>{VMC_AT(record1.values).offset + 2 * static_cast<std::size_t>(v)},
              static_cast<std::uint16_t>(v + 1));
    return h;
}

// A full header whose flip state (4, horizontal flip by reader alone) is not
// one of the accepted values: a failure with code 0, and decoding goes on.
HeaderImage unknownFlipState()
{
    HeaderImage h = fullHeader();
    h.set(VMC_AT(flipState), 4u);
    return h;
}

// No model text, camera type 2 and a serial number in no known range
// (6900): decoding stops at the camera identity with failure 300.
HeaderImage serialInNoRange()
{
    HeaderImage h = fullHeader();
    h.fill(VMC_AT(cameraModelText), 0xFF);
    h.set(VMC_AT(cameraType), 2u);
    h.set(VMC_AT(cameraSerialNumber), 6900u);
    return h;
}

std::vector<Sample> samples()
{
    return {
        {"corva-compact.vellraw", corvaCompact()},
        {"corva-stage.vellraw", corvaStage()},
        {"corva-nx-r-by-serial.vellraw", corvaNxRBySerial()},
        {"k40-older-camera.vellraw", k40()},
        {"failures/unknown-flip-state.vellraw", unknownFlipState()},
        {"failures/serial-in-no-range.vellraw", serialInNoRange()},
    };
}

constexpr std::size_t kSize = VellRawMeta::kVellFileHeaderV3Size;

// Writes the first `count` clips of the shoot under `dir`.
int writeShoot(long count, const std::string& dir)
{
    constexpr unsigned kShootSeed = 20240610;
    const Vmc::bench::ShootDay shoot(VMC_SAMPLES_DIR);
    char name[64];
    int status = 0;
    shoot.roll(count, kShootSeed, [&](const Vmc::bench::Clip& clip) {
        Vmc::bench::clipPath(name, sizeof name, clip.camera, clip.card, clip.number, clip.date);
        const std::filesystem::path path = std::filesystem::path(dir) / name;
        if (clip.number == 1)
            std::filesystem::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(clip.header.data()), static_cast<std::streamsize>(kSize));
        if (!out && status == 0) {
            std::cerr << path.string() << ": cannot write\n";
            status = 1;
        }
    });
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--shoot") == 0) {
        char* end = nullptr;
        const long count = std::strtol(argv[2], &end, 10);
        if (*end == '\0' && count > 0)
            return writeShoot(count, argv[3]);
    }
    const bool check = argc == 3 && std::strcmp(argv[1], "--check") == 0;
    if (argc != 2 && !check) {
        std::cerr << "usage: generate_samples [--check] DIRECTORY\n"
                     "       generate_samples --shoot N DIRECTORY\n";
        return 2;
    }
    const std::string dir = argv[argc - 1];

    int status = 0;
    for (const Sample& sample : samples()) {
        const std::string path = dir + "/" + sample.name;
        const char* bytes = reinterpret_cast<const char*>(sample.image.data());
        if (check) {
            std::ifstream in(path, std::ios::binary);
            const std::vector<char> existing((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            if (existing.size() != kSize || std::memcmp(existing.data(), bytes, kSize) != 0) {
                std::cerr << path << ": missing or not what the generator composes; regenerate the samples\n";
                status = 1;
            }
        } else {
            std::filesystem::create_directories(std::filesystem::path(path).parent_path());
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(bytes, static_cast<std::streamsize>(kSize));
            if (!out) {
                std::cerr << path << ": cannot write\n";
                status = 1;
            }
        }
    }
    return status;
}
