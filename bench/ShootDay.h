// SPDX-License-Identifier: Apache-2.0
// The benchmarks' data: the clips four cameras write over the days of a
// shoot, as a crew works through scenes, setups and takes.
//
//   const Vmc::bench::ShootDay shoot(VMC_SAMPLES_DIR);   // reads the camera samples once
//   shoot.roll(10000, seed, [](const Vmc::bench::Clip& clip) { ... clip.header ... });
//   std::vector<HeaderImage> headers = shoot.headers(1000, seed);
//
// Every camera starts from one of the sample headers: A is the compact
// camera, B the stage camera, C the camera known by its serial number and D
// the older camera. A rolls on nearly every setup and B on most; C joins
// some setups and D a few. On each clip the crew's settings are written over
// the camera's sample: date and time of day, time code, lens (primes change
// between setups, a zoom moves from take to take), focus, iris, white balance
// and tint, exposure index, shutter, ND filter, look, scene and take, a note,
// and a UUID and identifier of the clip's own. A camera changes only what its
// sample shows it writes: a field that is all 0xFF in the sample stays so.
//
// A day runs from the first setup in the morning to wrap in the evening,
// with a lunch break; setups take a while to light, takes last from a few
// seconds to minutes with a reset between them. Each camera records onto
// cards: a new one every morning and whenever one is full. A long roll goes
// on day after day.
//
// Deterministic for a seed on every standard library: each choice comes from
// one std::mt19937 through Dice (the standard distributions differ between
// libraries), in shooting order, so the first n clips of a longer roll are
// the clips of a roll of n.
#pragma once

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include <VellMetadataContainer/VellFileHeaderV3.h>
#include <container/HeaderView.h>

#include "support/HeaderImage.h"

namespace Vmc::bench {

using testing::HeaderImage;

// Time of day in milliseconds since midnight.
constexpr long long kSecond = 1000;
constexpr long long kMinute = 60 * kSecond;
constexpr long long kHour = 60 * kMinute;

struct Date {
    int year;
    int month;
    int day;

