// SPDX-License-Identifier: Apache-2.0
// Capture time, frame rates, time code, exposure and image windows.
//
//   captureDate       380  u32 BCD yyyy mm dd  \ both not 0xFFFFFFFF: captureDateTime text
//   captureTime       384  u32 BCD hh mm ss ff /
//   timeZone          388  u32  top byte 0x08: negative; BCD hh mm  \ both not 0xFFFFFFFF:
//   daylightSaving    392  u32  BCD hh mm                           / utcOffset, dstOffset
//   sensorFrameRate   416  u32  1/1000 fps, untested     fraction n/1000
//   imageInfoWord     88   u32  0xFFFFFFFF               stored unchanged
//   imageWidth/Height 20   u32  untested                 full window (0,0)-(w-1,h-1)
//   activeArea...     36   u32 x4 untested               active window
//   exposureTime      396  u32  microseconds, untested   seconds
//   projectFrameRate  420  u32  1/1000 fps, untested     fraction n/1000, and rounded
//   exposureIndex     116  u32  0xFFFFFFFF               float
//   timeCode          424  16 bytes, word 0 0xFFFFFFFF   record, word 1, rate
//
// The window corners are summed and differenced in unsigned 32-bit
// arithmetic and may wrap: a width of 0 gives a maximum corner of 2^32 - 1,
// which becomes the nearest float, 2^32.
#include <math.h> // roundf
#include <cstdint>

#include <VellMetadataContainer/TimeCode.h>

#include "Decoding.h"
#include "Unwritten.h"
#include "TextRules.h"
#include "util/Bcd.h"
#include "util/DateTimeText.h"

namespace Vmc::decoding {

namespace {

constexpr std::uint32_t kNegativeTimeZone = 0x08;
constexpr std::uint32_t kDropFrameBit = 0x80000000u;

int bcd2(std::uint32_t word, int shift)
{
    return bcd::twoDigits(static_cast<unsigned char>(word >> shift));
}

int bcd4(std::uint32_t word, int shift)
{
    return bcd::fourDigits(static_cast<unsigned short>(word >> shift));
}

ImageWindow window(std::uint32_t left, std::uint32_t top, std::uint32_t right, std::uint32_t bottom)
{
    return {Vec2(static_cast<float>(left), static_cast<float>(top)),
            Vec2(static_cast<float>(right), static_cast<float>(bottom))};
}

} // namespace

Next decodeCaptureTimeZoneAndSensorRate(Decoding& d)
{
    const HeaderView& h = d.header;
    VellMetadataContainer& c = d.out;

    const std::uint32_t date = h.read(VMC_AT(captureDate));
    const std::uint32_t time = h.read(VMC_AT(captureTime));
    if (!unwritten(date) && !unwritten(time)) {
        const DateTime dateTime{bcd4(date, 16), bcd2(date, 8),  bcd2(date, 0),  bcd2(time, 24),
                                bcd2(time, 16), bcd2(time, 8), bcd2(time, 0)};
        FixedText<text::kDateTimeCapacity> text;
        text::appendDateTime(text, dateTime);
        assignText(c.captureDateTime, text.c_str());
    }

    // The sign applies to the hours only; the minutes are always added.
    const std::uint32_t zone = h.read(VMC_AT(timeZone));
    const std::uint32_t saving = h.read(VMC_AT(daylightSaving));
    if (!unwritten(zone) && !unwritten(saving)) {
        const std::int32_t sign = (zone >> 24) == kNegativeTimeZone ? -1 : 1;
        const std::int32_t hours = bcd2(zone, 8);
        const std::int32_t minutes = bcd2(zone, 0);
        const std::int32_t dstHours = bcd2(saving, 8);
        const std::int32_t dstMinutes = bcd2(saving, 0);
        c.utcOffset.set(static_cast<float>((sign * hours + dstHours) * 3600 + (minutes + dstMinutes) * 60));
        c.dstOffset.set(static_cast<float>(dstHours * 3600 + dstMinutes * 60));
    }

    c.sensorFrameRate.set(frameRateAsRational(h.read(VMC_AT(sensorFrameRate))));
    return Next::Continue;
}

Next decodeImageInfoWindowsAndExposure(Decoding& d)
{
    const HeaderView& h = d.header;
    VellMetadataContainer& c = d.out;

    const std::uint32_t infoWord = h.read(VMC_AT(imageInfoWord));
    if (!unwritten(infoWord))
        c.imageInfoWord.set(infoWord);

    c.fullImageWindow.set(window(0, 0, h.read(VMC_AT(imageWidth)) - 1u, h.read(VMC_AT(imageHeight)) - 1u));

    const std::uint32_t left = h.read(VMC_AT(activeAreaLeft));
    const std::uint32_t top = h.read(VMC_AT(activeAreaTop));
    c.activeImageWindow.set(window(left, top, left + h.read(VMC_AT(activeAreaWidth)) - 1u,
                                   top + h.read(VMC_AT(activeAreaHeight)) - 1u));

    c.exposureTime.set(static_cast<float>(h.read(VMC_AT(exposureTime))) / 1000000.0f);
    return Next::Continue;
}

Next decodeProjectFrameRate(Decoding& d)
{
    d.out.projectFrameRate.set(frameRateAsRational(d.header.read(VMC_AT(projectFrameRate))));
    return Next::Continue;
}

Next decodeExposureIndex(Decoding& d)
{
    const std::uint32_t index = d.header.read(VMC_AT(exposureIndex));
    if (!unwritten(index))
        d.out.exposureIndex.set(static_cast<float>(index));
    return Next::Continue;
}

Next decodeTimeCodeAndRoundedRate(Decoding& d)
{
    const HeaderView& h = d.header;
    VellMetadataContainer& c = d.out;

    const VellRawMeta::TC_Struct timeCode = h.read(VMC_AT(timeCode));
    if (!unwritten(timeCode)) {
        c.timeCode.set(timeCode);
        c.timeCodeWord1.set(timeCode.word1);
        c.timeCodeRate.set(static_cast<float>(timeCode.rateAndDropFrame & ~kDropFrameBit) / 1000.0f);
    }

    // Halves round away from zero. The largest rate, 2^32 - 1 thousandths,
    // rounds to 4294968, well inside a signed 32-bit integer.
    const float rate = static_cast<float>(h.read(VMC_AT(projectFrameRate))) / 1000.0f;
    c.projectFrameRateRounded.set(static_cast<std::int32_t>(::roundf(rate)));
    return Next::Continue;
}

} // namespace Vmc::decoding
