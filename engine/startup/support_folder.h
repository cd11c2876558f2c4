// The per-run support folder "oxa" + n in the temporary folder: the first n
// for which neither a folder nor a file of that name exists, so runs started
// together never share one; and its removal at the end of the run.
#pragma once

#include <string>

namespace pellion {

// Creates the folder and returns its path with a trailing separator (the one
// tempDir ends with), or an empty text when no folder could be created.
std::u16string createSupportFolder(const std::u16string& tempDir);

// Empties and removes the folder: three attempts, each deleting all that it
// holds. Returns whether the folder is gone.
bool removeSupportFolder(const std::u16string& supportDir);

}  // namespace pellion
