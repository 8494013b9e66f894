// Decodes a header image into a container and keeps the result as plain
// values (the message copied into a std::string, its heap text released).
//
//   const Decoded d = decode(image);                 // into a new container
//   const Decoded e = decode(image, std::move(used)); // into a used one
#pragma once

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

inline Decoded decode(const HeaderImage& image, VellMetadataContainer start = VellMetadataContainer())
{
    Decoded d;
    d.c = std::move(start);
    ErrorValue result = d.c.initFromHeader(image.header(), VellMetadataContainer::ColorSpace::WideGamut);
    d.isError = result.isError;
    d.code = result.code;
    d.message = result.message;
    std::free(result.message);
    return d;
}

} // namespace Vmc::testing