    Date next() const
    {
        static constexpr int kDaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        const bool leapYear = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        const int days = month == 2 && leapYear ? 29 : kDaysInMonth[month - 1];
        if (day < days)
            return {year, month, day + 1};
        if (month < 12)
            return {year, month + 1, 1};
        return {year + 1, 1, 1};
    }
};

// One clip as its camera wrote it.
struct Clip {
    char camera; // 'A' to 'D'
    int card;    // the camera's card, counted over the shoot from 1
    int number;  // the clip's number on its card, from 1
    Date date;   // the shoot day, which a card's clips are named by
    const HeaderImage& header;
};

// Where a card keeps a clip: a folder per card, the clip named by card, clip
// number and day, e.g. A001/A001_C007_240610.vellraw. Returns what snprintf
// returns.
inline int clipPath(char* out, std::size_t size, char camera, int card, int number, const Date& date)
{
    return std::snprintf(out, size, "%c%03d/%c%03d_C%03d_%02d%02d%02d.vellraw", camera, card, camera, card, number,
                         date.year % 100, date.month, date.day);
}

// `value` as `digits` packed BCD digits, four bits each.
inline std::uint32_t bcd(long long value, int digits)
{
    std::uint32_t packed = 0;
    for (int i = 0; i < digits; ++i, value /= 10)
        packed |= static_cast<std::uint32_t>(value % 10) << (4 * i);
    return packed;
}

// The time code of a clock reading, as BCD hh:mm:ss:ff, counted at a camera's
// time code rate (word 2 of its time code record: the rate in thousandths,
// bit 31 for drop-frame counting). Drop-frame counting at 29.97 and 59.94
// skips the first two (four) frame numbers of every minute but each tenth,
// so that the time code keeps to the clock; at other rates the flag drops
// nothing.
inline std::uint32_t timeCodeAt(long long timeOfDay, std::uint32_t rateAndDropFrame)
{
    const long long rate = rateAndDropFrame & 0x7FFFFFFFu;
    const long long framesPerSecond = (rate + 500) / 1000; // frame numbers in a time code second
    long long frame = timeOfDay * rate / 1000000;
    if ((rateAndDropFrame & 0x80000000u) != 0 && framesPerSecond % 30 == 0) {
        const long long dropped = framesPerSecond / 15;
        const long long perMinute = 60 * framesPerSecond - dropped;
        const long long perTenMinutes = 10 * perMinute + dropped;
        const long long rest = frame % perTenMinutes;
        const long long droppedBefore = 9 * dropped * (frame / perTenMinutes);
        frame += droppedBefore + (rest > dropped ? dropped * ((rest - dropped) / perMinute) : 0);
    }
    frame %= 24 * 3600 * framesPerSecond;
    const long long seconds = frame / framesPerSecond;
    return bcd(seconds / 3600, 2) << 24 | bcd(seconds / 60 % 60, 2) << 16 | bcd(seconds % 60, 2) << 8 |
           bcd(frame % framesPerSecond, 2);
}

namespace shoot {

// The cameras, each from its sample, and how often each rolls on a setup.
struct CameraSample {
    char letter;
    const char* file;
    int rollsPercent;
};
constexpr CameraSample kCameraSamples[] = {
    {'A', "corva-compact.vellraw", 95},
    {'B', "corva-stage.vellraw", 80},
    {'C', "corva-nx-r-by-serial.vellraw", 30},
    {'D', "k40-older-camera.vellraw", 12},
};

// The calendar of a day.
constexpr Date kFirstShootDay = {2024, 6, 10};
constexpr long long kFirstSetup = 8 * kHour;
constexpr long long kLunch = 13 * kHour;
constexpr long long kLunchBreak = kHour;
constexpr long long kDusk = 17 * kHour;
constexpr long long kWrap = 19 * kHour;

constexpr int kScenesInScript = 120; // scenes are shot out of order
constexpr int kTakesPerSetup[] = {1, 2, 2, 3, 3, 3, 4, 4, 5, 6, 8};
constexpr int kFalseStartPercent = 5;
constexpr int kLongTakePercent = 10;
constexpr long long kCardCapacity = 40 * kMinute; // recording time on one card

// The light a scene plays in decides the white balance, the exposure index,
// the stop, the ND filters and the look the cameras are given.
struct Light {
    const char* look;
    std::uint32_t whiteBalances[4]; // kelvin
    std::uint32_t exposureIndexes[3];
    std::uint32_t widestStop; // T-stops in thousandths
    std::uint32_t narrowestStop;
    std::uint16_t ndFilters[4]; // optical density in thousandths; 0: no filter in
    bool widesAtInfinity;       // exteriors: wide shots focused at infinity
    bool night;                 // shot only once it is dark
};
constexpr Light kLights[] = {
    {"Day Exterior", {5600, 5600, 6000, 6500}, {400, 800, 800}, 2800, 8000, {600, 900, 1200, 2100}, true, false},
    {"Warm Interior", {3200, 3200, 2900, 3400}, {800, 800, 1280}, 1800, 2800, {0, 0, 0, 300}, false, false},
    {"Window Light", {4300, 4850, 4500, 5200}, {800, 1280, 800}, 2200, 4000, {0, 300, 600, 900}, false, false},
    {"Night Exterior", {3200, 4300, 3900, 3200}, {1280, 1600, 3200}, 1400, 2000, {0, 0, 0, 0}, true, true},
};

// Stops in thirds, in thousandths.
constexpr std::uint32_t kStops[] = {1400, 1600, 1800, 2000, 2200, 2500, 2800, 3200,
                                    3500, 4000, 4500, 5000, 5600, 6300, 7100, 8000};
constexpr float kTints[] = {0.0f, 0.0f, 0.0f, 0.5f, 1.0f, 2.0f, 3.0f, -1.0f, -1.5f, -2.0f};
constexpr double kShutterAngles[] = {180, 180, 180, 180, 180, 172.8, 144, 90, 45, 270};
constexpr int kNdChangePercent = 25; // of setups in the same light
constexpr int kOffSpeedPercent = 5;  // of a camera's setups: slow motion at twice the project rate
constexpr int kIrisPullPercent = 10; // of takes: the stop moves a third (a cloud, a lamp)
constexpr int kFocusWander = 10;     // percent a focus mark moves from take to take
constexpr int kPositionJitter = 200; // GPS noise, in ten-millionths of a degree

// What a shot frames: the focal lengths (mm) and focus marks (mm) it takes.
struct Shot {
    int shortestFocal;
    int longestFocal;
    int nearestMark;
    int farthestMark;
};
constexpr Shot kShots[] = {
    {18, 32, 3000, 12000}, // wide
    {35, 50, 1500, 3500},  // medium
    {65, 100, 800, 1800},  // close-up
    {100, 135, 400, 900},  // insert
};
constexpr int kWideShot = 0;
constexpr int kShotCount = sizeof kShots / sizeof kShots[0];
constexpr int kPrimes[] = {18, 21, 25, 29, 32, 35, 40, 50, 65, 75, 100, 135};

// The script supervisor's note on a take, most often none.
const char* const kNotes[] = {"", "", "", "", "", "Circle take", "MOS", "NG sound", "Pickup from the door",
                              "Rack focus to the window", "Hold for the plane"};
const char* const kFalseStart = "False start";

constexpr std::uint32_t kInfinity = 0xFFFFFFFFu; // a focus distance
constexpr double kMillimetresPerInch = 25.4;

// The crew's choices, from one generator.
class Dice {
public:
    explicit Dice(unsigned seed) : rng_(seed) {}

