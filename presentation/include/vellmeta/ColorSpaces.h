// SPDX-License-Identifier: Apache-2.0
/// @file
/// The colour spaces a host asks decoding for, by the names every surface
/// takes them under: "aces", "native" and "wide".
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <VellMetadataContainer/MetadataContainer.h>

#include "Export.h"

namespace vellmeta {

/// The colour space in which decoding gives the primaries.
using ColorSpace = Vmc::VellMetadataContainer::ColorSpace;

/// A colour space under the name every surface takes it by.
struct ColorSpaceName {
    const char* name;        ///< "aces"
    const char* description; ///< "ACES AP0"
    ColorSpace value;        ///< the colour space
};

/// Every colour space, the default (native) among them.
inline constexpr ColorSpaceName kColorSpaces[] = {
    {"aces", "ACES AP0", ColorSpace::AcesAP0},
    {"native", "the camera's own primaries", ColorSpace::CameraNative},
    {"wide", "wide gamut", ColorSpace::WideGamut},
};
/// The colour space a surface decodes in unless told otherwise.
inline constexpr ColorSpace kDefaultColorSpace = ColorSpace::CameraNative;

/// The colour space of a name, or nothing for a name that is none of them.
VELLMETA_EXPORT std::optional<ColorSpace> colorSpaceNamed(std::string_view name);
/// The name of a colour space ("native"), or "" for a value that is none.
VELLMETA_EXPORT const char* colorSpaceName(ColorSpace colorSpace);
/// "aces, native, wide": the names, for messages and help texts.
VELLMETA_EXPORT std::string colorSpaceNames();

} // namespace vellmeta
