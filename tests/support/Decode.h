// Decoding a composed header image in tests: the container and the result,
// with the result's message copied and released.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>

#include <VellMetadataContainer/MetadataContainer.h>

#include "HeaderImage.h"

namespace Vmc::testing {

struct Decoded {
    VellMetadataContainer c;
    bool isError = false;
    std::uint32_t code = 0;
    std::string message;
};

// Decodes `image` into `start` (a new container unless given) with the
// primaries of `colorSpace` (wide gamut unless given).
inline Decoded decode(const HeaderImage& image, VellMetadataContainer start = VellMetadataContainer(),
                      VellMetadataContainer::ColorSpace colorSpace = VellMetadataContainer::ColorSpace::WideGamut)
{
    Decoded d;
    d.c = std::move(start);
    ErrorValue result = d.c.initFromHeader(image.header(), colorSpace);
    d.isError = result.isError;
    d.code = result.code;
    d.message = result.message != nullptr ? result.message : "";
    std::free(result.message);
    return d;
}

} // namespace Vmc::testing
