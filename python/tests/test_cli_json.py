# SPDX-License-Identifier: Apache-2.0
"""The command-line tool's JSON and the Python values say the same about the
sample clips and the composed headers, in every colour space."""
import json
import os
import unittest

import vellmeta

import support


@unittest.skipUnless(support.CLI and support.sample_paths(), "needs the vellmeta tool and the samples")
class CliJsonTest(unittest.TestCase):
    def test_tool_and_module_agree(self):
        paths = support.sample_paths() + [support.image_path(name) for name in support.image_names()]
        replaced = 0
        for color_space in support.COLOR_SPACES:
            out = support.run("--json", "--all", "--color-space", color_space, *paths).stdout
            # The tool writes the shortest decimal of each 32-bit float.
            documents = json.loads(out, parse_float=support.f32)
            self.assertEqual(len(documents), len(paths))
            for path, document in zip(paths, documents):
                with self.subTest(path=os.path.basename(path), color_space=color_space):
                    meta = vellmeta.decode_file(path, color_space)
                    self.assertEqual(document["path"], path)
                    self.assertEqual(document["result"], {"isError": meta.result.is_error,
                                                          "code": meta.result.code,
                                                          "message": meta.result.message})
                    expected = support.comparable(meta)
                    self.assertEqual(list(document["fields"]), list(meta.field_names))
                    self.assertEqual(document["fields"], expected)
                    # The attributes hold what to_dict holds.
                    self.assertEqual({name: support.as_json(getattr(meta, name)) for name in meta.field_names},
                                     expected)
                    self.assertEqual(list(meta.to_dict(defined_only=True)),
                                     [name for name, value in expected.items() if value is not None])
                    replaced += sum("\ufffd" in v for v in expected.values() if isinstance(v, str))
        # The composed texts include bytes that are not UTF-8.
        self.assertGreater(replaced, 0)


if __name__ == "__main__":
    unittest.main()
