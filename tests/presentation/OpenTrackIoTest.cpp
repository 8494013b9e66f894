// SPDX-License-Identifier: Apache-2.0
// OpenTrackIO samples of composed headers: each case changes a full header's
// fields and checks one member, written with its converted value or left
// out, while the rest of the sample is still written.
#include <cctype>
#include <cstdlib>
#include <functional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <vellmeta/Report.h>

#include "support/FullHeader.h"

using Vmc::testing::HeaderImage;
using nlohmann::json;

namespace {

struct Case {
    const char* name;
    std::function<void(HeaderImage&)> change;
    const char* member;   // JSON pointer into the sample
    const char* expected; // the member's JSON, or nullptr: left out
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

VellRawMeta::TC_Struct timeCode(std::uint32_t bcd, std::uint32_t rateAndDropFrame)
{
    return {bcd, 0u, rateAndDropFrame, 0u};
}

void at24fps(HeaderImage& h, std::uint32_t exposureMicroseconds)
{
    h.set(VMC_AT(sensorFrameRate), 24000u);
    h.set(VMC_AT(exposureTime), exposureMicroseconds);
}

const Case kCases[] = {
    // Frame rates: zero and negative left out.
    {"capture rate 0", [](HeaderImage& h) { h.set(VMC_AT(sensorFrameRate), 0u); }, "/static/camera/captureFrameRate",
     nullptr},
    {"capture rate negative", [](HeaderImage& h) { h.set(VMC_AT(sensorFrameRate), 0x80000000u); },
     "/static/camera/captureFrameRate", nullptr},
    {"project rate 0", [](HeaderImage& h) { h.set(VMC_AT(projectFrameRate), 0u); }, "/timing/sampleRate", nullptr},

    // Shutter angle: 360 × exposure time × capture rate, at most 360.
    {"shutter angle", [](HeaderImage& h) { at24fps(h, 20000u); }, "/static/camera/shutterAngle", "172.8"},
    {"shutter angle just under 360", [](HeaderImage& h) { at24fps(h, 41666u); }, "/static/camera/shutterAngle",
     "359.99426"},
    {"shutter angle above 360", [](HeaderImage& h) { at24fps(h, 41667u); }, "/static/camera/shutterAngle", nullptr},
    {"shutter angle without capture rate", [](HeaderImage& h) { h.set(VMC_AT(sensorFrameRate), 0u); },
     "/static/camera/shutterAngle", nullptr},

    // Exposure index as an integer of at least 1.
    {"iso 0", [](HeaderImage& h) { h.set(VMC_AT(exposureIndex), 0u); }, "/static/camera/isoSpeed", nullptr},

    // Lens: finite positive values only.
    {"f-stop infinite", [](HeaderImage& h) { h.set(VMC_AT(lensIris), 500u); }, "/lens/fStop", nullptr},
    {"focus at infinity", [](HeaderImage& h) { h.set(VMC_AT(lensFocusDistance), 0xFFFFFFFFu); }, "/lens/focusDistance",
     nullptr},

    // Texts: non-blank, no control characters.
    {"model of blanks", [](HeaderImage& h) { h.setText(VMC_AT(cameraModelText), "   "); }, "/static/camera/model", nullptr},
    {"model with a control character", [](HeaderImage& h) { h.setText(VMC_AT(cameraModelText), "CORVA\x01X"); },
     "/static/camera/model", nullptr},
    {"model with a C1 control character", [](HeaderImage& h) { h.setText(VMC_AT(cameraModelText), "CORVA\xc2\x85X"); },
     "/static/camera/model", nullptr},
    {"model not UTF-8", [](HeaderImage& h) { h.setText(VMC_AT(cameraModelText), "K\xe9 40"); }, "/static/camera/model",
     R"("K\ufffd 40")"},
    {"lens model of an ideographic space", [](HeaderImage& h) { h.setText(VMC_AT(lensName), "\xe3\x80\x80"); },
     "/static/lens/model", nullptr},
    {"camera label blank", [](HeaderImage& h) { h.set(VMC_AT(cameraIndex), std::uint8_t{' '}); }, "/static/camera/label",
     nullptr},

    // Time code: BCD digits 0 to 9 within a day, and a rate.
    {"time code", [](HeaderImage& h) { h.set(VMC_AT(timeCode), timeCode(0x23595924u, 0x80007512u)); }, "/timing/timecode",
     R"({"hours":23,"minutes":59,"seconds":59,"frames":24,"frameRate":{"num":30000,"denom":1001},"dropFrame":true})"},
    {"time code rate 23976", [](HeaderImage& h) { h.set(VMC_AT(timeCode), timeCode(0u, 23976u)); },
     "/timing/timecode/frameRate", R"({"num":24000,"denom":1001})"},
    {"time code rate 119880", [](HeaderImage& h) { h.set(VMC_AT(timeCode), timeCode(0u, 119880u)); },
     "/timing/timecode/frameRate", R"({"num":120000,"denom":1001})"},
    {"time code rate 23980 is exact", [](HeaderImage& h) { h.set(VMC_AT(timeCode), timeCode(0u, 23980u)); },
     "/timing/timecode/frameRate", R"({"num":1199,"denom":50})"},
    {"time code rate 0", [](HeaderImage& h) { h.set(VMC_AT(timeCode), timeCode(0u, 0x80000000u)); }, "/timing/timecode",
     nullptr},
    {"time code digit above 9", [](HeaderImage& h) { h.set(VMC_AT(timeCode), timeCode(0x0A000000u, 25000u)); },
     "/timing/timecode", nullptr},
    {"time code hours 24", [](HeaderImage& h) { h.set(VMC_AT(timeCode), timeCode(0x24000000u, 25000u)); },
     "/timing/timecode", nullptr},
    {"time code minutes 60", [](HeaderImage& h) { h.set(VMC_AT(timeCode), timeCode(0x00600000u, 25000u)); },
     "/timing/timecode", nullptr},
    {"time code seconds 60", [](HeaderImage& h) { h.set(VMC_AT(timeCode), timeCode(0x00006000u, 25000u)); },
     "/timing/timecode", nullptr},
};

class OpenTrackIoCase : public ::testing::TestWithParam<Case> {};

TEST_P(OpenTrackIoCase, MemberWrittenOrLeftOut)
{
    const Case& c = GetParam();
    HeaderImage image = Vmc::testing::fullHeader();
    c.change(image);
    Vmc::VellMetadataContainer container;
    Vmc::ErrorValue result = container.initFromHeader(image.header(), Vmc::VellMetadataContainer::ColorSpace::WideGamut);
    std::free(result.message);

    std::string text;
    vellmeta::appendOpenTrackIoSample(text, container);
    const json sample = json::parse(text);
    const json::json_pointer member(c.member);
    if (c.expected == nullptr) {
        EXPECT_FALSE(sample.contains(member)) << text;
    } else {
        ASSERT_TRUE(sample.contains(member)) << text;
        EXPECT_EQ(sample[member], json::parse(c.expected)) << text;
    }
    // Whatever one member does, the rest is written.
    EXPECT_EQ(sample["protocol"], json::parse(R"({"name":"OpenTrackIO","version":[1,0,0]})"));
    EXPECT_EQ(sample["static"]["camera"]["make"], "VELL");
}

INSTANTIATE_TEST_SUITE_P(Members, OpenTrackIoCase, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string name;
    for (const char* p = info.param.name; *p != '\0'; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
});

} // namespace
