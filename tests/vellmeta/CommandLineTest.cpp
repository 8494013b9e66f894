// vellmeta end to end: the program runs on the committed samples and on bad
// input, and its standard output, standard error and exit status are checked.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <VellMetadataContainer/VellMetadataContainer.h>

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

std::string quoted(const std::string& s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string sample(const char* name) { return std::string(VMC_SAMPLES_DIR) + "/" + name; }

const char* const kSamples[] = {
    "corva-compact.vellraw",      "corva-stage.vellraw",        "corva-nx-r-by-serial.vellraw",
    "k40-older-camera.vellraw",   "unknown-flip-state.vellraw", "serial-in-no-range.vellraw",
};

// Samples whose headers decode without a failure.
std::vector<std::string> cleanSamples()
{
    return {sample("corva-compact.vellraw"), sample("corva-stage.vellraw"), sample("k40-older-camera.vellraw")};
}

class Vellmeta : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/vellmeta-test-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    Outcome run(const std::vector<std::string>& args)
    {
        std::string command = quoted(VELLMETA_EXE);
        for (const std::string& a : args)
            command += " " + quoted(a);
        command += " </dev/null >" + quoted(dir_ / "out") + " 2>" + quoted(dir_ / "err");
        const int raw = std::system(command.c_str());
        Outcome r;
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = slurp(dir_ / "out");
        r.err = slurp(dir_ / "err");
        return r;
    }

    // A file of `size` bytes cut from the front of a sample.
    std::string truncatedSample(std::size_t size, const char* name)
    {
        const std::string bytes = slurp(sample("corva-compact.vellraw"));
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(size));
        return path.string();
    }

    fs::path dir_;
};

json entryFor(const json& document, const std::string& path)
{
    for (const json& entry : document)
        if (entry.at("path") == path)
            return entry;
    ADD_FAILURE() << "no entry for " << path;
    return json::object();
}

} // namespace

