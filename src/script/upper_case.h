#pragma once
// Upper-casing script text as the system locale does, a double-byte
// character as one.
#include <string>

class Machine;

std::string UpperCase(Machine& machine, const std::string& text);
// The text trimmed (Trimmed) and upper-cased: how names, keywords and
// file names of the script are compared.
std::string UpperCaseToken(Machine& machine, const std::string& text);
