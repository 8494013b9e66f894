// SPDX-License-Identifier: Apache-2.0
/// @file
/// Decoding a header for a surface: the container and the result, with the
/// result's message copied off the C heap and released, so that nothing is
/// left for the caller to free. And the words for an input that holds no
/// header, which every surface shows after the input's name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <VellMetadataContainer/MetadataContainer.h>

#include "ColorSpaces.h"
#include "Export.h"

namespace vellmeta {

/// The outcome of decoding one clip, as the views show it. It refers to the
/// path and message it was made from, which must outlive it.
struct ClipResult {
    std::string_view path;    ///< the clip's path, as the views name it
    bool isError = false;     ///< whether decoding reported a failure
    std::uint32_t code = 0;   ///< the failure code; 0 for none
    std::string_view message; ///< the English message; empty for none
};

/// A decoded header: a container of its own (decoding keeps what a header
/// leaves undefined, so each header gets a fresh one) and the result.
struct Decoded {
    Vmc::VellMetadataContainer container; ///< the header's fields
    bool isError = false;                 ///< whether decoding reported a failure
    std::uint32_t code = 0;               ///< the failure code; 0 for none
    std::string message;                  ///< the English message; empty for none

    /// The result as the views take it, for the clip at `path`.
    ClipResult result(std::string_view path) const { return {path, isError, code, message}; }
};

/// The size of a header: the bytes a surface reads from the start of a file.
inline constexpr std::size_t kHeaderSize = VellRawMeta::kVellFileHeaderV3Size;

/// Decodes the kHeaderSize bytes at `header` (any alignment; they are copied
/// first) with the primaries of `colorSpace`.
VELLMETA_EXPORT Decoded decode(const unsigned char* header, ColorSpace colorSpace);

/// The same into `into`, for a surface that decodes clip after clip: its
/// fields are first marked undefined, so that it holds this header's fields
/// alone, as a new container would. The texts of fields that this header
/// leaves undefined are kept until a later decode replaces them or the
/// container is destroyed; a text is then released as the new one is stored,
/// which lets the C library reuse its memory clip after clip.
VELLMETA_EXPORT void decodeInto(Decoded& into, const unsigned char* header, ColorSpace colorSpace);

/// Why `size` bytes are not a header, or "" when they are enough:
/// "is 1000 bytes long, shorter than the 2480-byte VELLRAW header".
VELLMETA_EXPORT std::string headerSizeProblem(std::size_t size);

/// What a folder is, where a file was expected.
inline constexpr const char* kFolderProblem = "is a directory, not a VELLRAW file";

} // namespace vellmeta
