# SPDX-License-Identifier: Apache-2.0
# Header-only packages from the build machine's Debian packages, for a cross
# build whose own system headers are not the build machine's (WebAssembly
# under emscripten, Windows under MinGW-w64): {fmt} (libfmt-dev, used
# header-only), CLI11 (libcli11-dev) and nlohmann-json (nlohmann-json3-dev).
# Only each package's own folder goes on the include path, never the rest of
# /usr/include, whose C library headers are the build machine's.

# Defines `target` as the headers in `folder`, included as <name/...>.
function(vmc_host_headers target folder name)
    if(TARGET ${target})
        return()
    endif()
    if(NOT EXISTS ${folder})
        message(FATAL_ERROR "${folder} not found: run scripts/setup")
    endif()
    set(root ${PROJECT_BINARY_DIR}/host-headers/${name})
    file(MAKE_DIRECTORY ${root})
    if(NOT EXISTS ${root}/${name})
        file(CREATE_LINK ${folder} ${root}/${name} SYMBOLIC)
    endif()
    add_library(${target} INTERFACE IMPORTED GLOBAL)
    set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${root})
    if(ARGN)
        set_target_properties(${target} PROPERTIES INTERFACE_COMPILE_DEFINITIONS "${ARGN}")
    endif()
endfunction()

vmc_host_headers(fmt::fmt-header-only /usr/include/fmt fmt FMT_HEADER_ONLY=1)
vmc_host_headers(CLI11::CLI11 /usr/include/CLI CLI)
vmc_host_headers(nlohmann_json::nlohmann_json /usr/include/nlohmann nlohmann)
