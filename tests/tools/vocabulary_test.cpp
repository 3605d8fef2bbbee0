// The described vocabulary against the reader: every word it knows has a
// meaning, the words the tool lists itself read as the reader reads them,
// and the committed script reference is the one the vocabulary makes.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "fake_machine.h"
#include "fake_script_host.h"
#include "design/new_entry_values.h"
#include "reading/script_reference.h"
#include "reading/vocabulary.h"

namespace {

std::string Joined(const std::vector<std::string>& ids) {
    std::string text;
    for (const std::string& id : ids) text += "\n  " + id;
    return text;
}

const KeyWord& KeyOf(const std::string& section, const std::string& name) {
    for (const SectionWord& word : ScriptVocabulary().sections) {
        if (word.name != section) continue;
        for (const KeyWord& key : word.keys) {
            if (key.name == name) return key;
        }
    }
    throw std::runtime_error("no key " + section + " " + name);
}

const FieldWord& FieldOf(const KeyWord& key, const std::string& name) {
    for (const FieldWord& field : key.fields) {
        if (field.name == name) return field;
    }
    throw std::runtime_error("no field " + name);
}

struct Reading {
    FakeMachine machine;
    FakeScriptHost host{machine};
    ScreenModel model;
    explicit Reading(const std::string& body) { ReadScript(machine, model, host, body); }
};

}  // namespace

TEST(Vocabulary, EveryWordOfTheReaderHasAMeaningAndEveryMeaningAWord) {
    EXPECT_TRUE(ScriptVocabulary().missing.empty()) << "without a meaning:" << Joined(ScriptVocabulary().missing);
    EXPECT_TRUE(ScriptVocabulary().unused.empty()) << "no such word:" << Joined(ScriptVocabulary().unused);
}

// Words the reader compares itself, outside its keyword table.
TEST(Vocabulary, ListedWordsReadAsTheirNumbers) {
    for (const ChoiceWord& mode : KeyOf("[BEGIN]", "TRAPREBOOTMODE").fields[0].choices) {
        Reading reading("TRAPREBOOTMODE=" + mode.word + "\n");
        EXPECT_EQ(reading.model.restartMode, mode.value) << mode.word;
    }
    // A caption without a position, placed by the word and by its number.
    auto captionPlace = [](const std::string& placement) {
        Reading reading("[TEXT]\nTEXT1=Go,0,0, ,0, , ,50,10\n[BUTTON]\nBUTTON1=PUSHBUTTON,100,100,40,20,"
                        "NORMAL,NO, ,1," + placement + "\n");
        return std::make_pair(reading.model.Text(1)->x, reading.model.Text(1)->y);
    };
    const std::vector<ChoiceWord>& placements = FieldOf(KeyOf("[BUTTON]", "BUTTON"), "caption placement").choices;
    std::set<std::pair<int, int>> places;
    for (const ChoiceWord& placement : placements) {
        EXPECT_EQ(captionPlace(placement.word.empty() ? " " : placement.word), captionPlace(std::to_string(placement.value)))
            << placement.word;
        places.insert(captionPlace(std::to_string(placement.value)));
    }
    EXPECT_EQ(places.size(), placements.size()) << "each placement puts the caption elsewhere";
}

// A new entry's value is for a key the reader has, and reads as one field.
TEST(Vocabulary, NewEntryValuesAreForKeysOfTheReader) {
    for (const std::string& id : NewEntryValueIds()) {
        const std::size_t space = id.find(' ');
        EXPECT_TRUE(KeyOf(id.substr(0, space), id.substr(space + 1)).wholeValue) << id;
        EXPECT_EQ(std::string(NewEntryValueOf(id)).find(','), std::string::npos) << id;
    }
}

TEST(Vocabulary, TheCommittedReferenceIsTheGeneratedOne) {
    std::ifstream file(std::string(DISCSCREEN_SOURCE_DIR) + "/docs/script-reference.md");
    std::stringstream committed;
    committed << file.rdbuf();
    std::ostringstream made;
    WriteScriptReference(made);
    EXPECT_EQ(committed.str(), made.str()) << "run: build/bin/discscreen reference > docs/script-reference.md";
}
