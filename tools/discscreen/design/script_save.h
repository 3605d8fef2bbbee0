#pragma once
// Saving the script over itself without losing a write made from outside
// at the same moment: the new text is written and synced beside the file
// first; the two are then swapped in one step and the text that was swapped
// out is compared with the text the edits were made on. When it differs,
// someone wrote in between, and the swap is undone. The file keeps what
// makes it the author's: a link is followed and its target written, owner
// and mode stay, a file with several hard links is written in place, and
// the folder is synced after the swap.
#include <string>

enum class SaveOutcome { kSaved, kChangedOnDisk, kFailed };

// Writes `bytes` over the script at `path` when it still holds `expected`.
SaveOutcome SaveScript(const std::string& path, const std::string& expected, const std::string& bytes,
                       std::string* why);
