# SPDX-License-Identifier: Apache-2.0
# The `docs` target: Doxygen turns the README (as the main page), the pages of
# docs/ and every public header of both libraries into HTML in
# <build>/docs/html. Any warning fails the target, an undocumented public
# symbol among them. The target is not part of `all`; build it by name:
#   cmake --build <build> --target docs
if(NOT DOXYGEN_FOUND)
    message(FATAL_ERROR "VMC_BUILD_DOCS needs Doxygen (scripts/setup installs it)")
endif()

set(VMC_DOCS_OUTPUT_DIR ${PROJECT_BINARY_DIR}/docs)
# Pictures the pages show; the folder is optional (a new one in docs/ makes
# CMake configure again).
set(VMC_DOCS_IMAGE_PATH "")
if(EXISTS ${PROJECT_SOURCE_DIR}/docs/images)
    set(VMC_DOCS_IMAGE_PATH ${PROJECT_SOURCE_DIR}/docs/images)
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs)
# The benchmarks page's figures: the tables the benchmarks wrote into a build's
# bench-results folder (this build's, or the one VMC_BENCH_RESULTS names).
set(VMC_BENCH_RESULTS ${PROJECT_BINARY_DIR}/bench-results CACHE PATH
    "Folder of the benchmarks' tables that the documentation shows (a bench build's bench-results)")
set(VMC_DOCS_GENERATED_DIR ${VMC_DOCS_OUTPUT_DIR}/pages)
configure_file(${PROJECT_SOURCE_DIR}/docs/Doxyfile.in ${VMC_DOCS_OUTPUT_DIR}/Doxyfile @ONLY)

# Runs every time it is asked for: Doxygen takes seconds, and a page that
# was removed or renamed leaves nothing stale behind. The licence goes beside
# the main page, where the README's link to it leads.
add_custom_target(docs
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${VMC_DOCS_OUTPUT_DIR}/html ${VMC_DOCS_GENERATED_DIR}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VMC_DOCS_GENERATED_DIR}
    COMMAND ${CMAKE_COMMAND} -DRESULTS=${VMC_BENCH_RESULTS} -DOUTPUT=${VMC_DOCS_GENERATED_DIR}/benchmark-figures.md
        -P ${PROJECT_SOURCE_DIR}/docs/BenchmarkResults.cmake
    COMMAND Doxygen::doxygen ${VMC_DOCS_OUTPUT_DIR}/Doxyfile
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/LICENSE ${VMC_DOCS_OUTPUT_DIR}/html/LICENSE
    WORKING_DIRECTORY ${VMC_DOCS_OUTPUT_DIR}
    COMMENT "Doxygen: the API reference and the pages of docs/ in ${VMC_DOCS_OUTPUT_DIR}/html"
    VERBATIM)
