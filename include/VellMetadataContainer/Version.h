// SPDX-License-Identifier: Apache-2.0
/// @file
/// The release of the library that a host has loaded.
#pragma once

#include "Export.h"

namespace Vmc {

/// The release of the library that a host has loaded, as numbers and as
/// the long version text.
class VMC_EXPORT Version {
public:
    ///@{
    /// The release numbers, major.minor.patch.
    int major;
    int minor;
    int patch;
    ///@}
    /// Build tag printed after the letter "b"; static lifetime.
    char const* build;
    /// The long version text, such as "1.0.0b1 79886 Vostrabeck " (with the
    /// trailing space). Stays valid for the life of the library.
    char const* versionString;

    /// The loaded library's release.
    Version();
};

} // namespace Vmc
