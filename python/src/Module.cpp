// SPDX-License-Identifier: Apache-2.0
// The extension behind the Python package `vellmeta`: decodes VELLRAW
// headers through the library and shows the container's fields as attributes
// of a Metadata object.
//
// The attributes come from the one field list (forEachFieldMember); each is
// converted on access by the converter for its value type, never by code
// written for one field.
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <exception>
#include <limits>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <VellMetadataContainer/VellMetadataContainer.h>
#include <vellmeta/Catalog.h>
#include <vellmeta/ColorSpaces.h>
#include <vellmeta/Decode.h>
#include <vellmeta/Fields.h>
#include <vellmeta/Scan.h>
#include <vellmeta/Values.h>

#include "PythonTypes.h"

namespace py = pybind11;
using namespace py::literals;

namespace Vmc::python {

namespace {

using ColorSpace = VellMetadataContainer::ColorSpace;

constexpr std::size_t kHeaderSize = vellmeta::kHeaderSize;

// ---------------------------------------------------------------- results

struct DecodeResult {
    bool isError = false;
    std::uint32_t code = 0;
    std::string message;
};

struct Metadata {
    VellMetadataContainer container;
    DecodeResult result;
    std::optional<std::string> path; // where a scan found it
};

// A decoded clip as Python holds it, its container moved out of `decoded`.
std::unique_ptr<Metadata> metadataOf(vellmeta::Decoded&& decoded)
{
    auto meta = std::make_unique<Metadata>();
    meta->container = std::move(decoded.container);
    meta->result = {decoded.isError, decoded.code, std::move(decoded.message)};
    return meta;
}

// ---------------------------------------------------------------- converters
// One per value type; each produces what PythonTypes.h announces.

py::object toPython(std::uint32_t v) { return py::int_(v); }
py::object toPython(std::int32_t v) { return py::int_(v); }
py::object toPython(float v) { return py::float_(static_cast<double>(v)); }
py::object toPython(bool v) { return py::bool_(v); }
py::object toPython(const Vec2& v) { return py::make_tuple(toPython(v.x), toPython(v.y)); }
py::object toPython(const Vec3& v) { return py::make_tuple(toPython(v.x), toPython(v.y), toPython(v.z)); }
py::object toPython(const ImageWindow& w) { return py::make_tuple(toPython(w.first), toPython(w.second)); }

py::object toPython(const Chromaticities& c)
{
    return py::make_tuple(toPython(c.red), toPython(c.green), toPython(c.blue), toPython(c.white));
}

py::object toPython(const CameraTriple& t)
{
    return py::make_tuple(toPython(t.a), toPython(t.b), toPython(t.c), toPython(t.extra));
}
py::object toPython(const Rational& r) { return py::cast(r); }
py::object toPython(const VellRawMeta::TC_Struct& tc) { return py::cast(tc); }

template <class T>
py::object toPython(const MetaField<T>& field)
{
    return field.defined ? toPython(field.value) : py::none();
}

// Header texts are bytes as the camera wrote them; what is not UTF-8 becomes
// U+FFFD rather than an exception on attribute access.
py::object toPython(const MetaString& field)
{
    if (!field.defined || field.text == nullptr)
        return py::none();
    PyObject* text = PyUnicode_DecodeUTF8(field.text, static_cast<Py_ssize_t>(std::strlen(field.text)), "replace");
    if (text == nullptr)
        throw py::error_already_set();
    return py::reinterpret_steal<py::object>(text);
}

// ---------------------------------------------------------------- decoding

ColorSpace colorSpaceFromName(const std::string& name)
{
    if (const std::optional<ColorSpace> colorSpace = vellmeta::colorSpaceNamed(name))
        return *colorSpace;
    throw py::value_error("unknown color_space '" + name + "'; valid names are " + vellmeta::colorSpaceNames());
}

// A contiguous byte view of any object that exports a buffer, released on
// every path.
class ByteView {
public:
    explicit ByteView(const py::object& source)
    {
        if (PyObject_GetBuffer(source.ptr(), &view_, PyBUF_SIMPLE) != 0)
            throw py::error_already_set();
    }
    ~ByteView() { PyBuffer_Release(&view_); }
    ByteView(const ByteView&) = delete;
    ByteView& operator=(const ByteView&) = delete;

