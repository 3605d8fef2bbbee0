#pragma once
// `discscreen reference`: the script reference in Markdown, made from the
// described vocabulary (every section, tag, key, field and word the reader
// knows, with its meaning). docs/script-reference.md is its output.
#include <ostream>

void WriteScriptReference(std::ostream& out);
int RunReference(int argc, char** argv);
