"""Decoding from Python agrees field by field with the C++ container."""
import unittest

import vellmeta

import support


class AgreementTest(unittest.TestCase):
    def assert_agrees(self, path, color_space):
        """Returns how many texts needed replacement characters."""
        (is_error, code, message), expected = support.reference(path, color_space)
        meta = vellmeta.decode_file(path, color_space)
        self.assertEqual((meta.result.is_error, meta.result.code, meta.result.message),
                         (is_error, code, message))
        self.assertEqual(list(expected), list(meta.field_names))
        replaced = 0
        for name, want in expected.items():
            got = getattr(meta, name)
            if want.startswith("t:"):
                raw = bytes.fromhex(want[2:])
                self.assertEqual(got, raw.decode("utf-8", "replace"), name)
                replaced += "\ufffd" in got
            else:
                self.assertEqual(support.token(got), want, name)
        return replaced

    def test_composed_headers_in_every_color_space(self):
        replaced = 0
        for name in support.image_names():
            for color_space in support.COLOR_SPACES:
                with self.subTest(image=name, color_space=color_space):
                    replaced += self.assert_agrees(support.image_path(name), color_space)
        # The composed texts include bytes that are not UTF-8.
        self.assertGreater(replaced, 0)

    def test_to_dict_holds_the_attributes_in_container_order(self):
        for name in ("texts", "random2", "unwritten"):
            meta = vellmeta.decode(support.image_bytes(name), "wide")
            fields = meta.to_dict()
            self.assertEqual(list(fields), list(meta.field_names))
            for field, value in fields.items():
                self.assertTrue(support.same_value(value, getattr(meta, field)), field)
            defined = meta.to_dict(defined_only=True)
            self.assertEqual(list(defined), [f for f, v in fields.items() if v is not None])


if __name__ == "__main__":
    unittest.main()
