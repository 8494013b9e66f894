"""The package's field descriptions and value texts are the command-line
tool's: a CSV report of every field has the labels of vellmeta.fields() as
its header and Metadata.text() in its cells, for people and with -n."""
import csv
import io
import subprocess
import unittest

import vellmeta

import support
from test_cli_json import CLI, SAMPLES
from test_cli_tables import FORMULA_STARTS


@unittest.skipUnless(CLI and SAMPLES, "needs the vellmeta tool and the samples")
class CliPresentationTest(unittest.TestCase):
    def test_labels_and_texts_match_the_tool(self):
        fields = vellmeta.fields()
        names = [f.name for f in fields]
        paths = SAMPLES + [support.image_path(name) for name in support.image_names()]
        compared = 0
        for numeric in (False, True):
            for show_names in (False, True):
                args = [CLI, "--csv", "-f", ",".join(names)] + (["-n"] if numeric else []) + \
                       (["-s"] if show_names else []) + paths
                out = subprocess.run(args, capture_output=True, text=True, encoding="utf-8").stdout
                rows = list(csv.reader(io.StringIO(out, newline="")))
                self.assertEqual(rows[0][1:], names if show_names else [f.label for f in fields])
                self.assertEqual(len(rows), len(paths) + 1)
                for path, row in zip(paths, rows[1:]):
                    meta = vellmeta.decode_file(path)
                    for field, cell in zip(fields, row[1:]):
                        text = meta.text(field.name, numeric=numeric)
                        if cell.startswith("'") and (text or "")[:1] in FORMULA_STARTS:
                            cell = cell[1:]  # a neutralised formula
                        self.assertEqual(cell, text or "", (path, field.name, numeric))
                        compared += text is not None
        self.assertGreater(compared, 1000)


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


if __name__ == "__main__":
    unittest.main()
