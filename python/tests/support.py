# SPDX-License-Identifier: Apache-2.0
"""Shared pieces of the vellmeta tests: the command-line tool, the composed
header images, and field values in the tool's JSON conventions, which
compare exactly."""
import atexit
import functools
import glob
import math
import os
import shutil
import struct
import subprocess
import tempfile

import vellmeta

COLOR_SPACES = ("aces", "native", "wide")
CLI = os.environ.get("VELLMETA_CLI", "")


def run(*args):
    """Runs the command-line tool; its output as text."""
    return subprocess.run([CLI, *args], capture_output=True, text=True, encoding="utf-8")


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


@functools.lru_cache(maxsize=None)
def interchange_paths(count):
    """Writes `count` headers whose camera, lens, frame-rate and time-code
    fields hold values in and out of range; returns their paths."""
    directory = tempfile.mkdtemp(prefix="vellmeta-interchange-")
    atexit.register(shutil.rmtree, directory, ignore_errors=True)
    subprocess.run([os.environ["VELLMETA_HEADERS"], "--interchange", str(count), directory], check=True)
    return sorted(glob.glob(os.path.join(directory, "*.vellraw")))


def sample_paths():
    """The committed samples, failures included."""
    return sorted(glob.glob(os.path.join(os.environ.get("VELLMETA_SAMPLES", ""), "**", "*.vellraw"), recursive=True))


def all_header_paths(interchange_count):
    """Samples, fuzz corpus, the composed images and interchange headers."""
    corpus = os.path.join(os.environ.get("VELLMETA_SAMPLES", ""), os.pardir, "fuzz", "corpus")
    return (sample_paths() + sorted(glob.glob(os.path.join(corpus, "*")))
            + [image_path(name) for name in image_names()] + list(interchange_paths(interchange_count)))


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
