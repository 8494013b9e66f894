"""The vellmeta API: what decode accepts and rejects, the value types, and
the stubs' agreement with what attributes really hold."""
import array
import ast
import os
import pathlib
import tempfile
import typing
import unittest
from fractions import Fraction

import vellmeta

import support


class DecodeInputTest(unittest.TestCase):
    def setUp(self):
        self.header = support.image_bytes("baseline")

    def test_accepts_any_contiguous_buffer(self):
        reference = support.comparable(vellmeta.decode(self.header))
        for data in (self.header, bytearray(self.header), memoryview(self.header),
                     array.array("B", self.header), self.header + b"trailing bytes are ignored"):
            with self.subTest(type=type(data).__name__):
                meta = vellmeta.decode(data)
                self.assertEqual(support.comparable(meta), reference)
                self.assertFalse(meta.result.is_error)

    def test_short_buffer_names_its_length(self):
        for size in (0, 1, 2479):
            with self.subTest(size=size):
                with self.assertRaisesRegex(ValueError, r"2480 bytes, got %d\b" % size):
                    vellmeta.decode(self.header[:size])

    def test_rejects_what_is_not_a_contiguous_buffer(self):
        for data, error in ((self.header.decode("latin-1"), TypeError), (None, TypeError),
                            (memoryview(self.header * 2)[::2], BufferError)):
            with self.subTest(type=type(data).__name__):
                with self.assertRaises(error):
                    vellmeta.decode(data)

    def test_unknown_color_space_lists_the_valid_names(self):
        for name in ("", "ACES", "native ", "camera"):
            with self.subTest(name=name):
                with self.assertRaisesRegex(ValueError, "'aces', 'native', 'wide'"):
                    vellmeta.decode(self.header, name)
                with self.assertRaisesRegex(ValueError, "'aces', 'native', 'wide'"):
                    vellmeta.decode_file("/nonexistent/file", name)

    def test_decode_file(self):
        path = support.image_path("baseline")
        reference = support.comparable(vellmeta.decode(self.header, "wide"))
        for spelled in (path, pathlib.Path(path), os.fsencode(path)):
            with self.subTest(type=type(spelled).__name__):
                self.assertEqual(support.comparable(vellmeta.decode_file(spelled, "wide")), reference)

        with self.assertRaises(FileNotFoundError):
            vellmeta.decode_file(os.path.join(support.image_dir(), "missing.vellraw"))
        with self.assertRaises(IsADirectoryError):
            vellmeta.decode_file(support.image_dir())
        with tempfile.NamedTemporaryFile(suffix=".vellraw") as short:
            short.write(self.header[:100])
            short.flush()
            with self.assertRaisesRegex(ValueError, r"^%s: .*got 100$" % short.name):
                vellmeta.decode_file(short.name)


class ResultTest(unittest.TestCase):
    def test_result_carries_the_library_outcome(self):
        ok = vellmeta.decode(support.image_bytes("baseline"))
        self.assertEqual((ok.result.is_error, ok.result.code, ok.result.message), (False, 0, ""))
        failed = vellmeta.decode(support.image_bytes("unwritten"))
        self.assertEqual((failed.result.is_error, failed.result.code), (True, 400))
        self.assertEqual(failed.result.message,
                         "Unknown camera type value in VELLRAW header; enumeration value is `4294967295'")
        self.assertIn("failure 400", repr(failed))

    def test_equality_is_the_containers(self):
        first = vellmeta.decode(support.image_bytes("texts"))
        again = vellmeta.decode(bytearray(support.image_bytes("texts")))
        other = vellmeta.decode(support.image_bytes("baseline"))
        self.assertTrue(first == again)
        self.assertFalse(first != again)
        self.assertNotEqual(first, other)  # different camera models
        self.assertNotEqual(first, "texts")
        with self.assertRaises(TypeError):
            hash(first)


class RationalTest(unittest.TestCase):
    def test_equal_by_value(self):
        cases = [
            (vellmeta.Rational(1, 2), vellmeta.Rational(2, 4), True),
            (vellmeta.Rational(1, 2), Fraction(1, 2), True),
            (vellmeta.Rational(30000, 1001), Fraction(30000, 1001), True),
            (vellmeta.Rational(25000, 1000), 25, True),
            (vellmeta.Rational(-3, 4), -0.75, True),
            (vellmeta.Rational(1, 3), vellmeta.Rational(1, 2), False),
            (vellmeta.Rational(1, 0), float("inf"), True),
            (vellmeta.Rational(-1, 0), float("-inf"), True),
            (vellmeta.Rational(1, 0), vellmeta.Rational(2, 0), True),
            (vellmeta.Rational(1, 0), vellmeta.Rational(-1, 0), False),
            (vellmeta.Rational(0, 0), vellmeta.Rational(0, 0), False),  # not a number
            (vellmeta.Rational(0, 0), vellmeta.Rational(0, 1), False),
        ]
        for a, b, equal in cases:
            with self.subTest(a=a, b=b):
                self.assertEqual(a == b, equal)
                if equal:
                    self.assertEqual(hash(a), hash(b))

    def test_converts_like_a_fraction(self):
        r = vellmeta.Rational(24000, 1001)
        self.assertEqual(Fraction(r.numerator, r.denominator), Fraction(24000, 1001))
        self.assertAlmostEqual(float(r), 23.976, places=3)
        self.assertEqual((str(r), repr(r)), ("24000/1001", "Rational(24000, 1001)"))
        self.assertEqual(vellmeta.Rational(7).denominator, 1)
        self.assertTrue(float(vellmeta.Rational(0, 0)) != float(vellmeta.Rational(0, 0)))

