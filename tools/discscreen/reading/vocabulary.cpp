#include "reading/vocabulary.h"

#include <algorithm>

#include "script/entry_handlers.h"
#include "script/numbers.h"
#include "script/screen_script.h"
#include "script/upper_case.h"

WordList SectionNames() {
    WordList names;
    for (int i = 0; ScreenScript::SectionName(i); ++i) names.push_back(ScreenScript::SectionName(i));
    names.push_back("[END]");
    return names;
}

WordList SelectorTags() {
    WordList tags;
    for (int i = 1; ScreenScript::Tag(i); ++i) tags.push_back(ScreenScript::Tag(i));
    return tags;
}

const WordList& BeginKeys() {
    static const WordList keys = [] {
        WordList names;
        for (int key = 0; key < kBeginKeyCount; ++key) names.push_back(BeginKeyName(key));
        return names;
    }();
    return keys;
}

namespace {

// The reader's keywords that the fields in `fields` take.
WordList KeywordsOf(unsigned fields) {
    WordList words;
    int value;
    unsigned of;
    for (int i = 0; const char* word = KeywordAt(i, &value, &of); ++i) {
        if (of & fields) words.push_back(word);
    }
    return words;
}

}  // namespace

const WordList& AllKeywords() {
    static const WordList words = KeywordsOf(~0u);
    return words;
}

const KeywordField& ButtonKindField() {
    static const KeywordField field{"button kind", KeywordsOf(kButtonKindField), 0, 3};
    return field;
}
const KeywordField& ButtonStateField() {
    static const KeywordField field{"button state", KeywordsOf(kButtonStateField), -2, 2};
    return field;
}
const KeywordField& ButtonOptionField() {
    static const KeywordField field{"button option", KeywordsOf(kButtonOptionField), 0, 2};
    return field;
}
const KeywordField& ChainOptionField() {
    static const KeywordField field{"wait option", KeywordsOf(kWaitOptionField), 0, 1};
    return field;
}
const KeywordField& NormalColourField() {
    static const KeywordField field{"normal colour", KeywordsOf(kNormalColourField), -2, 15};
    return field;
}
const KeywordField& YesNoField() {
    static const KeywordField field{"value", KeywordsOf(kYesNoField), 0, 1};
    return field;
}

namespace {

std::size_t Distance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

std::string NearestWord(Machine& machine, const std::string& word, const WordList& candidates) {
    std::string upper = UpperCase(machine, word);
    // A word written out in full, such as [GERMAN] for [GER].
    auto bare = [](const std::string& text) {
        return text.size() > 2 && text.front() == '[' ? text.substr(1, text.size() - 2) : text;
    };
    for (const std::string& candidate : candidates) {
        std::string stem = bare(candidate);
        if (stem.size() >= 3 && upper != candidate && bare(upper).compare(0, stem.size(), stem) == 0)
            return candidate;
    }
    std::string best;
    std::size_t bestDistance = 0;
    for (const std::string& candidate : candidates) {
        std::size_t distance = Distance(upper, candidate);
        if (best.empty() || distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    // A slip of one key in a short word, two or a third of a longer one.
    std::size_t allowed = best.size() <= 4 ? 1 : std::max<std::size_t>(2, best.size() / 3);
    if (best.empty() || bestDistance == 0 || bestDistance > allowed) return std::string();
    return best;
}