    std::uint32_t bits() { return static_cast<std::uint32_t>(rng_()); }
    // From lo to hi, both included.
    int between(int lo, int hi) { return lo + static_cast<int>(bits() % static_cast<std::uint32_t>(hi - lo + 1)); }
    bool chance(int percent) { return between(1, 100) <= percent; }
    template <class T, std::size_t N>
    const T& pick(const T (&values)[N]) { return values[bits() % N]; }

private:
    std::mt19937 rng_;
};

// The lenses a camera carries, read from its sample's lens name: a set of
// primes of that series when the name ends in a focal length ("... 50",
// "... 32mm"), that one zoom when it ends in a range ("... 28-100"), else the
// one lens it has.
struct LensKit {
    enum Kind { Fixed, Primes, Zoom } kind = Fixed;
    std::string series; // the name before the focal length
    std::string unit;   // what follows a prime's focal length
    int shortest = 0;   // a zoom's range, mm
    int longest = 0;

    static LensKit of(const std::string& name)
    {
        LensKit kit;
        const std::size_t space = name.rfind(' ');
        if (space == std::string::npos)
            return kit;
        const std::string last = name.substr(space + 1);
        std::size_t digits = 0;
        while (digits < last.size() && std::isdigit(static_cast<unsigned char>(last[digits])))
            ++digits;
        if (digits == 0)
            return kit;
        kit.series = name.substr(0, space);
        if (last[digits] == '-' && digits + 1 < last.size()) {
            kit.kind = Zoom;
            kit.shortest = std::stoi(last.substr(0, digits));
            kit.longest = std::stoi(last.substr(digits + 1));
        } else {
            kit.kind = Primes;
            kit.unit = last.substr(digits);
        }
        return kit;
    }

    std::string primeName(int focal) const { return series + " " + std::to_string(focal) + unit; }

