# SPDX-License-Identifier: Apache-2.0
"""Builds the vellmeta extension for `pip install .` (see pyproject.toml): the
bindings in python/src and the sources of both libraries (the decoder under
src/, the presentation library under presentation/src, with {fmt} used
header-only), compiled with the flags the CMake build gives them. The release numbers come from
CMakeLists.txt. The type stubs (__init__.pyi) are written, as in the CMake
build, by python/src/StubGenerator.cpp, linked with the library objects
compiled for the extension."""
import glob
import os
import re
import subprocess

from pybind11.setup_helpers import ParallelCompile, Pybind11Extension, build_ext
from setuptools import setup

ROOT = os.path.dirname(os.path.abspath(__file__))
os.chdir(ROOT)  # setuptools wants source paths relative to this file

with open("CMakeLists.txt", encoding="utf-8") as cmake_lists:
    project_settings = cmake_lists.read()
major, minor, patch = re.search(r"project\(VellMetadataContainer VERSION (\d+)\.(\d+)\.(\d+)",
                                project_settings).groups()


def project_setting(pattern):
    """A setting the top-level CMakeLists.txt holds for every package."""
    return re.search(pattern, project_settings).group(1)


maintainer = project_setting(r'set\(VMC_MAINTAINER_NAME "([^"]*)"\)')
maintainer_email = project_setting(r'set\(VMC_MAINTAINER_EMAIL "([^"]*)"\)')
homepage = project_setting(r'HOMEPAGE_URL "([^"]*)"')

# Two compiler processes by default (the build machines are shared).
ParallelCompile("VMC_JOBS", default=2).install()

LIBRARY_SOURCES = sorted(glob.glob("src/*/*.cpp")) + sorted(glob.glob("presentation/src/*.cpp"))

extension = Pybind11Extension(
    "vellmeta._vellmeta",
    LIBRARY_SOURCES + ["python/src/Module.cpp"],
    include_dirs=["include", "src", "presentation/include", "presentation/src"],
    define_macros=[
        ("FMT_HEADER_ONLY", "1"),
        ("VMC_VERSION_MAJOR", '"%s"' % major),
        ("VMC_VERSION_MINOR", '"%s"' % minor),
        ("VMC_VERSION_PATCH", '"%s"' % patch),
        ("VMC_BUILD_TAG", '"1"'),
    ],
    # The colour arithmetic promises where every sum is rounded.
    extra_compile_args=["-ffp-contract=off"],
    cxx_std=17,
)


class BuildWithStubs(build_ext):
    """Builds the extension, then the stub generator from the library objects
    just compiled, and writes the stubs into the built package."""

    def run(self):
        super().run()
        objects = self.compiler.object_filenames(LIBRARY_SOURCES, output_dir=self.build_temp)
        objects += self.compiler.compile(["python/src/StubGenerator.cpp"], output_dir=self.build_temp,
                                         include_dirs=extension.include_dirs,
                                         extra_postargs=["-std=c++17"])
        self.compiler.link_executable(objects, "vellmeta_stubgen", output_dir=self.build_temp,
                                      target_lang="c++")
        package = os.path.join(self.build_lib, "vellmeta")
        if self.inplace:
            package = "python/vellmeta"
        subprocess.check_call([os.path.join(self.build_temp, "vellmeta_stubgen"),
                               os.path.join(package, "__init__.pyi")])

# Build files go under build/, beside the CMake builds, not into the sources.
os.makedirs("build/pip", exist_ok=True)

setup(
    version="%s.%s.%s" % (major, minor, patch),
    maintainer=maintainer,
    maintainer_email=maintainer_email,
    url=homepage,
    project_urls={"Homepage": homepage},
    packages=["vellmeta"],
    package_dir={"vellmeta": "python/vellmeta"},
    package_data={"vellmeta": ["py.typed"]},
    ext_modules=[extension],
    cmdclass={"build_ext": BuildWithStubs},
    options={"build": {"build_base": "build/pip"}, "egg_info": {"egg_base": "build/pip"}},
    zip_safe=False,
)
