#include "ui/dib_cache.h"

#include "script/system_facts.h"
#include "script/values.h"

std::string ButtonBitmapKey(const std::string& name) {
    return ResolveScriptPath(NormalizeToken(name, true));
}
