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

// --- The described vocabulary ---------------------------------------------
// Every section, tag, key, field and keyword the reader knows, each with
// what it holds and a one-line meaning, for the designer's panel and the
// script reference. Which words exist comes from the reader's own tables;
// only how to show them and what they mean is written here (the meanings
// in vocabulary_meanings.cpp).

// What a value or field holds, as an editor offers it.
enum class ValueKind {
    kNumber, kColour, kFont, kFontSpecification, kPicture, kSound, kCommand, kText,
    kWords, kMessage, kChoice, kButtons,
};
const char* KindName(ValueKind kind);  // "number", "colour", ...

struct ChoiceWord {
    std::string word;  // "CHECKBOX"; empty for a field left blank
    int value;
    std::string meaning;
};

// A field that fits only some words, or means something else, for some
// kinds of button.
struct KindReading {
    std::string label;               // "check box"
    std::vector<std::string> kinds;  // "CHECKBOX"
    std::string meaning;
    std::vector<ChoiceWord> choices;
};

struct FieldWord {
    std::string name;  // "caption placement"
    ValueKind kind;
    std::string meaning;
    std::vector<ChoiceWord> choices;
    std::vector<KindReading> byKind;
};

struct KeyWord {
    std::string name;  // "TITLE", "BUTTON"
    int lowest = 0;    // the item numbers it takes; none when highest < lowest
    int highest = -1;
    std::string meaning;
    bool wholeValue = true;  // one field: everything after "="
    bool repeats = false;    // the fields repeat as a list
    std::vector<FieldWord> fields;
    bool Numbered() const { return highest >= lowest; }
};

struct SectionWord {
    std::string name;  // "[BUTTON]"
    std::string meaning;
    bool ofButton = false;  // its entries name a button given before them
    std::vector<KeyWord> keys;
};

struct TagWord {
    std::string tag;  // "[WIN95]"
    bool windows;     // a Windows-version tag, else a language tag
    std::string meaning;
};

struct Vocabulary {
    std::vector<SectionWord> sections;  // in the reader's order, then "[END]"
    std::vector<TagWord> tags;
    std::vector<std::string> missing;   // the words that have no meaning
    std::vector<std::string> unused;    // meanings of words the reader lacks
};
const Vocabulary& ScriptVocabulary();

// The field names of TEXT and BUTTON entries, by the reader's field order
// (script/text_entry.h, script/button_entry.h).
const char* TextFieldName(int field);
const char* ButtonFieldName(int field);

// The one-line meaning of a word of the vocabulary, by its id ("[BEGIN]",
// "[BEGIN] TITLE", "[BUTTON] BUTTON kind CHECKBOX"); null when none.
const char* MeaningOf(const std::string& id);
// Every id that has a meaning.
std::vector<std::string> MeaningIds();

// The candidate closest to `word` (compared in upper case) when it is close
// enough to be a slip of the keys; empty otherwise.
std::string NearestWord(Machine& machine, const std::string& word, const WordList& candidates);
