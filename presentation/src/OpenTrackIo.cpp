// SPDX-License-Identifier: Apache-2.0
// An OpenTrackIO 1.0.0 sample of a clip: what virtual-production and VFX
// pipelines exchange about a camera and its lens.
//
// A member is written only when the header defines its source, the camera
// wrote it (it is not what decoding makes of an all-ones word it does not
// test: see setByCamera) and the value lies within what the OpenTrackIO
// schema allows; otherwise that one member is left out, and an object left
// without members is left out of its parent.
//
//   member                                   source               conversion
//   sourceId                                 uuid                 "urn:uuid:" and the UUID in lower case
//   static.camera.make, model, serialNumber  cameraManufacturer,  texts that say something to a reader
//     label                                  cameraModel, cameraSerialNumber, cameraIndex
//   static.camera.captureFrameRate           sensorFrameRate      {num, denom} in lowest terms, positive
//   static.camera.activeSensorResolution     activeImageWindow    {width, height}, whole pixels
//   static.camera.isoSpeed                   exposureIndex        integer, 1 to 4294967295
//   static.camera.shutterAngle               exposureTime and sensorFrameRate, 0 to 360 degrees
//   static.lens.make, model, serialNumber    lensMaker, lensModel, lensSerialNumber
//   static.lens.nominalFocalLength           lensFocalLength      millimetres, finite and positive
//   lens.fStop                               lensAperture         finite and positive
//   lens.focusDistance                       lensFocusDistance    metres, finite and positive
//   timing.timecode                          timeCode             digits within a day, frame rate, drop frame
//   timing.sampleRate                        projectFrameRate     {num, denom} in lowest terms, positive
#include <cctype>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "JsonWriter.h"
#include "Writing.h"

