#pragma once
// Windows' own [autorun] section in the script, as Windows' INI reader sees
// it: a header counts only where it starts its line, so a UTF-8 byte-order
// mark before "[autorun]" hides the section and AutoPlay does not start the
// screen.
#include <cstddef>
#include <string>

bool HasAutorunSection(const std::string& script);
// The offset of a byte-order mark that stands before "[autorun]" on its
// line, or npos.
std::size_t MarkBeforeAutorun(const std::string& script);
// The script's bytes with an [autorun] section that Windows sees: a line
// break put after a mark that hides one, or else, when there is none,
// "[autorun]", "open=PROGRAM" and "icon=PROGRAM,0" put first (on a line of
// their own after a leading mark). Unchanged when Windows sees one already.
std::string WithAutorunSection(const std::string& script, const std::string& program);
// The first word of open= in the script's [autorun] section, or "".
std::string AutorunOpenFile(const std::string& script);
