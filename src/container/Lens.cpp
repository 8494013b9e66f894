// SPDX-License-Identifier: Apache-2.0
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
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <limits>
#include <string_view>


#include "Decoding.h"
#include "Unwritten.h"
#include "TextRules.h"
#include "util/Tokens.h"

namespace Vmc::decoding {

namespace {

constexpr float kMillimetresToMetres = 0.001f;
constexpr float kThousandthInchToMetres = 0.0000254f;

// Makers recognised as the first word of a lens name, in lower case.
constexpr std::string_view kLensMakers[] = {"zeiss", "fuji", "fujinon", "cooke"};

constexpr std::size_t kLensNameWidth = sizeof(VellRawMeta::VellFileHeaderV3::lensName);

bool presentAndNonZero(std::uint32_t value)
{
    return value != 0 && !unwritten(value);
}

// The word, compared letter by letter in lower case, is one of the makers.
bool isLensMaker(std::string_view word)
{
    for (std::string_view maker : kLensMakers) {
        if (word.size() == maker.size() &&
            std::equal(word.begin(), word.end(), maker.begin(), [](char letter, char makerLetter) {
                return std::tolower(static_cast<unsigned char>(letter)) == makerLetter;
            }))
            return true;
    }
    return false;
}

// Degrees, positive when the hemisphere word is 1.
template <class Position>
void decodePosition(const Position& position, MetaField<float>& out)
{
    if (unwritten(position))
        return;
    const double sign = position.hemisphere == 1 ? 1.0 : -1.0;
    out.set(static_cast<float>(static_cast<double>(position.magnitude) * sign / 10000000.0));
}

void decodeLensName(Bytes field, VellMetadataContainer& c)
{
    const FieldText nameText = textUnlessFirstByteUnwritten(field);
    if (!nameText.exists())
        return;
    const std::string_view name = nameText.view();
    assignText(c.lensName, nameText.c_str());

    // The words of the name, split at spaces and tabs, joined by single
    // spaces: never longer than the name.
    FixedText<kLensNameWidth> words;
    std::size_t firstLength = 0;
    int count = 0;
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    text::forEachToken(name, isBlank, [&](std::string_view word) {
        if (count++ == 0)
            firstLength = word.size();
        else
            words.append(' ');
        words.append(word);
    });
    if (count == 0)
        return;

    // A maker is recognised only in front of at least one more word.
    if (count >= 2 && isLensMaker(words.view().substr(0, firstLength))) {
        // The maker is the first word: the words end after it while it is
        // copied, and the model is the rest.
        char* const space = words.begin() + firstLength;
        *space = '\0';
        assignText(c.lensMaker, words.c_str());
        *space = ' ';
        assignText(c.lensModel, space + 1);
    } else {
        assignText(c.lensModel, words.c_str());
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
    if (unwritten(units) || distance == 0)
        return Next::Continue;
    const bool imperial = units == 0;
    assignText(c.lensDistanceUnits, imperial ? "Imperial" : "Metric");
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
