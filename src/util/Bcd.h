// SPDX-License-Identifier: Apache-2.0
// Binary-coded decimal: one decimal digit per nibble. Nibbles above 9 are
// taken as they are (0xFF gives 165), as cameras that never wrote a field
// leave it all ones.
#pragma once

namespace Vmc::bcd {

constexpr int twoDigits(unsigned char value)
{
    return ((value >> 4) & 0xF) * 10 + (value & 0xF);
}

constexpr int fourDigits(unsigned short value)
{
    return twoDigits(static_cast<unsigned char>(value >> 8)) * 100 + twoDigits(static_cast<unsigned char>(value));
}

} // namespace Vmc::bcd
