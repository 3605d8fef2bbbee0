#pragma once
// What a new entry of a key says before the author changes it, where a
// word of its kind would read as a placeholder ("WORD", "New message"): a
// title, and messages an author might keep. By the vocabulary's ids
// ("[BEGIN] TITLE"); null for a key that starts from its fields' words.
#include <string>

const char* NewEntryValueOf(const std::string& id);
