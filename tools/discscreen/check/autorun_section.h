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
// `section` (WriteAutorunSection's) put first (on a line of its own after a
// leading mark). Unchanged when Windows sees one already.
std::string WithAutorunSection(const std::string& script, const std::string& section);

// A whole [autorun] section, ending in a blank line: open= the program,
// icon= `iconName` (a file at the disc's root), label= `label` (the title
// when empty) and action= `title`, each as Windows shows it (AutorunText).
std::string WriteAutorunSection(const std::string& title, const std::string& label, const std::string& iconName,
                                const std::string& program = "AUTORUN.EXE");
// `text` (UTF-8 or a Western code page) as every Windows shows it from AUTORUN.INF, whatever
// its code page: ASCII only (Latin letters without their accents, other
// characters left out), no control characters, blanks run together, at most
// `longest` bytes.
std::string AutorunText(const std::string& text, std::size_t longest);
