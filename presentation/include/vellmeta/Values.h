// SPDX-License-Identifier: Apache-2.0
/// @file
/// One formatting of every field value, for people or as the decoded numbers,
/// as text or as typed JSON; and the typed helpers behind the conversions for
/// people (time codes, shutter angle, window size), which every surface uses
/// rather than working them out again.
///
/// @code
///   std::string line = std::string(vellmeta::kFields[i].label) + ": " +
///                      vellmeta::fieldText(meta, i, vellmeta::TextStyle::People);
///   // "Exposure time: 1/48 s (0.020833 s), 180° shutter"
/// @endcode
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <VellMetadataContainer/MetadataContainer.h>

#include "Export.h"
#include "Fields.h"

namespace vellmeta {

/// How a value is written.
enum class TextStyle : std::uint8_t {
    People,  ///< converted for people, with units, to the precision the header carries
             ///< ("1/48 s (0.020833 s), 180° shutter", "f/2.8", "8.775 m", "not set by the camera")
    Numeric, ///< the decoded numbers as they are ("0.020833", "2.828427")
};

/// Whether field `index` of `container` is defined. `index` must lie in
/// [0, kFieldCount).
VELLMETA_EXPORT bool fieldDefined(const Vmc::VellMetadataContainer& container, int index);

/// Whether field `index` is defined and holds a value the camera wrote: not
/// what decoding makes of an all-ones header word that it stores without
/// testing for that pattern (the field's Word says which value that is: a
/// focal length of 4294967.5 mm, a serial number 4294967295). The people's
/// view reads such a value as kNotSetByCamera and OpenTrackIO leaves it out;
/// the numeric and JSON views keep it as decoded.
VELLMETA_EXPORT bool setByCamera(const Vmc::VellMetadataContainer& container, int index);
/// What the people's view reads for a value the camera never wrote.
inline constexpr const char* kNotSetByCamera = "not set by the camera";

/// Whether the people's view lists the field: it is defined, and its value is
/// not already part of another field's line (the tint, within the white
/// balance).
VELLMETA_EXPORT bool listedForPeople(const Vmc::VellMetadataContainer& container, int index);

///@{
/// The value of field `index` as text (appended to `out`, or returned);
/// nothing when it is undefined. Header texts are made valid UTF-8, with
/// control characters escaped, so a value always stays on its one line.
VELLMETA_EXPORT void appendFieldText(std::string& out, const Vmc::VellMetadataContainer& container, int index,
                                     TextStyle style);
VELLMETA_EXPORT std::string fieldText(const Vmc::VellMetadataContainer& container, int index, TextStyle style);
///@}

/// Appends the value of field `index` as a JSON value of its type (see
/// ValueType); "null" when it is undefined.
VELLMETA_EXPORT void appendFieldJson(std::string& out, const Vmc::VellMetadataContainer& container, int index);

/// Whether field `index` is defined in both containers and holds the same
/// value there, by the rules of container equality: fractions by quotient,
/// floats by IEEE comparison (a NaN equals nothing), texts byte for byte.
VELLMETA_EXPORT bool sameFieldValue(const Vmc::VellMetadataContainer& a, const Vmc::VellMetadataContainer& b,
                                    int index);

/// The digits of a time-code record, one per BCD nibble as the header holds
/// them (a nibble may exceed 9 in a damaged header), from the hours' tens to
/// the frames' units; whether it counts drop frames; its rate in thousandths
/// of a frame per second (0: none given).
struct TimeCodeParts {
    unsigned digits[8];      ///< the BCD nibbles, hours' tens first
    bool dropFrame;          ///< whether the record counts drop frames
    std::uint32_t milliRate; ///< the rate in 1/1000 fps; 0: none given

    /// Hours, minutes, seconds and frames when every digit is 0 to 9 and the
    /// time lies within a day: hours to 23, minutes and seconds to 59.
    struct TimeOfDay {
        ///@{
        /// The time code's four parts.
        int hours, minutes, seconds, frames;
        ///@}
    };
    /// The digits as a time of day, or nothing when they are not one.
    std::optional<TimeOfDay> timeOfDay() const;

    /// Whether the camera wrote the rate word: decoding tests only the first
    /// word of the record, and an all-ones rate word is no rate and no
    /// drop-frame mark.
    bool rateWritten() const { return !(dropFrame && milliRate == 0x7FFFFFFFu); }
};
/// The parts of a header time-code record.
VELLMETA_EXPORT TimeCodeParts timeCodeParts(const VellRawMeta::TC_Struct& timeCode);

/// HH:MM:SS:FF, with ';' before the frames for drop-frame counting, each
/// nibble as its decimal value (so a nibble above 9 takes two characters).
VELLMETA_EXPORT std::string timeCodeText(const VellRawMeta::TC_Struct& timeCode);

/// The shutter angle in degrees, 360 × exposure time × frame rate, when the
/// exposure time is positive, the rate a positive fraction and the angle
/// finite.
VELLMETA_EXPORT std::optional<double> shutterAngle(float exposureSeconds, const Vmc::Rational& frameRate);

/// The size of an image window in pixels: its corners are inclusive, so
/// maximum − minimum + 1 each way; when both are finite and positive.
struct WindowSize {
    double width;  ///< maximum x − minimum x + 1
    double height; ///< maximum y − minimum y + 1
};
/// The size of `window`, or nothing when either side is not finite and
/// positive.
VELLMETA_EXPORT std::optional<WindowSize> windowSize(const Vmc::ImageWindow& window);

} // namespace vellmeta