    // A focal length for a shot: a prime the shot takes, or the zoom within
    // its range.
    int focalFor(const Shot& shot, Dice& dice) const
    {
        if (kind == Zoom) {
            const int lo = std::min(std::max(shot.shortestFocal, shortest), longest);
            const int hi = std::max(std::min(shot.longestFocal, longest), lo);
            return dice.between(lo, hi);
        }
        std::vector<int> fitting;
        for (int focal : kPrimes)
            if (focal >= shot.shortestFocal && focal <= shot.longestFocal)
                fitting.push_back(focal);
        return fitting[dice.bits() % fitting.size()];
    }
};

// What the crew sets for a setup, the same on every camera that rolls.
struct Setup {
    std::string scene; // scene number and setup letter: "23", "23A", ...
    const Light* light;
    std::uint32_t whiteBalance;
    float tint;
    std::uint32_t exposureIndex;
    double shutterAngle;
    std::uint32_t stop;
    std::uint16_t ndFilter;
};

class Camera {
public:
    Camera(const CameraSample& sample, const std::string& samplesDir)
        : letter(sample.letter), rollsPercent_(sample.rollsPercent)
    {
        const std::string path = samplesDir + "/" + sample.file;
        std::ifstream in(path, std::ios::binary);
        if (!in.read(reinterpret_cast<char*>(sample_.data()), VellRawMeta::kVellFileHeaderV3Size))
            throw std::runtime_error("cannot read the camera sample " + path);
        const decoding::HeaderView h(sample_.header());
        const decoding::Bytes lens = h.read(VMC_AT(lensName));
        if (writes(VMC_AT(lensName))) {
            const char* name = reinterpret_cast<const char*>(lens.data);
            const void* end = std::memchr(name, 0, lens.size);
            lenses_ = LensKit::of(std::string(name, end != nullptr ? static_cast<const char*>(end) : name + lens.size));
        }
        metricFocus_ = h.read(VMC_AT(lensDistanceUnits)) != 0;
        lensSerial_ = h.read(VMC_AT(lensSerialNumber));
        timeCode_ = h.read(VMC_AT(timeCode));
        projectRate_ = h.read(VMC_AT(projectFrameRate));
        latitude_ = h.read(VMC_AT(latitude));
        longitude_ = h.read(VMC_AT(longitude));
        ndFilterType_ = h.read(VMC_AT(ndFilterType));
        clip_ = sample_;
        clip_.set(VMC_AT(cameraIndex), static_cast<std::uint8_t>(letter));
    }

    const char letter;
    bool rolling = false;
    int card = 0;
    int clipOnCard = 0;

    const HeaderImage& clip() const { return clip_; }

    void newCard()
    {
        ++card;
        clipOnCard = 0;
        recordedOnCard_ = 0;
    }

    // Whether the camera rolls on this setup, and how it frames it.
    void frame(const Setup& setup, bool firstOfScene, Dice& dice)
    {
        rolling = dice.chance(rollsPercent_);
        // A scene opens on A's wide shot.
        const int shot = letter == 'A' && firstOfScene ? kWideShot : dice.between(0, kShotCount - 1);
        shot_ = kShots[shot];
        focal_ = lenses_.kind == LensKit::Fixed ? 0 : lenses_.focalFor(shot_, dice);
        focusMark_ = shot == kWideShot && setup.light->widesAtInfinity && dice.chance(50)
                         ? 0
                         : dice.between(shot_.nearestMark, shot_.farthestMark);
        sensorRate_ = dice.chance(kOffSpeedPercent) ? 2 * projectRate_ : projectRate_;
    }

