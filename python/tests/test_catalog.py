# SPDX-License-Identifier: Apache-2.0
"""The catalog from Python: scan() reads what the tool's walk reads, in its
order, and the Dask example builds the same clips table as `vellmeta
--catalog`, column by column."""
import os
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import unittest

import vellmeta

import support
from support import CLI, run

EXAMPLE = os.path.join(os.path.dirname(__file__), "..", "..", "examples", "dask_catalog.py")


def clips(catalog):
    """Every row of a catalog's clips table, but when it was scanned and seen."""
    with sqlite3.connect(catalog) as db:
        cursor = db.execute("SELECT * FROM clips ORDER BY path")
        names = [d[0] for d in cursor.description]
        keep = [i for i, n in enumerate(names) if n not in ("scanned_ns", "last_seen_ns")]
        return [tuple(row[i] for i in keep) for row in cursor]


@unittest.skipUnless(CLI, "the vellmeta tool is not built")
class ScanTest(unittest.TestCase):
    def test_scan_reads_what_the_walk_reads_in_its_order(self):
        folder = os.environ["VELLMETA_SAMPLES"]
        expected = [line.split('"path":"')[1].split('"')[0]
                    for line in run("--json-lines", "-r", folder, "-j", "1").stdout.splitlines()]
        for jobs in (1, 4):
            scan = vellmeta.scan(folder, jobs=jobs)
            found = list(scan)
            self.assertEqual([m.path for m in found], expected)
            self.assertEqual(scan.problems, [])
        self.assertEqual(found[0], vellmeta.decode_file(expected[0]))
        scan = vellmeta.scan([folder, os.path.join(folder, "no-such-clip.vellraw")], recursive=False)
        self.assertEqual(list(scan), [])
        self.assertEqual([message for _, message in scan.problems],
                         ["is a directory, not a VELLRAW file", "cannot open: No such file or directory"])
        first = next(iter(vellmeta.scan(folder, jobs=2)))  # a scan left early stops its threads
        self.assertEqual(first.path, expected[0])


@unittest.skipUnless(CLI, "the vellmeta tool is not built")
class DaskCatalogTest(unittest.TestCase):
    def test_dask_rows_equal_the_tools_catalog(self):
        work = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, work)
        card = os.path.join(work, "card")
        os.makedirs(card)
        images = support.sample_paths() + [support.image_path(name) for name in support.image_names()]
        for i, path in enumerate(images):
            shutil.copy(path, os.path.join(card, "clip%03d.vellraw" % i))
        cli = os.path.join(work, "cli.db")
        result = run("--catalog", cli, "-r", card)
        self.assertIn(result.returncode, (0, 1), result.stderr)
        paths = os.path.join(work, "paths.txt")
        with open(paths, "w", encoding="utf-8") as f:
            f.writelines(os.path.join(card, name) + "\n" for name in sorted(os.listdir(card)))
        dask = os.path.join(work, "dask.db")
        subprocess.run([sys.executable, EXAMPLE, paths, dask, "2"], check=True, capture_output=True,
                       env=dict(os.environ, PYTHONPATH=os.pathsep.join(sys.path)))
        expected, got = clips(cli), clips(dask)
        self.assertGreater(len(expected), 10)
        self.assertEqual(len(got), len(expected))
        for mine, theirs in zip(got, expected):
            self.assertEqual(mine, theirs)


if __name__ == "__main__":
    unittest.main()
