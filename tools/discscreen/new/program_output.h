#pragma once
// Runs a program of this machine and takes what it prints.
#include <string>
#include <vector>

// False when it cannot start or does not end well; its errors are dropped.
bool ProgramOutput(const std::vector<std::string>& arguments, std::string* output);
