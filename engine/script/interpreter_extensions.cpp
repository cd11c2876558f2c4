// The default bootstrap: until instance data and maintenance detection join
// the loop, every run is a first installation.

#include "engine/script/interpreter_extensions.h"

#include "engine/script/predefined_variables.h"

namespace pellion {

void InterpreterExtensions::bootstrap(ScriptEnvironment& environment)
{
    firstInstallationBootstrap(environment);
}

}  // namespace pellion
