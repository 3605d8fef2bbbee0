#pragma once
// The designer's page as one answer: the style sheet and the scripts that
// index.html names are put inside it, and so is the vocabulary, so that the
// page asks the server only for the reading of the script before it can be
// used. A part that cannot stand inside an HTML element as it is stays a
// link of its own.
#include <functional>
#include <string>

// Reads a part of the page by its file name; false when there is none.
using PagePartReader = std::function<bool(const std::string& name, std::string* text)>;

std::string AssemblePage(const std::string& html, const PagePartReader& readPart, const std::string& vocabularyJson);
