#pragma once
// The page's side of carrying edits to a newer text: the carried edits in
// the form the page keeps them, and each conflict with the line as the page
// loaded it, as the author edited it and as the other writer left it.
#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "design/edit_rebase.h"

// {"fields": {"LINE": {"FIELD": text}}, "deleted": [LINE], "added": [{afterLine, atStart, before, header, text, fields, deleted}]}
nlohmann::json EditsJson(const ScriptEdits& edits);

// [{line, theirLine, deleted, original, mine, theirs}]. The converters turn
// a line of either text into the page's text (the edits are the page's
// text already).
using PageTextOf = std::function<std::string(const std::string&)>;
nlohmann::json ConflictsJson(const std::vector<RebaseConflict>& conflicts, const std::vector<std::string>& before,
                             const std::vector<std::string>& after, const PageTextOf& beforeToPage,
                             const PageTextOf& afterToPage);
