# SPDX-License-Identifier: Apache-2.0
"""No references or heap texts leak: memory stays flat over 100,000 decodes."""
import gc
import os
import tracemalloc
import unittest

import vellmeta

import support


def resident_kib():
    with open("/proc/self/statm") as f:
        return int(f.read().split()[1]) * os.sysconf("SC_PAGE_SIZE") // 1024


class MemoryTest(unittest.TestCase):
    @unittest.skipUnless(os.path.exists("/proc/self/statm"), "needs /proc")
    def test_decoding_reading_and_converting(self):
        headers = [support.image_bytes(name) for name in ("texts", "unwritten", "timecodes", "random2")]

        def work():
            for header in headers:
                meta = vellmeta.decode(header, "aces")
                meta.cameraModel, meta.groupName1, meta.timeCode, meta.sensorFrameRate, meta.result.message
            meta.to_dict()

        for _ in range(1000):
            work()
        gc.collect()
        tracemalloc.start()
        try:
            traced_before, rss_before = tracemalloc.get_traced_memory()[0], resident_kib()
            for _ in range(25000):  # 100,000 decodes
                work()
            gc.collect()
            traced = tracemalloc.get_traced_memory()[0] - traced_before
        finally:
            tracemalloc.stop()
        self.assertLess(resident_kib() - rss_before, 1024)
        self.assertLess(traced, 64 * 1024)


if __name__ == "__main__":
    unittest.main()
