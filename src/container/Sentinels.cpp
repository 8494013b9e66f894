#include <VellMetadataContainer/Sentinels.h>

#include <cstdint>
#include <cstring>

namespace Vmc {

// Eight bytes at a time, then the bytes that remain.
bool uninitializedField(const unsigned char* bytes, unsigned long length)
{
    constexpr std::uint64_t kAllBitsSet = ~std::uint64_t{0};
    unsigned long i = 0;
    for (; i + sizeof(std::uint64_t) <= length; i += sizeof(std::uint64_t)) {
        std::uint64_t word;
        std::memcpy(&word, bytes + i, sizeof word);
        if (word != kAllBitsSet)
            return false;
    }
    for (; i < length; ++i) {
        if (bytes[i] != 0xFF)
            return false;
    }
    return true;
}

bool uninitializedField(unsigned char value) { return value == 0xFF; }
bool uninitializedField(signed char value) { return static_cast<unsigned char>(value) == 0xFF; }
bool uninitializedField(unsigned short value) { return value == 0xFFFF; }
bool uninitializedField(short value) { return static_cast<unsigned short>(value) == 0xFFFF; }
bool uninitializedField(unsigned int value) { return value == 0xFFFFFFFFu; }
bool uninitializedField(int value) { return uninitializedField(static_cast<unsigned int>(value)); }
bool uninitializedField(unsigned long long value) { return value == ~0ull; }
bool uninitializedField(long long value) { return uninitializedField(static_cast<unsigned long long>(value)); }
bool uninitializedField(float value) { return value != value; }

bool uninitializedField(const VellRawMeta::R32Rgb& rgb)
{
    return uninitializedField(rgb.red) || uninitializedField(rgb.green) || uninitializedField(rgb.blue);
}

bool uninitializedField(const VellRawMeta::TC_Struct& timeCode) { return uninitializedField(timeCode.bcdTime); }

bool uninitializedField(const VellRawMeta::ND_Filter& filter)
{
    return uninitializedField(filter.filterType) || uninitializedField(filter.milliValue);
}

bool uninitializedField(const VellRawMeta::RawEncoderValue& encoder)
{
    return uninitializedField(encoder.reading1) || uninitializedField(encoder.reading2);
}

bool uninitializedField(const VellRawMeta::EncoderLimits& limits)
{
    return uninitializedField(limits.first) || uninitializedField(limits.second);
}

bool uninitializedField(const VellRawMeta::WGS84_Latitude& latitude)
{
    return uninitializedField(latitude.magnitude) || uninitializedField(latitude.hemisphere);
}

bool uninitializedField(const VellRawMeta::WGS84_Longitude& longitude)
{
    return uninitializedField(longitude.magnitude) || uninitializedField(longitude.hemisphere);
}

} // namespace Vmc
