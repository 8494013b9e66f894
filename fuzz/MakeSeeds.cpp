// SPDX-License-Identifier: Apache-2.0
// Writes header images into a directory, the same files on every run.
//
//   vmc_fuzz_seeds fuzz/corpus         the generated part of the fuzzer's seed
//                                      corpus: the full header, the smallest
//                                      decodable one, one the camera never
//                                      wrote, and full headers with a few
//                                      fields rewritten
//   vmc_fuzz_seeds DIRECTORY COUNT     COUNT fuzzed headers: field mutations
//                                      of the full and decodable headers, and
//                                      every fifth one random bytes
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "support/FullHeader.h"
#include "support/HeaderFieldMap.h"

using Vmc::testing::HeaderImage;

namespace {

bool write(const std::string& path, const HeaderImage& image)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    const std::size_t size = VellRawMeta::kVellFileHeaderV3Size;
    const bool written = std::fwrite(image.data(), 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

bool writeFuzzed(const std::string& dir, unsigned count)
{
    bool ok = true;
    for (unsigned n = 1; ok && n <= count; ++n) {
        std::mt19937 rng(100000 + n);
        HeaderImage image = n % 2 ? Vmc::testing::fullHeader() : HeaderImage::decodable();
        if (n % 5 == 0) {
            for (std::size_t i = 0; i < VellRawMeta::kVellFileHeaderV3Size; ++i)
                image.data()[i] = static_cast<unsigned char>(rng());
        } else {
            for (unsigned i = 0; i < 1 + n % 12; ++i)
                Vmc::testing::mutateField(image.data(), rng);
        }
        char name[32];
        std::snprintf(name, sizeof name, "/fuzzed-%05u", n);
        ok = write(dir + name, image);
    }
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s DIRECTORY [COUNT]\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    if (argc == 3) {
        if (!writeFuzzed(dir, static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10)))) {
            std::perror(dir.c_str());
            return 1;
        }
        return 0;
    }
    bool ok = write(dir + "/seed-full-header", Vmc::testing::fullHeader()) &&
              write(dir + "/seed-decodable", HeaderImage::decodable()) &&
              write(dir + "/seed-never-written", HeaderImage());
    for (unsigned n = 1; ok && n <= 24; ++n) {
        std::mt19937 rng(n);
        HeaderImage image = Vmc::testing::fullHeader();
        for (unsigned i = 0; i < 1 + n % 6; ++i)
            Vmc::testing::mutateField(image.data(), rng);
        char name[32];
        std::snprintf(name, sizeof name, "/seed-mutated-%02u", n);
        ok = write(dir + name, image);
    }
    if (!ok) {
        std::perror(dir.c_str());
        return 1;
    }
    return 0;
}