namespace vellmeta {

namespace {

using Container = Vmc::VellMetadataContainer;

// A field of the sample's sources, by name; checked when compiled.
template <std::size_t N>
constexpr int source(const char (&name)[N])
{
    const int index = fieldIndexOf(name);
    return index >= 0 ? index : throw "not a container field";
}

// An OpenTrackIO rational: numerator and denominator positive, in lowest
// terms.
struct Fraction {
    std::uint32_t num;
    std::uint32_t denom;
};

Fraction lowestTerms(std::uint32_t num, std::uint32_t denom)
{
    const std::uint32_t divisor = std::gcd(num, denom);
    return {num / divisor, denom / divisor};
}

// A frame rate held as a fraction; nothing when it is zero, negative or has
// no denominator.
std::optional<Fraction> frameRate(const Container& c, int index, const MetaField<Vmc::Rational>& rate)
{
    if (!setByCamera(c, index) || rate.value.numerator <= 0 || rate.value.denominator == 0)
        return std::nullopt;
    return lowestTerms(static_cast<std::uint32_t>(rate.value.numerator), rate.value.denominator);
}

// The time-code rate, in thousandths of a frame per second. The NTSC rates
// are written rounded down to the thousandth; they stand for N × 1000/1001.
std::optional<Fraction> timeCodeRate(std::uint32_t milliRate)
{
    struct Ntsc {
        std::uint32_t milliRate;
        std::uint32_t num;
    };
    constexpr Ntsc kNtscRates[] = {{23976, 24000}, {29970, 30000}, {47952, 48000}, {59940, 60000}, {119880, 120000}};
    if (milliRate == 0)
        return std::nullopt;
    for (const Ntsc& ntsc : kNtscRates)
        if (milliRate == ntsc.milliRate)
            return Fraction{ntsc.num, 1001};
    return lowestTerms(milliRate, 1000);
}

bool isLowerHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

// "urn:uuid:" and the header's UUID in lower case, when it has the form
// 8-4-4-4-12.
std::optional<std::string> sourceUrn(const MetaString& uuid)
{
    if (!uuid.defined || uuid.text == nullptr)
        return std::nullopt;
    const std::string_view text(uuid.text);
    if (text.size() != 36)
        return std::nullopt;
    std::string urn = "urn:uuid:";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
        const bool hyphen = i == 8 || i == 13 || i == 18 || i == 23;
        if (hyphen ? c != '-' : !isLowerHexDigit(c))
            return std::nullopt;
        urn += c;
    }
    return urn;
}

bool positive(const Container& c, int index, const MetaField<float>& field)
{
    return setByCamera(c, index) && std::isfinite(field.value) && field.value > 0;
}

// A header text that OpenTrackIO can take: OpenTrackIO strings must not be
// empty, a text of blanks says nothing, and one with control characters is
// not a name.
std::optional<std::string_view> name(const Container& c, int index, const MetaString& field)
{
    if (!setByCamera(c, index) || field.text == nullptr || !isUsableName(field.text))
        return std::nullopt;
    return std::string_view(field.text);
}

// What a sample holds, worked out before it is written, so that an object
// with nothing in it is left out.
struct Sample {
    std::optional<std::string> sourceId;
    struct Camera {
        std::optional<std::string_view> make, model, serialNumber, label;
        std::optional<Fraction> captureFrameRate;
        std::optional<WindowSize> activeSensorResolution;
        std::optional<std::uint64_t> isoSpeed;
        std::optional<float> shutterAngle;
    } camera;
    struct StaticLens {
        std::optional<std::string_view> make, model, serialNumber;
        std::optional<float> nominalFocalLength;
    } staticLens;
    struct Lens {
        std::optional<float> fStop, focusDistance;
    } lens;
    struct Timing {
        std::optional<TimeCodeParts::TimeOfDay> time;
        std::optional<Fraction> timeCodeRate;
        bool dropFrame = false;
        std::optional<Fraction> sampleRate;
    } timing;
};

Sample sampleOf(const Container& c)
{
    Sample s;
    if (const std::optional<std::string> urn = sourceUrn(c.uuid))
        s.sourceId = *urn;

#define VMC_INDEX(field) std::integral_constant<int, source(#field)>::value
#define VMC_SOURCE(field) c, VMC_INDEX(field), c.field
    s.camera.make = name(VMC_SOURCE(cameraManufacturer));
    s.camera.model = name(VMC_SOURCE(cameraModel));
    s.camera.serialNumber = name(VMC_SOURCE(cameraSerialNumber));
    s.camera.label = name(VMC_SOURCE(cameraIndex));
    s.camera.captureFrameRate = frameRate(VMC_SOURCE(sensorFrameRate));
    if (setByCamera(c, VMC_INDEX(activeImageWindow))) {
        const std::optional<WindowSize> size = windowSize(c.activeImageWindow.value);
        const auto pixels = [](double n) { return n >= 1 && n <= 2147483647 && n == std::floor(n); };
        if (size && pixels(size->width) && pixels(size->height))
            s.camera.activeSensorResolution = size;
    }
    if (c.exposureIndex.defined && c.exposureIndex.value >= 1 && c.exposureIndex.value <= 4294967295.0)
        s.camera.isoSpeed = static_cast<std::uint64_t>(std::llround(c.exposureIndex.value));
    if (setByCamera(c, VMC_INDEX(exposureTime)) && setByCamera(c, VMC_INDEX(sensorFrameRate))) {
        const std::optional<double> angle = shutterAngle(c.exposureTime.value, c.sensorFrameRate.value);
        if (angle && *angle <= 360)
            s.camera.shutterAngle = static_cast<float>(*angle);
    }

    s.staticLens.make = name(VMC_SOURCE(lensMaker));
    s.staticLens.model = name(VMC_SOURCE(lensModel));
    s.staticLens.serialNumber = name(VMC_SOURCE(lensSerialNumber));
    if (positive(VMC_SOURCE(lensFocalLength)))
        s.staticLens.nominalFocalLength = c.lensFocalLength.value;

    if (positive(VMC_SOURCE(lensAperture)))
        s.lens.fStop = c.lensAperture.value;
    if (positive(VMC_SOURCE(lensFocusDistance)))
        s.lens.focusDistance = c.lensFocusDistance.value;

    if (setByCamera(c, VMC_INDEX(timeCode))) {
        const TimeCodeParts parts = timeCodeParts(c.timeCode.value);
        const std::optional<Fraction> rate =
            parts.rateWritten() ? timeCodeRate(parts.milliRate) : std::nullopt;
        const std::optional<TimeCodeParts::TimeOfDay> time = parts.timeOfDay();
        if (time && rate) {
            s.timing.time = time;
            s.timing.timeCodeRate = rate;
            s.timing.dropFrame = parts.dropFrame;
        }
    }
    s.timing.sampleRate = frameRate(VMC_SOURCE(projectFrameRate));
#undef VMC_SOURCE
#undef VMC_INDEX
    return s;
}

// The members of a sample's objects, each written when it has a value.
class SampleWriter {
public:
    explicit SampleWriter(JsonWriter& json) : json_(json) {}

