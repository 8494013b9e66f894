# SPDX-License-Identifier: Apache-2.0
# Read by cpack for each generator: the tarball takes every component at
# once, in one folder named after it.
if(CPACK_GENERATOR STREQUAL "TGZ")
    set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
    set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
    set(CPACK_COMPONENTS_GROUPING IGNORE)
endif()
