#include "app/intro_sound.h"

#include "script/field_list.h"
#include "script/numbers.h"
#include "script/program_paths.h"

IntroSound SplitIntroSound(Machine& machine, const std::string& value) {
    std::vector<std::string> pieces = SplitFields(value);
    IntroSound sound;
    sound.file = ResolveScriptPath(machine, pieces.empty() ? std::string() : pieces[0]);
    if (pieces.size() > 1) sound.seconds = ParseNumberOrKeyword(pieces[1]);
    return sound;
}
