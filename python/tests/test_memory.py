"""No references or heap texts leak: memory stays flat over 100,000 decodes."""
import gc
import os
import tracemalloc
import unittest

import vellmeta

import support


def resident_kib():
    with open("/proc/self/statm") as f:
        pages = int(f.read().split()[1])
    return pages * os.sysconf("SC_PAGE_SIZE") // 1024


class MemoryTest(unittest.TestCase):
    def run_and_measure(self, work, warmup, rounds):
        """Growth of resident memory (KiB) and of traced Python memory (bytes)."""
        for _ in range(warmup):
            work()
        gc.collect()
        tracemalloc.start()
        try:
            traced_before = tracemalloc.get_traced_memory()[0]
            rss_before = resident_kib()
            for _ in range(rounds):
                work()
            gc.collect()
            traced_after = tracemalloc.get_traced_memory()[0]
        finally:
            tracemalloc.stop()
        return resident_kib() - rss_before, traced_after - traced_before

    @unittest.skipUnless(os.path.exists("/proc/self/statm"), "needs /proc")
    def test_decoding_and_reading_fields(self):
        headers = [support.image_bytes(name) for name in ("texts", "unwritten", "timecodes")]

        def decode_and_read():
            for header in headers:
                meta = vellmeta.decode(header, "aces")
                meta.cameraModel, meta.groupName1, meta.timeCode, meta.sensorFrameRate
                meta.chromaticities, meta.result.message

        rss, traced = self.run_and_measure(decode_and_read, warmup=2000, rounds=34000)  # 102,000 decodes
        self.assertLess(rss, 1024)
        self.assertLess(traced, 64 * 1024)

    @unittest.skipUnless(os.path.exists("/proc/self/statm"), "needs /proc")
    def test_converting_every_field(self):
        header = support.image_bytes("random2")

        def convert_all():
            vellmeta.decode(header).to_dict()

        rss, traced = self.run_and_measure(convert_all, warmup=500, rounds=10000)
        self.assertLess(rss, 1024)
        self.assertLess(traced, 64 * 1024)


if __name__ == "__main__":
    unittest.main()
