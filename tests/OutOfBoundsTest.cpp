// SPDX-License-Identifier: Apache-2.0
// Decoding never reads past the 2480 header bytes: each header is placed so
// that its last byte is the last readable byte before a page that cannot be
// read, so a single byte read beyond the end crashes the test.
#if defined(_WIN32)
#  include <windows.h>
#else
#  include <sys/mman.h>
#  include <unistd.h>
#endif

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

#include "support/ContainerProbe.h"
#include "support/FullHeader.h"
#include "support/HeaderFieldMap.h"

using Vmc::testing::HeaderImage;

namespace {

constexpr std::size_t kHeaderSize = VellRawMeta::kVellFileHeaderV3Size;

// Two pages, the second unreadable; a header is copied flush against it.
struct GuardedPage {
#if defined(_WIN32)
    std::size_t page = [] {
        SYSTEM_INFO info{};
        ::GetSystemInfo(&info);
        return static_cast<std::size_t>(info.dwPageSize);
    }();
    void* base = ::VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    DWORD was = 0;
    bool ready = base != nullptr && page >= kHeaderSize &&
                 ::VirtualProtect(static_cast<unsigned char*>(base) + page, page, PAGE_NOACCESS, &was) != 0;
    ~GuardedPage()
    {
        if (base != nullptr)
            ::VirtualFree(base, 0, MEM_RELEASE);
    }
#else
    std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    void* base = mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    bool ready = base != MAP_FAILED && page >= kHeaderSize &&
                 mprotect(static_cast<unsigned char*>(base) + page, page, PROT_NONE) == 0;
    ~GuardedPage()
    {
        if (base != MAP_FAILED)
            munmap(base, 2 * page);
    }
#endif
    const VellRawMeta::VellFileHeaderV3* place(const HeaderImage& image)
    {
        unsigned char* start = static_cast<unsigned char*>(base) + page - kHeaderSize;
        std::memcpy(start, image.data(), kHeaderSize);
        return reinterpret_cast<const VellRawMeta::VellFileHeaderV3*>(start);
    }
};

struct Variant {
    std::string name;
    HeaderImage image;
    std::size_t filledTextWidth; // width of the one text filled with 'W', or 0
};

// Headers without a NUL where a text copy might look for one: no NUL at all,
// every text filled to its width (with letters, or 0xFE as after a NUL), and
// each text alone filled with 'W', the last one ending the header.
std::vector<Variant> variants()
{
    const HeaderImage full = Vmc::testing::fullHeader();
    HeaderImage letters, unterminated = full, fe = full;
    std::memset(letters.data(), 'A', kHeaderSize);
    std::vector<Variant> v = {
        {"never written", HeaderImage(), 0}, {"decodable", HeaderImage::decodable(), 0}, {"full", full, 0},
        {"letters only", letters, 0}};
    for (const Vmc::testing::HeaderField& field : Vmc::testing::headerFields()) {
        if (field.kind != Vmc::testing::FieldKind::Text)
            continue;
        HeaderImage alone = full;
        std::memset(alone.data() + field.offset, 'W', field.width);
        v.push_back({field.name + " without NUL", alone, field.width});
        std::memset(unterminated.data() + field.offset, 'Z', field.width);
        std::memset(fe.data() + field.offset, 0xFE, field.width);
    }
    v.push_back({"texts without NUL", unterminated, 0});
    v.push_back({"texts of 0xFE", fe, 0});
    return v;
}

} // namespace

TEST(OutOfBounds, DecodingReadsOnlyTheHeaderBytes)
{
    GuardedPage guard;
    ASSERT_TRUE(guard.ready) << "cannot map a guard page";
    for (const Variant& variant : variants()) {
        const VellRawMeta::VellFileHeaderV3* header = guard.place(variant.image);
        for (std::int32_t colorSpace : {0, 1, 2, 3, -1, INT_MIN}) {
            SCOPED_TRACE(variant.name + ", colour space " + std::to_string(colorSpace));
            Vmc::VellMetadataContainer container;
            Vmc::ErrorValue result =
                container.initFromHeader(header, static_cast<Vmc::VellMetadataContainer::ColorSpace>(colorSpace));
            const char* problem = Vmc::testing::resultProblem(result, colorSpace);
            EXPECT_EQ(problem, nullptr) << problem << ": " << result.message;
            std::free(result.message);
            EXPECT_EQ(Vmc::testing::firstBrokenText(container), nullptr);
            // A text copied from the filled field stops at the field's end,
            // not in the bytes that follow it.
            Vmc::forEachField(container, [&](const Vmc::FieldInfo& info, const auto& f) {
                if constexpr (std::is_same_v<std::decay_t<decltype(f)>, MetaString>) {
                    if (variant.filledTextWidth != 0 && f.text != nullptr && f.text[0] == 'W') {
                        EXPECT_LE(std::strlen(f.text), variant.filledTextWidth) << info.name;
                    }
                }
            });
        }
    }
}
