// SPDX-License-Identifier: Apache-2.0
/// @file
/// Symbol visibility for the presentation library: everything is hidden
/// unless marked VELLMETA_EXPORT. On Windows the library's own build exports
/// what is marked (VELLMETA_BUILDING) and every other build imports it from
/// the DLL; VELLMETA_STATIC marks a build that links the library's objects
/// directly.
#pragma once

#if defined(_WIN32)
#  if defined(VELLMETA_BUILDING)
#    define VELLMETA_EXPORT __declspec(dllexport)
#  elif defined(VELLMETA_STATIC)
#    define VELLMETA_EXPORT
#  else
#    define VELLMETA_EXPORT __declspec(dllimport)
#  endif
#else
/// Marks a class or function that the presentation library exports.
#  define VELLMETA_EXPORT __attribute__((visibility("default")))
#endif
