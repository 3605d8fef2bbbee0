#pragma once
// The bytes of a script file as the reader takes them: text-mode reading
// ends at a Ctrl-Z, and a script saved as UTF-8 is turned into the system's
// ANSI code page once, here, so that everything after works on ANSI text.
#include <string>

class Machine;

// A script is UTF-8 when it starts with the byte-order mark, or when it is
// valid UTF-8 holding at least one multi-byte sequence; any other script is
// taken to be in the ANSI code page already and is kept as it is. UTF-8
// text takes the code page's best fits (script/best_fit.h).
std::string ScriptTextFromBytes(Machine& machine, std::string bytes);

// UTF-8 to UTF-16. A byte that does not begin a valid sequence (overlong,
// surrogate, beyond U+10FFFF, cut short) becomes "?", and so does a
// character outside the 16-bit range, which no ANSI code page holds. The
// byte-order mark is dropped wherever it stands.
std::u16string DecodeUtf8(const std::string& bytes);
