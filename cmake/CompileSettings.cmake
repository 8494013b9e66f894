# SPDX-License-Identifier: Apache-2.0
# How every C++ source of the project is compiled. The native build, the
# Python package (pip's setup.py drives this CMake build) and the WebAssembly
# build (web/build runs it under emscripten) all take their settings from
# here, so that a setting changed here changes every build.
set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
    if(EMSCRIPTEN)
        # Debugging information would travel inside the page's one script.
        set(CMAKE_BUILD_TYPE Release CACHE STRING "Build type" FORCE)
    else()
        set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "Build type" FORCE)
    endif()
endif()
if(EMSCRIPTEN)
    # The page's script is downloaded: at -O2 it is an eighth smaller than
    # at -O3.
    string(REPLACE "-O3" "-O2" CMAKE_CXX_FLAGS_RELEASE "${CMAKE_CXX_FLAGS_RELEASE}")
endif()

add_compile_options(-Wall -Wextra -Wpedantic)
if(VMC_WERROR)
    add_compile_options(-Werror)
    if(EMSCRIPTEN)
        # emscripten's linker has warnings of its own.
        add_link_options(-Werror)
    endif()
endif()

# The colour arithmetic promises where every sum is rounded: no fused
# multiply-adds, which a compiler may otherwise form from a * b + c on
# machines that have them (WebAssembly and native builds alike).
add_compile_options(-ffp-contract=off)

if(VMC_SANITIZE)
    add_compile_options(-fsanitize=${VMC_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${VMC_SANITIZE})
endif()
if(VMC_BUILD_FUZZERS)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "VMC_BUILD_FUZZERS needs clang (libFuzzer)")
    endif()
    # Coverage feedback from every source; the fuzzer target adds the driver.
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# The release numbers of the project() line and the build tag, which the
# decoder's version record (src/util/Version.cpp) is compiled with.
set(VMC_VERSION_DEFINITIONS
    VMC_VERSION_MAJOR="${PROJECT_VERSION_MAJOR}"
    VMC_VERSION_MINOR="${PROJECT_VERSION_MINOR}"
    VMC_VERSION_PATCH="${PROJECT_VERSION_PATCH}"
    VMC_BUILD_TAG="${VMC_BUILD_TAG}")
