# Debian packages and a tarball from the install rules, by component:
#   runtime      the shared library, vellmeta, its manual page and JSON Schema
#   development  headers (C++ and the C interface vmc.h), the CMake package
#                and the pkg-config file
# From a Release build configured with -DCMAKE_SKIP_INSTALL_RPATH=ON (a
# packaged tool finds the library where the system keeps libraries):
#   cd build && cpack -G DEB && cpack -G TGZ
set(CPACK_PACKAGE_NAME libvellmetadatacontainer)
set(CPACK_PACKAGE_VENDOR "libVellMetadataContainer developers")
set(CPACK_PACKAGE_CONTACT "libVellMetadataContainer developers <vellmeta-maintainers@example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_HOMEPAGE_URL "https://example.org/libVellMetadataContainer")
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL runtime development)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)

# The tarball holds both components under one prefix (CPackOptions.cmake);
# Debian gets a package per component.
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/CPackOptions.cmake)
set(CPACK_ARCHIVE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-Linux)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# A shlibs file for the library; the library package triggers ldconfig (and
# CPack's own scripts run it too).
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(vmc_deb_version "${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}")

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libvellmetadatacontainer${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/cmake/debian/triggers)
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION
    "decodes the headers of VELLRAW camera raw files
libVellMetadataContainer decodes the fixed 2480-byte header of a VELLRAW
(version 3) camera raw file into one typed metadata object. This package
holds the shared library, with its C++ and C interfaces, and the vellmeta
command-line tool, which shows what the headers of clips say as text, JSON,
CSV, TSV or OpenTrackIO samples, with its JSON Schema.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libvellmetadatacontainer-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "${CPACK_DEBIAN_RUNTIME_PACKAGE_NAME} (= ${vmc_deb_version})")
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION
    "decodes the headers of VELLRAW camera raw files (development files)
libVellMetadataContainer decodes the fixed 2480-byte header of a VELLRAW
(version 3) camera raw file into one typed metadata object. This package
holds the C++ headers, the C interface vmc.h, the CMake package and the
pkg-config file.")

# Each Debian package carries its copyright and changelog.
foreach(vmc_component runtime development)
    string(TOUPPER ${vmc_component} vmc_upper)
    set(vmc_doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/${CPACK_DEBIAN_${vmc_upper}_PACKAGE_NAME})
    install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/copyright DESTINATION ${vmc_doc_dir}
        COMPONENT ${vmc_component} EXCLUDE_FROM_ALL)
    install(FILES ${PROJECT_BINARY_DIR}/changelog.Debian.gz DESTINATION ${vmc_doc_dir}
        COMPONENT ${vmc_component} EXCLUDE_FROM_ALL)
endforeach()
string(TIMESTAMP vmc_changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(WRITE ${PROJECT_BINARY_DIR}/changelog.Debian
    "${CPACK_PACKAGE_NAME} (${vmc_deb_version}) unstable; urgency=medium\n\n"
    "  * Release ${PROJECT_VERSION}.\n\n"
    " -- ${CPACK_PACKAGE_CONTACT}  ${vmc_changelog_date}\n")
execute_process(COMMAND gzip -n -9 -f ${PROJECT_BINARY_DIR}/changelog.Debian)

include(CPack)
