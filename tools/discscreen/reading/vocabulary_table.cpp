// The described vocabulary: the reader's sections, tags, keys and keywords,
// with the form of each key's value and the meanings of the meanings file.
// A word the reader knows whose form or meaning is not written here is
// listed as missing, which the vocabulary's test refuses.
#include <algorithm>
#include <set>

#include "reading/vocabulary.h"
#include "script/button_entry.h"
#include "script/entry_handlers.h"
#include "script/numbers.h"
#include "script/screen_model.h"
#include "script/screen_script.h"
#include "script/text_entry.h"

namespace {

constexpr const char* kTextFieldNames[] = {"text", "highlight colour", "normal colour",
                                           "highlight background", "font", "x", "y", "width",
                                           "height"};
static_assert(sizeof kTextFieldNames / sizeof *kTextFieldNames == kTextFieldCount,
              "a name for each field of a TEXT entry");
constexpr const char* kButtonFieldNames[] = {
    "kind",    "x",       "y",       "width",             "height",      "state",
    "option",  "picture", "caption", "caption placement", "hover sound", "command"};
static_assert(sizeof kButtonFieldNames / sizeof *kButtonFieldNames == kButtonFieldCount,
              "a name for each field of a BUTTON entry");

constexpr int kLastSlot = kSlotCount - 1;

// Collects the meanings asked for, and the ids that have none.
class Meanings {
public:
    std::string Of(const std::string& id) {
        asked_.insert(id);
        const char* meaning = MeaningOf(id);
        if (meaning) return meaning;
        missing_.push_back(id);
        return std::string();
    }
    // The meaning of `id` when the file has one, else that of `fallback`.
    std::string OfEither(const std::string& id, const std::string& fallback) {
        if (MeaningOf(id)) return Of(id);
        return Of(fallback);
    }
    // A word of the reader whose form is not written here.
    void Lacks(const std::string& what) { missing_.push_back(what); }
    std::vector<std::string> Missing() const { return missing_; }
    std::vector<std::string> Unused() const {
        std::vector<std::string> unused;
        for (const std::string& id : MeaningIds()) {
            if (!asked_.count(id)) unused.push_back(id);
        }
        return unused;
    }

private:
    std::set<std::string> asked_;
    std::vector<std::string> missing_;
};

// The reader's keywords meant for `fields`, with their meanings in `id`.
std::vector<ChoiceWord> KeywordChoices(Meanings& meanings, const std::string& id, unsigned fields) {
    std::vector<ChoiceWord> choices;
    int value;
    unsigned of;
    for (int i = 0; const char* word = KeywordAt(i, &value, &of); ++i) {
        if (of & fields) choices.push_back({word, value, meanings.Of(id + " " + word)});
    }
    return choices;
}

// The words of a field that the reader compares itself rather than through
// the keyword table; the vocabulary's test reads each through the reader.
std::vector<ChoiceWord> WordChoices(Meanings& meanings, const std::string& id,
                                    const std::vector<std::pair<std::string, int>>& words) {
    std::vector<ChoiceWord> choices;
    for (const auto& [word, value] : words) {
        choices.push_back({word, value, meanings.Of(id + " " + (word.empty() ? "(blank)" : word))});
    }
    return choices;
}

FieldWord Field(Meanings& meanings, const std::string& keyId, const std::string& name,
                ValueKind kind) {
    return {name, kind, meanings.Of(keyId + " " + name), {}, {}};
}

// A field that fits only some of its words for some kinds of button; the
// meaning of a word there is its own when the file gives one.
KindReading ForKinds(Meanings& meanings, const std::string& fieldId, const std::string& label,
                     std::vector<std::string> kinds, const std::vector<ChoiceWord>& all,
                     const std::vector<std::string>& fitting) {
    std::string id = fieldId + " for " + label;
    KindReading reading{label, std::move(kinds), meanings.Of(id), {}};
    for (const ChoiceWord& choice : all) {
        if (std::find(fitting.begin(), fitting.end(), choice.word) == fitting.end()) continue;
        reading.choices.push_back(
            {choice.word, choice.value, meanings.OfEither(id + " " + choice.word, fieldId + " " + choice.word)});
    }
    return reading;
}

KeyWord WholeKey(Meanings& meanings, const std::string& section, const std::string& name,
                 ValueKind kind) {
    std::string id = section + " " + name;
    KeyWord key;
    key.name = name;
    key.meaning = meanings.Of(id);
    key.fields.push_back({"value", kind, key.meaning, {}, {}});
    return key;
}

KeyWord ListKey(Meanings& meanings, const std::string& section, const std::string& name) {
    KeyWord key;
    key.name = name;
    key.meaning = meanings.Of(section + " " + name);
    key.wholeValue = false;
    return key;
}

KeyWord NumberedKey(KeyWord key, int lowest) {
    key.lowest = lowest;
    key.highest = kLastSlot;
    return key;
}

std::vector<KeyWord> BeginKeys(Meanings& meanings) {
    const std::string section = "[BEGIN]";
    std::vector<KeyWord> keys;
    for (int index = 0; index < kBeginKeyCount; ++index) {
        const std::string name = BeginKeyName(index);
        const std::string id = section + " " + name;
        switch (static_cast<BeginKey>(index)) {
            case kBeginTitle: keys.push_back(WholeKey(meanings, section, name, ValueKind::kWords)); break;
            case kBeginFont:
                keys.push_back(NumberedKey(WholeKey(meanings, section, name, ValueKind::kFontSpecification), 0));
                break;
            case kBeginIntroBitmap: keys.push_back(WholeKey(meanings, section, name, ValueKind::kPicture)); break;
            case kBeginRunMultiple: {
                KeyWord key = WholeKey(meanings, section, name, ValueKind::kChoice);
                key.fields[0].choices = KeywordChoices(meanings, id, kYesNoField);
                keys.push_back(key);
                break;
            }
            case kBeginIntroSound: {
                KeyWord key = ListKey(meanings, section, name);
                key.fields = {Field(meanings, id, "sound", ValueKind::kSound),
                              Field(meanings, id, "seconds", ValueKind::kNumber)};
                keys.push_back(key);
                break;
            }
            case kBeginTrapRebootMode: {
                KeyWord key = WholeKey(meanings, section, name, ValueKind::kChoice);
                key.fields[0].choices = WordChoices(meanings, id, {{"OK", 0}, {"YESNO", 4}});
                keys.push_back(key);
                break;
            }
            case kBeginTrapReboot:
            case kBeginFinalReboot:
            case kBeginAllowReboot:
                keys.push_back(WholeKey(meanings, section, name, ValueKind::kMessage));
                break;
            case kBeginTrapRebootButtons:
            case kBeginAllowRebootButtons:
                keys.push_back(WholeKey(meanings, section, name, ValueKind::kButtons));
                break;
            case kBeginKeyCount: break;
        }
        if (keys.size() != static_cast<std::size_t>(index) + 1) meanings.Lacks("the form of " + id);
    }
    return keys;
}

KeyWord TextKey(Meanings& meanings) {
    const std::string id = std::string("[TEXT] ") + kTextKey;
    KeyWord key = NumberedKey(ListKey(meanings, "[TEXT]", kTextKey), 1);
    const ValueKind kinds[] = {ValueKind::kMessage, ValueKind::kColour, ValueKind::kColour,
                               ValueKind::kColour,  ValueKind::kFont,   ValueKind::kNumber,
                               ValueKind::kNumber,  ValueKind::kNumber, ValueKind::kNumber};
    static_assert(sizeof kinds / sizeof *kinds == kTextFieldCount, "a kind for each field");
    for (int field = 0; field < kTextFieldCount; ++field) {
        key.fields.push_back(Field(meanings, id, kTextFieldNames[field], kinds[field]));
    }
    FieldWord& normal = key.fields[kTextNormalColour];
    normal.choices = KeywordChoices(meanings, id + " " + normal.name, kNormalColourField);
    return key;
}

KeyWord ButtonKey(Meanings& meanings) {
    const std::string id = std::string("[BUTTON] ") + kButtonKey;
    KeyWord key = NumberedKey(ListKey(meanings, "[BUTTON]", kButtonKey), 1);
    const ValueKind kinds[] = {ValueKind::kChoice,  ValueKind::kNumber, ValueKind::kNumber,
                               ValueKind::kNumber,  ValueKind::kNumber, ValueKind::kChoice,
                               ValueKind::kChoice,  ValueKind::kPicture, ValueKind::kText,
                               ValueKind::kChoice,  ValueKind::kSound,  ValueKind::kCommand};
    static_assert(sizeof kinds / sizeof *kinds == kButtonFieldCount, "a kind for each field");
    for (int field = 0; field < kButtonFieldCount; ++field) {
        key.fields.push_back(Field(meanings, id, kButtonFieldNames[field], kinds[field]));
    }
    auto choicesOf = [&](int field, unsigned keywordField) {
        FieldWord& word = key.fields[field];
        word.choices = KeywordChoices(meanings, id + " " + word.name, keywordField);
        return id + " " + word.name;
    };
    choicesOf(kButtonKind, kButtonKindField);

    const std::vector<std::string> buttons = {"PUSHBUTTON", "EXITBUTTON", "OKBUTTON"};
    std::string state = choicesOf(kButtonState, kButtonStateField);
    FieldWord& stateField = key.fields[kButtonState];
    stateField.byKind = {
        ForKinds(meanings, state, "buttons", buttons, stateField.choices, {"NORMAL", "FOCUS", "DISABLE", "HIDE", "HELP"}),
        ForKinds(meanings, state, "check boxes", {"CHECKBOX"}, stateField.choices, {"UNCHECK", "CHECK", "DISABLE", "HIDE", "HELP"}),
    };
    std::string option = choicesOf(kButtonOption, kButtonOptionField);
    FieldWord& optionField = key.fields[kButtonOption];
    optionField.byKind = {
        ForKinds(meanings, option, "push buttons", {"PUSHBUTTON"}, optionField.choices, {"NO", "YES", "SHOW"}),
        ForKinds(meanings, option, "exit buttons", {"EXITBUTTON"}, optionField.choices, {}),
        ForKinds(meanings, option, "OK buttons", {"OKBUTTON"}, optionField.choices, {"NO", "YES"}),
        ForKinds(meanings, option, "check boxes", {"CHECKBOX"}, optionField.choices, {"NO", "YES"}),
    };
    FieldWord& placement = key.fields[kButtonPlacement];
    placement.choices = WordChoices(meanings, id + " " + placement.name, {{"", 0}, {"LEFT", 1}, {"MERGE", 2}});
    return key;
}

// The keys of a section that names buttons given before it, or runs them.
KeyWord ButtonSectionKey(Meanings& meanings, const std::string& section, bool* known) {
    const std::string id = section + " " + kButtonKey;
    *known = true;
    if (section == "[INSTALLMESSAGE]" || section == "[MESSAGE]")
        return NumberedKey(WholeKey(meanings, section, kButtonKey, ValueKind::kMessage), 1);
    if (section == "[EXTRATEXT]")
        return NumberedKey(WholeKey(meanings, section, kButtonKey, ValueKind::kText), 1);
    KeyWord key = NumberedKey(ListKey(meanings, section, kButtonKey), 1);
    if (section == "[REFERENCE]") {
        key.repeats = true;
        key.fields = {Field(meanings, id, "button number", ValueKind::kNumber),
                      Field(meanings, id, "word", ValueKind::kWords)};
    } else if (section == "[IGNOREWAITPROCESS]") {
        key.repeats = true;
        key.fields = {Field(meanings, id, "process", ValueKind::kWords)};
    } else if (section == "[RUN]" || section == "[REBOOTED]") {
        key.fields = {Field(meanings, id, "command", ValueKind::kCommand),
                      Field(meanings, id, "wait", ValueKind::kChoice)};
        key.fields[1].choices = KeywordChoices(meanings, id + " wait", kWaitOptionField);
    } else {
        *known = false;
    }
    return key;
}

Vocabulary Build() {
    Meanings meanings;
    Vocabulary vocabulary;
    for (int i = 0; const char* name = ScreenScript::SectionName(i); ++i) {
        SectionWord section{name, meanings.Of(name), false, {}};
        if (section.name == "[BEGIN]") {
            section.keys = BeginKeys(meanings);
        } else if (section.name == "[TEXT]") {
            section.keys = {TextKey(meanings)};
        } else if (section.name == "[BUTTON]") {
            section.keys = {ButtonKey(meanings)};
        } else {
            bool known = false;
            section.keys = {ButtonSectionKey(meanings, section.name, &known)};
            if (!known) vocabulary.missing.push_back("the form of " + section.name);
            section.ofButton = section.name != "[RUN]" && section.name != "[REBOOTED]";
        }
        vocabulary.sections.push_back(section);
    }
    vocabulary.sections.push_back({"[END]", meanings.Of("[END]"), false, {}});
    for (int i = 1; const char* tag = ScreenScript::Tag(i); ++i) {
        vocabulary.tags.push_back({tag, i < kFirstLanguageTag, meanings.Of(tag)});
    }
    // Every keyword of the reader's table is a word of some field.
    std::set<std::string> offered;
    for (const SectionWord& section : vocabulary.sections) {
        for (const KeyWord& key : section.keys) {
            for (const FieldWord& field : key.fields) {
                for (const ChoiceWord& choice : field.choices) offered.insert(choice.word);
            }
        }
    }
    int value;
    unsigned fields;
    for (int i = 0; const char* word = KeywordAt(i, &value, &fields); ++i) {
        if (!offered.count(word)) meanings.Lacks(std::string("a field for the keyword ") + word);
    }
    for (const std::string& id : meanings.Missing()) vocabulary.missing.push_back(id);
    vocabulary.unused = meanings.Unused();
    return vocabulary;
}

}  // namespace

const char* KindName(ValueKind kind) {
    switch (kind) {
        case ValueKind::kNumber: return "number";
        case ValueKind::kColour: return "colour";
        case ValueKind::kFont: return "font";
        case ValueKind::kFontSpecification: return "font specification";
        case ValueKind::kPicture: return "picture";
        case ValueKind::kSound: return "sound";
        case ValueKind::kCommand: return "command";
        case ValueKind::kText: return "text";
        case ValueKind::kWords: return "words";
        case ValueKind::kMessage: return "message";
        case ValueKind::kChoice: return "choice";
        case ValueKind::kButtons: return "buttons";
    }
    return "";
}

const char* TextFieldName(int field) {
    return field >= 0 && field < kTextFieldCount ? kTextFieldNames[field] : nullptr;
}
const char* ButtonFieldName(int field) {
    return field >= 0 && field < kButtonFieldCount ? kButtonFieldNames[field] : nullptr;
}

const Vocabulary& ScriptVocabulary() {
    static const Vocabulary vocabulary = Build();
    return vocabulary;
}
