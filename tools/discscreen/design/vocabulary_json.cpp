#include "design/vocabulary_json.h"

#include <cstdio>

#include "design/new_entry_values.h"
#include "reading/vocabulary.h"
#include "script/text_entry.h"
#include "ui/text_look.h"

using nlohmann::json;

namespace {

json ChoicesJson(const std::vector<ChoiceWord>& choices) {
    json list = json::array();
    for (const ChoiceWord& choice : choices) {
        list.push_back({{"word", choice.word}, {"value", choice.value}, {"meaning", choice.meaning}});
    }
    return list;
}

json FieldJson(const FieldWord& field) {
    json byKind = json::array();
    for (const KindReading& reading : field.byKind) {
        byKind.push_back({{"label", reading.label}, {"kinds", reading.kinds},
                          {"meaning", reading.meaning}, {"choices", ChoicesJson(reading.choices)}});
    }
    return {{"name", field.name}, {"kind", KindName(field.kind)}, {"meaning", field.meaning},
            {"choices", ChoicesJson(field.choices)}, {"byKind", byKind}};
}

json KeyJson(const SectionWord& section, const KeyWord& key) {
    json fields = json::array();
    for (const FieldWord& field : key.fields) fields.push_back(FieldJson(field));
    json numbers = key.Numbered() ? json{{"lowest", key.lowest}, {"highest", key.highest}} : json(nullptr);
    const char* newValue = NewEntryValueOf(section.name + " " + key.name);
    return {{"name", key.name}, {"numbers", numbers}, {"meaning", key.meaning},
            {"wholeValue", key.wholeValue}, {"repeats", key.repeats}, {"fields", fields},
            {"newValue", newValue ? json(newValue) : json(nullptr)}};
}

std::string HexColour(unsigned long colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", static_cast<unsigned>(colour & 0xFF),
                  static_cast<unsigned>((colour >> 8) & 0xFF), static_cast<unsigned>((colour >> 16) & 0xFF));
    return text;
}

}  // namespace

json VocabularyJson() {
    const Vocabulary& vocabulary = ScriptVocabulary();
    json sections = json::array();
    for (const SectionWord& section : vocabulary.sections) {
        json keys = json::array();
        for (const KeyWord& key : section.keys) keys.push_back(KeyJson(section, key));
        sections.push_back({{"name", section.name}, {"meaning", section.meaning},
                            {"ofButton", section.ofButton}, {"keys", keys}});
    }
    json tags = json::array();
    for (const TagWord& tag : vocabulary.tags) {
        tags.push_back({{"tag", tag.tag}, {"windows", tag.windows}, {"meaning", tag.meaning}});
    }
    json colours = json::array();
    for (int index = 0; index < kColourCount; ++index) colours.push_back(HexColour(TableColour(index)));
    return {{"sections", sections}, {"tags", tags}, {"colours", colours}};
}
