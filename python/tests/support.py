"""Shared pieces of the vellmeta tests: the composed header images, and field
values in the command-line tool's JSON conventions, which compare exactly."""
import atexit
import functools
import math
import os
import shutil
import struct
import subprocess
import tempfile

import vellmeta

COLOR_SPACES = ("aces", "native", "wide")


@functools.lru_cache(maxsize=None)
def image_dir():
    """Writes the composed header images once per test process."""
    directory = tempfile.mkdtemp(prefix="vellmeta-images-")
    atexit.register(shutil.rmtree, directory, ignore_errors=True)
    subprocess.run([os.environ["VELLMETA_HEADERS"], directory], check=True)
    return directory


def image_path(name):
    return os.path.join(image_dir(), name + ".vellraw")


def image_bytes(name):
    with open(image_path(name), "rb") as f:
        return f.read()


def image_names():
    return sorted(n[: -len(".vellraw")] for n in os.listdir(image_dir()))


def f32(number):
    """A number as the 32-bit float it stands for."""
    return struct.unpack("<f", struct.pack("<f", float(number)))[0]


def as_json(value):
    """A Python field value in the tool's JSON conventions, floats as f32."""
    if isinstance(value, float):
        if math.isnan(value):
            return "NaN"
        return f32(value) if math.isfinite(value) else ("Infinity" if value > 0 else "-Infinity")
    if isinstance(value, tuple):
        return [as_json(part) for part in value]
    if isinstance(value, vellmeta.Rational):
        return {"numerator": value.numerator, "denominator": value.denominator}
    if isinstance(value, vellmeta.TimeCode):
        return {"text": str(value), "bcdTime": value.bcdTime, "word1": value.word1,
                "rateAndDropFrame": value.rateAndDropFrame, "word3": value.word3}
    return value


def comparable(meta):
    """A Metadata's fields in a form that compares by value, NaN included."""
    return {name: as_json(value) for name, value in meta.to_dict().items()}
