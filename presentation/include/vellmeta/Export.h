// SPDX-License-Identifier: Apache-2.0
// Symbol visibility for the presentation library: everything is hidden
// unless marked VELLMETA_EXPORT.
#pragma once

#if defined(_WIN32)
#  define VELLMETA_EXPORT
#else
#  define VELLMETA_EXPORT __attribute__((visibility("default")))
#endif
