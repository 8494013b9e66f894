// SPDX-License-Identifier: Apache-2.0
/// @file
/// Symbol visibility for the presentation library: everything is hidden
/// unless marked VELLMETA_EXPORT.
#pragma once

#if defined(_WIN32)
#  define VELLMETA_EXPORT
#else
/// Marks a class or function that the presentation library exports.
#  define VELLMETA_EXPORT __attribute__((visibility("default")))
#endif
