// SPDX-License-Identifier: Apache-2.0
/// @file
/// Symbol visibility for the shared library: everything is hidden unless
/// marked VMC_EXPORT.
#pragma once

#if defined(_WIN32)
#  define VMC_EXPORT
#else
/// Marks a class or function that the shared library exports.
#  define VMC_EXPORT __attribute__((visibility("default")))
#endif
