// SPDX-License-Identifier: Apache-2.0
// A host program: decodes a never-written header with the installed library;
// it stops at the camera identity, whose type is unknown (code 400).
#include <VellMetadataContainer/VellMetadataContainer.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

int main()
{
    std::vector<unsigned char> bytes(VellRawMeta::kVellFileHeaderV3Size, 0xFF);
    Vmc::VellMetadataContainer container;
    Vmc::ErrorValue result = container.initFromHeader(
        reinterpret_cast<const VellRawMeta::VellFileHeaderV3*>(bytes.data()),
        Vmc::VellMetadataContainer::ColorSpace::WideGamut);
    const bool ok = result.isError && result.message != nullptr;
    std::printf("%s|%u\n", Vmc::VellMetadataContainer::VellMetadataContainerVersion().versionString,
                static_cast<unsigned>(result.code));
    std::free(result.message);
    return ok ? 0 : 1;
}
