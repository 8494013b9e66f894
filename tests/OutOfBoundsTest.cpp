// Decoding never reads past the 2480 header bytes: each header is placed so
// that its last byte is the last readable byte before a page that cannot be
// read, so a single byte read beyond the end crashes the test.
#include <sys/mman.h>
#include <unistd.h>

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

using Vmc::VellMetadataContainer;
using Vmc::testing::FieldKind;
using Vmc::testing::HeaderImage;

namespace {

constexpr std::size_t kHeaderSize = VellRawMeta::kVellFileHeaderV3Size;

// Two pages: the first readable and writable, the second unreadable. The
// header is copied flush against the boundary.
class GuardedHeader {
public:
    GuardedHeader()
    {
        page_ = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        void* memory = mmap(nullptr, 2 * page_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED)
            return;
        base_ = static_cast<unsigned char*>(memory);
        guarded_ = mprotect(base_ + page_, page_, PROT_NONE) == 0;
    }
    ~GuardedHeader()
    {
        if (base_ != nullptr)
            munmap(base_, 2 * page_);
    }
    GuardedHeader(const GuardedHeader&) = delete;
    GuardedHeader& operator=(const GuardedHeader&) = delete;

    bool ready() const { return guarded_ && page_ >= kHeaderSize; }

    const VellRawMeta::VellFileHeaderV3* place(const HeaderImage& image)
    {
        unsigned char* start = base_ + page_ - kHeaderSize;
        std::memcpy(start, image.data(), kHeaderSize);
        return reinterpret_cast<const VellRawMeta::VellFileHeaderV3*>(start);
    }

private:
    std::size_t page_ = 0;
    unsigned char* base_ = nullptr;
    bool guarded_ = false;
};

struct Variant {
    std::string name;
    HeaderImage image;
};

// Every text field filled to its width without a NUL, on a header where
// everything else is defined; and the same with the bytes a text field may
// hold after its first NUL left as 0xFF.
HeaderImage withUnterminatedTexts(HeaderImage image, unsigned char fill)
{
    for (const Vmc::testing::HeaderField& field : Vmc::testing::headerFields()) {
        if (field.kind == FieldKind::Text)
            std::memset(image.data() + field.offset, fill, field.width);
    }
    return image;
}

std::vector<Variant> variants()
{
    std::vector<Variant> v;
    v.push_back({"never written", HeaderImage()});
    v.push_back({"decodable", HeaderImage::decodable()});
    v.push_back({"full header", Vmc::testing::fullHeader()});
    v.push_back({"texts without NUL", withUnterminatedTexts(Vmc::testing::fullHeader(), 'Z')});
    v.push_back({"texts of 0xFE", withUnterminatedTexts(Vmc::testing::fullHeader(), 0xFE)});
    // The last text of the header alone, then its values, up to the final byte.
    HeaderImage last = Vmc::testing::fullHeader();
    std::memset(last.data() + offsetof(VellRawMeta::VellFileHeaderV3, record6.name), 'Q', 32);
    v.push_back({"last record name without NUL", last});
    // Every byte 0x41: no NUL anywhere, and every enumeration unknown.
    HeaderImage letters;
    std::memset(letters.data(), 'A', kHeaderSize);
    v.push_back({"letters only", letters});
    return v;
}

} // namespace

TEST(OutOfBounds, DecodingReadsOnlyTheHeaderBytes)
{
    GuardedHeader guard;
    ASSERT_TRUE(guard.ready()) << "cannot map a guard page";
    const std::int32_t colorSpaces[] = {0, 1, 2, 3, -1, INT_MIN};
    for (const Variant& variant : variants()) {
        const VellRawMeta::VellFileHeaderV3* header = guard.place(variant.image);
        for (std::int32_t colorSpace : colorSpaces) {
            SCOPED_TRACE(variant.name + ", colour space " + std::to_string(colorSpace));
            VellMetadataContainer container;
            Vmc::ErrorValue result =
                container.initFromHeader(header, static_cast<VellMetadataContainer::ColorSpace>(colorSpace));
            const char* problem = Vmc::testing::resultProblem(result, colorSpace);
            EXPECT_EQ(problem, nullptr) << problem << ": " << result.message;
            std::free(result.message);
        }
    }
}

TEST(OutOfBounds, EachTextFieldUnterminatedAlone)
{
    // One text field at a time fills its width, so that a copy bounded by
    // the wrong width runs into the next field or past the end.
    GuardedHeader guard;
    ASSERT_TRUE(guard.ready()) << "cannot map a guard page";
    for (const Vmc::testing::HeaderField& field : Vmc::testing::headerFields()) {
        if (field.kind != FieldKind::Text)
            continue;
        SCOPED_TRACE(field.name);
        HeaderImage image = Vmc::testing::fullHeader();
        std::memset(image.data() + field.offset, 'W', field.width);
        VellMetadataContainer container;
        Vmc::ErrorValue result =
            container.initFromHeader(guard.place(image), VellMetadataContainer::ColorSpace::CameraNative);
        EXPECT_EQ(Vmc::testing::firstBrokenText(container), nullptr);
        // A text copied from the field stops at the field's end, not in
        // the bytes that follow it.
        Vmc::forEachField(container, [&](const Vmc::FieldInfo& info, const auto& f) {
            if constexpr (std::is_same_v<std::decay_t<decltype(f)>, MetaString>) {
                if (f.text != nullptr && f.text[0] == 'W') {
                    EXPECT_LE(std::strlen(f.text), field.width) << info.name;
                }
            }
        });
        std::free(result.message);
    }
}
