# SPDX-License-Identifier: Apache-2.0
"""The command-line tool's clip reports read back with Python's csv module:
one row per clip whatever the header texts hold, the labels of
vellmeta.fields() (or the names, with -s) as the header and Metadata.text()
in the cells, for people and with -n, and no cell a spreadsheet would run as
a formula."""
import csv
import io
import os
import unittest

import vellmeta

import support
from support import run

FORMULA_STARTS = ("=", "+", "-", "@", "\t", "\r")


def rows(out, dialect=csv.excel):
    return list(csv.reader(io.StringIO(out, newline=""), dialect))


@unittest.skipUnless(support.CLI and support.sample_paths(), "needs the vellmeta tool and the samples")
class CliTablesTest(unittest.TestCase):
    def setUp(self):
        # The samples, the composed headers and the fuzzer's seed corpus (the
        # inputs long enough to hold a header).
        corpus = os.path.join(os.environ.get("VELLMETA_SAMPLES", ""), os.pardir, "fuzz", "corpus")
        fuzzed = sorted(os.path.join(corpus, name) for name in os.listdir(corpus)
                        if os.path.getsize(os.path.join(corpus, name)) >= 2480)
        self.paths = support.sample_paths() + [support.image_path(name) for name in support.image_names()] + fuzzed

    def test_rows_and_columns_in_both_separators(self):
        for flag, dialect in (("--csv", csv.excel), ("--tsv", csv.excel_tab)):
            for extra in ((), ("-n",), ("--all", "-g", "texts")):
                with self.subTest(flag=flag, extra=extra):
                    out = run(flag, *extra, *self.paths).stdout
                    table = rows(out, dialect)
                    self.assertEqual(len(table), len(self.paths) + 1)
                    self.assertEqual(len(out.splitlines()), len(self.paths) + 1, "one line per row")
                    self.assertEqual({len(row) for row in table}, {len(table[0])})
                    self.assertEqual([row[0] for row in table[1:]], self.paths)

    def test_labels_and_texts_match_the_module(self):
        fields = vellmeta.fields()
        names = [f.name for f in fields]
        compared = 0
        for numeric in (False, True):
            for show_names in (False, True):
                options = ["-n"] * numeric + ["-s"] * show_names
                table = rows(run("--csv", "-f", ",".join(names), *options, *self.paths).stdout)
                self.assertEqual(table[0][1:], names if show_names else [f.label for f in fields])
                self.assertEqual(len(table), len(self.paths) + 1)
                for path, row in zip(self.paths, table[1:]):
                    meta = vellmeta.decode_file(path)
                    for field, cell in zip(fields, row[1:]):
                        text = meta.text(field.name, numeric=numeric)
                        if cell.startswith("'") and (text or "")[:1] in FORMULA_STARTS:
                            cell = cell[1:]  # a neutralised formula
                        self.assertEqual(cell, text or "", (path, field.name, numeric))
                        compared += text is not None
        self.assertGreater(compared, 1000)

    def test_formulas_are_neutralised(self):
        hostile = support.image_path("hostile")
        for flag, dialect in (("--csv", csv.excel), ("--tsv", csv.excel_tab)):
            cells = [cell for cell in rows(run(flag, "--all", hostile).stdout, dialect)[1] if cell]
            self.assertTrue(any("HYPERLINK" in cell for cell in cells))
            for cell in cells:
                self.assertFalse(cell.startswith(FORMULA_STARTS) and not cell[1:2].isdigit(), (flag, cell))


if __name__ == "__main__":
    unittest.main()
