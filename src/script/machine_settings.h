#pragma once
// String settings read from the registry, by the rules of a path value.
#include <string>

class Machine;
struct RegistryValue;

// A non-empty string value under HKEY_LOCAL_MACHINE (an empty name is the
// default value). Values of another type, or too long for a path buffer,
// give false; a missing terminator is tolerated.
bool ReadMachineSetting(Machine& machine, const std::string& subKey, const std::string& valueName,
                        std::string* out);
// The text of a string value read from the registry, by the same rules.
bool RegistryString(const RegistryValue& value, std::string* out);
