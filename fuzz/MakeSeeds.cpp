// Writes the generated part of the fuzzer's seed corpus into a directory:
// the full header, the smallest decodable one, a header the camera never
// wrote, and full headers with a few fields rewritten (fixed seeds, so the
// files come out the same on every run).
//
//   vmc_fuzz_seeds fuzz/corpus
#include <cstdio>
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

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
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
