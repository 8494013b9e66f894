// SPDX-License-Identifier: Apache-2.0
/// @file
/// libVellMetadataContainer: decodes the header of a VELLRAW (version 3)
/// camera raw file into one typed metadata object. Include this header for the
/// whole public interface.
#pragma once

#include "Chromaticities.h"
#include "ColorCorrectionMatrix.h"
#include "ErrorValue.h"
#include "Export.h"
#include "FieldDescription.h"
#include "FieldTypes.h"
#include "Matrix33.h"
#include "MetadataContainer.h"
#include "Rational.h"
#include "RecorderInfo.h"
#include "Sentinels.h"
#include "StringHelpers.h"
#include "TimeCode.h"
#include "Vec.h"
#include "VellFileHeaderV3.h"
#include "Version.h"

/// @namespace Vmc
/// The decoder library: the metadata container, the decoding that fills it,
/// and the small value types and helpers of its fields.
