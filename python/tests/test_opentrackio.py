# SPDX-License-Identifier: Apache-2.0
"""vellmeta --opentrackio: the samples member by member, and thousands of
composed and fuzz-corpus headers, each sample within what OpenTrackIO 1.0.0
allows and agreeing with the decoded fields."""
import fractions
import json
import math
import os
import re
import unittest

import jsonschema

import vellmeta

import support
from support import CLI, run

SAMPLES = support.sample_paths()

# The members the tool writes, as the OpenTrackIO 1.0.0 schema gives them;
# nothing else may appear.
TEXT = {"type": "string", "minLength": 1, "pattern": r"^[^\x00-\x1f\x7f-\x9f]*$", "not": {"pattern": r"^\s*$"}}
RATIONAL = {"type": "object", "required": ["num", "denom"], "additionalProperties": False,
            "properties": {"num": {"type": "integer", "minimum": 1, "maximum": 2**31 - 1},
                           "denom": {"type": "integer", "minimum": 1, "maximum": 2**32 - 1}}}
POSITIVE = {"type": "number", "exclusiveMinimum": 0}


def count(maximum):
    return {"type": "integer", "minimum": 0, "maximum": maximum}


def section(properties, required=None):
    return {"type": "object", "properties": properties, "additionalProperties": False, "minProperties": 1,
            "required": required or []}


SAMPLE_SCHEMA = section({
    "protocol": {"const": {"name": "OpenTrackIO", "version": [1, 0, 0]}},
    "sourceId": {"type": "string", "pattern": "^urn:uuid:[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$"},
    "static": section({
        "camera": section({
            "make": TEXT, "model": TEXT, "serialNumber": TEXT, "label": TEXT, "captureFrameRate": RATIONAL,
            "activeSensorResolution": section({"width": count(2**31 - 1), "height": count(2**31 - 1)},
                                              ["width", "height"]),
            "isoSpeed": {"type": "integer", "minimum": 1, "maximum": 2**32 - 1},
            "shutterAngle": {"type": "number", "minimum": 0, "maximum": 360}}),
        "lens": section({"make": TEXT, "model": TEXT, "serialNumber": TEXT, "nominalFocalLength": POSITIVE})}),
    "lens": section({"fStop": POSITIVE, "focusDistance": POSITIVE}),
    "timing": section({
        "timecode": section({"hours": count(23), "minutes": count(59), "seconds": count(59), "frames": count(119),
                             "frameRate": RATIONAL, "dropFrame": {"type": "boolean"}},
                            ["hours", "minutes", "seconds", "frames", "frameRate", "dropFrame"]),
        "sampleRate": RATIONAL}),
}, ["protocol"])

# What each member should be, from the fields the Python module decodes, or
# None when it must be left out.
CONTROL = re.compile(r"[\x00-\x1f\x7f-\x9f]")
NTSC = {23976: 24000, 29970: 30000, 47952: 48000, 59940: 60000, 119880: 120000}


def written(meta, name):
    """The field's value when the camera wrote it: not what decoding makes of
    an all-ones word it does not test (the people's "not set by the camera")."""
    return getattr(meta, name) if meta.set_by_camera(name) else None


def text(value):
    return value if value is not None and value.strip() and not CONTROL.search(value) else None


def positive(value):
    return support.f32(value) if value is not None and math.isfinite(value) and value > 0 else None


def rational(value):
    return {"num": value.numerator, "denom": value.denominator} if value is not None else None


def frame_rate(rate):
    ok = rate is not None and rate.numerator > 0 and rate.denominator > 0
    return rational(fractions.Fraction(rate.numerator, rate.denominator)) if ok else None


def resolution(window):
    if window is None:
        return None
    (left, top), (right, bottom) = window
    size = [right - left + 1, bottom - top + 1]
    ok = all(1 <= n < 2**31 and n == int(n) for n in size)
    return {"width": int(size[0]), "height": int(size[1])} if ok else None


def shutter_angle(meta):
    rate = frame_rate(written(meta, "sensorFrameRate"))
    exposure = written(meta, "exposureTime")
    if exposure is None or rate is None or not exposure > 0:
        return None
    angle = 360.0 * exposure * (rate["num"] / rate["denom"])
    return support.f32(angle) if angle <= 360 else None


def timecode(tc):
    digits = re.fullmatch(r"(\d\d):(\d\d):(\d\d)[:;](\d\d)", str(tc)) if tc is not None else None
    milli_rate = tc.rateAndDropFrame & 0x7FFFFFFF if tc is not None and tc.rateAndDropFrame != 0xFFFFFFFF else 0
    if not digits or not milli_rate:
        return None
    hours, minutes, seconds, frames = map(int, digits.groups())
    if hours > 23 or minutes > 59 or seconds > 59:
        return None
    rate = fractions.Fraction(NTSC[milli_rate], 1001) if milli_rate in NTSC else fractions.Fraction(milli_rate, 1000)
    return {"hours": hours, "minutes": minutes, "seconds": seconds, "frames": frames, "frameRate": rational(rate),
            "dropFrame": bool(tc.rateAndDropFrame & 0x80000000)}