TEST_F(Vellmeta, TextViewGroupsFieldsUnderHeadings)
{
    const Outcome r = run({sample("corva-compact.vellraw"), sample("k40-older-camera.vellraw")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");

    const std::string& out = r.out;
    const std::size_t compact = out.find(sample("corva-compact.vellraw") + "\n");
    const std::size_t k40 = out.find(sample("k40-older-camera.vellraw") + "\n");
    ASSERT_NE(compact, std::string::npos);
    ASSERT_NE(k40, std::string::npos);
    EXPECT_LT(compact, k40);

    // Headings in their order, the result last, fields under them as
    // "name: value".
    std::size_t previous = compact;
    int headings = 0;
    for (int g = 0; g < Vmc::kFieldGroupCount; ++g) {
        const std::string title = Vmc::fieldGroupTitle(static_cast<Vmc::FieldGroup>(g));
        const std::size_t at = out.find("\n  " + title + "\n", compact);
        if (at > k40)
            continue; // nothing of this group decoded
        EXPECT_GT(at, previous) << title;
        previous = at;
        ++headings;
    }
    EXPECT_GE(headings, 2);
    const std::size_t result = out.find("\n  result\n", compact);
    EXPECT_GT(result, previous);
    EXPECT_LT(result, k40);
    for (const char* line : {"    cameraModel: CORVA Compact\n", "    cameraUniqueId: VELL-CORVA_Compact-SN_C042\n",
                             "    cameraTriple: 1, 2, 3 (extra 0)\n", "    groupName2: Iris marks\n",
                             "    isError: false\n", "    code: 0\n", "    message:\n"})
        EXPECT_NE(out.find(line, compact), std::string::npos) << line;

    // The Latin-1 group name of the older camera comes out as valid UTF-8.
    EXPECT_NE(out.find("    cameraModel: K-40\n", k40), std::string::npos);
    EXPECT_NE(out.find("    groupName1: Lumi\xEF\xBF\xBDre\n", k40), std::string::npos);
    // Time codes, frame rates and windows are written for people.
    for (const char* line : {"    timeCode: 14:30:21:12\n", "    sensorFrameRate: 25000/1000 (25)\n",
                             "    fullImageWindow: (0, 0) to (4095, 2159)\n", "    lensAperture: 2.828427\n"})
        EXPECT_NE(out.find(line, compact), std::string::npos) << line;
    // Spare fields are never decoded and only show with --all.
    EXPECT_EQ(out.find("spare"), std::string::npos);
}

TEST_F(Vellmeta, JsonViewOfEverySample)
{
    std::vector<std::string> args = {"--json"};
    for (const char* name : kSamples)
        args.push_back(sample(name));
    const Outcome r = run(args);
    EXPECT_EQ(r.status, 1) << "two samples report failures";
    EXPECT_EQ(r.err, "");

    const json document = json::parse(r.out);
    ASSERT_TRUE(document.is_array());
    ASSERT_EQ(document.size(), std::size(kSamples));
    for (std::size_t i = 0; i < std::size(kSamples); ++i)
        EXPECT_EQ(document[i].at("path"), sample(kSamples[i])) << "files keep their order";

    struct Expect {
        const char* sample;
        const char* field;
        json value; // null: the field is absent
    };
    const Expect expectations[] = {
        {"corva-compact.vellraw", "cameraModel", "CORVA Compact"},
        {"corva-compact.vellraw", "cameraUniqueId", "VELL-CORVA_Compact-SN_C042"},
        {"corva-compact.vellraw", "cameraNumberText", "42"},
        {"corva-compact.vellraw", "cameraSerialNumber", "4711"},
        {"corva-compact.vellraw", "cameraIndex", "A"},
        {"corva-compact.vellraw", "cameraManufacturer", "VELL"},
        {"corva-compact.vellraw", "cameraTriple", json::parse("[1.0, 2.0, 3.0, 0]")},
        {"corva-compact.vellraw", "groupName1", "Focus marks"},
        {"corva-compact.vellraw", "record6Value6", 65},
        {"corva-compact.vellraw", "record3ValuesPresent", 1},
        {"corva-compact.vellraw", "captureDateTime", "2024-06-12 14:30:21"},
        {"corva-compact.vellraw", "sensorFrameRate", json::parse(R"({"numerator": 25000, "denominator": 1000})")},
        {"corva-compact.vellraw", "timeCode", json::parse(R"({"text": "14:30:21:12", "bcdTime": 338698514,
                                                             "word1": 0, "rateAndDropFrame": 25000, "word3": 0})")},
        {"corva-compact.vellraw", "utcOffset", 7200.0},
        {"corva-compact.vellraw", "exposureTime", 0.020833},
        {"corva-compact.vellraw", "fullImageWindow", json::parse("[[0.0, 0.0], [4095.0, 2159.0]]")},
        {"corva-compact.vellraw", "activeImageWindow", json::parse("[[8.0, 4.0], [4087.0, 2155.0]]")},
        {"corva-compact.vellraw", "lensMaker", "Zeiss"},
        {"corva-compact.vellraw", "lensModel", "Supreme Prime 50"},
        {"corva-compact.vellraw", "lensAperture", 2.828427},
        {"corva-compact.vellraw", "lensFocusDistance", 3.2},
        {"corva-compact.vellraw", "latitude", 40.4},
        {"corva-compact.vellraw", "recorderModel", "SIM2"},
        {"corva-compact.vellraw", "uuid", "12345678-9ABC-DEF0-0123-456789ABCDEF"},
        {"corva-compact.vellraw", "encoderMode1", "CONSTANT"},
        {"corva-compact.vellraw", "encoderC2LimitSecond", 3100},
        {"corva-compact.vellraw", "tenthsValue2", -1.0},
        {"corva-compact.vellraw", "channelTag", "RIG1"},
        {"corva-compact.vellraw", "switch4", true},
        {"corva-compact.vellraw", "auxiliaryText4", "None"},
        {"corva-compact.vellraw", "timeCode8", json::parse(R"({"text": "10:00:00:08", "bcdTime": 268435464,
                                                              "word1": 8, "rateAndDropFrame": 24000, "word3": 8})")},
        {"corva-compact.vellraw", "ndFilter", "CORVA Compact camera ND Type 1 Filter 2"},
        {"corva-compact.vellraw", "ndFilterValue", 1.2},
        {"corva-compact.vellraw", "flipState", "No flip"},
        {"corva-compact.vellraw", "lookName", "Warm Interior"},
        {"corva-compact.vellraw", "cdlSlope", json::parse("[1.0, 1.0625, 0.9375]")},
        {"corva-compact.vellraw", "bayerPattern", "RGGB"},
        {"corva-compact.vellraw", "targetColorSpace", "DCI-P3"},
        {"corva-compact.vellraw", "whiteBalanceCct", 3200},
        {"corva-compact.vellraw", "cameraStatusBit0", nullptr}, // not a stage camera
        {"corva-stage.vellraw", "cameraModel", "CORVA Stage"},
        {"corva-stage.vellraw", "ndFilter", "CORVA Stage ND Type 1"},
        {"corva-stage.vellraw", "ndFilterValue", 0.9},
        {"corva-stage.vellraw", "cameraStatusBit0", true},
        {"corva-nx-r-by-serial.vellraw", "flipState", "H+V flip by reader"},
        {"corva-nx-r-by-serial.vellraw", "ndFilter", nullptr}, // ND filter type 0
        {"k40-older-camera.vellraw", "bayerPattern", "GRBG"},
        {"k40-older-camera.vellraw", "whiteBalanceRgb", json::parse("[2.0, 1.0, 1.5]")},
        {"k40-older-camera.vellraw", "lookName", nullptr},
        {"unknown-flip-state.vellraw", "flipState", nullptr},
        {"unknown-flip-state.vellraw", "lookName", "Day Exterior"}, // decoding went on
        {"corva-stage.vellraw", "timeCode", json::parse(R"({"text": "09:59:59;29", "bcdTime": 156850473,
                                                           "word1": 0, "rateAndDropFrame": 2147513618, "word3": 0})")},
        {"corva-stage.vellraw", "projectFrameRateRounded", 30},
        {"corva-stage.vellraw", "lensFocusDistance", "Infinity"},
        {"corva-stage.vellraw", "lensDistanceUnits", "Imperial"},
        {"corva-stage.vellraw", "lensMaker", "Cooke"},
        {"corva-nx-r-by-serial.vellraw", "lensMaker", "Fujinon"},
        {"corva-nx-r-by-serial.vellraw", "latitude", -33.8688},
        {"corva-nx-r-by-serial.vellraw", "longitude", -151.2093},
        {"k40-older-camera.vellraw", "sensorFrameRate", json::parse(R"({"numerator": 24000, "denominator": 1000})")},
        {"k40-older-camera.vellraw", "lensAperture", 4.0},
        {"k40-older-camera.vellraw", "timeCode", nullptr},
        {"k40-older-camera.vellraw", "lensName", nullptr},
        {"corva-stage.vellraw", "cameraUniqueId", "VELL-CORVA_Stage-SN_S007"},
        {"corva-nx-r-by-serial.vellraw", "cameraModel", "Corva NX R"},
        {"corva-nx-r-by-serial.vellraw", "cameraUniqueId", "VELL-Corva_NX_R-SN_NX50"},
        {"corva-nx-r-by-serial.vellraw", "cameraSerialNumber", "6950"},
        {"k40-older-camera.vellraw", "cameraModel", "K-40"},
        {"k40-older-camera.vellraw", "cameraUniqueId", "VELL-K-40-SN_K401"},
        {"k40-older-camera.vellraw", "cameraIndex", "B"},
        {"k40-older-camera.vellraw", "groupName1", "Lumi\xEF\xBF\xBDre"},
        {"k40-older-camera.vellraw", "record1Value6", 6},
        {"k40-older-camera.vellraw", "cameraTriple", nullptr},
        {"k40-older-camera.vellraw", "record2Name", nullptr},
        {"unknown-flip-state.vellraw", "cameraModel", "CORVA Stage NX"},
        {"serial-in-no-range.vellraw", "cameraNumberText", "1234"},
        {"serial-in-no-range.vellraw", "cameraModel", nullptr},   // the failure stops before the model
        {"serial-in-no-range.vellraw", "groupName1", nullptr},    // and before every later group
    };
    for (const Expect& e : expectations) {
        const json fields = entryFor(document, sample(e.sample)).at("fields");
        if (e.value.is_null())
            EXPECT_FALSE(fields.contains(e.field)) << e.sample << " " << e.field;
        else
            EXPECT_EQ(fields.value(e.field, json()), e.value) << e.sample << " " << e.field;
    }

    const json stopped = entryFor(document, sample("serial-in-no-range.vellraw")).at("result");
    EXPECT_EQ(stopped, json::parse(R"({"isError": true, "code": 300, "message":
        "VELLRAW header camera model field is undefined, and camera serial number lands in no known range"})"));
    const json flip = entryFor(document, sample("unknown-flip-state.vellraw")).at("result");
    EXPECT_EQ(flip, json::parse(R"({"isError": true, "code": 0, "message":
        "Unknown flip/flop value in VELLRAW header; enumeration value is `4'"})"));
    const json clean = entryFor(document, sample("corva-compact.vellraw")).at("result");
    EXPECT_EQ(clean, json::parse(R"({"isError": false, "code": 0, "message": ""})"));
}

TEST_F(Vellmeta, AllListsUndefinedFieldsToo)
{
    const Outcome json_ = run({"--json", "--all", sample("k40-older-camera.vellraw")});
    ASSERT_EQ(json_.status, 0) << json_.err;
    const nlohmann::ordered_json fields = nlohmann::ordered_json::parse(json_.out).at(0).at("fields");
    EXPECT_EQ(static_cast<int>(fields.size()), Vmc::kFieldCount);
    EXPECT_TRUE(fields.at("spareWord").is_null());
    EXPECT_TRUE(fields.at("cameraTriple").is_null());
    EXPECT_EQ(fields.at("cameraModel"), "K-40");
    EXPECT_EQ(fields.begin().key(), "spareWord") << "fields keep container order";

    const Outcome text = run({"--all", sample("k40-older-camera.vellraw")});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("\n  spare\n    spareWord: (undefined)\n"), std::string::npos);
    EXPECT_NE(text.out.find("    cameraTriple: (undefined)\n"), std::string::npos);
}

TEST_F(Vellmeta, BadFilesAreReportedAndTheOthersStillPrinted)
{
    const fs::path directory = dir_ / "a-directory";
    fs::create_directory(directory);
    struct Case {
        std::string path;
        std::string message;
    };
    const Case cases[] = {
        {(dir_ / "missing.vellraw").string(), "cannot open: No such file or directory"},
        {directory.string(), "is a directory, not a VELLRAW file"},
        {truncatedSample(2479, "short.vellraw"), "is 2479 bytes long, shorter than the 2480-byte VELLRAW header"},
        {truncatedSample(1, "one-byte.vellraw"), "is 1 bytes long, shorter than the 2480-byte VELLRAW header"},
        {truncatedSample(0, "empty.vellraw"), "is empty; a VELLRAW header has 2480 bytes"},
    };
    for (const Case& c : cases) {
        for (bool asJson : {false, true}) {
            std::vector<std::string> args = {c.path, sample("corva-compact.vellraw")};
            if (asJson)
                args.insert(args.begin(), "--json");
            const Outcome r = run(args);
            EXPECT_EQ(r.status, 2) << c.path;
            EXPECT_EQ(r.err, "vellmeta: " + c.path + ": " + c.message + "\n");
            if (asJson) {
                const json document = json::parse(r.out);
                ASSERT_EQ(document.size(), 1u) << "only the readable file is listed";
                EXPECT_EQ(document[0].at("fields").at("cameraModel"), "CORVA Compact");
            } else {
                EXPECT_NE(r.out.find("cameraModel: CORVA Compact"), std::string::npos) << c.path;
            }
        }
    }
}

TEST_F(Vellmeta, UnreadableFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads files whatever their permissions";
    const std::string path = truncatedSample(2480, "locked.vellraw");
    fs::permissions(path, fs::perms::none);
    const Outcome r = run({path});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "vellmeta: " + path + ": cannot open: Permission denied\n");
}

