# SPDX-License-Identifier: Apache-2.0
# How each of the project's libraries is built and installed: the decoder
# (VellMetadataContainer) and the presentation library (vellmeta).
include(CMakePackageConfigHelpers)
include(GNUInstallDirs)

# vmc_shared_library(TARGET OBJECTS EXPORT_MAP SOVERSION)
# A shared library of the objects of OBJECTS, with ABI version SOVERSION
# (libTARGET.so.SOVERSION, file libTARGET.so.SOVERSION.MINOR.PATCH of the
# project's release), that exports only what EXPORT_MAP names: its own API,
# not the standard library templates it instantiates. WebAssembly has no
# shared libraries: under emscripten it is a static library.
function(vmc_shared_library target objects export_map soversion)
    if(EMSCRIPTEN)
        add_library(${target} STATIC $<TARGET_OBJECTS:${objects}>)
        target_compile_features(${target} PUBLIC cxx_std_17)
        return()
    endif()
    add_library(${target} SHARED $<TARGET_OBJECTS:${objects}>)
    set_target_properties(${target} PROPERTIES
        VERSION ${soversion}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}
        SOVERSION ${soversion}
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON
        LINK_DEPENDS ${export_map})
    if(WIN32)
        # A DLL exports what the headers mark __declspec(dllexport) (Export.h)
        # and is named after its ABI version: libTARGET-SOVERSION.dll.
        set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_NAME ${target}-${soversion})
    else()
        target_link_options(${target} PRIVATE -Wl,--version-script=${export_map})
    endif()
    if(NOT VMC_SANITIZE)
        # Sanitizer runtimes are linked into executables only.
        target_link_options(${target} PRIVATE -Wl,--no-undefined)
    endif()
    target_compile_features(${target} PUBLIC cxx_std_17)
endfunction()

# vmc_install_library(TARGET PACKAGE RUNTIME_COMPONENT DEVELOPMENT_COMPONENT HEADER...)
# Installs the library in RUNTIME_COMPONENT, and in DEVELOPMENT_COMPONENT its
# headers (under include/PACKAGE), its CMake package PACKAGE (namespace
# PACKAGE::, from cmake/PACKAGEConfig.cmake.in) and its pkg-config file (from
# cmake/PACKAGE.pc.in), which finds the prefix relative to itself so that an
# installed tree can be moved. A WebAssembly build installs nothing: its
# output is the page's script.
function(vmc_install_library target package runtime development)
    if(EMSCRIPTEN)
        return()
    endif()
    install(TARGETS ${target} EXPORT ${package}Targets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT ${runtime} NAMELINK_COMPONENT ${development}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT ${development}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${runtime}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
    install(FILES ${ARGN} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/${package} COMPONENT ${development})
    set(cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/${package})
    install(EXPORT ${package}Targets NAMESPACE ${package}:: DESTINATION ${cmake_dir} COMPONENT ${development})
    configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/${package}Config.cmake.in
        ${PROJECT_BINARY_DIR}/${package}Config.cmake
        INSTALL_DESTINATION ${cmake_dir})
    write_basic_package_version_file(${PROJECT_BINARY_DIR}/${package}ConfigVersion.cmake
        COMPATIBILITY SameMajorVersion)
    install(FILES ${PROJECT_BINARY_DIR}/${package}Config.cmake ${PROJECT_BINARY_DIR}/${package}ConfigVersion.cmake
        DESTINATION ${cmake_dir} COMPONENT ${development})
    file(RELATIVE_PATH VMC_PC_TO_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/${package}.pc.in ${PROJECT_BINARY_DIR}/${package}.pc @ONLY)
    install(FILES ${PROJECT_BINARY_DIR}/${package}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
        COMPONENT ${development})
endfunction()
