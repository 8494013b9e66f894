// SPDX-License-Identifier: Apache-2.0
#include <VellMetadataContainer/Sentinels.h>

#include "Unwritten.h"

namespace Vmc {

using decoding::unwritten;

bool uninitializedField(const unsigned char* bytes, unsigned long length) { return unwritten(bytes, length); }

bool uninitializedField(unsigned char value) { return unwritten(std::uint8_t{value}); }
bool uninitializedField(signed char value) { return unwritten(static_cast<std::uint8_t>(value)); }
bool uninitializedField(unsigned short value) { return unwritten(std::uint16_t{value}); }
bool uninitializedField(short value) { return unwritten(static_cast<std::uint16_t>(value)); }
bool uninitializedField(unsigned int value) { return unwritten(std::uint32_t{value}); }
bool uninitializedField(int value) { return unwritten(static_cast<std::uint32_t>(value)); }
bool uninitializedField(unsigned long long value) { return unwritten(std::uint64_t{value}); }
bool uninitializedField(long long value) { return unwritten(static_cast<std::uint64_t>(value)); }
bool uninitializedField(float value) { return unwritten(value); }

bool uninitializedField(const VellRawMeta::R32Rgb& rgb) { return unwritten(rgb); }
bool uninitializedField(const VellRawMeta::TC_Struct& timeCode) { return unwritten(timeCode); }
bool uninitializedField(const VellRawMeta::ND_Filter& filter) { return unwritten(filter); }
bool uninitializedField(const VellRawMeta::RawEncoderValue& encoder) { return unwritten(encoder); }
bool uninitializedField(const VellRawMeta::EncoderLimits& limits) { return unwritten(limits); }
bool uninitializedField(const VellRawMeta::WGS84_Latitude& latitude) { return unwritten(latitude); }
bool uninitializedField(const VellRawMeta::WGS84_Longitude& longitude) { return unwritten(longitude); }

} // namespace Vmc
