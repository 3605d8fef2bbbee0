#include "ui/dib_cache.h"

#include "script/program_paths.h"
#include "script/upper_case.h"

std::string ButtonBitmapKey(Machine& machine, const std::string& name) {
    return ResolveScriptPath(machine, UpperCaseToken(machine, name));
}
