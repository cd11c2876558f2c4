// Writing a PackageDraft as script package text: UTF-8 with a byte order mark,
// CR LF line ends, the 28 sections in order. The checks here keep the engine's
// reader from misreading what it gets: no line breaks inside texts, no lone
// "$" in a list (it would end the list), no parameter line equal to an id (the
// engine would take it for the start of a block).
#pragma once

#include <string>

#include "authoring/setupbuilder/package_draft.h"

namespace pellion::authoring {

// Throws BuildError naming the statement and the problem.
std::string writePackage(const PackageDraft& draft);

// Loads the text with the engine's own reader and compares what the engine will
// see with the draft; throws BuildError on any difference.
void verifyPackage(const PackageDraft& draft, const std::string& packageText);

}  // namespace pellion::authoring
