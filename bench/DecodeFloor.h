// SPDX-License-Identifier: Apache-2.0
// What the decode benchmarks run: the shoot-day headers, a decode as a host
// makes it, and the floor those decodes are set against.
//
// Every text a new container holds is a heap copy. So the floor of decoding
// a header is copying its 2480 bytes, plus one strdup and one free for each
// text that decoding that header stores (the result message included), of
// the same texts. Headers differ in what they store (a note or no note, an
// ND filter in or not), so the texts are counted header by header, each
// decoded into a new container and its defined texts found by walking it.
// Both the timed benchmarks and the instruction counts use this floor.
#pragma once

#include <VellMetadataContainer/FieldDescription.h>
#include <VellMetadataContainer/MetadataContainer.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "ShootDay.h"

namespace Vmc::bench {

using ColorSpace = VellMetadataContainer::ColorSpace;

// Distinct takes the decode benchmarks cycle through: more than any cache of
// recent values holds, few enough to stay in the processor's caches.
constexpr long kDecodeClips = 1000;
constexpr unsigned kShootSeed = 20240610;

inline std::vector<HeaderImage> decodeHeaders()
{
    return ShootDay(VMC_SAMPLES_DIR).headers(kDecodeClips, kShootSeed);
}

// Keeps the compiler from dropping work whose result nobody reads.
inline void keep(const void* p) { asm volatile("" : : "r"(p) : "memory"); }

// Decodes and releases the result's message, as a host does.
inline void decodeInto(VellMetadataContainer& c, const HeaderImage& image, ColorSpace space)
{
    Vmc::ErrorValue result = c.initFromHeader(image.header(), space);
    std::free(result.message);
}

class DecodeFloor {
public:
    // The colour space decides the primaries, not the texts: the floor is
    // the same for all three.
    explicit DecodeFloor(const std::vector<HeaderImage>& headers) : headers_(headers)
    {
        first_.push_back(0);
        for (const HeaderImage& image : headers) {
            VellMetadataContainer c;
            Vmc::ErrorValue result = c.initFromHeader(image.header(), ColorSpace::CameraNative);
            texts_.emplace_back(result.message != nullptr ? result.message : "");
            std::free(result.message);
            Vmc::forEachField(c, [&](const Vmc::FieldInfo&, const auto& field) {
                if constexpr (std::is_same_v<std::decay_t<decltype(field)>, ::MetaString>) {
                    if (field.defined)
                        texts_.emplace_back(field.text);
                }
            });
            held_.resize(std::max(held_.size(), texts_.size() - first_.back()), nullptr);
            first_.push_back(texts_.size());
        }
    }
    DecodeFloor(const DecodeFloor&) = delete;
    DecodeFloor& operator=(const DecodeFloor&) = delete;
    ~DecodeFloor()
    {
        for (char* text : held_)
            std::free(text);
    }

    // The floor of decoding header `i`. Each copy replaces, and releases, the
    // copy of the previous header's text in the same place, as decoding
    // clip after clip into new containers releases the old ones.
    void run(std::size_t i)
    {
        std::memcpy(copy_, headers_[i].data(), sizeof copy_);
        keep(copy_);
        char** held = held_.data();
        for (std::size_t t = first_[i]; t < first_[i + 1]; ++t, ++held) {
            char* text = strdup(texts_[t].c_str());
            std::free(*held);
            *held = text;
        }
        keep(held_.data());
    }

    double textsPerHeader() const { return static_cast<double>(texts_.size()) / static_cast<double>(headers_.size()); }

private:
    const std::vector<HeaderImage>& headers_;
    std::vector<std::string> texts_; // every header's texts, header after header
    std::vector<std::size_t> first_; // header i's texts are texts_[first_[i]] to texts_[first_[i + 1] - 1]
    std::vector<char*> held_;        // the copies of the latest header
    unsigned char copy_[sizeof(VellRawMeta::VellFileHeaderV3)];
};

} // namespace Vmc::bench
