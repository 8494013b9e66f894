// SPDX-License-Identifier: Apache-2.0
// The loops whose instructions bench/decode-instructions counts under
// callgrind: the floor of decoding the shoot-day headers, or decoding them
// into new containers or into one reused container, in one colour space.
//
//   vmc_decode_instructions floor|fresh|reused [aces|native|wide] [PASSES]
//
// It builds the headers and the floor, makes one pass over the headers
// uncounted (tables built on first use, a reused container filled, the
// floor's copies held), then PASSES passes (default 3) in countedPasses,
// the one function the script has callgrind count. It prints the number of
// headers, passes and texts per header, which the script divides by.
#include <VellMetadataContainer/MetadataContainer.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "DecodeFloor.h"
#include "util/Portability.h"

namespace {

using Vmc::VellMetadataContainer;
using Vmc::bench::ColorSpace;
using Vmc::bench::decodeInto;
using Vmc::testing::HeaderImage;

enum class Loop { Floor, Fresh, Reused };

struct Run {
    Loop loop;
    ColorSpace space;
    const std::vector<HeaderImage>& headers;
    Vmc::bench::DecodeFloor& floor;
    VellMetadataContainer& reused;
};

void pass(const Run& run)
{
    switch (run.loop) {
    case Loop::Floor:
        for (std::size_t i = 0; i < run.headers.size(); ++i)
            run.floor.run(i);
        break;
    case Loop::Fresh:
        for (const HeaderImage& image : run.headers) {
            VellMetadataContainer c;
            decodeInto(c, image, run.space);
        }
        break;
    case Loop::Reused:
        for (const HeaderImage& image : run.headers)
            decodeInto(run.reused, image, run.space);
        break;
    }
}

// Counted by callgrind (--toggle-collect), with everything it calls.
VMC_NOINLINE void countedPasses(const Run& run, int passes)
{
    for (int p = 0; p < passes; ++p)
        pass(run);
}

int usage()
{
    std::fprintf(stderr, "usage: vmc_decode_instructions floor|fresh|reused [aces|native|wide] [PASSES]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return usage();
    const std::string loopName = argv[1];
    const std::string spaceName = argc > 2 ? argv[2] : "native";
    const int passes = argc > 3 ? std::atoi(argv[3]) : 3;

    Loop loop;
    if (loopName == "floor")
        loop = Loop::Floor;
    else if (loopName == "fresh")
        loop = Loop::Fresh;
    else if (loopName == "reused")
        loop = Loop::Reused;
    else
        return usage();
    ColorSpace space;
    if (spaceName == "aces")
        space = ColorSpace::AcesAP0;
    else if (spaceName == "native")
        space = ColorSpace::CameraNative;
    else if (spaceName == "wide")
        space = ColorSpace::WideGamut;
    else
        return usage();
    if (passes < 1)
        return usage();

    const std::vector<HeaderImage> headers = Vmc::bench::decodeHeaders();
    Vmc::bench::DecodeFloor floor(headers);
    VellMetadataContainer reused;
    const Run run{loop, space, headers, floor, reused};
    pass(run);
    countedPasses(run, passes);
    std::printf("headers %zu passes %d texts %.2f\n", headers.size(), passes, floor.textsPerHeader());
    return 0;
}
