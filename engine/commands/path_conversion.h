// "Convert Path"'s decisions over the PathSystem seam: environment expansion,
// the setup folder for relative paths, the full path, and the short or long
// form rebuilt component by component. The system calls are the seam's.
#pragma once

#include <string>
#include <string_view>

#include "engine/commands/command_services.h"

namespace pellion {

// `setupFolder` is SETUPPATH, path-expanded. Empty when the path does not exist.
std::u16string convertPath(PathSystem& system, std::u16string_view path, std::u16string_view setupFolder,
                           bool shortForm);

}  // namespace pellion