    // Writes the clip of a take that this camera recorded from `start` for
    // `length` milliseconds.
    void record(const Date& date, long long start, long long length, const Setup& setup, int take, const char* note,
                Dice& dice)
    {
        if (recordedOnCard_ + length > kCardCapacity)
            newCard();
        recordedOnCard_ += length;
        ++clipOnCard;

        put(VMC_AT(captureDate), bcd(date.year, 4) << 16 | bcd(date.month, 2) << 8 | bcd(date.day, 2));
        const long long second = start / kSecond;
        put(VMC_AT(captureTime), bcd(second / 3600, 2) << 24 | bcd(second / 60 % 60, 2) << 16 |
                                     bcd(second % 60, 2) << 8 | bcd(start % kSecond / 10, 2)); // hundredths
        if (writes(VMC_AT(timeCode)))
            clip_.set(VMC_AT(timeCode), {timeCodeAt(start, timeCode_.rateAndDropFrame), timeCode_.word1,
                                         timeCode_.rateAndDropFrame, timeCode_.word3});

        // Exposure: shutter angle at the sensor's rate, white balance, exposure index.
        put(VMC_AT(sensorFrameRate), sensorRate_);
        const double frameMicroseconds = 1e9 / static_cast<double>(sensorRate_);
        const long exposureMicroseconds = std::lround(setup.shutterAngle / 360.0 * frameMicroseconds);
        put(VMC_AT(exposureTime), static_cast<std::uint32_t>(exposureMicroseconds));
        put(VMC_AT(exposureIndex), setup.exposureIndex);
        put(VMC_AT(whiteBalanceCct), setup.whiteBalance);
        put(VMC_AT(whiteBalanceTint), setup.tint);
        if (writes(VMC_AT(whiteBalanceRgb))) {
            // Gains that make light of this colour grey, roughly: warm light
            // needs more blue, daylight more red.
            const float kelvin = static_cast<float>(setup.whiteBalance);
            clip_.set(VMC_AT(whiteBalanceRgb),
                      {0.9f + 0.00017f * kelvin, 1.0f - 0.01f * setup.tint, 3.2f - 0.0003f * kelvin});
        }
        if (writes(VMC_AT(lookName)))
            clip_.setText(VMC_AT(lookName), setup.light->look);

        // Lens: a zoom moves from take to take, the focus puller's mark
        // moves a little, a cloud or a lamp can move the stop a third.
        int focal = focal_;
        if (lenses_.kind == LensKit::Zoom)
            focal = lenses_.focalFor(shot_, dice);
        if (focal != 0) {
            put(VMC_AT(lensFocalLength), static_cast<std::uint32_t>(focal) * 1000);
            if (lenses_.kind == LensKit::Primes) {
                putText(VMC_AT(lensName), lenses_.primeName(focal));
                put(VMC_AT(lensSerialNumber), lensSerial_ + static_cast<std::uint32_t>(focal)); // each prime its own
            }
        }
        // A camera that gives the distance units writes the focus distance,
        // whose all-ones value means infinity rather than nothing.
        if (writes(VMC_AT(lensDistanceUnits))) {
            std::uint32_t focus = kInfinity;
            if (focusMark_ != 0) {
                const int millimetres = focusMark_ + focusMark_ * dice.between(-kFocusWander, kFocusWander) / 100;
                const double thousandthsOfAnInch = millimetres * 1000 / kMillimetresPerInch;
                focus = static_cast<std::uint32_t>(metricFocus_ ? millimetres : std::lround(thousandthsOfAnInch));
            }
            clip_.set(VMC_AT(lensFocusDistance), focus);
        }
        put(VMC_AT(lensIris), dice.chance(kIrisPullPercent) ? thirdAway(setup.stop, dice) : setup.stop);
        if (ndFilterType_ != 0 && ndFilterType_ != 0xFFFF) { // a camera with ND filters: type 0 when none is in
            clip_.set(VMC_AT(ndFilterType), setup.ndFilter == 0 ? std::uint16_t{0} : ndFilterType_);
            clip_.set(VMC_AT(ndFilterMilliValue), setup.ndFilter);
        }

        // Slate, note and the clip's own identifiers.
        putText(VMC_AT(productionTextA), setup.scene);
        putText(VMC_AT(productionTextB), std::to_string(take));
        putText(VMC_AT(longUserText), note);
        if (writes(VMC_AT(uuidBytes))) {
            unsigned char* uuid = clip_.data() + VMC_AT(uuidBytes).offset;
            for (std::size_t i = 0; i < sizeof(VellRawMeta::VellFileHeaderV3::uuidBytes); ++i)
                uuid[i] = static_cast<unsigned char>(dice.bits());
            uuid[6] = static_cast<unsigned char>((uuid[6] & 0x0F) | 0x40); // random, version 4
            uuid[8] = static_cast<unsigned char>((uuid[8] & 0x3F) | 0x80);
        }
        if (writes(VMC_AT(identifierBytes))) {
            unsigned char* identifier = clip_.data() + VMC_AT(identifierBytes).offset;
            for (std::size_t i = 0; i < sizeof(VellRawMeta::VellFileHeaderV3::identifierBytes); ++i)
                identifier[i] = static_cast<unsigned char>(dice.bits());
        }
        if (writes(VMC_AT(latitude)) && writes(VMC_AT(longitude))) {
            clip_.set(VMC_AT(latitude), latitude_.hemisphere, nearby(latitude_.magnitude, dice));
            clip_.set(VMC_AT(longitude), longitude_.hemisphere, nearby(longitude_.magnitude, dice));
        }
    }

private:
    // Whether the camera writes a field: its sample holds something there.
    template <class T>
    bool writes(decoding::At<T> at) const
    {
        for (std::size_t i = 0; i < sizeof(T); ++i)
            if (sample_.data()[at.offset + i] != 0xFF)
                return true;
        return false;
    }
    template <class T, class V>
    void put(decoding::At<T> at, V value)
    {
        if (writes(at))
            clip_.set(at, value);
    }
    template <std::size_t N>
    void putText(decoding::At<unsigned char[N]> at, const std::string& text)
    {
        if (writes(at))
            clip_.setText(at, text);
    }

