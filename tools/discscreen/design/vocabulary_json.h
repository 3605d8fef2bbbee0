#pragma once
// The described vocabulary as the designer page takes it (/api/vocabulary):
// sections, keys and fields with their kinds, words and meanings, the tags,
// and the program's 16 colours.
#include <nlohmann/json.hpp>

nlohmann::json VocabularyJson();
