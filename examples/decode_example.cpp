// SPDX-License-Identifier: Apache-2.0
// Reads the first 2480 bytes of a VELLRAW file (or, without an argument, uses
// a header that the camera never wrote), decodes them and prints the result
// and every defined field's name.
#include <VellMetadataContainer/VellMetadataContainer.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <vector>

int main(int argc, char** argv)
{
    std::vector<char> bytes(VellRawMeta::kVellFileHeaderV3Size, static_cast<char>(0xFF));
    if (argc > 1) {
        std::ifstream file(argv[1], std::ios::binary);
        if (!file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
            std::cerr << argv[1] << ": cannot read " << bytes.size() << " header bytes\n";
            return 2;
        }
    }

    Vmc::VellMetadataContainer container;
    Vmc::ErrorValue result = container.initFromHeader(
        reinterpret_cast<const VellRawMeta::VellFileHeaderV3*>(bytes.data()),
        Vmc::VellMetadataContainer::ColorSpace::CameraNative);

    std::cout << "library: " << Vmc::VellMetadataContainer::VellMetadataContainerVersion().versionString << "\n";
    std::cout << "result: isError=" << result.isError << " code=" << result.code << " message=\"" << result.message
              << "\"\n";
    int defined = 0;
    Vmc::forEachField(container, [&](const Vmc::FieldInfo& info, const auto& field) {
        if (field.defined) {
            std::cout << "defined: " << info.name << "\n";
            ++defined;
        }
    });
    std::cout << defined << " of " << Vmc::kFieldCount << " fields defined\n";
    std::free(result.message); // the host owns the result's message
    return result.isError ? 1 : 0;
}
