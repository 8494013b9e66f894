// SPDX-License-Identifier: Apache-2.0
// The catalog of a build made without SQLite (Windows cross builds, where
// the host has no SQLite for the target): --catalog says so and stops.
#include "Catalog.h"

namespace vellmeta::cli {

std::unique_ptr<Sink> catalogSink(const CatalogOptions&, std::string& problem)
{
    problem = "this vellmeta was built without SQLite, so it keeps no catalog";
    return nullptr;
}

} // namespace vellmeta::cli
