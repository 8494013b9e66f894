// SPDX-License-Identifier: Apache-2.0
// Writes the composed header images that the Python tests decode, one file
// DIR/NAME.vellraw each: the smallest decodable header, every field defined,
// nothing written, all zeros, texts that are not all UTF-8, time codes, and
// seeded random bytes (half of them over a decodable camera identity).
// With --interchange COUNT it writes COUNT headers instead whose camera,
// lens, frame-rate and time-code fields (what an OpenTrackIO sample is made
// of) hold values in and out of range, over a few other field mutations.
//
//   vellmeta_test_headers DIR
//   vellmeta_test_headers --interchange COUNT DIR
#include <cstring>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "support/FullHeader.h"
#include "support/HeaderFieldMap.h"
#include "support/HeaderImage.h"

using Vmc::testing::HeaderImage;

namespace {

std::vector<std::pair<std::string, HeaderImage>> composedImages()
{
    HeaderImage zeros;
    std::memset(zeros.data(), 0, VellRawMeta::kVellFileHeaderV3Size);

    HeaderImage texts = Vmc::testing::fullHeader();
    texts.setText(VMC_AT(lensName), "Maker \xc3\xa9 Model 35mm");     // UTF-8
    texts.setText(VMC_AT(longUserText), "bad \xc3\x28 and \x80 bytes"); // not UTF-8
    texts.setText(VMC_AT(productionTextA), "\xe2\x9c\x93 scene 12");
    texts.setText(VMC_AT(groupName1), "group \xff\xfe");
    texts.setText(VMC_AT(record1.name), "r\xe9sum\xe9");                // Latin-1
    texts.setText(VMC_AT(recorderInfo), "Codex Digital;A7;1.SIM2.3");

    // Texts that views must keep harmless: separators, quotes, line breaks,
    // control characters, spreadsheet formulas and markup.
    HeaderImage hostile = Vmc::testing::fullHeader();
    hostile.setText(VMC_AT(cameraModelText), "=HYPERLINK(\"x\"),1");
    hostile.setText(VMC_AT(lensName), "+Lens, \"50\"\n<script>alert(1)</script>");
    hostile.setText(VMC_AT(longUserText), "-tab\there\r\nnew line \x1b[31m\x7f");
    hostile.setText(VMC_AT(productionTextA), "@SUM(A1)");
    hostile.setText(VMC_AT(lookName), "\tTabbed\x01");

    HeaderImage timeCodes = HeaderImage::decodable();
    timeCodes.set(VMC_AT(timeCode), VellRawMeta::TC_Struct{0x23595924u, 7u, 0x80005DC0u, 9u});
    timeCodes.set(VMC_AT(timeCode1), VellRawMeta::TC_Struct{0x01020304u, 0u, 0x00006198u, 0u});
    timeCodes.set(VMC_AT(timeCode8), VellRawMeta::TC_Struct{0x10000000u, 1u, 2u, 3u});
    timeCodes.set(VMC_AT(sensorFrameRate), 23976u);
    timeCodes.set(VMC_AT(projectFrameRate), 25000u);

    std::vector<std::pair<std::string, HeaderImage>> images = {
        {"baseline", HeaderImage::decodable()}, {"full", Vmc::testing::fullHeader()}, {"unwritten", HeaderImage()},
        {"zeros", zeros}, {"texts", texts}, {"timecodes", timeCodes}, {"hostile", hostile}};
    for (unsigned seed = 1; seed <= 6; ++seed) {
        HeaderImage image;
        std::mt19937 random(seed);
        for (std::size_t i = 0; i < VellRawMeta::kVellFileHeaderV3Size; ++i)
            image.data()[i] = static_cast<unsigned char>(random() & 0xFF);
        if (seed % 2 == 0) { // decoding gets past the camera identity
            image.set(VMC_AT(cameraType), 1u);
            image.set(VMC_AT(targetColorSpace), 0u);
            image.set(VMC_AT(flipState), 0u);
        }
        images.emplace_back("random" + std::to_string(seed), image);
    }
    return images;
}

// A header for the interchange tests, the same for the same `n`.
HeaderImage interchangeImage(unsigned n)
{
    std::mt19937 rng(200000 + n);
    const auto pick = [&](std::initializer_list<std::uint32_t> values) {
        const std::uint32_t i = rng() % (values.size() + 1); // or random bits
        return i < values.size() ? values.begin()[i] : static_cast<std::uint32_t>(rng());
    };
    const std::initializer_list<std::uint32_t> rates = {0,     1000,  12500, 23976, 24000,  25000,  29970,      30000,
                                                        47952, 48000, 59940, 60000, 119880, 120000, 0x7FFFFFFF, 0x80000000};
    // A BCD digit: mostly 0 to 9, sometimes a nibble that is not a digit.
    const auto digit = [&](unsigned limit) { return rng() % 16 == 0 ? 10 + rng() % 6 : rng() % limit; };

    HeaderImage h = n % 2 ? Vmc::testing::fullHeader() : HeaderImage::decodable();
    h.set(VMC_AT(sensorFrameRate), pick(rates));
    h.set(VMC_AT(projectFrameRate), pick(rates));
    h.set(VMC_AT(exposureTime), pick({0, 1, 10000, 20833, 41666, 41667, 1000000}));
    h.set(VMC_AT(exposureIndex), pick({0, 1, 800, 0xFFFFFFFE, 0xFFFFFFFF}));
    h.set(VMC_AT(activeAreaWidth), pick({0, 1, 4096}));
    h.set(VMC_AT(activeAreaHeight), pick({0, 1, 2160}));
    h.set(VMC_AT(activeAreaLeft), pick({0, 8, 0xFFFFFFFE}));
    h.set(VMC_AT(lensIris), pick({0, 500, 1000, 2800, 64000}));
    h.set(VMC_AT(lensFocalLength), pick({0, 1, 35000}));
    h.set(VMC_AT(lensDistanceUnits), pick({0, 1, 0xFFFFFFFF}));
    h.set(VMC_AT(lensFocusDistance), pick({0, 1, 2500, 0xFFFFFFFF}));
    h.set(VMC_AT(cameraIndex), static_cast<std::uint8_t>(pick({0, ' ', 'B', 0x7F, 0x85, 0xFF})));
    std::uint32_t bcd = 0;
    for (unsigned limit : {3u, 10u, 7u, 10u, 7u, 10u, 10u, 10u}) // up to 29 h, 69 min, 69 s
        bcd = (bcd << 4) | digit(limit);
    const std::uint32_t rate = pick(rates) | (rng() % 2 ? 0x80000000u : 0u);
    h.set(VMC_AT(timeCode), VellRawMeta::TC_Struct{rng() % 32 == 0 ? 0xFFFFFFFFu : bcd, 0u, rate, 0u});

    const char* texts[] = {"", "   ", "\t", "A\x01B", "Zeiss \x7f", "\xc2\xa0\xc2\xa0", "\xe3\x80\x80 \xe3\x80\x80",
                           "Cooke S4", "Zeiss Master Prime 50", "\xff\xfe", "Fujinon \xc2\x85 Zoom", "CORVA Stage NX"};
    const std::size_t textCount = sizeof texts / sizeof texts[0];
    if (rng() % 2)
        h.setText(VMC_AT(lensName), texts[rng() % textCount]);
    if (rng() % 4 == 0)
        h.setText(VMC_AT(cameraModelText), texts[rng() % textCount]);
    if (rng() % 4 == 0)
        h.fill(VMC_AT(uuidBytes), rng() % 2 ? 0xFF : 0x00);
    for (unsigned i = rng() % 4; i > 0; --i)
        Vmc::testing::mutateField(h.data(), rng);
    return h;
}

bool write(const std::string& path, const HeaderImage& image)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(image.data()), VellRawMeta::kVellFileHeaderV3Size);
    if (!out)
        std::cerr << "vellmeta_test_headers: cannot write " << path << "\n";
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--interchange") {
        const unsigned count = static_cast<unsigned>(std::stoul(argv[2]));
        for (unsigned n = 1; n <= count; ++n)
            if (!write(std::string(argv[3]) + "/interchange-" + std::to_string(n) + ".vellraw", interchangeImage(n)))
                return 1;
        return 0;
    }
    if (argc != 2) {
        std::cerr << "usage: vellmeta_test_headers [--interchange COUNT] DIR\n";
        return 2;
    }
    for (const auto& [name, image] : composedImages())
        if (!write(std::string(argv[1]) + "/" + name + ".vellraw", image))
            return 1;
    return 0;
}
