"""The command-line tool's clip reports read back with Python's csv module:
one row per clip whatever the header texts hold, values equal to the JSON
view's, no cell a spreadsheet would run as a formula."""
import csv
import io
import json
import os
import subprocess
import unittest

import support
from test_cli_json import CLI, SAMPLES

FORMULA_STARTS = ("=", "+", "-", "@", "\t", "\r")


def run(*args):
    return subprocess.run([CLI, *args], capture_output=True, text=True, encoding="utf-8")


@unittest.skipUnless(CLI and SAMPLES, "needs the vellmeta tool and the samples")
class CliTablesTest(unittest.TestCase):
    def setUp(self):
        # The samples, the composed headers and the fuzzer's seed corpus (the
        # inputs long enough to hold a header).
        corpus = os.path.join(os.environ.get("VELLMETA_SAMPLES", ""), os.pardir, "fuzz", "corpus")
        fuzzed = sorted(os.path.join(corpus, name) for name in os.listdir(corpus)
                        if os.path.getsize(os.path.join(corpus, name)) >= 2480)
        self.paths = SAMPLES + [support.image_path(name) for name in support.image_names()] + fuzzed

    def test_rows_and_columns_in_both_separators(self):
        for flag, dialect in (("--csv", csv.excel), ("--tsv", csv.excel_tab)):
            for extra in ((), ("-n",), ("--all", "-g", "texts")):
                with self.subTest(flag=flag, extra=extra):
                    out = run(flag, *extra, *self.paths).stdout
                    rows = list(csv.reader(io.StringIO(out, newline=""), dialect))
                    self.assertEqual(len(rows), len(self.paths) + 1)
                    self.assertEqual(len(out.splitlines()), len(self.paths) + 1, "one line per row")
                    self.assertEqual({len(row) for row in rows}, {len(rows[0])})
                    self.assertEqual([row[0] for row in rows[1:]], self.paths)

    def test_numeric_cells_equal_the_json_view(self):
        """With -n, every chosen number and plain text reads as the JSON value."""
        fields = ["cameraModel", "lensName", "longUserText", "exposureTime", "exposureIndex",
                  "whiteBalanceCct", "whiteBalanceTint", "lensFocalLength", "switch1", "productionTextA"]
        out = run("--csv", "-n", "-s", "-f", ",".join(fields), *self.paths).stdout
        rows = list(csv.DictReader(io.StringIO(out, newline="")))
        documents = json.loads(run("--json", "-f", ",".join(fields), *self.paths).stdout,
                               parse_float=support.f32)
        compared = 0
        for row, document in zip(rows, documents):
            for name in fields:
                cell = row[name]
                if name not in document["fields"]:
                    self.assertEqual(cell, "")
                    continue
                value = document["fields"][name]
                if isinstance(value, str) and cell.startswith("'") and value[:1] in FORMULA_STARTS:
                    cell = cell[1:]  # neutralised formula
                if isinstance(value, bool):
                    self.assertEqual(cell, "yes" if value else "no")
                elif isinstance(value, float):
                    self.assertEqual(support.f32(cell), value)
                elif isinstance(value, str) and value.isprintable():
                    self.assertEqual(cell, value)
                elif isinstance(value, int):
                    self.assertEqual(int(cell), value)
                compared += 1
        self.assertGreater(compared, 50)

    def test_formulas_are_neutralised(self):
        hostile = support.image_path("hostile")
        for flag, dialect in (("--csv", csv.excel), ("--tsv", csv.excel_tab)):
            out = run(flag, "--all", hostile).stdout
            rows = list(csv.reader(io.StringIO(out, newline=""), dialect))
            cells = [cell for cell in rows[1] if cell]
            self.assertTrue(any("HYPERLINK" in cell for cell in cells))
            for cell in cells:
                self.assertFalse(cell.startswith(FORMULA_STARTS) and not cell[1:2].isdigit(), (flag, cell))


if __name__ == "__main__":
    unittest.main()
