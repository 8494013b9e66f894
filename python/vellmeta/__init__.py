# SPDX-License-Identifier: Apache-2.0
"""Decodes the 2480-byte header of a VELLRAW (version 3) camera raw file.

    import vellmeta
    meta = vellmeta.decode_file("clip.vellraw")
    print(meta.cameraModel, meta.lensName, meta.timeCode)

Every container field is an attribute of the returned Metadata, None where the
header left it undefined; Metadata.field_names lists them in container order.
fields() describes them for people (label, unit, heading) in the order people
read them, and Metadata.text(name) gives a value as the vellmeta tool writes it.
"""
from ._vellmeta import (
    CATALOG_SCHEMA_VERSION,
    HEADER_SIZE,
    Field,
    Metadata,
    Rational,
    RecorderInfo,
    Result,
    Scan,
    TimeCode,
    Version,
    __version__,
    camera_native_chromaticities,
    catalog_columns,
    catalog_schema,
    decode,
    decode_file,
    field,
    fields,
    fingerprint,
    parse_recorder_info,
    scan,
    version,
)

__all__ = [
    "CATALOG_SCHEMA_VERSION",
    "HEADER_SIZE",
    "Field",
    "Metadata",
    "Rational",
    "RecorderInfo",
    "Result",
    "Scan",
    "TimeCode",
    "Version",
    "camera_native_chromaticities",
    "catalog_columns",
    "catalog_schema",
    "decode",
    "decode_file",
    "field",
    "fields",
    "fingerprint",
    "parse_recorder_info",
    "scan",
    "version",
]

# The classes are defined in the extension; show them where users import them.
for _cls in (Field, Metadata, Rational, RecorderInfo, Result, Scan, TimeCode, Version):
    _cls.__module__ = __name__
del _cls
