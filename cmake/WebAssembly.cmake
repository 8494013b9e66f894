# SPDX-License-Identifier: Apache-2.0
# What the WebAssembly build (emscripten, `emcmake cmake`; web/build runs it)
# needs beyond the native one: how a JavaScript module with both libraries
# inside is linked ({fmt} comes from cmake/HostHeaders.cmake). The sources and
# compile settings are the native build's (cmake/CompileSettings.cmake).

# A module is linked statically, as one piece: the objects the shared
# libraries want position-independent are compiled as plain code here.
set(CMAKE_CXX_COMPILE_OPTIONS_PIC "")

# How every module is linked:
#   --bind                  embind, through which JavaScript calls the bindings
#   MODULARIZE, EXPORT_NAME the script defines createVellmetaModule(), which returns
#                           a promise of a new module (each with its own memory)
#   SINGLE_FILE             the WebAssembly travels inside the script, so that
#                           a page opened from a folder (where a browser fetches
#                           no separate .wasm file) works, and nothing needs
#                           locating
#   ENVIRONMENT             browsers only, which Node 18 and later satisfy
#                           too (the WebAssembly is inside the script, so no
#                           file is read): the script then holds no require()
#                           of Node's modules that a bundler for browsers
#                           would trip on
#   FILESYSTEM, DYNAMIC_EXECUTION
#                           no emulated file system and no eval, so that a page
#                           with a strict content security policy can load it
set(VMC_WASM_LINK_OPTIONS
    --bind
    -sMODULARIZE=1
    -sEXPORT_NAME=createVellmetaModule
    -sSINGLE_FILE=1
    -sALLOW_MEMORY_GROWTH=1
    -sENVIRONMENT=web
    -sFILESYSTEM=0
    -sDYNAMIC_EXECUTION=0)

# vmc_wasm_module(TARGET OUTPUT FILE.js SOURCES SOURCE... [LINK_OPTIONS OPTION...])
# FILE.js, a JavaScript module holding both libraries and the bindings in
# SOURCE... compiled to WebAssembly, linked with VMC_WASM_LINK_OPTIONS and
# then any LINK_OPTIONS of this module's own.
function(vmc_wasm_module target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "OUTPUT" "SOURCES;LINK_OPTIONS")
    if(NOT arg_OUTPUT OR NOT arg_SOURCES)
        message(FATAL_ERROR "vmc_wasm_module(${target}) needs OUTPUT and SOURCES")
    endif()
    get_filename_component(output_dir ${arg_OUTPUT} DIRECTORY)
    get_filename_component(output_name ${arg_OUTPUT} NAME_WE)
    add_executable(${target} ${arg_SOURCES})
    # The objects, not the static libraries, so that nothing is left out.
    target_link_libraries(${target} PRIVATE vellmeta_objects VellMetadataContainerObjects)
    target_link_options(${target} PRIVATE ${VMC_WASM_LINK_OPTIONS} ${arg_LINK_OPTIONS})
    set_target_properties(${target} PROPERTIES
        OUTPUT_NAME ${output_name}
        SUFFIX .js
        RUNTIME_OUTPUT_DIRECTORY ${output_dir})
endfunction()
