// SPDX-License-Identifier: Apache-2.0
// The release of the library that a host has loaded.
#pragma once

#include "Export.h"

namespace Vmc {

class VMC_EXPORT Version {
public:
    int major;
    int minor;
    int patch;
    // Build tag printed after the letter "b"; static lifetime.
    char const* build;
    // The long version text, e.g. "1.0.0b1 79886 Vostrabeck " (with the
    // trailing space). Stays valid for the life of the library.
    char const* versionString;

    Version();
};

} // namespace Vmc