    // A position reading as GPS gives it, a few metres off.
    static std::uint32_t nearby(std::uint32_t magnitude, Dice& dice)
    {
        const int off = dice.between(-kPositionJitter, kPositionJitter);
        return static_cast<std::uint32_t>(static_cast<long long>(magnitude) + off);
    }

    // The stop a third wider or narrower.
    static std::uint32_t thirdAway(std::uint32_t stop, Dice& dice)
    {
        constexpr std::size_t kCount = sizeof kStops / sizeof kStops[0];
        std::size_t i = 0;
        while (i + 1 < kCount && kStops[i] < stop)
            ++i;
        if (i == 0 || (i + 1 < kCount && dice.chance(50)))
            return kStops[i + 1];
        return kStops[i - 1];
    }

    int rollsPercent_;
    HeaderImage sample_;
    HeaderImage clip_; // the sample with the crew's settings of the latest clip
    LensKit lenses_;
    bool metricFocus_ = true;
    std::uint32_t lensSerial_ = 0;
    VellRawMeta::TC_Struct timeCode_{};
    std::uint32_t projectRate_ = 0;
    VellRawMeta::WGS84_Latitude latitude_{};
    VellRawMeta::WGS84_Longitude longitude_{};
    std::uint16_t ndFilterType_ = 0;
    long long recordedOnCard_ = 0;

    // This setup's framing.
    Shot shot_ = kShots[kWideShot];
    int focal_ = 0;     // mm; 0: the lens stays as the sample has it
    int focusMark_ = 0; // mm; 0: infinity
    std::uint32_t sensorRate_ = 0;
};

} // namespace shoot

class ShootDay {
public:
    // Reads the camera samples from `samplesDir` (the project's samples/).
    explicit ShootDay(const std::string& samplesDir)
    {
        for (const shoot::CameraSample& sample : shoot::kCameraSamples)
            cameras_.emplace_back(sample, samplesDir);
    }

