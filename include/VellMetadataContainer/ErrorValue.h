// SPDX-License-Identifier: Apache-2.0
/// @file
/// The result of decoding a header.
#pragma once

#include <cstdint>

#include "Export.h"

namespace Vmc {

/// Whether the header was consistent, a failure code and an English message.
///
/// `message` is a NUL-terminated text on the C library heap that the host
/// receives: release the final text with `free` once it is no longer needed.
/// The destructor releases nothing, and copies of an ErrorValue share the
/// text, so release it exactly once. Code 0 together with `isError` true is a
/// normal outcome: decoding finished, but the header held an unknown flip/flop,
/// master/slave or channel setup value.
class VMC_EXPORT ErrorValue {
public:
    bool isError = false;    ///< whether decoding met a failure
    std::uint32_t code = 0;  ///< the failure code; 0 for none
    char* message = nullptr; ///< the English message, freed by the host; null for none

    /// No failure, no message.
    ErrorValue() = default;
    /// Takes over `message_`: the host frees it once, from this value or a copy.
    ErrorValue(bool isError_, std::uint32_t code_, char* message_)
        : isError(isError_), code(code_), message(message_) {}
    ///@{
    /// Copies share the message; the destructor releases nothing.
    ErrorValue(const ErrorValue&) = default;
    ErrorValue& operator=(const ErrorValue&) = default;
    virtual ~ErrorValue();
    ///@}
};

} // namespace Vmc
