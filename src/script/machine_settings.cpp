#include "script/machine_settings.h"

#include "script/machine.h"
#include "script/program_paths.h"

bool RegistryString(const RegistryValue& value, std::string* out) {
    out->clear();
    if (value.type != kRegString && value.type != kRegExpandString) return false;
    // The data need not end in a NUL: take it up to the first NUL or its end.
    const char* data = value.data.data();
    std::size_t length = 0;
    while (length < value.data.size() && data[length] != '\0') ++length;
    if (length > kMaxPathChars) return false;
    out->assign(data, length);
    return !out->empty();
}

bool ReadMachineSetting(Machine& machine, const std::string& subKey, const std::string& valueName,
                        std::string* out) {
    out->clear();
    RegistryValue value;
    if (!machine.ReadMachineValue(subKey, valueName, &value)) return false;
    return RegistryString(value, out);
}
