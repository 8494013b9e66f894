// SPDX-License-Identifier: Apache-2.0
#include <VellMetadataContainer/MetadataContainer.h>
#include <VellMetadataContainer/Version.h>

#include <cstring>
#include <sstream>
#include <string>

// The build passes the release numbers and build tag as decimal texts.
#ifndef VMC_VERSION_MAJOR
#  error "VMC_VERSION_MAJOR must be defined by the build"
#endif

namespace Vmc {

namespace {

constexpr const char* kBuildTag = VMC_BUILD_TAG;

int parseNumber(const char* text)
{
    std::istringstream stream(text);
    int value = 0;
    stream >> value;
    return value;
}

// The long version text is the same for every record: built once and kept
// for the life of the library.
const std::string& longVersionText()
{
    static const std::string text = [] {
        std::ostringstream out;
        out << parseNumber(VMC_VERSION_MAJOR) << "." << parseNumber(VMC_VERSION_MINOR) << "."
            << parseNumber(VMC_VERSION_PATCH) << "b" << kBuildTag << " ";
        const std::size_t length = std::strlen(kBuildTag);
        if (length > 0) {
            const char last = kBuildTag[length - 1];
            if (last == 'M' || last == 'P' || last == 'S')
                out << "development build ";
        }
        out << "79886" << " " << "Vostrabeck" << " " << "";
        return out.str();
    }();
    return text;
}

} // namespace

Version::Version()
    : major(parseNumber(VMC_VERSION_MAJOR)),
      minor(parseNumber(VMC_VERSION_MINOR)),
      patch(parseNumber(VMC_VERSION_PATCH)),
      build(kBuildTag),
      versionString(longVersionText().c_str())
{
}

Version VellMetadataContainer::VellMetadataContainerVersion()
{
    return Version();
}

} // namespace Vmc
