// SPDX-License-Identifier: Apache-2.0
#include <vellmeta/ColorSpaces.h>

namespace vellmeta {

std::optional<ColorSpace> colorSpaceNamed(std::string_view name)
{
    for (const ColorSpaceName& entry : kColorSpaces)
        if (name == entry.name)
            return entry.value;
    return std::nullopt;
}

const char* colorSpaceName(ColorSpace colorSpace)
{
    for (const ColorSpaceName& entry : kColorSpaces)
        if (colorSpace == entry.value)
            return entry.name;
    return "";
}

std::string colorSpaceNames()
{
    std::string names;
    for (const ColorSpaceName& entry : kColorSpaces)
        names += (names.empty() ? "" : ", ") + std::string(entry.name);
    return names;
}

} // namespace vellmeta
