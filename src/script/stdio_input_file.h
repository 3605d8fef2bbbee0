#pragma once
// Files read through the C library, for the machines of the native build
// (unit tests, fuzzers, benchmarks, tools). The Windows program reads
// through its own machine.
#include <memory>
#include <string>

#include "script/machine.h"

std::unique_ptr<InputFile> OpenStdioInputFile(const std::string& path);
