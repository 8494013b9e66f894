"""Builds the vellmeta extension for `pip install .` (see pyproject.toml): the
bindings in python/src and every library source under src/, compiled with the
flags the CMake build gives the library. The release numbers come from
CMakeLists.txt; the type stubs are the checked-in python/vellmeta/__init__.pyi,
which a CTest test keeps equal to what the stub generator writes."""
import glob
import os
import re

from pybind11.setup_helpers import ParallelCompile, Pybind11Extension, build_ext
from setuptools import setup

ROOT = os.path.dirname(os.path.abspath(__file__))
os.chdir(ROOT)  # setuptools wants source paths relative to this file

with open("CMakeLists.txt", encoding="utf-8") as cmake_lists:
    major, minor, patch = re.search(r"project\(VellMetadataContainer VERSION (\d+)\.(\d+)\.(\d+)",
                                    cmake_lists.read()).groups()

# Two compiler processes by default (the build machines are shared).
ParallelCompile("VMC_JOBS", default=2).install()

extension = Pybind11Extension(
    "vellmeta._vellmeta",
    sorted(glob.glob("src/*/*.cpp")) + ["python/src/Module.cpp"],
    include_dirs=["include", "src"],
    define_macros=[
        ("VMC_VERSION_MAJOR", '"%s"' % major),
        ("VMC_VERSION_MINOR", '"%s"' % minor),
        ("VMC_VERSION_PATCH", '"%s"' % patch),
        ("VMC_BUILD_TAG", '"1"'),
    ],
    # The colour arithmetic promises where every sum is rounded.
    extra_compile_args=["-ffp-contract=off"],
    cxx_std=17,
)

# Build files go under build/, beside the CMake builds, not into the sources.
os.makedirs("build/pip", exist_ok=True)

setup(
    version="%s.%s.%s" % (major, minor, patch),
    packages=["vellmeta"],
    package_dir={"vellmeta": "python/vellmeta"},
    package_data={"vellmeta": ["__init__.pyi", "py.typed"]},
    ext_modules=[extension],
    cmdclass={"build_ext": build_ext},
    options={"build": {"build_base": "build/pip"}, "egg_info": {"egg_base": "build/pip"}},
    zip_safe=False,
)
