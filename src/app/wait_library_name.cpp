#include "app/wait_library_name.h"

std::string WaitLibraryName(const std::string& programName, unsigned short versionCode) {
    bool ntFamily = versionCode == 5 || versionCode == 6;
    return programName + (ntFamily ? "_NT" : "_95") + ".dll";
}
