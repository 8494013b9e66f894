// Reference values for the Python binding tests, straight from the C++
// container.
//
//   vellmeta_reference write DIR                 composed header images, DIR/NAME.vellraw
//   vellmeta_reference dump FILE COLORSPACE      decodes FILE (colour space 0, 1 or 2)
//
// `dump` prints the result, then one line per field in container order:
//   result <TAB> isError <TAB> code <TAB> message as hex bytes
//   name <TAB> token
// A token is "-" for an undefined field; otherwise numbers in decimal, floats
// as "f:" and their eight hex bit digits, records as their parts separated by
// spaces, fractions as n/d, time codes as four hex words and their text, and
// texts as "t:" and their bytes in hex, so nothing is lost to formatting.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <VellMetadataContainer/VellMetadataContainer.h>

#include "support/FullHeader.h"
#include "support/HeaderImage.h"

namespace {

using Vmc::testing::fullHeader;
using Vmc::testing::HeaderImage;

std::string hexBytes(const char* text)
{
    std::ostringstream out;
    for (const char* p = text; *p != '\0'; ++p)
        out << std::hex << std::setw(2) << std::setfill('0') << static_cast<unsigned>(static_cast<unsigned char>(*p));
    return out.str();
}

std::string token(std::uint32_t v) { return std::to_string(v); }
std::string token(std::int32_t v) { return std::to_string(v); }
std::string token(bool v) { return v ? "1" : "0"; }

std::string token(float v)
{
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    char text[16];
    std::snprintf(text, sizeof text, "f:%08x", bits);
    return text;
}

std::string token(const Vmc::Vec2& v) { return token(v.x) + " " + token(v.y); }
std::string token(const Vmc::Vec3& v) { return token(v.x) + " " + token(v.y) + " " + token(v.z); }
std::string token(const Vmc::ImageWindow& w) { return token(w.first) + " " + token(w.second); }

std::string token(const Vmc::Chromaticities& c)
{
    return token(c.red) + " " + token(c.green) + " " + token(c.blue) + " " + token(c.white);
}

std::string token(const Vmc::CameraTriple& t)
{
    return token(t.a) + " " + token(t.b) + " " + token(t.c) + " " + token(t.extra);
}

std::string token(const Vmc::Rational& r) { return std::to_string(r.numerator) + "/" + std::to_string(r.denominator); }

std::string token(const VellRawMeta::TC_Struct& tc)
{
    char words[40];
    std::snprintf(words, sizeof words, "%08x %08x %08x %08x", static_cast<unsigned>(tc.bcdTime),
        static_cast<unsigned>(tc.word1), static_cast<unsigned>(tc.rateAndDropFrame), static_cast<unsigned>(tc.word3));
    std::ostringstream text;
    text << words << " " << tc;
    return text.str();
}

template <class T>
std::string token(const MetaField<T>& field)
{
    return field.defined ? token(field.value) : "-";
}

std::string token(const MetaString& field)
{
    return field.defined && field.text != nullptr ? "t:" + hexBytes(field.text) : "-";
}

// ---------------------------------------------------------------- images

// Every field defined, with texts that are not all UTF-8.
HeaderImage withTexts()
{
    HeaderImage image = fullHeader();
    image.setText(VMC_AT(lensName), "Maker \xc3\xa9 Model 35mm");        // é in UTF-8
    image.setText(VMC_AT(longUserText), "bad \xc3\x28 and \x80 bytes");    // not UTF-8
    image.setText(VMC_AT(productionTextA), "\xe2\x9c\x93 scene 12");        // ✓
    image.setText(VMC_AT(groupName1), "group \xff\xfe");
    image.setText(VMC_AT(record1.name), "r\xe9sum\xe9");                   // Latin-1, not UTF-8
    image.setText(VMC_AT(recorderInfo), "Codex Digital;A7;1.SIM2.3");
    return image;
}

HeaderImage withTimeCodes()
{
    HeaderImage image = HeaderImage::decodable();
    image.set(VMC_AT(timeCode), VellRawMeta::TC_Struct{0x23595924u, 7u, 0x80005DC0u, 9u});
    image.set(VMC_AT(timeCode1), VellRawMeta::TC_Struct{0x01020304u, 0u, 0x00006198u, 0u});
    image.set(VMC_AT(timeCode8), VellRawMeta::TC_Struct{0x10000000u, 1u, 2u, 3u});
    image.set(VMC_AT(sensorFrameRate), 23976u);
    image.set(VMC_AT(projectFrameRate), 25000u);
    return image;
}

// Seeded random bytes; with `decodable` the fields that the baseline sets are
// set the same way, so decoding gets past the camera identity.
HeaderImage randomImage(unsigned seed, bool decodable)
{
    HeaderImage image = decodable ? HeaderImage::decodable() : HeaderImage();
    std::mt19937 random(seed);
    for (std::size_t i = 0; i < VellRawMeta::kVellFileHeaderV3Size; ++i)
        image.data()[i] = static_cast<unsigned char>(random() & 0xFF);
    if (decodable) {
        image.set(VMC_AT(cameraType), 1u);
        image.set(VMC_AT(targetColorSpace), 0u);
        image.set(VMC_AT(flipState), 0u);
    }
    return image;
}

std::vector<std::pair<std::string, HeaderImage>> composedImages()
{
    std::vector<std::pair<std::string, HeaderImage>> images;
    images.emplace_back("baseline", HeaderImage::decodable());
    images.emplace_back("full", fullHeader());
    images.emplace_back("unwritten", HeaderImage());
    HeaderImage zeros;
    std::memset(zeros.data(), 0, VellRawMeta::kVellFileHeaderV3Size);
    images.emplace_back("zeros", zeros);
    images.emplace_back("texts", withTexts());
    images.emplace_back("timecodes", withTimeCodes());
    for (unsigned seed = 1; seed <= 6; ++seed)
        images.emplace_back("random" + std::to_string(seed), randomImage(seed, seed % 2 == 0));
    return images;
}

int writeImages(const std::string& dir)
{
    for (const auto& [name, image] : composedImages()) {
        const std::string path = dir + "/" + name + ".vellraw";
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(image.data()), VellRawMeta::kVellFileHeaderV3Size);
        if (!out) {
            std::cerr << "vellmeta_reference: cannot write " << path << "\n";
            return 1;
        }
    }
    return 0;
}

int dump(const std::string& path, int colorSpace)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < VellRawMeta::kVellFileHeaderV3Size) {
        std::cerr << "vellmeta_reference: " << path << " holds no complete header\n";
        return 1;
    }
    VellRawMeta::VellFileHeaderV3 header;
    std::memcpy(&header, bytes.data(), sizeof header);

    Vmc::VellMetadataContainer container;
    Vmc::ErrorValue result =
        container.initFromHeader(&header, static_cast<Vmc::VellMetadataContainer::ColorSpace>(colorSpace));
    std::cout << "result\t" << (result.isError ? 1 : 0) << "\t" << result.code << "\t" << hexBytes(result.message)
              << "\n";
    std::free(result.message);
    Vmc::forEachField(container, [](const Vmc::FieldInfo& info, const auto& field) {
        std::cout << info.name << "\t" << token(field) << "\n";
    });
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "write" && argc == 3)
        return writeImages(argv[2]);
    if (command == "dump" && argc == 4)
        return dump(argv[2], std::atoi(argv[3]));
    std::cerr << "usage: vellmeta_reference write DIR | dump FILE COLORSPACE\n";
    return 2;
}
