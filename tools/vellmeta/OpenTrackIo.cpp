#include "OpenTrackIo.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <optional>
#include <string_view>

#include "Dump.h"

namespace vellmeta {

namespace {

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
std::optional<Fraction> frameRate(const MetaField<Vmc::Rational>& rate)
{
    if (!rate.defined || rate.value.numerator <= 0 || rate.value.denominator == 0)
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

struct TimeOfDay {
    int hours;
    int minutes;
    int seconds;
    int frames;
};

// The BCD time code, when every digit is 0 to 9 and the time lies within a
// day (two frame digits stay below the 120 frames that OpenTrackIO allows).
std::optional<TimeOfDay> timeOfDay(std::uint32_t bcdTime)
{
    int pairs[4];
    for (int i = 0; i < 4; ++i) {
        const unsigned tens = (bcdTime >> (28 - 8 * i)) & 0xF;
        const unsigned units = (bcdTime >> (24 - 8 * i)) & 0xF;
        if (tens > 9 || units > 9)
            return std::nullopt;
        pairs[i] = static_cast<int>(10 * tens + units);
    }
    if (pairs[0] > 23 || pairs[1] > 59 || pairs[2] > 59)
        return std::nullopt;
    return TimeOfDay{pairs[0], pairs[1], pairs[2], pairs[3]};
}

// Next code point of valid UTF-8 at `i`, which moves past it.
char32_t nextCodePoint(std::string_view text, std::size_t& i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t cp = length == 1 ? lead : lead & (0x3F >> (length - 1));
    for (int k = 1; k < length && i + static_cast<std::size_t>(k) < text.size(); ++k)
        cp = (cp << 6) | (byte(i + static_cast<std::size_t>(k)) & 0x3F);
    i += static_cast<std::size_t>(length);
    return cp;
}

bool isControl(char32_t cp) { return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F); }

bool isBlank(char32_t cp)
{
    return cp == 0x20 || cp == 0xA0 || cp == 0x1680 || (cp >= 0x2000 && cp <= 0x200A) || cp == 0x2028 ||
           cp == 0x2029 || cp == 0x202F || cp == 0x205F || cp == 0x3000;
}

// OpenTrackIO strings must not be empty; a text of blanks says nothing
// either, and one with control characters is not a name.
bool usableText(std::string_view utf8)
{
    bool seen = false;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = nextCodePoint(utf8, i);
        if (isControl(cp))
            return false;
        seen = seen || !isBlank(cp);
    }
    return seen;
}

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

// "urn:uuid:" and the header's UUID in lower case, when it has the form
// 8-4-4-4-12.
std::optional<std::string> sourceUrn(const MetaString& uuid)
{
    if (!uuid.defined || uuid.text == nullptr)
        return std::nullopt;
    std::string urn = "urn:uuid:";
    const std::string_view text(uuid.text);
    if (text.size() != 36)
        return std::nullopt;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
        const bool hyphen = i == 8 || i == 13 || i == 18 || i == 23;
        if (hyphen ? c != '-' : !isHexDigit(c))
            return std::nullopt;
        urn += c;
    }
    return urn;
}

// The members of one JSON object, appended in turn. An object left without
// members is left out of its parent.
class Members {
public:
    bool empty() const { return json_.empty(); }

    void text(const char* name, const MetaString& field)
    {
        if (!field.defined || field.text == nullptr)
            return;
        const std::string utf8 = Vmc::validUtf8(field.text);
        if (usableText(utf8))
            Vmc::appendJsonString(key(name), utf8);
    }
    void text(const char* name, const std::string& utf8) { Vmc::appendJsonString(key(name), utf8); }
    void integer(const char* name, std::uint64_t value) { key(name) += std::to_string(value); }
    void number(const char* name, float value) { Vmc::appendFloat(key(name), value); }
    void boolean(const char* name, bool value) { key(name) += value ? "true" : "false"; }
    void fraction(const char* name, const std::optional<Fraction>& value)
    {
        if (value)
            key(name) += "{\"num\":" + std::to_string(value->num) + ",\"denom\":" + std::to_string(value->denom) + '}';
    }
    void object(const char* name, const Members& inner)
    {
        if (!inner.empty())
            key(name) += '{' + inner.json_ + '}';
    }
    void raw(const char* name, const char* json) { key(name) += json; }

    const std::string& json() const { return json_; }

private:
    std::string& key(const char* name)
    {
        if (!json_.empty())
            json_ += ',';
        json_ += '"';
        json_ += name;
        json_ += "\":";
        return json_;
    }

    std::string json_;
};

bool positive(const MetaField<float>& field) { return field.defined && std::isfinite(field.value) && field.value > 0; }

} // namespace

