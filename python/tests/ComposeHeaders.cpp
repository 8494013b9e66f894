// Writes the composed header images that the Python tests decode, one file
// DIR/NAME.vellraw each: the smallest decodable header, every field defined,
// nothing written, all zeros, texts that are not all UTF-8, time codes, and
// seeded random bytes (half of them over a decodable camera identity).
//
//   vellmeta_test_headers DIR
#include <cstring>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "support/FullHeader.h"
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

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: vellmeta_test_headers DIR\n";
        return 2;
    }
    for (const auto& [name, image] : composedImages()) {
        const std::string path = std::string(argv[1]) + "/" + name + ".vellraw";
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(image.data()), VellRawMeta::kVellFileHeaderV3Size);
        if (!out) {
            std::cerr << "vellmeta_test_headers: cannot write " << path << "\n";
            return 1;
        }
    }
    return 0;
}
