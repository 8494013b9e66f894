# SPDX-License-Identifier: Apache-2.0
"""Builds the vellmeta package for `pip install .` and `pip wheel .` (see
pyproject.toml) with the project's CMake build, which alone lists the sources
and how they are compiled: it configures a build tree for the running
interpreter with only the Python package on, builds the extension and its
type stubs (__init__.pyi, written by python/src/StubGenerator.cpp), and
copies both into the package that setuptools assembles. The release numbers
come from CMakeLists.txt's project() line, the maintainer and homepage from
the settings beside it."""
import glob
import os
import re
import shutil
import subprocess
import sys

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

ROOT = os.path.dirname(os.path.abspath(__file__))
os.chdir(ROOT)  # setuptools wants paths relative to this file

with open("CMakeLists.txt", encoding="utf-8") as cmake_lists:
    PROJECT_SETTINGS = cmake_lists.read()


def project_setting(pattern):
    """A setting the top-level CMakeLists.txt holds once for every package:
    the version, the maintainer, the homepage."""
    return re.search(pattern, PROJECT_SETTINGS).group(1)


VERSION = project_setting(r"project\(VellMetadataContainer VERSION (\d+\.\d+\.\d+)")
HOMEPAGE = project_setting(r'HOMEPAGE_URL "([^"]*)"')


class CMakeExtension(Extension):
    """An extension that the CMake target TARGET builds."""

    def __init__(self, name, target):
        super().__init__(name, sources=[])
        self.target = target


class BuildWithCMake(build_ext):
    """Configures and builds the CMake targets of the extension and of its
    stubs, then puts both into the package."""

    def build_extension(self, ext):
        build_dir = os.path.join(ROOT, self.build_temp, "cmake")
        cmake = os.environ.get("CMAKE", "cmake")
        configure = [cmake, "-S", ROOT, "-B", build_dir,
                     "-DCMAKE_BUILD_TYPE=Release",
                     "-DPython3_EXECUTABLE=" + sys.executable,
                     "-DVMC_BUILD_PYTHON=ON",
                     "-DVMC_BUILD_TESTS=OFF",
                     "-DVMC_BUILD_EXAMPLES=OFF",
                     "-DVMC_BUILD_TOOLS=OFF",
                     "-DVMC_BUILD_DOCS=OFF",
                     "-DVMC_BUILD_PRESENTATION=OFF"]
        # pybind11 from the build environment, when it carries its CMake
        # package (PyPI's does; Debian's is found in /usr/lib/cmake).
        try:
            import pybind11
            cmake_dir = pybind11.get_cmake_dir()
            if os.path.exists(os.path.join(cmake_dir, "pybind11Config.cmake")):
                configure.append("-Dpybind11_DIR=" + cmake_dir)
        except ImportError:
            pass
        subprocess.check_call(configure)
        # Two compiler processes by default (the build machines are shared).
        subprocess.check_call([cmake, "--build", build_dir, "-j", os.environ.get("VMC_JOBS", "2"),
                               "--target", ext.target, "vellmeta_stubs"])

        built = os.path.join(build_dir, "python", "package", "vellmeta")
        extensions = glob.glob(os.path.join(built, "_vellmeta*.so"))
        if len(extensions) != 1:
            raise RuntimeError("expected one extension in %s, found %s" % (built, extensions))
        destination = self.get_ext_fullpath(ext.name)
        os.makedirs(os.path.dirname(destination), exist_ok=True)
        shutil.copyfile(extensions[0], destination)
        shutil.copyfile(os.path.join(built, "__init__.pyi"),
                        os.path.join(os.path.dirname(destination), "__init__.pyi"))


# Build files go under build/, beside the CMake builds, not into the sources.
os.makedirs("build/pip", exist_ok=True)

setup(
    version=VERSION,
    maintainer=project_setting(r'set\(VMC_MAINTAINER_NAME "([^"]*)"\)'),
    maintainer_email=project_setting(r'set\(VMC_MAINTAINER_EMAIL "([^"]*)"\)'),
    url=HOMEPAGE,
    project_urls={"Homepage": HOMEPAGE},
    packages=["vellmeta"],
    package_dir={"vellmeta": "python/vellmeta"},
    package_data={"vellmeta": ["py.typed"]},
    ext_modules=[CMakeExtension("vellmeta._vellmeta", "vellmeta_extension")],
    cmdclass={"build_ext": BuildWithCMake},
    options={"build": {"build_base": "build/pip"}, "egg_info": {"egg_base": "build/pip"}},
    zip_safe=False,
)
