// Printing a package draft as script source (format in README.md). Include
// statements come back as @begin-include blocks holding their statements, so a
// package built from several files prints as one file that builds the same
// package. Ids are printed, so they survive the trip.
#pragma once

#include <string>
#include <vector>

#include "authoring/setupbuilder/package_draft.h"

namespace pellion::authoring {

// The UTF-8 source text. When the include records do not fit the statements
// (a package from elsewhere), the statements are printed without includes and
// a note is added to warnings.
std::string printSource(const PackageDraft& draft, std::vector<std::string>& warnings);

}  // namespace pellion::authoring
