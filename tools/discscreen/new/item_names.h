#pragma once
// What the screen calls each item: an installer by the product name of its
// version resource (else its file description), an MSI package by its
// ProductName property, each read by Debian's tools (exiftool, msiinfo);
// else, and for documents, a name made from the file's own.
#include <string>
#include <vector>

#include "new/disc_items.h"

// Fills every item's name, in the Windows code page 1252 the script is
// written in. Returns a note for each tool that is missing, or "".
std::string NameItems(std::vector<DiscItem>& items);

// "Editor" for EDITOR\SETUP.EXE, "Read me" for README.TXT, "Manual (PDF)".
std::string NameFromFile(const DiscItem& item);
// UTF-8 text in code page 1252; "" when some character is not in it.
std::string InCodePage1252(const std::string& utf8);
