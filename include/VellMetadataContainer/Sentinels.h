// SPDX-License-Identifier: Apache-2.0
/// @file
/// The never-written pattern of raw header fields.
///
/// A camera fills every header field it does not write with all bits set (a
/// NaN for floats). Each overload returns true when its argument holds that
/// pattern, i.e. the field is uninitialized.
#pragma once

#include "Export.h"
#include "VellFileHeaderV3.h"

namespace Vmc {

/// True when `length` is 0 or every one of the `length` bytes is 0xFF.
VMC_EXPORT bool uninitializedField(const unsigned char* bytes, unsigned long length);

VMC_EXPORT bool uninitializedField(unsigned char value);      ///< 0xFF
VMC_EXPORT bool uninitializedField(signed char value);        ///< bit pattern 0xFF (-1)
VMC_EXPORT bool uninitializedField(unsigned short value);     ///< 0xFFFF
VMC_EXPORT bool uninitializedField(short value);              ///< bit pattern 0xFFFF (-1)
VMC_EXPORT bool uninitializedField(unsigned int value);       ///< 0xFFFFFFFF
VMC_EXPORT bool uninitializedField(int value);                ///< -1
VMC_EXPORT bool uninitializedField(unsigned long long value); ///< all 64 bits set
VMC_EXPORT bool uninitializedField(long long value);          ///< -1
VMC_EXPORT bool uninitializedField(float value);              ///< any NaN

/// Any of the three floats is a NaN.
VMC_EXPORT bool uninitializedField(const VellRawMeta::R32Rgb& rgb);
/// The BCD time word is 0xFFFFFFFF; the other words are not looked at.
VMC_EXPORT bool uninitializedField(const VellRawMeta::TC_Struct& timeCode);
///@{
/// Either 16-bit word is 0xFFFF.
VMC_EXPORT bool uninitializedField(const VellRawMeta::ND_Filter& filter);
VMC_EXPORT bool uninitializedField(const VellRawMeta::RawEncoderValue& encoder);
VMC_EXPORT bool uninitializedField(const VellRawMeta::EncoderLimits& limits);
///@}
///@{
/// Either 32-bit word is 0xFFFFFFFF.
VMC_EXPORT bool uninitializedField(const VellRawMeta::WGS84_Latitude& latitude);
VMC_EXPORT bool uninitializedField(const VellRawMeta::WGS84_Longitude& longitude);
///@}

} // namespace Vmc