TEST_F(Vellmeta, ExitStatusIsTheWorstOfAllFiles)
{
    struct Case {
        std::vector<std::string> args;
        int status;
    };
    const Case cases[] = {
        {cleanSamples(), 0},
        {{sample("corva-compact.vellraw"), sample("serial-in-no-range.vellraw")}, 1},
        {{sample("unknown-flip-state.vellraw"), sample("corva-stage.vellraw")}, 1}, // a failure that goes on
        {{sample("serial-in-no-range.vellraw"), (dir_ / "missing").string()}, 2},
        {{(dir_ / "missing").string(), sample("serial-in-no-range.vellraw")}, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(c.args).status, c.status) << c.args.back();
        std::vector<std::string> asJson = c.args;
        asJson.insert(asJson.begin(), "--json");
        EXPECT_EQ(run(asJson).status, c.status) << c.args.back();
    }
}

TEST_F(Vellmeta, ManyFilesInOneCall)
{
    std::vector<std::string> args = {"--json"};
    for (int i = 0; i < 300; ++i)
        args.push_back(sample(kSamples[i % std::size(kSamples)]));
    const Outcome r = run(args);
    EXPECT_EQ(r.status, 1);
    const json document = json::parse(r.out);
    ASSERT_EQ(document.size(), 300u);
    EXPECT_EQ(document[299].at("path"), sample(kSamples[299 % std::size(kSamples)]));
    EXPECT_EQ(document[6].at("fields"), document[0].at("fields"));

    const Outcome none = run({"--json", (dir_ / "missing").string()});
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(json::parse(none.out), json::array()) << "still one valid document";
}