    const unsigned char* data() const { return static_cast<const unsigned char*>(view_.buf); }
    std::size_t size() const { return static_cast<std::size_t>(view_.len); }

private:
    Py_buffer view_{};
};

std::string tooShort(std::size_t size)
{
    return "a VELLRAW header needs at least " + std::to_string(kHeaderSize) + " bytes, got " + std::to_string(size);
}

// Decodes the first kHeaderSize bytes. They are copied first, so the caller's
// buffer may change while the decoder runs without the interpreter lock.
std::unique_ptr<Metadata> decodeBytes(const unsigned char* bytes, ColorSpace colorSpace)
{
    std::string copy(reinterpret_cast<const char*>(bytes), kHeaderSize);
    vellmeta::Decoded decoded;
    {
        py::gil_scoped_release unlocked;
        decoded = vellmeta::decode(reinterpret_cast<const unsigned char*>(copy.data()), colorSpace);
    }
    return metadataOf(std::move(decoded));
}

std::unique_ptr<Metadata> decode(const py::object& data, const std::string& colorSpaceName)
{
    const ColorSpace colorSpace = colorSpaceFromName(colorSpaceName);
    ByteView bytes(data);
    if (bytes.size() < kHeaderSize)
        throw py::value_error(tooShort(bytes.size()));
    return decodeBytes(bytes.data(), colorSpace);
}

std::unique_ptr<Metadata> decodeFile(const py::object& path, const std::string& colorSpaceName)
{
    const ColorSpace colorSpace = colorSpaceFromName(colorSpaceName);
    py::object file = py::module_::import("io").attr("open")(path, "rb");
    py::object data;
    try {
        data = file.attr("read")(kHeaderSize);
    } catch (...) {
        file.attr("close")();
        throw;
    }
    file.attr("close")();
    ByteView bytes(data);
    if (bytes.size() < kHeaderSize) {
        const std::string name = py::str(py::module_::import("os").attr("fsdecode")(path));
        throw py::value_error(name + ": " + tooShort(bytes.size()));
    }
    return decodeBytes(bytes.data(), colorSpace);
}

// ---------------------------------------------------------------- value types

// The value as a Python number: a Fraction, or for a zero denominator the
// float it stands for (an infinity of the numerator's sign, or NaN for 0/0).
py::object asNumber(const Rational& r)
{
    if (r.denominator == 0) {
        if (r.numerator == 0)
            return py::float_(std::numeric_limits<double>::quiet_NaN());
        return py::float_(r.numerator > 0 ? HUGE_VAL : -HUGE_VAL);
    }
    return py::module_::import("fractions").attr("Fraction")(r.numerator, r.denominator);
}

std::string hexWord(std::uint32_t word)
{
    std::ostringstream text;
    text << "0x" << std::hex << word;
    return text.str();
}

void bindValueTypes(py::module_& m)
{
    py::class_<Rational>(m, "Rational",
        "A fraction: signed 32-bit numerator over unsigned 32-bit denominator.\n\n"
        "A zero denominator marks a value too large to represent (numerator +1 or -1)\n"
        "or, with a zero numerator, a value that is not a number; so this is not a\n"
        "fractions.Fraction, but Fraction(r.numerator, r.denominator) works whenever\n"
        "the denominator is not 0. Compares equal by value (1/2 == 2/4 == Fraction(1, 2)).")
        .def(py::init<std::int32_t, std::uint32_t>(), "numerator"_a, "denominator"_a = 1)
        .def(py::init<double>(), "value"_a,
            "The simplest fraction within 2**-30 of value (relative from 1 upwards);\n"
            "NaN gives 0/0, magnitudes from 2**31 - 0.5 give +1/0 or -1/0.")
        .def_readonly("numerator", &Rational::numerator)
        .def_readonly("denominator", &Rational::denominator)
        .def("__float__", [](const Rational& r) { return py::float_(asNumber(r)); })
        .def("__eq__", [](const Rational& r, const py::object& other) {
            if (py::isinstance<Rational>(other))
                return asNumber(r).equal(asNumber(other.cast<Rational>()));
            return asNumber(r).equal(other);
        }, py::is_operator())
        .def("__hash__", [](const Rational& r) { return py::hash(asNumber(r)); })
        .def("__str__", [](const Rational& r) {
            return std::to_string(r.numerator) + "/" + std::to_string(r.denominator);
        })
        .def("__repr__", [](const Rational& r) {
            return "Rational(" + std::to_string(r.numerator) + ", " + std::to_string(r.denominator) + ")";
        });

    py::class_<VellRawMeta::TC_Struct>(m, "TimeCode",
        "A header time code record: four 32-bit words. str() gives HH:MM:SS:FF,\n"
        "with ';' before the frames for drop-frame counting.")
        .def(py::init([](std::uint32_t bcdTime, std::uint32_t word1, std::uint32_t rateAndDropFrame,
                         std::uint32_t word3) {
            return VellRawMeta::TC_Struct{bcdTime, word1, rateAndDropFrame, word3};
        }), "bcdTime"_a, "word1"_a = 0, "rateAndDropFrame"_a = 0, "word3"_a = 0)
        // The record is packed: its words are read by value, never bound by reference.
        .def_property_readonly("bcdTime", [](const VellRawMeta::TC_Struct& tc) { return tc.bcdTime; })
        .def_property_readonly("word1", [](const VellRawMeta::TC_Struct& tc) { return tc.word1; })
        .def_property_readonly("rateAndDropFrame", [](const VellRawMeta::TC_Struct& tc) { return tc.rateAndDropFrame; })
        .def_property_readonly("word3", [](const VellRawMeta::TC_Struct& tc) { return tc.word3; })
        .def_property_readonly("text", &vellmeta::timeCodeText)
        .def("__str__", &vellmeta::timeCodeText)
        .def("__repr__", [](const VellRawMeta::TC_Struct& tc) {
            return "<TimeCode " + vellmeta::timeCodeText(tc) + " bcdTime=" + hexWord(tc.bcdTime) + " word1=" +
                hexWord(tc.word1) + " rateAndDropFrame=" + hexWord(tc.rateAndDropFrame) + " word3=" +
                hexWord(tc.word3) + ">";
        })
        .def("__eq__", [](const VellRawMeta::TC_Struct& a, const VellRawMeta::TC_Struct& b) { return a == b; },
            py::is_operator())
        .def("__hash__", [](const VellRawMeta::TC_Struct& tc) {
            return py::hash(py::make_tuple(std::uint32_t{tc.bcdTime}, std::uint32_t{tc.word1},
                std::uint32_t{tc.rateAndDropFrame}, std::uint32_t{tc.word3}));
        });

    py::class_<RecorderInfo>(m, "RecorderInfo", "The parts of a recorder text; a part the text lacks is ''.")
        .def_readonly("manufacturer", &RecorderInfo::manufacturer)
        .def_readonly("model", &RecorderInfo::model)
        .def_readonly("identifier", &RecorderInfo::identifier)
        .def_readonly("details", &RecorderInfo::details)
        .def("__eq__", [](const RecorderInfo& a, const RecorderInfo& b) {
            return a.manufacturer == b.manufacturer && a.model == b.model && a.identifier == b.identifier &&
                a.details == b.details;
        }, py::is_operator())
        .def("__repr__", [](const RecorderInfo& r) {
            return "RecorderInfo(manufacturer=" + std::string(py::repr(py::str(r.manufacturer))) +
                ", model=" + std::string(py::repr(py::str(r.model))) +
                ", identifier=" + std::string(py::repr(py::str(r.identifier))) +
                ", details=" + std::string(py::repr(py::str(r.details))) + ")";
        });

    py::class_<Version>(m, "Version", "The release of the library that the module is built on.")
        .def_readonly("major", &Version::major)
        .def_readonly("minor", &Version::minor)
        .def_readonly("patch", &Version::patch)
        .def_property_readonly("build", [](const Version& v) { return std::string(v.build); })
        .def_property_readonly("version_string", [](const Version& v) { return std::string(v.versionString); })
        .def("__str__", [](const Version& v) { return std::string(v.versionString); })
        .def("__repr__", [](const Version& v) { return "<Version '" + std::string(v.versionString) + "'>"; });
}

// ---------------------------------------------------------------- Metadata

py::dict toDict(const Metadata& meta, bool definedOnly)
{
    py::dict fields;
    forEachField(meta.container, [&](const FieldInfo& info, const auto& field) {
        if (!definedOnly || field.defined)
            fields[info.name] = toPython(field);
    });
    return fields;
}

// ---------------------------------------------------------------- presentation
// Labels, units, headings and the people's text of each field, all from the
// library's presentation layer.

struct Field {
    int index;
};

int indexOfField(const std::string& name)
{
    const int index = vellmeta::fieldIndex(name);
    if (index < 0)
        throw py::key_error("no field named '" + name + "'");
    return index;
}

const vellmeta::FieldPresentation& presentation(const Field& field) { return vellmeta::kFields[field.index]; }

py::tuple fieldsInPresentationOrder()
{
    py::tuple fields(kFieldCount);
    for (std::size_t i = 0; i < vellmeta::kPresentationOrder.size(); ++i)
        fields[i] = py::cast(Field{vellmeta::kPresentationOrder[i]});
    return fields;
}

void bindFields(py::module_& m)
{
    py::class_<Field>(m, "Field",
        "How people read one container field: its label, the unit of its decoded number,\n"
        "the heading it is shown under, and whether views show it by default.")
        .def_property_readonly("name", [](const Field& f) { return presentation(f).name; })
        .def_property_readonly("label", [](const Field& f) { return presentation(f).label; })
        .def_property_readonly("unit", [](const Field& f) { return presentation(f).unit; })
        .def_property_readonly("heading", [](const Field& f) { return vellmeta::headingTitle(presentation(f).heading); })
        .def_property_readonly("kind", [](const Field& f) { return vellmeta::kindName(presentation(f).kind); },
            "'shown'; 'spare' (decoding never writes it) or 'fixed' (one fixed value)")
        .def("__eq__", [](const Field& a, const Field& b) { return a.index == b.index; }, py::is_operator())
        .def("__hash__", [](const Field& f) { return py::hash(py::int_(f.index)); })
        .def("__repr__", [](const Field& f) {
            return "<vellmeta.Field " + std::string(presentation(f).name) + " '" + std::string(presentation(f).label) +
                "'>";
        });

    m.def("fields", &fieldsInPresentationOrder,
        "Every field's description, in the order people read them: by heading, then by place under it.");
    m.def("field", [](const std::string& name) { return Field{indexOfField(name)}; }, "name"_a,
        "The description of the field with this container name; KeyError for an unknown name.");
}

py::object textOf(const Metadata& meta, const std::string& name, bool numeric)
{
    const int index = indexOfField(name);
    if (!vellmeta::fieldDefined(meta.container, index))
        return py::none();
    return py::str(vellmeta::fieldText(meta.container, index,
                                       numeric ? vellmeta::TextStyle::Numeric : vellmeta::TextStyle::People));
}

py::tuple catalogValues(const Metadata& meta)
{
    const std::vector<vellmeta::CatalogValue> values = vellmeta::catalogFieldValues(meta.container);
    py::tuple row(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        const vellmeta::CatalogValue& v = values[i];
        switch (v.kind) {
        case vellmeta::CatalogValue::Kind::Null: row[i] = py::none(); break;
        case vellmeta::CatalogValue::Kind::Integer: row[i] = py::int_(v.integer); break;
        case vellmeta::CatalogValue::Kind::Real: row[i] = py::float_(v.real); break;
        case vellmeta::CatalogValue::Kind::Text: row[i] = py::str(v.text); break;
        }
    }
    return row;
}

int definedCount(const Metadata& meta)
{
    int count = 0;
    forEachField(meta.container, [&](const FieldInfo&, const auto& field) { count += field.defined ? 1 : 0; });
    return count;
}

void bindMetadata(py::module_& m)
{
    py::class_<DecodeResult>(m, "Result",
        "The outcome of decoding. is_error with code 0 means decoding finished but the\n"
        "header held an unknown flip/flop, master/slave or channel setup value.")
        .def_readonly("is_error", &DecodeResult::isError)
        .def_readonly("code", &DecodeResult::code)
        .def_readonly("message", &DecodeResult::message)
        .def("__repr__", [](const DecodeResult& r) {
            return "Result(is_error=" + std::string(r.isError ? "True" : "False") + ", code=" +
                std::to_string(r.code) + ", message=" + std::string(py::repr(py::str(r.message))) + ")";
        });

    py::class_<Metadata> metadata(m, "Metadata",
        "The decoded metadata of one header: one attribute per container field, None\n"
        "where the header left the field undefined.");

    py::list names;
    forEachFieldMember([&](const FieldInfo& info, auto member) {
        const std::string doc =
            fieldAnnotation(member) + " (" + vellmeta::headingName(vellmeta::kFields[info.index].heading) + ")";
        metadata.def_property_readonly(info.name,
            [member](const Metadata& meta) { return toPython(meta.container.*member); }, doc.c_str());
        names.append(info.name);
    });

    metadata
        .def_readonly("result", &Metadata::result)
        .def_property_readonly("path", [](const Metadata& meta) -> py::object {
            return meta.path ? py::object(py::module_::import("os").attr("fsdecode")(py::bytes(*meta.path)))
                             : py::none();
        }, "Where a scan found the clip (None for decode and decode_file).")
        .def("text", &textOf, "name"_a, "numeric"_a = false,
            "The field's value as one line of text, as the vellmeta tool writes it: for people\n"
            "(\"f/2.8\", \"1/48 s (0.020833 s)\"), or with numeric the decoded numbers as they are.\n"
            "None where the field is undefined; KeyError for an unknown name.")
        .def("set_by_camera", [](const Metadata& meta, const std::string& name) {
            return vellmeta::setByCamera(meta.container, indexOfField(name));
        }, "name"_a,
            "Whether the field is defined and the camera wrote its value: False for what decoding\n"
            "makes of an all-ones header word that it does not test (a focal length of 4294967.5 mm),\n"
            "which text() reads as \"not set by the camera\" while the attribute keeps it as decoded.")
        .def("catalog_values", &catalogValues,
            "The values of the catalog's field columns (catalog_columns()), in their order:\n"
            "int, float, str or None; a float that is not a number is the str 'NaN'.")
        .def("to_dict", &toDict, "defined_only"_a = false,
            "The fields in container order, name to value; only the defined ones when asked.")
        .def("__eq__", [](const Metadata& a, const Metadata& b) { return a.container == b.container; },
            py::is_operator(),
            "The library's container equality: fields defined here must be defined and equal there\n"
            "(the first two fields must agree both ways), so a == b and b == a may differ.")
        .def("__repr__", [](const Metadata& meta) {
            return "<vellmeta.Metadata: " + std::to_string(definedCount(meta)) + " of " +
                std::to_string(kFieldCount) + " fields defined, " +
                (meta.result.isError ? "failure " + std::to_string(meta.result.code) : std::string("no failure")) + ">";
        });
    metadata.attr("field_names") = py::tuple(names);
}

// ---------------------------------------------------------------- scan

// The library's scan, run on a thread of its own and handed over through a
// short queue, so that Python takes one clip after the other as the walk
// finds them while the next ones are read and decoded.
class Scan {
public:
    Scan(std::vector<std::string> paths, vellmeta::ScanOptions options)
    {
        thread_ = std::thread([this, paths = std::move(paths), options = std::move(options)] {
            try {
                vellmeta::scan(paths, options, [this](vellmeta::Scanned& input) { hand(input); });
            } catch (const Stopped&) {
            } catch (...) {
                const std::lock_guard<std::mutex> lock(mutex_);
                error_ = std::current_exception();
            }
            const std::lock_guard<std::mutex> lock(mutex_);
            finished_ = true;
            changed_.notify_all();
        });
    }
    Scan(const Scan&) = delete;
    Scan& operator=(const Scan&) = delete;
    ~Scan()
    {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
            changed_.notify_all();
        }
        thread_.join();
    }

