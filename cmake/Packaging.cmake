# SPDX-License-Identifier: Apache-2.0
# Debian packages and a tarball from the install rules, by component:
#   runtime                   the decoder library
#   development               its headers, CMake package and pkg-config file
#   presentation              the presentation library (views, C interface)
#   presentation_development  its headers (vmc.h among them), CMake package and
#                             pkg-config file
#   tool                      vellmeta, its manual page and JSON Schema
# From a Release build configured with -DCMAKE_SKIP_INSTALL_RPATH=ON (a
# packaged tool finds the library where the system keeps libraries):
#   cd build && cpack -G DEB && cpack -G TGZ
set(CPACK_PACKAGE_NAME libvellmetadatacontainer)
# Maintainer, homepage and licence: the project-level settings of the
# top-level CMakeLists.txt.
set(CPACK_PACKAGE_VENDOR "${VMC_MAINTAINER_NAME}")
set(CPACK_PACKAGE_CONTACT "${VMC_MAINTAINER_NAME} <${VMC_MAINTAINER_EMAIL}>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_HOMEPAGE_URL "${PROJECT_HOMEPAGE_URL}")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL runtime development presentation presentation_development tool)
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
# Dependencies on system libraries come from dpkg-shlibdeps, which finds the
# project's own libraries in the build tree; those between the project's
# packages are stated below.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS "${PROJECT_BINARY_DIR}/src;${PROJECT_BINARY_DIR}/presentation")
set(vmc_deb_version "${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}")

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libvellmetadatacontainer${VMC_DECODER_SOVERSION})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/cmake/debian/triggers)
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION
    "decodes the headers of VELLRAW camera raw files
libVellMetadataContainer decodes the fixed 2480-byte header of a VELLRAW
(version 3) camera raw file into one typed metadata object. This package
holds the decoder library.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libvellmetadatacontainer-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "${CPACK_DEBIAN_RUNTIME_PACKAGE_NAME} (= ${vmc_deb_version})")
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION
    "decodes the headers of VELLRAW camera raw files (development files)
libVellMetadataContainer decodes the fixed 2480-byte header of a VELLRAW
(version 3) camera raw file into one typed metadata object. This package
holds the decoder's C++ headers, its CMake package and pkg-config file.")

set(CPACK_DEBIAN_PRESENTATION_PACKAGE_NAME libvellmeta${VMC_PRESENTATION_SOVERSION})
set(CPACK_DEBIAN_PRESENTATION_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PRESENTATION_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PRESENTATION_PACKAGE_DEPENDS "${CPACK_DEBIAN_RUNTIME_PACKAGE_NAME} (= ${vmc_deb_version})")
set(CPACK_DEBIAN_PRESENTATION_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/cmake/debian/triggers)
set(CPACK_DEBIAN_PRESENTATION_DESCRIPTION
    "presents the metadata of VELLRAW camera raw files
libvellmeta presents what libVellMetadataContainer decodes from the header of
a VELLRAW (version 3) camera raw file: every field with its label, unit and
heading, values for people, JSON with its schema, CSV and TSV clip reports,
OpenTrackIO samples and diffs, with a C interface for any language.")

set(CPACK_DEBIAN_PRESENTATION_DEVELOPMENT_PACKAGE_NAME libvellmeta-dev)
set(CPACK_DEBIAN_PRESENTATION_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_PRESENTATION_DEVELOPMENT_PACKAGE_DEPENDS
    "${CPACK_DEBIAN_PRESENTATION_PACKAGE_NAME} (= ${vmc_deb_version}), ${CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME} (= ${vmc_deb_version})")
set(CPACK_DEBIAN_PRESENTATION_DEVELOPMENT_DESCRIPTION
    "presents the metadata of VELLRAW camera raw files (development files)
libvellmeta presents what libVellMetadataContainer decodes from the header of
a VELLRAW (version 3) camera raw file. This package holds its C++ headers,
the C interface vmc.h, its CMake package and pkg-config file.")

set(CPACK_DEBIAN_TOOL_PACKAGE_NAME vellmeta)
set(CPACK_DEBIAN_TOOL_PACKAGE_SECTION video)
set(CPACK_DEBIAN_TOOL_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_TOOL_PACKAGE_DEPENDS "${CPACK_DEBIAN_PRESENTATION_PACKAGE_NAME} (= ${vmc_deb_version})")
set(CPACK_DEBIAN_TOOL_DESCRIPTION
    "shows the metadata in the headers of VELLRAW camera raw files
vellmeta shows what the headers of VELLRAW (version 3) clips say, one clip or
whole cards: as text for people, JSON or JSON Lines, CSV or TSV clip reports,
OpenTrackIO samples, or the fields that differ between two clips. With its
manual page and the JSON Schema of its JSON view.")

# Each Debian package carries its machine-readable copyright file and its
# changelog.
configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/copyright.in ${PROJECT_BINARY_DIR}/copyright @ONLY)
foreach(vmc_component runtime development presentation presentation_development tool)
    string(TOUPPER ${vmc_component} vmc_upper)
    set(vmc_doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/${CPACK_DEBIAN_${vmc_upper}_PACKAGE_NAME})
    install(FILES ${PROJECT_BINARY_DIR}/copyright DESTINATION ${vmc_doc_dir}
        COMPONENT ${vmc_component} EXCLUDE_FROM_ALL)
    install(FILES ${PROJECT_BINARY_DIR}/changelog.Debian.gz DESTINATION ${vmc_doc_dir}
        COMPONENT ${vmc_component} EXCLUDE_FROM_ALL)
    # The packages are the project's own, not uploads to Debian, so their
    # first changelog entry closes no request-for-packaging bug.
    file(WRITE ${PROJECT_BINARY_DIR}/lintian/${CPACK_DEBIAN_${vmc_upper}_PACKAGE_NAME}
        "# Built by the project, not uploaded to Debian: there is no bug for a first upload to close.\n"
        "${CPACK_DEBIAN_${vmc_upper}_PACKAGE_NAME}: initial-upload-closes-no-bugs\n")
    install(FILES ${PROJECT_BINARY_DIR}/lintian/${CPACK_DEBIAN_${vmc_upper}_PACKAGE_NAME}
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides COMPONENT ${vmc_component} EXCLUDE_FROM_ALL)
endforeach()
string(TIMESTAMP vmc_changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(WRITE ${PROJECT_BINARY_DIR}/changelog.Debian
    "${CPACK_PACKAGE_NAME} (${vmc_deb_version}) unstable; urgency=medium\n\n"
    "  * Release ${PROJECT_VERSION}.\n\n"
    " -- ${CPACK_PACKAGE_CONTACT}  ${vmc_changelog_date}\n")
execute_process(COMMAND gzip -n -9 -f ${PROJECT_BINARY_DIR}/changelog.Debian)

include(CPack)
