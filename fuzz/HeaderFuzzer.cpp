// SPDX-License-Identifier: Apache-2.0
// libFuzzer target: every input is a header image (short inputs padded with
// never-written 0xFF bytes, long ones cut at 2480) decoded with every colour
// space, valid or not, into fresh and reused containers. It aborts on any
// broken invariant; the sanitizers catch reads outside the header, undefined
// behaviour and leaks.
//
// The custom mutator and cross-over work on whole header fields (the table of
// tests/support/HeaderFieldMap.h) most of the time, so that sentinels,
// enumeration boundaries, serial-number ranges and the texts that select a
// camera reach every field group; otherwise libFuzzer mutates bytes.
#include <VellMetadataContainer/VellMetadataContainer.h>

#include <array>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include "support/ContainerProbe.h"
#include "support/FullHeader.h"
#include "support/HeaderFieldMap.h"

using Vmc::VellMetadataContainer;
using ColorSpace = Vmc::VellMetadataContainer::ColorSpace;

namespace {

constexpr std::size_t kHeaderSize = VellRawMeta::kVellFileHeaderV3Size;

constexpr std::int32_t kColorSpaces[] = {0, 1, 2, 3, -1, INT32_MIN, INT32_MAX};

bool valid(std::int32_t colorSpace) { return colorSpace >= 0 && colorSpace <= 2; }

[[noreturn]] void violated(const char* what, const char* detail, std::int32_t colorSpace)
{
    std::fprintf(stderr, "invariant broken: %s%s%s (colour space %d)\n", what, detail ? ": " : "",
                 detail ? detail : "", static_cast<int>(colorSpace));
    std::abort();
}

void check(bool holds, const char* what, std::int32_t colorSpace)
{
    if (!holds)
        violated(what, nullptr, colorSpace);
}

// `problem` names the offending field or rule, or is null when all is well.
void checkNone(const char* problem, const char* what, std::int32_t colorSpace)
{
    if (problem != nullptr)
        violated(what, problem, colorSpace);
}

// Owns a returned message, as a host does.
struct Result {
    Vmc::ErrorValue value;
    ~Result() { std::free(value.message); }
};

Result decode(VellMetadataContainer& container, const VellRawMeta::VellFileHeaderV3* header, std::int32_t colorSpace)
{
    return {container.initFromHeader(header, static_cast<ColorSpace>(colorSpace))};
}

bool sameResult(const Vmc::ErrorValue& a, const Vmc::ErrorValue& b)
{
    return a.isError == b.isError && a.code == b.code && std::strcmp(a.message, b.message) == 0;
}

void checkResult(const Result& result, std::int32_t colorSpace)
{
    checkNone(Vmc::testing::resultProblem(result.value, colorSpace), "result outside the failure table", colorSpace);
    if (!valid(colorSpace))
        check(result.value.isError && result.value.code == 100, "invalid colour space accepted", colorSpace);
}

// Decoding into a container that already holds fields: nothing defined is
// lost, and an invalid colour space changes nothing at all.
void checkReuse(VellMetadataContainer& container, const VellRawMeta::VellFileHeaderV3* header,
                std::int32_t colorSpace)
{
    const VellMetadataContainer before = container;
    const Result result = decode(container, header, colorSpace);
    checkResult(result, colorSpace);
    checkNone(Vmc::testing::firstLostField(before, container), "a defined field became undefined", colorSpace);
    checkNone(Vmc::testing::firstBrokenText(container), "text and flag disagree", colorSpace);
    if (!valid(colorSpace))
        checkNone(Vmc::testing::firstDifference(before, container), "invalid colour space changed a field",
                  colorSpace);
}

void checkFresh(const VellRawMeta::VellFileHeaderV3* header, std::int32_t colorSpace)
{
    VellMetadataContainer first;
    const Result result = decode(first, header, colorSpace);
    checkResult(result, colorSpace);
    checkNone(Vmc::testing::firstBrokenText(first), "text and flag disagree", colorSpace);
    if (!valid(colorSpace))
        checkNone(Vmc::testing::firstDifference(first, VellMetadataContainer()), "invalid colour space wrote a field",
                  colorSpace);

    // The same header decodes to the same content and result every time.
    VellMetadataContainer second;
    const Result again = decode(second, header, colorSpace);
    check(sameResult(result.value, again.value), "two decodes, two results", colorSpace);
    checkNone(Vmc::testing::firstDifference(first, second), "two decodes, two containers", colorSpace);

    // Equality agrees, unless a NaN or 0/0 makes the container unequal to
    // itself by design; a copy is equal to its original.
    const VellMetadataContainer copy = first;
    checkNone(Vmc::testing::firstDifference(first, copy), "copy differs", colorSpace);
    if (!Vmc::testing::holdsUnorderedValue(first)) {
        check(first == first, "container unequal to itself", colorSpace);
        check(first == second && second == first, "equal decodes compare unequal", colorSpace);
        check(first == copy && copy == first, "copy compares unequal", colorSpace);
    }
    // A new container on the left skips every field but the first two.
    const VellMetadataContainer empty;
    check((empty == first) == (!first.spareWord.defined && !first.acesContainerFlag.defined),
          "empty container compared wrongly", colorSpace);

    // Decoding the same header again into the same container changes nothing.
    const Result third = decode(first, header, colorSpace);
    check(sameResult(result.value, third.value), "second decode into one container, another result", colorSpace);
    checkNone(Vmc::testing::firstDifference(first, second), "second decode into one container changed it",
              colorSpace);
}

const VellMetadataContainer& fullyDecoded()
{
    static const VellMetadataContainer container = [] {
        VellMetadataContainer c;
        const Vmc::testing::HeaderImage image = Vmc::testing::fullHeader();
        std::free(c.initFromHeader(image.header(), ColorSpace::AcesAP0).message);
        return c;
    }();
    return container;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::array<unsigned char, kHeaderSize> bytes;
    bytes.fill(0xFF);
    std::memcpy(bytes.data(), data, size < kHeaderSize ? size : kHeaderSize);
    const auto* header = reinterpret_cast<const VellRawMeta::VellFileHeaderV3*>(bytes.data());

    // One container carried through every colour space in turn, and one that
    // starts with nearly every field defined.
    VellMetadataContainer carried;
    for (std::int32_t colorSpace : kColorSpaces) {
        checkFresh(header, colorSpace);
        checkReuse(carried, header, colorSpace);
        VellMetadataContainer full = fullyDecoded();
        checkReuse(full, header, colorSpace);
    }
    return 0;
}

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                                               unsigned int seed)
{
    std::mt19937 rng(seed);
    if (maxSize < kHeaderSize || rng() % 4 == 0)
        return LLVMFuzzerMutate(data, size, maxSize);
    if (size < kHeaderSize)
        std::memset(data + size, 0xFF, kHeaderSize - size);
    const int fields = 1 + static_cast<int>(rng() % 4);
    for (int i = 0; i < fields; ++i)
        Vmc::testing::mutateField(data, rng);
    return kHeaderSize;
}

// Takes each header field whole from one parent or the other.
extern "C" std::size_t LLVMFuzzerCustomCrossOver(const std::uint8_t* data1, std::size_t size1,
                                                 const std::uint8_t* data2, std::size_t size2, std::uint8_t* out,
                                                 std::size_t maxOutSize, unsigned int seed)
{
    if (maxOutSize < kHeaderSize)
        return 0;
    std::mt19937 rng(seed);
    std::memset(out, 0xFF, kHeaderSize);
    std::memcpy(out, data1, size1 < kHeaderSize ? size1 : kHeaderSize);
    for (const Vmc::testing::HeaderField& field : Vmc::testing::headerFields()) {
        if (rng() % 2 == 0)
            continue;
        for (std::size_t i = field.offset; i < field.offset + field.width; ++i)
            out[i] = i < size2 ? data2[i] : 0xFF;
    }
    return kHeaderSize;
}