void appendOpenTrackIoSample(std::string& out, const Vmc::VellMetadataContainer& c)
{
    Members camera;
    camera.text("make", c.cameraManufacturer);
    camera.text("model", c.cameraModel);
    camera.text("serialNumber", c.cameraSerialNumber);
    camera.text("label", c.cameraIndex);
    const std::optional<Fraction> captureRate = frameRate(c.sensorFrameRate);
    camera.fraction("captureFrameRate", captureRate);
    if (c.activeImageWindow.defined) {
        // The window's corners are inclusive pixel positions.
        const auto& [first, last] = c.activeImageWindow.value;
        const double width = double(last.x) - double(first.x) + 1;
        const double height = double(last.y) - double(first.y) + 1;
        const auto pixels = [](double n) { return n >= 1 && n <= 2147483647 && n == std::floor(n); };
        if (pixels(width) && pixels(height)) {
            Members resolution;
            resolution.integer("width", static_cast<std::uint64_t>(width));
            resolution.integer("height", static_cast<std::uint64_t>(height));
            camera.object("activeSensorResolution", resolution);
        }
    }
    if (c.exposureIndex.defined && c.exposureIndex.value >= 1 && c.exposureIndex.value <= 4294967295.0)
        camera.integer("isoSpeed", static_cast<std::uint64_t>(std::llround(c.exposureIndex.value)));
    if (c.exposureTime.defined && captureRate) {
        const double angle = 360.0 * c.exposureTime.value * captureRate->num / captureRate->denom;
        if (angle >= 0 && angle <= 360) // NaN fails both
            camera.number("shutterAngle", static_cast<float>(angle));
    }

    Members staticLens;
    staticLens.text("make", c.lensMaker);
    staticLens.text("model", c.lensModel);
    staticLens.text("serialNumber", c.lensSerialNumber);
    if (positive(c.lensFocalLength))
        staticLens.number("nominalFocalLength", c.lensFocalLength.value);

    Members lens;
    if (positive(c.lensAperture))
        lens.number("fStop", c.lensAperture.value);
    if (positive(c.lensFocusDistance))
        lens.number("focusDistance", c.lensFocusDistance.value);

    Members timing;
    if (c.timeCode.defined) {
        const VellRawMeta::TC_Struct& tc = c.timeCode.value;
        const std::optional<TimeOfDay> time = timeOfDay(tc.bcdTime);
        const std::optional<Fraction> rate = timeCodeRate(tc.rateAndDropFrame & 0x7FFFFFFFu);
        if (time && rate) {
            Members timecode;
            timecode.integer("hours", static_cast<std::uint64_t>(time->hours));
            timecode.integer("minutes", static_cast<std::uint64_t>(time->minutes));
            timecode.integer("seconds", static_cast<std::uint64_t>(time->seconds));
            timecode.integer("frames", static_cast<std::uint64_t>(time->frames));
            timecode.fraction("frameRate", rate);
            timecode.boolean("dropFrame", (tc.rateAndDropFrame & 0x80000000u) != 0);
            timing.object("timecode", timecode);
        }
    }
    timing.fraction("sampleRate", frameRate(c.projectFrameRate));

    Members statics;
    statics.object("camera", camera);
    statics.object("lens", staticLens);

    Members sample;
    sample.raw("protocol", R"({"name":"OpenTrackIO","version":[1,0,0]})");
    if (const std::optional<std::string> urn = sourceUrn(c.uuid))
        sample.text("sourceId", *urn);
    sample.object("static", statics);
    sample.object("lens", lens);
    sample.object("timing", timing);

    out += '{';
    out += sample.json();
    out += '}';
}

int writeOpenTrackIoSamples(const std::vector<std::string>& paths, Vmc::VellMetadataContainer::ColorSpace colorSpace,
                            bool jsonLines, std::ostream& out, std::ostream& err)
{
    int status = kAllDecoded;
    std::string text;
    bool first = true;
    out << (jsonLines ? "" : "[");
    for (const std::string& path : paths) {
        DecodedClip clip;
        const std::string problem = decodeFile(path, colorSpace, clip);
        if (!problem.empty()) {
            err << "vellmeta: " << Vmc::printable(path) << ": " << problem << '\n';
            status = std::max(status, static_cast<int>(kUnusable));
            continue;
        }
        if (clip.isError) {
            // The sample has no place for the failure; what was decoded before it is still written.
            err << "vellmeta: " << Vmc::printable(path) << ": decoding reported failure " << clip.code
                << (clip.message.empty() ? "" : ": ") << Vmc::printable(clip.message) << '\n';
            status = std::max(status, static_cast<int>(kHeaderFailed));
        }
        text.assign(jsonLines ? "" : first ? "\n" : ",\n");
        appendOpenTrackIoSample(text, clip.container);
        out << text << (jsonLines ? "\n" : "");
        first = false;
    }
    out << (jsonLines ? "" : first ? "]\n" : "\n]\n");
    out.flush();
    return status;
}

} // namespace vellmeta
