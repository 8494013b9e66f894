# SPDX-License-Identifier: Apache-2.0
"""The vellmeta API: what decode accepts and rejects, the value types, the
field descriptions, and the stubs' agreement with what attributes really
hold."""
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


class DecodeTest(unittest.TestCase):
    def setUp(self):
        self.header = support.image_bytes("baseline")

    def test_accepts_any_contiguous_buffer_and_rejects_the_rest(self):
        reference = support.comparable(vellmeta.decode(self.header))
        for data in (bytearray(self.header), memoryview(self.header), array.array("B", self.header),
                     self.header + b"trailing bytes are ignored"):
            with self.subTest(type=type(data).__name__):
                self.assertEqual(support.comparable(vellmeta.decode(data)), reference)
        for data, error in ((self.header.decode("latin-1"), TypeError), (None, TypeError),
                            (memoryview(self.header * 2)[::2], BufferError)):
            with self.subTest(type=type(data).__name__), self.assertRaises(error):
                vellmeta.decode(data)
        for size in (0, 1, 2479):
            with self.subTest(size=size), self.assertRaisesRegex(ValueError, r"2480 bytes, got %d\b" % size):
                vellmeta.decode(self.header[:size])

    def test_unknown_color_space_lists_the_valid_names(self):
        for name in ("", "ACES", "native "):
            with self.subTest(name=name):
                with self.assertRaisesRegex(ValueError, "aces, native, wide"):
                    vellmeta.decode(self.header, name)
                with self.assertRaisesRegex(ValueError, "aces, native, wide"):
                    vellmeta.decode_file("/nonexistent/file", name)

    def test_decode_file(self):
        path = support.image_path("baseline")
        reference = support.comparable(vellmeta.decode(self.header, "native"))
        for spelled in (path, pathlib.Path(path), os.fsencode(path)):
            with self.subTest(type=type(spelled).__name__):
                self.assertEqual(support.comparable(vellmeta.decode_file(spelled, "native")), reference)
        with self.assertRaises(FileNotFoundError):
            vellmeta.decode_file(os.path.join(support.image_dir(), "missing.vellraw"))
        with self.assertRaises(IsADirectoryError):
            vellmeta.decode_file(support.image_dir())
        with tempfile.NamedTemporaryFile(suffix=".vellraw") as short:
            short.write(self.header[:100])
            short.flush()
            with self.assertRaisesRegex(ValueError, r"^%s: .*got 100$" % short.name):
                vellmeta.decode_file(short.name)

    def test_result_and_equality(self):
        failed = vellmeta.decode(support.image_bytes("unwritten"))
        self.assertEqual((failed.result.is_error, failed.result.code, failed.result.message),
                         (True, 400, "Unknown camera type value in VELLRAW header; enumeration value is `4294967295'"))
        self.assertIn("failure 400", repr(failed))
        first = vellmeta.decode(support.image_bytes("texts"))
        again = vellmeta.decode(bytearray(support.image_bytes("texts")))
        self.assertTrue(first == again)
        self.assertFalse(first != again)
        self.assertNotEqual(first, vellmeta.decode(self.header))  # different camera models
        self.assertNotEqual(first, "texts")
        with self.assertRaises(TypeError):
            hash(first)


class ValueTypesTest(unittest.TestCase):
    def test_rational_equal_by_value(self):
        R = vellmeta.Rational
        cases = [(R(1, 2), R(2, 4), True), (R(30000, 1001), Fraction(30000, 1001), True), (R(25000, 1000), 25, True),
                 (R(-3, 4), -0.75, True), (R(1, 3), R(1, 2), False), (R(1, 0), float("inf"), True),
                 (R(-1, 0), float("-inf"), True), (R(1, 0), R(2, 0), True), (R(1, 0), R(-1, 0), False),
                 (R(0, 0), R(0, 0), False), (R(0, 0), R(0, 1), False)]
        for a, b, equal in cases:
            with self.subTest(a=a, b=b):
                self.assertEqual(a == b, equal)
                if equal:
                    self.assertEqual(hash(a), hash(b))

    def test_rational_conversions(self):
        r = vellmeta.Rational(24000, 1001)
        self.assertAlmostEqual(float(r), 23.976, places=3)
        self.assertEqual((str(r), repr(r)), ("24000/1001", "Rational(24000, 1001)"))
        self.assertEqual(vellmeta.Rational(7).denominator, 1)
        # The fraction search itself is the library's; these show the float reaches it.
        for value, numerator, denominator in [(23.976, 2997, 125), (float("nan"), 0, 0)]:
            with self.subTest(value=value):
                r = vellmeta.Rational(value)
                self.assertEqual((r.numerator, r.denominator), (numerator, denominator))

    def test_time_code(self):
        tc = vellmeta.TimeCode(0x23595924, 0, 0x80005DC0, 0)
        self.assertEqual((str(tc), tc.text), ("23:59:59;24", "23:59:59;24"))
        self.assertIn("23:59:59;24", repr(tc))
        words = (0x01020304, 1, 2, 3)
        tc = vellmeta.TimeCode(*words)
        self.assertEqual((tc.bcdTime, tc.word1, tc.rateAndDropFrame, tc.word3), words)
        self.assertEqual((tc, hash(tc)), (vellmeta.TimeCode(*words), hash(vellmeta.TimeCode(*words))))
        for i in range(4):  # every word counts
            self.assertNotEqual(tc, vellmeta.TimeCode(*(w + (j == i) for j, w in enumerate(words))))

    def test_helpers_and_version(self):
        info = vellmeta.parse_recorder_info("Codex Digital;A7;1.SIM2.3")
        self.assertEqual((info.manufacturer, info.model, info.identifier, info.details),
                         ("Codex Digital", "SIM2", "A7", "1.SIM2.3"))
        white = vellmeta.camera_native_chromaticities(5600, False)[3]
        self.assertAlmostEqual(white[0], 0.3127, delta=1e-4)
        with self.assertRaises(TypeError):
            vellmeta.camera_native_chromaticities(65536, False)
        v = vellmeta.version()
        self.assertEqual((v.major, v.minor, v.patch, v.build, str(v)), (1, 0, 0, "1", "1.0.0b1 79886 Vostrabeck "))
        self.assertEqual(vellmeta.__version__, "1.0.0")


