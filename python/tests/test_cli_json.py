"""The command-line tool's JSON and the Python values say the same about the
sample clips and the composed headers, in every colour space."""
import glob
import json
import math
import os
import struct
import subprocess
import unittest

import vellmeta

import support

CLI = os.environ.get("VELLMETA_CLI", "")
SAMPLES = sorted(glob.glob(os.path.join(os.environ.get("VELLMETA_SAMPLES", ""), "*.vellraw")))


def f32(number):
    """A number as the 32-bit float it stands for."""
    return struct.unpack("<f", struct.pack("<f", float(number)))[0]


def as_json(value):
    """A Python field value in the tool's JSON conventions, floats as f32."""
    if isinstance(value, float):
        if math.isnan(value):
            return "NaN"
        if math.isinf(value):
            return "Infinity" if value > 0 else "-Infinity"
        return f32(value)
    if isinstance(value, tuple):
        return [as_json(part) for part in value]
    if isinstance(value, vellmeta.Rational):
        return {"numerator": value.numerator, "denominator": value.denominator}
    if isinstance(value, vellmeta.TimeCode):
        return {"text": str(value), "bcdTime": value.bcdTime, "word1": value.word1,
                "rateAndDropFrame": value.rateAndDropFrame, "word3": value.word3}
    return value


@unittest.skipUnless(CLI and SAMPLES, "needs the vellmeta tool and the samples")
class CliJsonTest(unittest.TestCase):
    def test_tool_and_module_agree(self):
        paths = SAMPLES + [support.image_path(name) for name in support.image_names()]
        for color_space in support.COLOR_SPACES:
            out = subprocess.run([CLI, "--json", "--all", "--color-space", color_space, *paths],
                                 capture_output=True, text=True).stdout
            # The tool writes the shortest decimal of each 32-bit float.
            documents = json.loads(out, parse_float=f32)
            self.assertEqual(len(documents), len(paths))
            for path, document in zip(paths, documents):
                with self.subTest(path=os.path.basename(path), color_space=color_space):
                    meta = vellmeta.decode_file(path, color_space)
                    self.assertEqual(document["result"], {"isError": meta.result.is_error,
                                                          "code": meta.result.code,
                                                          "message": meta.result.message})
                    expected = {name: as_json(value) for name, value in meta.to_dict().items()}
                    self.assertEqual(list(document["fields"]), list(expected))
                    for name, value in expected.items():
                        self.assertEqual(document["fields"][name], value, name)


if __name__ == "__main__":
    unittest.main()
