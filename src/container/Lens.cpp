// Lens data and location.
//
//   lensIris           900   u32  1/1000, 0 and 0xFFFFFFFF: absent   iris value, aperture
//   lensFocalLength    892   u32  1/1000 mm, 0: absent               millimetres
//   lensDistanceUnits  884   u32  0 imperial, else metric, 0xFFFFFFFF: absent  \ focus distance
//   lensFocusDistance  888   u32  1/1000 of the unit, 0: absent,               / in metres
//                                 0xFFFFFFFF: infinity
//   latitude           1084  hemisphere u32 (1: positive), magnitude u32 in 1e-7 degree;
//   longitude          1092  either word 0xFFFFFFFF: absent
//   lensName           920   32 bytes, first byte 0xFF: absent       name, maker, model
//   lensSerialNumber   896   u32  0 and 0xFFFFFFFF: absent           decimal text
//
// Three fields hold fixed values and are stored on every call:
// fixedZeroValue 0.0, fixedZeroWord 0 and fixedOneWord 1.
#include <math.h> // exp2f
#include <cctype>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <VellMetadataContainer/Sentinels.h>
#include <VellMetadataContainer/StringHelpers.h>

#include "Decoding.h"
#include "TextRules.h"

namespace Vmc::decoding {

namespace {

constexpr float kMillimetresToMetres = 0.001f;
constexpr float kThousandthInchToMetres = 0.0000254f;

// Makers recognised as the first word of a lens name, in lower case.
constexpr const char* kLensMakers[] = {"zeiss", "fuji", "fujinon", "cooke"};

bool presentAndNonZero(std::uint32_t value)
{
    return value != 0 && !uninitializedField(value);
}

std::string lowerCase(std::string word)
{
    for (char& ch : word)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return word;
}

bool isLensMaker(const std::string& word)
{
    const std::string lower = lowerCase(word);
    for (const char* maker : kLensMakers) {
        if (lower == maker)
            return true;
    }
    return false;
}

// The words from `first` on, separated by single spaces.
std::string joinWords(const std::vector<std::string>& words, std::size_t first)
{
    std::string joined;
    for (std::size_t i = first; i < words.size(); ++i) {
        if (i > first)
            joined += ' ';
        joined += words[i];
    }
    return joined;
}

// Degrees, positive when the hemisphere word is 1.
template <class Position>
void decodePosition(const Position& position, MetaField<float>& out)
{
    if (uninitializedField(position))
        return;
    const double sign = position.hemisphere == 1 ? 1.0 : -1.0;
    out.set(static_cast<float>(static_cast<double>(position.magnitude) * sign / 10000000.0));
}

void decodeLensName(Bytes field, VellMetadataContainer& c)
{
    const HeapText name = copyUnlessFirstByteUnwritten(field);
    if (!name)
        return;
    c.lensName = name.get();

    // A maker is recognised only in front of at least one more word.
    const std::vector<std::string> words = tokenize(name.get(), " \t");
    if (words.empty())
        return;
    if (words.size() >= 2 && isLensMaker(words[0])) {
        c.lensMaker = words[0].c_str();
        c.lensModel = joinWords(words, 1).c_str();
    } else {
        c.lensModel = joinWords(words, 0).c_str();
    }
}

} // namespace

Next decodeLensIris(Decoding& d)
{
    const std::uint32_t iris = d.header.read(VMC_AT(lensIris));
    if (!presentAndNonZero(iris))
        return Next::Continue;
    d.out.lensIrisValue.set(static_cast<float>(iris) / 1000.0f);

    // Whole stops only: the fraction of the iris value is dropped. Below
    // 1000, n - 1 wraps to 2^32 - 1 and the aperture becomes infinite.
    const std::uint32_t stops = iris / 1000u;
    d.out.lensAperture.set(::exp2f(static_cast<float>(stops - 1u) * 0.5f));
    return Next::Continue;
}

Next decodeFocalLengthAndFocusDistance(Decoding& d)
{
    const HeaderView& h = d.header;
    VellMetadataContainer& c = d.out;

    // Only 0 means absent: 0xFFFFFFFF is converted like any other length.
    const std::uint32_t focalLength = h.read(VMC_AT(lensFocalLength));
    if (focalLength != 0)
        c.lensFocalLength.set(static_cast<float>(focalLength) / 1000.0f);

    const std::uint32_t units = h.read(VMC_AT(lensDistanceUnits));
    const std::uint32_t distance = h.read(VMC_AT(lensFocusDistance));
    if (uninitializedField(units) || distance == 0)
        return Next::Continue;
    const bool imperial = units == 0;
    c.lensDistanceUnits = imperial ? "Imperial" : "Metric";
    if (distance == 0xFFFFFFFFu)
        c.lensFocusDistance.set(std::numeric_limits<float>::infinity());
    else
        c.lensFocusDistance.set(static_cast<float>(distance) * (imperial ? kThousandthInchToMetres : kMillimetresToMetres));
    return Next::Continue;
}

Next decodeFixedZeroValue(Decoding& d)
{
    d.out.fixedZeroValue.set(0.0f);
    return Next::Continue;
}

Next decodeLatitude(Decoding& d)
{
    decodePosition(d.header.read(VMC_AT(latitude)), d.out.latitude);
    return Next::Continue;
}

Next decodeLensNameSerialAndLongitude(Decoding& d)
{
    const HeaderView& h = d.header;
    VellMetadataContainer& c = d.out;

    decodeLensName(h.read(VMC_AT(lensName)), c);

    const std::uint32_t serial = h.read(VMC_AT(lensSerialNumber));
    if (presentAndNonZero(serial))
        assignDecimal(c.lensSerialNumber, serial);

    c.fixedZeroWord.set(0);
    decodePosition(h.read(VMC_AT(longitude)), c.longitude);
    c.fixedOneWord.set(1);
    return Next::Continue;
}

} // namespace Vmc::decoding