    // The next clip; problems and notes met on the way are kept.
    std::unique_ptr<Metadata> next()
    {
        std::unique_ptr<Metadata> clip;
        {
            py::gil_scoped_release unlocked;
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [this] { return !clips_.empty() || finished_; });
            if (!clips_.empty()) {
                clip = std::move(clips_.front());
                clips_.pop_front();
                changed_.notify_all();
            }
        }
        flushProblems();
        if (clip)
            return clip;
        if (error_)
            std::rethrow_exception(error_);
        throw py::stop_iteration();
    }

    py::list problems()
    {
        flushProblems();
        return problemList_;
    }

private:
    struct Stopped {};
    static constexpr std::size_t kMostWaiting = 64;

    void hand(vellmeta::Scanned& input)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        if (input.kind != vellmeta::Scanned::Kind::Clip) {
            problems_.emplace_back(input.path, input.message);
            return;
        }
        changed_.wait(lock, [this] { return clips_.size() < kMostWaiting || stopping_; });
        if (stopping_)
            throw Stopped();
        std::unique_ptr<Metadata> clip = metadataOf(std::move(input.clip));
        clip->path = input.path;
        clips_.push_back(std::move(clip));
        changed_.notify_all();
    }

    // Problems found by the scanning thread, as (path, message) tuples.
    void flushProblems()
    {
        std::vector<std::pair<std::string, std::string>> found;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            found.swap(problems_);
        }
        const py::object fsdecode = py::module_::import("os").attr("fsdecode");
        for (const auto& [path, message] : found)
            problemList_.append(py::make_tuple(fsdecode(py::bytes(path)), message));
    }

    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::unique_ptr<Metadata>> clips_;
    std::vector<std::pair<std::string, std::string>> problems_;
    py::list problemList_;
    std::exception_ptr error_;
    bool finished_ = false;
    bool stopping_ = false;
};

