# SPDX-License-Identifier: Apache-2.0
"""Builds the vellmeta catalog's clips table on a Dask cluster: each worker
decodes its share of the clips with the vellmeta package, and the rows, with
the columns `vellmeta --catalog` writes, go into a SQLite catalog of the same
schema. For archives one machine cannot scan in time; on one machine, a
LocalCluster of two workers shows how.

    python3 examples/dask_catalog.py PATHS.txt CATALOG.db [WORKERS]

PATHS.txt holds one clip path a line (for a whole card, the paths that
`vellmeta --json-lines -r CARD` lists).
"""
import os
import sqlite3
import sys
import time

import dask.bag
from dask.distributed import Client, LocalCluster

import vellmeta

COLOR_SPACE = "native"


def row(path):
    """The catalog row of one clip, or None for a file that holds no header."""
    with open(path, "rb") as f:
        header = f.read(vellmeta.HEADER_SIZE)
    if len(header) < vellmeta.HEADER_SIZE:
        return None
    facts = os.stat(path)
    meta = vellmeta.decode(header, COLOR_SPACE)
    now = time.time_ns()
    result = meta.result
    return (path, facts.st_dev, facts.st_ino, facts.st_size, facts.st_mtime_ns, vellmeta.fingerprint(header),
            now, COLOR_SPACE, int(result.is_error), result.code, result.message, 0, now) + meta.catalog_values()


def main(paths_file, catalog, workers=2):
    with open(paths_file, encoding="utf-8") as f:
        paths = [os.path.abspath(line.rstrip("\n")) for line in f if line.strip()]
    with LocalCluster(n_workers=workers, threads_per_worker=1, processes=True) as cluster, Client(cluster):
        rows = [r for r in dask.bag.from_sequence(paths, npartitions=max(1, 4 * workers)).map(row).compute() if r]
    columns = [name for name, _ in vellmeta.catalog_columns()]
    with sqlite3.connect(catalog) as db:
        db.executescript(vellmeta.catalog_schema())
        db.execute("INSERT INTO catalog (key, value) VALUES ('schema_version', ?)",
                   (str(vellmeta.CATALOG_SCHEMA_VERSION),))
        db.executemany("INSERT OR REPLACE INTO clips (%s) VALUES (%s)"
                       % (", ".join('"%s"' % c for c in columns), ", ".join("?" * len(columns))), rows)
    print("%d clips catalogued by %d workers" % (len(rows), workers))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], *(int(a) for a in sys.argv[3:4]))
