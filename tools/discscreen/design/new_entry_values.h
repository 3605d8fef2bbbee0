#pragma once
// What a new entry of a key says before the author changes it, where a
// word of its kind would read as a placeholder ("WORD", "New message"): a
// title, and messages an author might keep. By the vocabulary's ids
// ("[BEGIN] TITLE"); null for a key that starts from its fields' words.
#include <string>
#include <vector>

const char* NewEntryValueOf(const std::string& id);
// The ids given a value, for the test that they name keys of the vocabulary.
std::vector<std::string> NewEntryValueIds();
