#pragma once
// What the reader tells an observer while it reads a script: each line as
// read, each section header with whether it was accepted, and each entry
// handed to a section's handler with whether the handler used it. The
// program itself has no observer; the authors' checker has one.
#include <string>

class ScriptListener {
public:
    virtual ~ScriptListener() = default;
    // Every line as read, numbered from 1, leading white space included.
    virtual void OnLine(int number, const std::string& line) = 0;
    // A header with a "]": its section name, its selector text (without a
    // "//" comment), and whether it passed the version and language filters.
    virtual void OnHeader(const std::string& section, const std::string& selector,
                          bool accepted) = 0;
    // An entry of an accepted section: used is false when the section has no
    // handler or its handler left the entry without effect.
    virtual void OnEntry(const std::string& name, int number, const std::string& value,
                         bool used) = 0;
};