class FieldsTest(unittest.TestCase):
    def test_descriptions(self):
        fields = vellmeta.fields()
        self.assertEqual(sorted(f.name for f in fields), sorted(vellmeta.Metadata.field_names))
        self.assertEqual(len({f.label for f in fields}), len(fields))
        focal = vellmeta.field("lensFocalLength")
        self.assertEqual((focal.unit, focal.kind), ("mm", "shown"))
        self.assertIn(focal, fields)
        self.assertEqual(vellmeta.field("spareWord").kind, "spare")
        # Headings come in runs, in the order people read them.
        headings = [f.heading for f in fields]
        self.assertEqual(len({h for i, h in enumerate(headings) if i == 0 or headings[i - 1] != h}),
                         len(set(headings)))
        with self.assertRaises(KeyError):
            vellmeta.field("noSuchField")
        meta = vellmeta.decode(bytes([0xFF]) * vellmeta.HEADER_SIZE)
        self.assertIsNone(meta.text("lensFocalLength"))
        with self.assertRaises(KeyError):
            meta.text("noSuchField")

    def test_value_decoded_from_an_unwritten_word(self):
        # The older camera leaves its focal-length word all ones, which
        # decoding does not test: people read it as not set, the attribute
        # and the numeric text keep what decoding made of it.
        path = next(p for p in support.sample_paths() if p.endswith("k40-older-camera.vellraw"))
        meta = vellmeta.decode_file(path)
        self.assertEqual(meta.lensFocalLength, 4294967.5)
        self.assertEqual(meta.text("lensFocalLength"), "not set by the camera")
        self.assertEqual(meta.text("lensFocalLength", numeric=True), "4294967.5")
        self.assertFalse(meta.set_by_camera("lensFocalLength"))
        self.assertTrue(meta.set_by_camera("cameraModel"))
        self.assertFalse(meta.set_by_camera("lensFocusDistance"), "undefined")


def stub_fields():
    """The Metadata field annotations that the generated stubs declare."""
    with open(os.path.join(os.path.dirname(vellmeta.__file__), "__init__.pyi")) as f:
        tree = ast.parse(f.read())
    metadata = next(n for n in tree.body if isinstance(n, ast.ClassDef) and n.name == "Metadata")
    return {n.target.id: ast.unparse(n.annotation) for n in metadata.body
            if isinstance(n, ast.AnnAssign) and n.target.id not in ("field_names", "result", "path")}


def conforms(value, annotation):
    origin, args = typing.get_origin(annotation), typing.get_args(annotation)
    if origin is typing.Union:
        return any(conforms(value, arm) for arm in args)
    if origin is tuple:
        return isinstance(value, tuple) and len(value) == len(args) and all(map(conforms, value, args))
    if annotation is type(None):
        return value is None
    return isinstance(value, annotation) and not (annotation is int and isinstance(value, bool))


class StubTest(unittest.TestCase):
    def test_stubs_declare_every_field_in_order_with_its_type(self):
        self.assertEqual(list(stub_fields()), list(vellmeta.Metadata.field_names))
        self.assertEqual(len(vellmeta.Metadata.field_names), 203)
        names = {"Optional": typing.Optional, "Tuple": typing.Tuple,
                 "Rational": vellmeta.Rational, "TimeCode": vellmeta.TimeCode}
        annotations = {field: eval(text, names) for field, text in stub_fields().items()}
        for image in support.image_names():
            for color_space in support.COLOR_SPACES:
                meta = vellmeta.decode_file(support.image_path(image), color_space)
                for field, value in meta.to_dict(defined_only=True).items():
                    self.assertTrue(conforms(value, annotations[field]), (image, field, value))


if __name__ == "__main__":
    unittest.main()
