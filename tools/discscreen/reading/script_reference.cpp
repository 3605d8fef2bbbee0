#include "reading/script_reference.h"

#include <iostream>
#include <string>

#include "reading/vocabulary.h"
#include "script/text_entry.h"
#include "ui/text_look.h"

namespace {

std::string Code(const std::string& text) { return "`" + text + "`"; }

std::string WordCell(const ChoiceWord& choice) {
    return choice.word.empty() ? "(blank)" : Code(choice.word);
}

void Choices(std::ostream& out, const std::vector<ChoiceWord>& choices) {
    if (choices.empty()) return;
    out << "\n| Word | Reads as | Meaning |\n|---|---|---|\n";
    for (const ChoiceWord& choice : choices) {
        out << "| " << WordCell(choice) << " | " << choice.value << " | " << choice.meaning << " |\n";
    }
}

void ByKind(std::ostream& out, const FieldWord& field) {
    for (const KindReading& reading : field.byKind) {
        out << "\nThe " << field.name << " of " << reading.label << ": " << reading.meaning << "\n";
        Choices(out, reading.choices);
    }
}

std::string KeyTitle(const KeyWord& key) {
    if (!key.Numbered()) return key.name;
    return key.name + "n (n " + std::to_string(key.lowest) + " to " + std::to_string(key.highest) + ")";
}

void Key(std::ostream& out, const KeyWord& key) {
    out << "\n### " << KeyTitle(key) << "\n\n" << key.meaning << "\n";
    if (key.wholeValue) {
        const FieldWord& value = key.fields.front();
        out << "\nValue: " << KindName(value.kind) << ".\n";
        Choices(out, value.choices);
        return;
    }
    out << "\nThe value is a list of fields separated by commas" << (key.repeats ? ", repeated" : "")
        << "; write a blank between two commas to leave a field empty.\n\n"
        << "| Field | Name | Kind | Meaning |\n|---|---|---|---|\n";
    for (std::size_t i = 0; i < key.fields.size(); ++i) {
        const FieldWord& field = key.fields[i];
        out << "| " << i + 1 << " | " << field.name << " | " << KindName(field.kind) << " | "
            << field.meaning << " |\n";
    }
    for (const FieldWord& field : key.fields) {
        if (field.choices.empty() && field.byKind.empty()) continue;
        out << "\n#### " << field.name << "\n";
        Choices(out, field.choices);
        ByKind(out, field);
    }
}

void Colours(std::ostream& out) {
    out << "\n## Colours\n\nA colour field names one of the program's " << kColourCount << " colours by its number.\n\n"
        << "| Number | Red, green, blue |\n|---|---|\n";
    for (int index = 0; index < kColourCount; ++index) {
        unsigned long colour = TableColour(index);
        out << "| " << index << " | " << (colour & 0xFF) << ", " << ((colour >> 8) & 0xFF) << ", "
            << ((colour >> 16) & 0xFF) << " |\n";
    }
}

}  // namespace

void WriteScriptReference(std::ostream& out) {
    const Vocabulary& vocabulary = ScriptVocabulary();
    out << "# Script reference\n\n"
           "<!-- Made by `discscreen reference` from the reader's own tables; make check compares. -->\n\n"
           "Every section, tag, key, field and word that the program reads in a screen script, "
           "with its meaning. Section names, keys and words may be written in any case. An entry is "
           "`KEY=value`, or `KEYn=value` for a numbered key; lines before the first `[BEGIN]` and "
           "after `[END]` are not read.\n\n## Sections\n\n| Section | Meaning |\n|---|---|\n";
    for (const SectionWord& section : vocabulary.sections) {
        out << "| " << Code(section.name) << " | " << section.meaning << " |\n";
    }
    out << "\n## Selector tags\n\nTags written after a section's name on its header line choose the "
           "systems that read the section. A header without a Windows tag is read on every Windows, "
           "one without a language tag in every language.\n\n| Tag | Kind | Meaning |\n|---|---|---|\n";
    for (const TagWord& tag : vocabulary.tags) {
        out << "| " << Code(tag.tag) << " | " << (tag.windows ? "Windows version" : "language") << " | "
            << tag.meaning << " |\n";
    }
    for (const SectionWord& section : vocabulary.sections) {
        if (section.keys.empty()) continue;
        out << "\n## " << section.name << "\n\n" << section.meaning << "\n";
        for (const KeyWord& key : section.keys) Key(out, key);
    }
    Colours(out);
}

int RunReference(int argc, char**) {
    if (argc != 0) {
        std::cerr << "usage: discscreen reference\n";
        return 2;
    }
    WriteScriptReference(std::cout);
    return 0;
}