TEST_F(Vellmeta, Arguments)
{
    const Outcome version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out,
              std::string(Vmc::VellMetadataContainer::VellMetadataContainerVersion().versionString) + "\n");

    const Outcome help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* option : {"--json", "--all", "--color-space", "--version", "FILE"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;

    // The colour space picks the primaries; only ACES sets its container flag.
    struct Primaries {
        const char* colorSpace;
        json flag;
        json whitePoint;
        json chromaticities;
    };
    const Primaries primaries[] = {
        {"aces", 1, json::parse("[0.32168, 0.33767]"),
         json::parse("[[0.7347, 0.2653], [0.0, 1.0], [0.0001, -0.077], [0.32168, 0.33767]]")},
        {"wide", nullptr, json::parse("[0.3127, 0.329]"),
         json::parse("[[0.684, 0.313], [0.221, 0.848], [0.0861, -0.102], [0.3127, 0.329]]")},
        {"native", nullptr, nullptr, nullptr}, // computed from the white balance
    };
    for (const Primaries& p : primaries) {
        const Outcome r = run({"--json", "--color-space", p.colorSpace, sample("corva-stage.vellraw")});
        ASSERT_EQ(r.status, 0) << p.colorSpace << r.err;
        const json fields = json::parse(r.out).at(0).at("fields");
        EXPECT_EQ(fields.value("acesContainerFlag", json()), p.flag) << p.colorSpace;
        EXPECT_EQ(fields.at("chromaticities").size(), 4u) << p.colorSpace;
        if (!p.whitePoint.is_null()) {
            EXPECT_EQ(fields.at("whitePoint"), p.whitePoint) << p.colorSpace;
            EXPECT_EQ(fields.at("chromaticities"), p.chromaticities) << p.colorSpace;
        }
    }

    struct Case {
        std::vector<std::string> args;
        const char* complaint;
    };
    const Case unusable[] = {
        {{}, "FILE is required"},
        {{"--json"}, "FILE is required"},
        {{"--color-space", "rec709", sample("corva-stage.vellraw")}, "--color-space"},
        {{"--no-such-option", sample("corva-stage.vellraw")}, "--no-such-option"},
    };
    for (const Case& c : unusable) {
        const Outcome r = run(c.args);
        EXPECT_EQ(r.status, 2) << c.complaint;
        EXPECT_NE(r.err.find(c.complaint), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "") << c.complaint;
    }
}
