// SPDX-License-Identifier: Apache-2.0
#include <VellMetadataContainer/ErrorValue.h>

namespace Vmc {

// The message belongs to the host once returned, so nothing is released here.
ErrorValue::~ErrorValue() {}

} // namespace Vmc
