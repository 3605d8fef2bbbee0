#pragma once
// The words a script may use where the checker suggests one: section names,
// selector tags, the keys of [BEGIN] and the keywords that fit each field,
// all taken from the reader's own tables. The handlers decide what an entry
// does; these lists only name the choices when a word is not one of them.
#include <string>
#include <vector>

class Machine;

using WordList = std::vector<std::string>;

WordList SectionNames();  // the reader's sections and "[END]"
WordList SelectorTags();  // "[WIN95]" to "[DEFAULT]"
const WordList& BeginKeys();
const WordList& AllKeywords();  // every word of the number-or-keyword table

// Keywords that fit a field, with the numbers the field takes.
struct KeywordField {
    const char* what;  // "button kind", ...
    WordList words;
    int lowest;
    int highest;
};
const KeywordField& ButtonKindField();
const KeywordField& ButtonStateField();
const KeywordField& ButtonOptionField();
const KeywordField& ChainOptionField();
const KeywordField& NormalColourField();
const KeywordField& YesNoField();

// The candidate closest to `word` (compared in upper case) when it is close
// enough to be a slip of the keys; empty otherwise.
std::string NearestWord(Machine& machine, const std::string& word, const WordList& candidates);
