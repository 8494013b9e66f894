// SPDX-License-Identifier: Apache-2.0
/// @file
/// The two shapes of a container field: an optional value and an optional
/// owned text, plus the small records that only the container uses.
#pragma once

#include <cstdint>
#include <utility>

#include "Export.h"
#include "Vec.h"

/// An optional value: `value`, then the one-byte flag `defined`, which is 1
/// once decoding has stored a value. Decoding never clears the flag.
template <class T>
struct MetaField {
    T value{};                ///< the value; value-initialised until stored
    std::uint8_t defined = 0; ///< 1 once a value has been stored

    /// Stores a value: writes `value`, then sets `defined`.
    void set(const T& v)
    {
        value = v;
        defined = 1;
    }
};

/// An optional text on the C library heap, owned by the field: null until a
/// text is first assigned. Copies duplicate the text, moves transfer it, and
/// the destructor releases it with `free`.
struct VMC_EXPORT MetaString {
    char* text = nullptr;     ///< the NUL-terminated text, owned; null until assigned
    std::uint8_t defined = 0; ///< 1 once a text has been assigned

    /// No text, undefined.
    MetaString() = default;
    ///@{
    /// Copies duplicate the text (std::bad_alloc when that fails), moves
    /// transfer it and leave the source empty and undefined, and the
    /// destructor releases it with `free`.
    MetaString(const MetaString& other);
    MetaString(MetaString&& other) noexcept;
    MetaString& operator=(const MetaString& other);
    MetaString& operator=(MetaString&& other) noexcept;
    ~MetaString();
    ///@}

    /// Assigns a text: unless `s` is the very pointer already held, the held
    /// text is released and replaced by a `strdup` copy of `s`. `defined`
    /// becomes 1 in both cases. Throws std::bad_alloc when the copy fails.
    MetaString& operator=(const char* s);
};

namespace Vmc {

using ::MetaField;
using ::MetaString;

/// An image window: minimum corner (first), maximum corner (second).
using ImageWindow = std::pair<Vec2, Vec2>;

/// Three header words as floats, then an integer member that decoding sets
/// to 0.
struct CameraTriple {
    float a = 0.0f;          ///< the first word
    float b = 0.0f;          ///< the second word
    float c = 0.0f;          ///< the third word
    std::uint32_t extra = 0; ///< 0 after decoding
};

} // namespace Vmc