    // Calls visit(const Clip&) for each of the first `clips` clips of the
    // shoot that `seed` decides, in the order they are shot.
    template <class Visit>
    void roll(long clips, unsigned seed, Visit&& visit) const
    {
        using namespace shoot;
        Dice dice(seed);
        std::vector<Camera> cameras = cameras_;
        Date date = kFirstShootDay;
        long long now = kFirstSetup;
        bool hadLunch = false;
        for (Camera& camera : cameras)
            camera.newCard();
        const Light* light = nullptr;
        std::uint16_t ndFilter = 0;
        long written = 0;

        while (written < clips) {
            // A scene, shot in setups: the light, then the cameras moved and
            // lit for each setup.
            const std::string scene = std::to_string(dice.between(1, kScenesInScript));
            const Light* sceneLight = &dice.pick(kLights);
            while (sceneLight->night && now < kDusk)
                sceneLight = &dice.pick(kLights);
            const int setups = dice.between(2, 6);
            for (int s = 0; s < setups && written < clips; ++s) {
                now += dice.between(8, 30) * kMinute; // lighting and moving the cameras
                if (!hadLunch && now >= kLunch) {
                    now += kLunchBreak;
                    hadLunch = true;
                }
                if (now >= kWrap) { // next morning, fresh cards
                    date = date.next();
                    now = kFirstSetup + dice.between(0, 30) * kMinute;
                    hadLunch = false;
                    for (Camera& camera : cameras)
                        camera.newCard();
                }
                if (sceneLight != light || dice.chance(kNdChangePercent))
                    ndFilter = dice.pick(sceneLight->ndFilters);
                light = sceneLight;
                const Setup setup = {s == 0 ? scene : scene + static_cast<char>('A' + s - 1),
                                     light,
                                     dice.pick(light->whiteBalances),
                                     dice.pick(kTints),
                                     dice.pick(light->exposureIndexes),
                                     dice.pick(kShutterAngles),
                                     stopBetween(light->widestStop, light->narrowestStop, dice),
                                     ndFilter};
                bool anyRolling = false;
                for (Camera& camera : cameras) {
                    camera.frame(setup, s == 0, dice);
                    anyRolling = anyRolling || camera.rolling;
                }
                if (!anyRolling)
                    cameras.front().rolling = true;

                const int takes = dice.pick(kTakesPerSetup);
                for (int take = 1; take <= takes && written < clips; ++take) {
                    const bool falseStart = dice.chance(kFalseStartPercent);
                    long long length = dice.between(0, 999) + (falseStart ? dice.between(3, 10) * kSecond
                                                                           : dice.between(15, 150) * kSecond);
                    if (!falseStart && dice.chance(kLongTakePercent))
                        length += dice.between(60, 240) * kSecond;
                    const char* note = falseStart ? kFalseStart : dice.pick(kNotes);
                    bool first = true;
                    for (Camera& camera : cameras) {
                        if (!camera.rolling || written >= clips)
                            continue;
                        // The first camera rolls on the call, the others
                        // report rolling a moment later; all cut together.
                        const long long late = first ? 0 : dice.between(500, 4000);
                        first = false;
                        camera.record(date, now + late, length - late + dice.between(0, 2000), setup, take, note, dice);
                        visit(Clip{camera.letter, camera.card, camera.clipOnCard, date, camera.clip()});
                        ++written;
                    }
                    now += length + dice.between(45, 180) * kSecond; // reset for the next take
                }
            }
        }
    }

    // The first `clips` headers of the shoot, in memory.
    std::vector<HeaderImage> headers(long clips, unsigned seed) const
    {
        std::vector<HeaderImage> images;
        images.reserve(static_cast<std::size_t>(clips));
        roll(clips, seed, [&](const Clip& clip) { images.push_back(clip.header); });
        return images;
    }

private:
    static std::uint32_t stopBetween(std::uint32_t widest, std::uint32_t narrowest, shoot::Dice& dice)
    {
        std::vector<std::uint32_t> stops;
        for (std::uint32_t stop : shoot::kStops)
            if (stop >= widest && stop <= narrowest)
                stops.push_back(stop);
        return stops[dice.bits() % stops.size()];
    }

    std::vector<shoot::Camera> cameras_;
};

} // namespace Vmc::bench
