#pragma once
// Turns a button's command line into one that Windows can start: the leading
// part that names an existing file is found, and a document is replaced by
// the program that its file association names.
#include <cstddef>
#include <string>

class Machine;

// The command line to start for `commandLine` (already made absolute), or an
// empty string when no leading part of it names a file, or when the result
// would not fit the 519 characters that the program hands to the system.
std::string ResolveTarget(Machine& machine, const std::string& commandLine);

// The shortest leading part of `commandLine`, ended by a white character or
// the end, that names an existing file: its resolved path, and where the
// part ends in `commandLine`. False when no part does.
bool FindLeadingFile(Machine& machine, const std::string& commandLine, std::string* file,
                     std::size_t* end);

// The command line that starts the existing file `file` with the arguments
// `rest` (empty, or starting with the white character that ended the name):
// the program of the file's association, or the one the system names for
// the document.
// Empty when the result would not fit; on an association that cannot be
// used and no program named by the system, the command template read so far.
std::string FindAssociatedCommand(Machine& machine, const std::string& file,
                                  const std::string& rest);