std::unique_ptr<Scan> startScan(const py::object& paths, bool recursive, int jobs, const std::string& colorSpaceName,
                                const std::vector<std::string>& extensions, bool followLinks)
{
    vellmeta::ScanOptions options;
    options.colorSpace = colorSpaceFromName(colorSpaceName);
    if (jobs < 1)
        throw py::value_error("jobs must be 1 or more");
    options.jobs = jobs;
    options.walk.recursive = recursive;
    options.walk.followLinks = followLinks;
    options.walk.extensions = extensions;
    const py::object fsencode = py::module_::import("os").attr("fsencode");
    std::vector<std::string> inputs;
    if (py::isinstance<py::str>(paths) || py::isinstance<py::bytes>(paths) ||
        py::hasattr(paths, "__fspath__"))
        inputs.push_back(fsencode(paths).cast<std::string>());
    else
        for (const py::handle path : paths)
            inputs.push_back(fsencode(path).cast<std::string>());
    return std::make_unique<Scan>(std::move(inputs), std::move(options));
}

void bindScan(py::module_& m)
{
    py::class_<Scan>(m, "Scan",
        "The clips of a scan, in the order the walk finds them; `problems` lists the\n"
        "(path, message) of every input that could not be used, and every note.")
        .def("__iter__", [](Scan& scan) -> Scan& { return scan; })
        .def("__next__", &Scan::next)
        .def_property_readonly("problems", &Scan::problems);
    m.def("scan", &startScan, "paths"_a, "recursive"_a = true, "jobs"_a = 1, "color_space"_a = "native",
        "extensions"_a = std::vector<std::string>{"vellraw"}, "follow_links"_a = false,
        "Decodes the clips of files and folders (walked with recursive, picking files by\n"
        "extension) on `jobs` threads, and yields each Metadata, its `path` set, in the\n"
        "order the walk finds them, as the vellmeta tool reads them.");
}

} // namespace

