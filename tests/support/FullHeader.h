// SPDX-License-Identifier: Apache-2.0
// A header image in which every field that decoding reads holds a valid,
// defined value, so that every field group stores all of its container
// fields: a stage camera (model text "CORVA Stage NX") with ND filter type 1,
// lens, look, time codes, encoders in both sets, a left channel with its tag,
// and all six named value records.
//
// Decoded with the ACES AP0 colour space it defines every container field
// except the thirteen spare ones; with the other two colour spaces, all but
// those and acesContainerFlag.
#pragma once

#include <cstdint>

#include "HeaderImage.h"

namespace Vmc::testing {

inline HeaderImage fullHeader()
{
    HeaderImage h;

    // Camera identity.
    h.set(VMC_AT(cameraType), 2u);
    h.set(VMC_AT(cameraNumber), 1234u);
    h.set(VMC_AT(cameraSerialNumber), 8950u);
    h.set(VMC_AT(cameraSerialCode), 0x4B313035u); // K105
    h.set(VMC_AT(cameraIndex), std::uint8_t{'A'});
    h.setText(VMC_AT(cameraModelText), "CORVA Stage NX");
    h.set(VMC_AT(cameraTripleA), 1u);
    h.set(VMC_AT(cameraTripleB), 2u);
    h.set(VMC_AT(cameraTripleC), 3u);

    // Capture time, frame rates, time code and image windows.
    h.set(VMC_AT(imageWidth), 4096u);
    h.set(VMC_AT(imageHeight), 2160u);
    h.set(VMC_AT(activeAreaLeft), 8u);
    h.set(VMC_AT(activeAreaTop), 4u);
    h.set(VMC_AT(activeAreaWidth), 4080u);
    h.set(VMC_AT(activeAreaHeight), 2152u);
    h.set(VMC_AT(imageInfoWord), 7u);
    h.set(VMC_AT(exposureIndex), 800u);
    h.set(VMC_AT(captureDate), 0x20231231u);
    h.set(VMC_AT(captureTime), 0x23595900u);
    h.set(VMC_AT(timeZone), 0x08000530u); // UTC -5:30
    h.set(VMC_AT(daylightSaving), 0x00000100u);
    h.set(VMC_AT(exposureTime), 20833u);
    h.set(VMC_AT(sensorFrameRate), 23976u);
    h.set(VMC_AT(projectFrameRate), 23976u);
    h.set(VMC_AT(timeCode), {0x01020304u, 5u, 0x80005DC0u, 9u});

    // Lens and location.
    h.set(VMC_AT(lensIris), 2800u);
    h.set(VMC_AT(lensFocalLength), 35000u);
    h.set(VMC_AT(lensDistanceUnits), 1u); // metric
    h.set(VMC_AT(lensFocusDistance), 2500u);
    h.set(VMC_AT(lensSerialNumber), 123456u);
    h.setText(VMC_AT(lensName), "Zeiss Master Prime 35");
    h.set(VMC_AT(latitude), 1u, 404000000u);
    h.set(VMC_AT(longitude), 2u, 37000000u);

    // Production texts, recorder and identifiers.
    h.set(VMC_AT(extraFloatValue), 1.5f);
    h.set(VMC_AT(hardwareIdLow), 0x00000001u);
    h.set(VMC_AT(hardwareIdHigh), 0x0012ABCDu);
    h.setText(VMC_AT(recorderInfo), "Codex Digital;X7;1.SIM2.3");
    h.setBytes(VMC_AT(uuidBytes), {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0, 0x01, 0x23, 0x45, 0x67, 0x89,
                                   0xAB, 0xCD, 0xEF});
    h.setText(VMC_AT(shortText), "SHORTTXT");
    h.setText(VMC_AT(productionTextA), "Production A");
    h.setText(VMC_AT(productionTextB), "Production B");
    h.setText(VMC_AT(productionTextC), "Production C");
    h.setText(VMC_AT(productionTextD), "Production D");
    h.setText(VMC_AT(longUserText), "A long user text written on set");

    // White balance, colour matrix, target colour space and flip state.
    h.set(VMC_AT(whiteBalanceCct), 5600u);
    h.set(VMC_AT(whiteBalanceTint), 2.5f);
    h.set(VMC_AT(whiteBalanceRgb), {1.75f, 1.0f, 1.5f});
    h.set(VMC_AT(colorMatrix[0]), {1.5f, -0.25f, -0.25f, 0.01f});
    h.set(VMC_AT(colorMatrix[1]), {-0.125f, 1.25f, -0.125f, 0.02f});
    h.set(VMC_AT(colorMatrix[2]), {0.0f, -0.5f, 1.5f, 0.03f});
    h.set(VMC_AT(targetColorSpace), 1u);
    h.set(VMC_AT(processingLevel), 3u);
    h.set(VMC_AT(flipState), 9u);

    // Look.
    h.setText(VMC_AT(lookName), "Day Exterior");
    h.set(VMC_AT(lookLutType), 2u);
    h.set(VMC_AT(cdlSaturation), 1.125f);
    h.set(VMC_AT(cdlSlope), {1.0f, 1.0625f, 0.9375f});
    h.set(VMC_AT(cdlOffset), {0.0f, -0.0125f, 0.025f});
    h.set(VMC_AT(cdlPower), {1.0f, 1.125f, 0.875f});
    h.set(VMC_AT(lookRgb), {0.5f, 0.25f, 0.125f});
    h.set(VMC_AT(cdlApplicationMode), 2u);

    // Bayer colour order, auxiliary words and time codes 1 to 8.
    h.set(VMC_AT(bayerColorOrder), 0x52474742u); // RGGB
    h.set(VMC_AT(auxiliaryCameraWord), 42u);
    h.set(VMC_AT(auxiliaryMilliValue), 180000u);
    const At<VellRawMeta::TC_Struct> timeCodes[] = {VMC_AT(timeCode1), VMC_AT(timeCode2), VMC_AT(timeCode3),
                                                    VMC_AT(timeCode4), VMC_AT(timeCode5), VMC_AT(timeCode6),
                                                    VMC_AT(timeCode7), VMC_AT(timeCode8)};
    const std::uint32_t rates[] = {24000, 25000, 0x80007530, 48000, 50000, 60000, 23976, 24000}; // 3: drop frame
    for (std::uint32_t i = 0; i < 8; ++i)
        h.set(timeCodes[i], {0x10000001u + i, i + 1, rates[i], i + 1});

    // Identifier, status fields and stage-camera codes.
    for (std::size_t i = 0; i < 32; ++i)
        h.data()[offsetof(VellRawMeta::VellFileHeaderV3, identifierBytes) + i] = static_cast<unsigned char>(i * 7);
    h.set(VMC_AT(cameraStatusBits), std::uint8_t{0x03});
    h.set(VMC_AT(statusFloat), 0.25f);
    h.set(VMC_AT(statusWord), 77u);
    h.setText(VMC_AT(auxiliaryText), "Auxiliary text");
    h.set(VMC_AT(cameraFamilyCode), std::uint16_t{4});
    h.set(VMC_AT(cameraVariantCode), std::uint16_t{0});

    // ND filter and switches.
    h.set(VMC_AT(ndDataLevel), 30u);
    h.set(VMC_AT(ndFilterType), std::uint16_t{1});
    h.set(VMC_AT(ndFilterMilliValue), std::uint16_t{600});
    h.set(VMC_AT(switchWord1), 1u);
    h.set(VMC_AT(switchWord2), 0u);
    h.set(VMC_AT(switchWord3), 1u);

    // Encoders: both sets, every encoder.
    h.set(VMC_AT(rawEncoderA), 300, 310);
    h.set(VMC_AT(rawEncoderB), 400, 410);
    h.set(VMC_AT(rawEncoderC), 500, 510);
    h.set(VMC_AT(encoderLimitsA1), 10, 1000);
    h.set(VMC_AT(encoderLimitsB1), 20, 2000);
    h.set(VMC_AT(encoderLimitsC1), 30, 3000);
    h.set(VMC_AT(encoderLimitsA2), 11, 1100);
    h.set(VMC_AT(encoderLimitsB2), 21, 2100);
    h.set(VMC_AT(encoderLimitsC2), 31, 3100);
    h.set(VMC_AT(encoderModeByte1), std::uint8_t{1});
    h.set(VMC_AT(encoderParameterByte1), std::uint8_t{5});
    h.set(VMC_AT(encoderModeByte2), std::uint8_t{0});
    h.set(VMC_AT(encoderParameterByte2), std::uint8_t{6});

    // Scaled values, master/slave and channel setup.
    h.set(VMC_AT(integralWord), 100u);
    h.set(VMC_AT(tenthsWord1), 250u);
    h.set(VMC_AT(tenthsWord2), 0x0000FFF6u); // -1.0
    h.set(VMC_AT(masterSlaveSetup), 1u);
    h.set(VMC_AT(channelSetup), 1u); // left: the tag is decoded
    h.set(VMC_AT(channelTagWord), 0x52494731u);

    // Text fields and a switch.
    h.set(VMC_AT(switchWord4), 1u);
    h.setText(VMC_AT(auxiliaryText2), "Auxiliary 2");
    h.setText(VMC_AT(auxiliaryText3), "AUX3");
    h.setText(VMC_AT(auxiliaryText4), "NONE");
    h.setText(VMC_AT(longText1), "Long text one");
    h.setText(VMC_AT(longText2), "Long text two");
    h.setText(VMC_AT(longText3), "Long text three");
    h.setText(VMC_AT(longText4), "Long text four");
    h.setText(VMC_AT(longText5), "Long text five");

    // Named value records: two groups of three.
    h.setText(VMC_AT(groupName1), "Group one");
    h.setText(VMC_AT(groupName2), "Group two");
    const At<std::uint32_t> kinds[] = {VMC_AT(record1.kind), VMC_AT(record2.kind), VMC_AT(record3.kind),
                                       VMC_AT(record4.kind), VMC_AT(record5.kind), VMC_AT(record6.kind)};
    const At<unsigned char[32]> names[] = {VMC_AT(record1.name), VMC_AT(record2.name), VMC_AT(record3.name),
                                           VMC_AT(record4.name), VMC_AT(record5.name), VMC_AT(record6.name)};
    for (int r = 0; r < 6; ++r) {
        h.set(kinds[r], r % 2 == 0 ? 1u : 2u);
        h.setText(names[r], "Record " + std::to_string(r + 1));
        for (int v = 0; v < 6; ++v) {
            const std::size_t values = names[r].offset + 32;
            h.set(At<std::uint16_t>{values + 2 * static_cast<std::size_t>(v)},
                  static_cast<std::uint16_t>(10 * (r + 1) + v));
        }
    }
    return h;
}

} // namespace Vmc::testing
