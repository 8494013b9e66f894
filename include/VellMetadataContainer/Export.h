// SPDX-License-Identifier: Apache-2.0
/// @file
/// Symbol visibility for the shared library: everything is hidden unless
/// marked VMC_EXPORT. On Windows the library's own build exports what is
/// marked (VMC_BUILDING_DECODER) and every other build imports it from the
/// DLL; VMC_STATIC marks a build that links the library's objects directly.
#pragma once

#if defined(_WIN32)
#  if defined(VMC_BUILDING_DECODER)
#    define VMC_EXPORT __declspec(dllexport)
#  elif defined(VMC_STATIC)
#    define VMC_EXPORT
#  else
#    define VMC_EXPORT __declspec(dllimport)
#  endif
#else
/// Marks a class or function that the shared library exports.
#  define VMC_EXPORT __attribute__((visibility("default")))
#endif