class HelpersTest(unittest.TestCase):
    def test_rational_from_float(self):
        cases = [(0.5, 1, 2), (30000 / 1001, 30000, 1001), (23.976, 2997, 125), (-0.75, -3, 4),
                 (float("nan"), 0, 0), (float("-inf"), -1, 0), (2.5e9, 1, 0)]
        for value, numerator, denominator in cases:
            with self.subTest(value=value):
                r = vellmeta.Rational(value)
                self.assertEqual((r.numerator, r.denominator), (numerator, denominator))

    def test_parse_recorder_info(self):
        info = vellmeta.parse_recorder_info("Codex Digital;A7;1.SIM2.3")
        self.assertEqual((info.manufacturer, info.model, info.identifier, info.details),
                         ("Codex Digital", "SIM2", "A7", "1.SIM2.3"))
        self.assertEqual(vellmeta.parse_recorder_info("codex digital;A7;1.2.3"),
                         vellmeta.parse_recorder_info(""))

    def test_camera_native_chromaticities(self):
        red, green, blue, white = vellmeta.camera_native_chromaticities(5600, False)
        for got, want in zip((red, green, blue, white),
                             ((0.6695, 0.2886), (0.1913, 1.2496), (0.0556, -0.1511), (0.3127, 0.3290))):
            self.assertAlmostEqual(got[0], want[0], delta=1e-4)
            self.assertAlmostEqual(got[1], want[1], delta=1e-4)
        self.assertEqual(vellmeta.camera_native_chromaticities(0, True),
                         vellmeta.camera_native_chromaticities(2000, True))
        with self.assertRaises(TypeError):
            vellmeta.camera_native_chromaticities(65536, False)


class TimeCodeTest(unittest.TestCase):
    def test_text(self):
        cases = [
            (0x23595924, 0x80005DC0, "23:59:59;24"),
            (0x01020304, 0x00005DC0, "01:02:03:04"),
        ]
        for bcd, rate, text in cases:
            with self.subTest(text=text):
                tc = vellmeta.TimeCode(bcd, 0, rate, 0)
                self.assertEqual((str(tc), tc.text), (text, text))
                self.assertIn(text, repr(tc))

    def test_all_four_words_count(self):
        tc = vellmeta.TimeCode(0x01020304, 1, 2, 3)
        self.assertEqual((tc.bcdTime, tc.word1, tc.rateAndDropFrame, tc.word3), (0x01020304, 1, 2, 3))
        self.assertEqual(tc, vellmeta.TimeCode(0x01020304, 1, 2, 3))
        self.assertEqual(hash(tc), hash(vellmeta.TimeCode(0x01020304, 1, 2, 3)))
        for other in ((0x01020305, 1, 2, 3), (0x01020304, 0, 2, 3), (0x01020304, 1, 0, 3), (0x01020304, 1, 2, 4)):
            self.assertNotEqual(tc, vellmeta.TimeCode(*other))


class VersionTest(unittest.TestCase):
    def test_version(self):
        v = vellmeta.version()
        self.assertEqual((v.major, v.minor, v.patch, v.build), (1, 0, 0, "1"))
        self.assertEqual(v.version_string, "1.0.0b1 79886 Vostrabeck ")
        self.assertEqual(str(v), v.version_string)
        self.assertEqual(vellmeta.__version__, "1.0.0")


def stub_fields():
    """The Metadata field annotations that the generated stubs declare."""
    stub = os.path.join(os.path.dirname(vellmeta.__file__), "__init__.pyi")
    with open(stub) as f:
        tree = ast.parse(f.read())
    metadata = next(n for n in tree.body if isinstance(n, ast.ClassDef) and n.name == "Metadata")
    return {n.target.id: ast.unparse(n.annotation) for n in metadata.body
            if isinstance(n, ast.AnnAssign) and n.target.id not in ("field_names", "result")}


def conforms(value, annotation):
    origin = typing.get_origin(annotation)
    if origin is typing.Union:
        return any(conforms(value, arm) for arm in typing.get_args(annotation))
    if origin is tuple:
        parts = typing.get_args(annotation)
        return isinstance(value, tuple) and len(value) == len(parts) and all(map(conforms, value, parts))
    if annotation is type(None):
        return value is None
    if annotation is int:
        return isinstance(value, int) and not isinstance(value, bool)
    return isinstance(value, annotation)


class StubTest(unittest.TestCase):
    def test_stubs_declare_every_field_in_order(self):
        self.assertEqual(list(stub_fields()), list(vellmeta.Metadata.field_names))
        self.assertEqual(len(vellmeta.Metadata.field_names), 203)

    def test_every_value_has_its_declared_type(self):
        names = {"Optional": typing.Optional, "Tuple": typing.Tuple,
                 "Rational": vellmeta.Rational, "TimeCode": vellmeta.TimeCode}
        annotations = {field: eval(text, names) for field, text in stub_fields().items()}
        seen = set()
        for image in support.image_names():
            for color_space in support.COLOR_SPACES:
                meta = vellmeta.decode_file(support.image_path(image), color_space)
                for field, value in meta.to_dict(defined_only=True).items():
                    self.assertTrue(conforms(value, annotations[field]), (image, field, value))
                    seen.add(field)
        self.assertTrue(seen)


if __name__ == "__main__":
    unittest.main()
