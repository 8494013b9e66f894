"""Shared pieces of the vellmeta tests: composed header images and the C++
container's own values for them, from the vellmeta_reference program."""
import functools
import os
import struct
import subprocess
import tempfile

import vellmeta

REFERENCE = os.environ.get("VELLMETA_REFERENCE", "")
COLOR_SPACES = {"aces": 0, "native": 1, "wide": 2}


@functools.lru_cache(maxsize=None)
def image_dir():
    """Writes the composed header images once per test process."""
    directory = tempfile.mkdtemp(prefix="vellmeta-images-")
    subprocess.run([REFERENCE, "write", directory], check=True)
    return directory


def image_path(name):
    return os.path.join(image_dir(), name + ".vellraw")


def image_bytes(name):
    with open(image_path(name), "rb") as f:
        return f.read()


def image_names():
    return sorted(n[: -len(".vellraw")] for n in os.listdir(image_dir()))


def reference(path, color_space):
    """The C++ container's result and fields: ((is_error, code, message), {name: token})."""
    out = subprocess.run([REFERENCE, "dump", path, str(COLOR_SPACES[color_space])],
                         check=True, capture_output=True, text=True).stdout
    lines = [line.split("\t") for line in out.splitlines()]
    _, is_error, code, message = lines[0]
    result = (is_error == "1", int(code), bytes.fromhex(message).decode("utf-8"))
    return result, {name: token for name, token in lines[1:]}


def token(value):
    """A Python field value in the reference program's notation (texts apart)."""
    if value is None:
        return "-"
    if isinstance(value, bool):
        return "1" if value else "0"
    if isinstance(value, int):
        return str(value)
    if isinstance(value, float):
        return "f:%08x" % struct.unpack("<I", struct.pack("<f", value))[0]
    if isinstance(value, tuple):
        return " ".join(token(part) for part in value)
    if isinstance(value, vellmeta.Rational):
        return "%d/%d" % (value.numerator, value.denominator)
    if isinstance(value, vellmeta.TimeCode):
        return "%08x %08x %08x %08x %s" % (value.bcdTime, value.word1, value.rateAndDropFrame,
                                           value.word3, value)
    raise TypeError("no token for %r" % (value,))


def same_value(a, b):
    """Equal as field values: texts by content, everything else by token."""
    if isinstance(a, str) or isinstance(b, str):
        return a == b
    return type(a) is type(b) and token(a) == token(b)


def comparable(meta):
    """A Metadata's fields in a form that compares by bits, NaN included."""
    return {name: value if isinstance(value, str) else token(value)
            for name, value in meta.to_dict().items()}