void defineModule(py::module_& m)
{
    m.doc() = "Decodes the 2480-byte header of a VELLRAW (version 3) camera raw file.";

    bindValueTypes(m);
    bindFields(m);
    bindMetadata(m);
    bindScan(m);

    m.def("decode", &decode, "data"_a, "color_space"_a = "native",
        "Decodes a header from bytes, bytearray or any buffer of at least 2480 bytes.\n"
        "color_space is 'aces', 'native' (the camera's own primaries) or 'wide'.");
    m.def("decode_file", &decodeFile, "path"_a, "color_space"_a = "native",
        "Decodes the header at the start of a file (its first 2480 bytes).");
    m.def("version", &VellMetadataContainer::VellMetadataContainerVersion, "The library's version record.");
    m.def("catalog_schema", &vellmeta::catalogSchema,
        "The SQL of the catalog `vellmeta --catalog` writes: the tables clips, catalog,\n"
        "scans and scan_roots, the view clip_report and the indexes.");
    m.def("catalog_columns", [] {
        py::list columns;
        for (std::string_view name : vellmeta::catalogFileColumns())
            columns.append(py::make_tuple(std::string(name), "file"));
        for (const vellmeta::CatalogColumn& column : vellmeta::catalogFieldColumns())
            columns.append(py::make_tuple(column.name, vellmeta::sqlTypeName(column.type)));
        return columns;
    }, "The columns of the catalog's clips table, in order, as (name, type): the file's\n"
       "columns (type 'file'), then each field's ('INTEGER', 'REAL' or 'TEXT').");
    m.def("fingerprint", [](const py::object& data) {
        ByteView bytes(data);
        if (bytes.size() < kHeaderSize)
            throw py::value_error(tooShort(bytes.size()));
        return vellmeta::headerFingerprint(bytes.data());
    }, "data"_a, "The fingerprint of a header's 2480 bytes, as the catalog keeps it.");
    m.def("parse_recorder_info", &parseRecorderInfo, "text"_a,
        "Splits a recorder text 'Codex Digital;<identifier>;<details>' into its parts.");
    m.def("camera_native_chromaticities",
        [](unsigned short cct, bool ndIn) {
            return toPython(ColorCorrectionMatrixTable::cameraNativeChromaticities(cct, ndIn));
        },
        "cct"_a, "nd_in"_a,
        "xy of the camera's native red, green, blue and white for a white balance (kelvin, 0 to 65535)\n"
        "and whether the ND filter was in.");


    const Version version = VellMetadataContainer::VellMetadataContainerVersion();
    m.attr("__version__") = std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
        std::to_string(version.patch);
    m.attr("HEADER_SIZE") = kHeaderSize;
    m.attr("CATALOG_SCHEMA_VERSION") = vellmeta::kCatalogSchemaVersion;
}

} // namespace Vmc::python

PYBIND11_MODULE(_vellmeta, m)
{
    Vmc::python::defineModule(m);
}
