# SPDX-License-Identifier: Apache-2.0
"""vellmeta --json-schema: a valid JSON Schema (2020-12) naming every field,
which the JSON view of the samples, the fuzz corpus and a few thousand
composed headers meets, and which rejects values of the wrong type."""
import copy
import json
import os
import unittest

import jsonschema

import vellmeta

import support
from support import CLI, run


@unittest.skipUnless(CLI and support.sample_paths(), "needs the vellmeta tool and the samples")
class JsonSchemaTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.text = run("--json-schema").stdout
        cls.schema = json.loads(cls.text)
        cls.validator = jsonschema.Draft202012Validator(cls.schema)

    def test_schema_names_every_field(self):
        jsonschema.Draft202012Validator.check_schema(self.schema)
        fields = self.schema["$defs"]["fields"]["properties"]
        self.assertEqual(list(fields), list(vellmeta.decode(support.image_bytes("full")).field_names))
        self.assertEqual(fields["lensFocalLength"]["title"], "Focal length")
        self.assertEqual(fields["lensFocalLength"]["description"],
                         "Lens and location, in mm; 4294967.5 where the camera left the header word unwritten")
        # The file installed beside the tool is the same schema.
        with open(os.path.join(os.path.dirname(CLI), "vellmeta.schema.json")) as f:
            self.assertEqual(f.read(), self.text)

    def test_json_view_meets_the_schema(self):
        # With --all every field is there, null where undefined; without it,
        # a subset of the same members.
        for args, paths in ((["--all"], support.all_header_paths(2000)), ([], support.sample_paths())):
            out = run("--json", *args, *paths).stdout
            documents = json.loads(out)
            self.assertEqual(len(documents), len(paths))
            errors = [f"{list(e.absolute_path)}: {e.message}" for e in self.validator.iter_errors(documents)]
            self.assertEqual(errors[:5], [])

    def test_wrong_values_rejected(self):
        document = json.loads(run("--json", "--all", support.image_path("full")).stdout)
        for name, value in [("whiteBalanceCct", -1), ("whiteBalanceCct", 2**32), ("exposureTime", "1/48"),
                            ("exposureTime", "nan"), ("whitePoint", [0.3]), ("whitePoint", [0.3, 0.3, 0.3]),
                            ("sensorFrameRate", {"numerator": 24}), ("timeCode", "01:02:03:04"),
                            ("cameraModel", 40), ("switch1", 1), ("noSuchField", 1)]:
            with self.subTest(name=name, value=value):
                wrong = copy.deepcopy(document)
                wrong[0]["fields"][name] = value
                self.assertFalse(self.validator.is_valid(wrong))


if __name__ == "__main__":
    unittest.main()
