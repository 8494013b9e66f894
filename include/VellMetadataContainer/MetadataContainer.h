// SPDX-License-Identifier: Apache-2.0
/// @file
/// Vmc::VellMetadataContainer: the typed metadata of one VELLRAW header.
#pragma once

#include <cstdint>

#include "Chromaticities.h"
#include "ErrorValue.h"
#include "Export.h"
#include "FieldTypes.h"
#include "Rational.h"
#include "Vec.h"
#include "VellFileHeaderV3.h"
#include "Version.h"

namespace Vmc {

/// The typed metadata of one VELLRAW header: some two hundred optional
/// fields, each a MetaField (value and `defined` flag) or a MetaString (owned
/// text and `defined` flag), in the order of ContainerFields.def.
///
/// A new container has every flag 0 and every text null. Decoding never
/// resets the container: fields that a header leaves undefined keep what an
/// earlier call stored. The container owns its texts; copies duplicate them.
///
/// The fields are public members declared from the one field list, a line
/// per field with its member name and type, in container order (the
/// presentation library's Fields.h says how people read each of them):
///
/// @include ContainerFields.def
class VMC_EXPORT VellMetadataContainer {
public:
    /// The colour space in which the host wants the colour primaries. Hosts may
    /// pass any 32-bit value; values other than these three are rejected.
    enum class ColorSpace : std::int32_t {
        AcesAP0 = 0,      ///< fixed ACES AP0 primaries and white point
        CameraNative = 1, ///< the camera's native primaries for the header's white balance and ND state
        WideGamut = 2,    ///< fixed wide-gamut primaries with a D65 white point
    };

    /// A pointer-sized word that the library never reads or writes; free for
    /// the host's own use.
    void* reserved = nullptr;

#define VMC_FIELD(name, Type) Type name;
#include "ContainerFields.def"
#undef VMC_FIELD

    /// Decodes a complete version-3 header (at least 2480 bytes) into this
    /// container. Returns no failure with an empty message, or the failure
    /// that stopped decoding or was recorded last. Release the returned
    /// message with `free`. Neither argument is tested for null.
    ErrorValue initFromHeader(VellRawMeta::VellFileHeaderV3 const* header, ColorSpace colorSpace);

    /// Field-by-field comparison in container order. The first two fields must
    /// agree in definedness; every other field is compared only where it is
    /// defined in this (left-hand) container, so a == b and b == a may differ.
    bool operator==(const VellMetadataContainer& other) const;

    /// A freshly constructed version record: the release of the loaded library.
    static Version VellMetadataContainerVersion();
};

} // namespace Vmc