    void text(const char* key, const std::optional<std::string_view>& value)
    {
        if (value) {
            json_.member(key, *value);
        }
    }
    void integer(const char* key, const std::optional<std::uint64_t>& value)
    {
        if (value) {
            json_.member(key, *value);
        }
    }
    void number(const char* key, const std::optional<float>& value)
    {
        if (value) {
            json_.key(key);
            json_.number(*value);
        }
    }
    void fraction(const char* key, const std::optional<Fraction>& value)
    {
        if (!value)
            return;
        json_.key(key);
        json_.beginObject();
        json_.member("num", value->num);
        json_.member("denom", value->denom);
        json_.endObject();
    }
    // An object, when any of its members is there.
    template <class Members>
    void object(const char* key, bool any, Members&& members)
    {
        if (!any)
            return;
        json_.key(key);
        json_.beginObject();
        members();
        json_.endObject();
    }

private:
    JsonWriter& json_;
};

} // namespace

void writeOpenTrackIoSample(JsonWriter& json, const Container& container)
{
    const Sample s = sampleOf(container);
    const Sample::Camera& camera = s.camera;
    const Sample::StaticLens& staticLens = s.staticLens;
    const Sample::Timing& timing = s.timing;
    const bool anyCamera = camera.make || camera.model || camera.serialNumber || camera.label ||
                           camera.captureFrameRate || camera.activeSensorResolution || camera.isoSpeed ||
                           camera.shutterAngle;
    const bool anyStaticLens =
        staticLens.make || staticLens.model || staticLens.serialNumber || staticLens.nominalFocalLength;

    SampleWriter w(json);
    json.beginObject();
    json.key("protocol");
    json.beginObject();
    json.member("name", "OpenTrackIO");
    json.key("version");
    json.beginArray();
    for (int part : {1, 0, 0})
        json.integer(part);
    json.endArray();
    json.endObject();
    if (s.sourceId) {
        json.member("sourceId", *s.sourceId);
    }
    w.object("static", anyCamera || anyStaticLens, [&] {
        w.object("camera", anyCamera, [&] {
            w.text("make", camera.make);
            w.text("model", camera.model);
            w.text("serialNumber", camera.serialNumber);
            w.text("label", camera.label);
            w.fraction("captureFrameRate", camera.captureFrameRate);
            w.object("activeSensorResolution", camera.activeSensorResolution.has_value(), [&] {
                w.integer("width", static_cast<std::uint64_t>(camera.activeSensorResolution->width));
                w.integer("height", static_cast<std::uint64_t>(camera.activeSensorResolution->height));
            });
            w.integer("isoSpeed", camera.isoSpeed);
            w.number("shutterAngle", camera.shutterAngle);
        });
        w.object("lens", anyStaticLens, [&] {
            w.text("make", staticLens.make);
            w.text("model", staticLens.model);
            w.text("serialNumber", staticLens.serialNumber);
            w.number("nominalFocalLength", staticLens.nominalFocalLength);
        });
    });
    w.object("lens", s.lens.fStop || s.lens.focusDistance, [&] {
        w.number("fStop", s.lens.fStop);
        w.number("focusDistance", s.lens.focusDistance);
    });
    w.object("timing", timing.time || timing.sampleRate, [&] {
        w.object("timecode", timing.time.has_value(), [&] {
            w.integer("hours", static_cast<std::uint64_t>(timing.time->hours));
            w.integer("minutes", static_cast<std::uint64_t>(timing.time->minutes));
            w.integer("seconds", static_cast<std::uint64_t>(timing.time->seconds));
            w.integer("frames", static_cast<std::uint64_t>(timing.time->frames));
            w.fraction("frameRate", timing.timeCodeRate);
            json.member("dropFrame", timing.dropFrame);
        });
        w.fraction("sampleRate", timing.sampleRate);
    });
    json.endObject();
}

} // namespace vellmeta