MEMBERS = {
    "sourceId": lambda m: "urn:uuid:" + m.uuid.lower() if m.uuid else None,
    "static/camera/make": lambda m: text(written(m, "cameraManufacturer")),
    "static/camera/model": lambda m: text(written(m, "cameraModel")),
    "static/camera/serialNumber": lambda m: text(written(m, "cameraSerialNumber")),
    "static/camera/label": lambda m: text(written(m, "cameraIndex")),
    "static/camera/captureFrameRate": lambda m: frame_rate(written(m, "sensorFrameRate")),
    "static/camera/activeSensorResolution": lambda m: resolution(written(m, "activeImageWindow")),
    "static/camera/isoSpeed": lambda m: int(m.exposureIndex) if m.exposureIndex and 1 <= m.exposureIndex < 2**32 else None,
    "static/camera/shutterAngle": shutter_angle,
    "static/lens/make": lambda m: text(written(m, "lensMaker")),
    "static/lens/model": lambda m: text(written(m, "lensModel")),
    "static/lens/serialNumber": lambda m: text(written(m, "lensSerialNumber")),
    "static/lens/nominalFocalLength": lambda m: positive(written(m, "lensFocalLength")),
    "lens/fStop": lambda m: positive(written(m, "lensAperture")),
    "lens/focusDistance": lambda m: positive(written(m, "lensFocusDistance")),
    "timing/timecode": lambda m: timecode(written(m, "timeCode")),
    "timing/sampleRate": lambda m: frame_rate(written(m, "projectFrameRate")),
}


def member(sample, path):
    for key in path.split("/"):
        sample = sample.get(key) if isinstance(sample, dict) else None
    return sample


@unittest.skipUnless(CLI and SAMPLES, "needs the vellmeta tool and the samples")
class OpenTrackIoTest(unittest.TestCase):
    def test_sample_with_every_member(self):
        # Members left out are the out-of-range table's part (OpenTrackIoTest.cpp).
        result = run("--opentrackio", os.path.join(os.environ["VELLMETA_SAMPLES"], "corva-compact.vellraw"))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(json.loads(result.stdout), [{
            "protocol": {"name": "OpenTrackIO", "version": [1, 0, 0]},
            "sourceId": "urn:uuid:12345678-9abc-def0-0123-456789abcdef",
            "static": {"camera": {"make": "VELL", "model": "CORVA Compact", "serialNumber": "4711", "label": "A",
                                  "captureFrameRate": {"num": 25, "denom": 1},
                                  "activeSensorResolution": {"width": 4080, "height": 2152}, "isoSpeed": 800,
                                  "shutterAngle": 187.49701},
                       "lens": {"make": "Zeiss", "model": "Supreme Prime 50", "serialNumber": "123456",
                                "nominalFocalLength": 50}},
            "lens": {"fStop": 2.828427, "focusDistance": 3.2},
            "timing": {"timecode": {"hours": 14, "minutes": 30, "seconds": 21, "frames": 12,
                                    "frameRate": {"num": 25, "denom": 1}, "dropFrame": False},
                       "sampleRate": {"num": 25, "denom": 1}}}])

    def test_lines_failures_and_unreadable_files(self):
        array = run("--opentrackio", *SAMPLES, "no-such-file.vellraw")
        lines = run("--opentrackio", "--json-lines", *SAMPLES)
        self.assertEqual(array.returncode, 2)
        self.assertIn("no-such-file.vellraw", array.stderr)
        self.assertEqual(lines.returncode, 1)  # the failure samples
        self.assertEqual(len(re.findall("decoding reported failure", lines.stderr)), 2)
        self.assertEqual(json.loads(array.stdout), [json.loads(line) for line in lines.stdout.splitlines()])

    def test_every_sample_within_the_schema_and_agreeing(self):
        paths = support.all_header_paths(3000)
        result = run("--opentrackio", "--json-lines", *paths)
        samples = [json.loads(line, parse_float=support.f32) for line in result.stdout.splitlines()]
        self.assertEqual(len(samples), len(paths), result.stderr)
        validator = jsonschema.Draft202012Validator(SAMPLE_SCHEMA)
        written = dict.fromkeys(MEMBERS, 0)
        for path, sample in zip(paths, samples):
            errors = [e.message for e in validator.iter_errors(sample)]
            self.assertEqual(errors, [], path)
            meta = vellmeta.decode_file(path)
            for name, expected in MEMBERS.items():
                self.assertEqual(member(sample, name), expected(meta), (path, name))
                written[name] += member(sample, name) is not None
        # Every member is both written and left out somewhere, but the
        # manufacturer, which decoding always sets.
        for name, times in written.items():
            self.assertTrue(0 < times < len(paths) or name == "static/camera/make", (name, times))


if __name__ == "__main__":
    unittest.main()
