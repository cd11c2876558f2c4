// The variables the engine defines before the first statement, stage by
// stage: the names validation may refer to, the progress hand-over variables,
// "Pre-Initialization", the first-installation bootstrap that stands in until
// instance data exists, "Initialization" and the command-line variables.
#pragma once

#include <string>
#include <vector>

namespace pellion {

struct ScriptEnvironment;

// Every predefined name, in the order of the initialization table.
const std::vector<std::u16string>& predefinedVariableNames();

// Stage 1 ("Compilation"): every predefined name, empty.
void createValidationVariables(ScriptEnvironment& environment);
// Stage 2: QUAV_thProgress ... QUAV_LastActiveTick, written with Add.
void setProgressHandOverVariables(ScriptEnvironment& environment);
// Stage 3: TARGETDIR, STARTMENU, ALLUSERS.
void setPreInitializationVariables(ScriptEnvironment& environment);
// Stage 4 of a first installation: PRODUCTCODE, REVISIONCODE, DATADIR, the
// maintenance flags all "FALSE", TARGETDIR, STARTMENU and ALLUSERS.
void firstInstallationBootstrap(ScriptEnvironment& environment);
// The Program Files folder for an administrator (or on the 95 family), else
// the folder holding the user's Documents; then the title and "\".
std::u16string defaultTargetDir(ScriptEnvironment& environment);
// Stage 5 ("Initialization"): the rest of the table, LANGUAGE excluded.
void setInitializationVariables(ScriptEnvironment& environment);
// Stage 5, last: each NAME=VALUE of the command line, context "Inject
// Override Command Line".
void applyCommandLineVariables(ScriptEnvironment& environment);
// DATE and TIME from the system, before every statement.
void refreshDateAndTime(ScriptEnvironment& environment);

}  // namespace pellion
