#include "check/system_checks.h"

#include <algorithm>

#include "check/autorun_facts.h"
#include "app/intro_sound.h"
#include "reading/code_page.h"
#include "launch/target_resolution.h"
#include "script/button_entry.h"
#include "script/entry_handlers.h"
#include "script/field_list.h"
#include "script/numbers.h"
#include "script/program_paths.h"
#include "script/text_entry.h"
#include "script/text_trim.h"
#include "script/upper_case.h"
#include "ui/dib_cache.h"
#include "reading/vocabulary.h"

namespace {

// The fields' names in messages, in the reader's order of the fields.
// The fields' names are the vocabulary's, as the designer and the
// reference show them.
std::vector<const char*> FieldNames(const char* (*name)(int), int count) {
    std::vector<const char*> names;
    for (int field = 0; field < count; ++field) names.push_back(name(field));
    return names;
}
const std::vector<const char*> kTextFields = FieldNames(TextFieldName, kTextFieldCount);
const std::vector<const char*> kButtonFields = FieldNames(ButtonFieldName, kButtonFieldCount);
const std::vector<const char*> kReferenceFields = {"button number", "word"};

constexpr int kLastSlot = kSlotCount - 1;
const std::string kLastSlotText = std::to_string(kLastSlot);

bool Contains(const std::vector<std::string>& words, const std::string& word) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

bool HasDigit(const std::string& text) {
    return text.find_first_of("0123456789") != std::string::npos;
}

template <typename Fields>
bool Has(const Fields& fields, int index) {
    return static_cast<std::size_t>(index) < fields.size();
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

// A path on the disc's drive as the author sees it: from the disc's root.
std::string OnDiscPath(const std::string& windowsPath) { return windowsPath.substr(2); }

std::string DidYouMean(const std::string& word) {
    return word.empty() ? std::string() : "; did you mean " + word + "?";
}

}  // namespace

Finding Reading::MakeFinding(Severity severity, int column, const std::string& message,
                             const char* name) const {
    Finding finding;
    finding.line = line_;
    finding.column = column;
    finding.severity = severity;
    finding.message = message;
    finding.name = name;
    return finding;
}

void Reading::Add(Severity severity, int column, const std::string& message, const char* name,
                  bool ofOneSystem) {
    Finding finding = MakeFinding(severity, column, message, name);
    if (finding.line <= 0) finding.line = 1;
    finding.ofOneSystem = ofOneSystem;
    report_.Add(finding);
}

void Reading::AddIfEveryReading(Severity severity, int column, const std::string& message,
                                const char* name) {
    report_.AddIfEveryReading(MakeFinding(severity, column, message, name));
}

int Reading::Leading() const {
    std::size_t at = 0;
    while (at < raw_.size() && IsTrimChar(raw_[at])) ++at;
    return static_cast<int>(at);
}

int Reading::NumberColumn() const {
    std::size_t equals = raw_.find('=');
    std::string key = raw_.substr(Leading(), equals == std::string::npos ? 0 : equals - Leading());
    std::size_t pos = std::string::npos;
    ParseNumberOrKeyword(key, &pos);
    return Leading() + 1 + static_cast<int>(pos == std::string::npos ? 0 : pos);
}

// The fields of the value as the program cuts them (runs of commas count as
// one), each with the column where it starts.
std::vector<Reading::Field> Reading::Fields() const {
    std::vector<Field> fields;
    std::size_t start = raw_.find('=') + 1;
    std::size_t at = start;
    while (at <= raw_.size()) {
        std::size_t end = raw_.find(',', at);
        if (end == std::string::npos) end = raw_.size();
        if (end > at) fields.push_back({raw_.substr(at, end - at), static_cast<int>(at) + 1});
        at = end + 1;
    }
    return fields;
}

void Reading::CheckCodePage() {
    // A CR that ends the script's last line is read as the end of that line.
    std::string text = raw_;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    std::string why;
    std::size_t bad = FirstNonTextByte(text, system_.codePage, &why);
    if (bad != std::string::npos)
        Add(Severity::kError, static_cast<int>(bad) + 1, why + " (read on " + system_.description + ")",
            "code-page");
}

void Reading::OnLine(int number, const std::string& line) {
    line_ = number;
    raw_ = line;
    std::string text = Trimmed(line);
    if (text.empty()) return;
    if (text[0] == '[') {
        if (text.find(']') == std::string::npos)
            Add(Severity::kError, Leading() + 1, "header without ']' is ignored", "header");
        return;
    }
    if (!accepted_ || windowsOwn_) return;
    if (!beginSeen_) {
        Add(Severity::kWarning, Leading() + 1, "entry before [BEGIN] is ignored", "before-begin");
    } else if (text.find('=') == std::string::npos) {
        Add(Severity::kWarning, Leading() + 1, "line without '=' is ignored", "no-equals");
    } else if (text[0] == '=') {
        Add(Severity::kWarning, Leading() + 1, "entry without a name is ignored", "no-equals");
    }
}

void Reading::OnHeader(const std::string& section, const std::string& selector, bool accepted) {
    const int leading = Leading();
    // Windows's own sections ([autorun], a processor's, [Content] ...), which
    // tell it to start the program from the disc: the screen skips them, and
    // so does this check (check/autorun_checks.h reads them).
    windowsOwn_ = section.compare(0, 9, "[AUTORUN.") == 0 ||
                  (section.size() > 2 && FindAutorunSection(section.substr(1, section.size() - 2)));
    if (!windowsOwn_ && !Contains(SectionNames(), section)) {
        std::string near = NearestWord(machine_, section, SectionNames());
        Add(near.empty() ? Severity::kWarning : Severity::kError, leading + 1,
            "unknown section " + section + " is ignored" + DidYouMean(near), "unknown-section");
    }
    const std::vector<std::string> tags = SelectorTags();
    for (std::size_t open = selector.find('['); open != std::string::npos;
         open = selector.find('[', open + 1)) {
        std::size_t close = selector.find(']', open);
        if (close == std::string::npos) break;
        std::string tag = selector.substr(open, close - open + 1);
        if (Contains(tags, tag)) continue;
        std::string near = NearestWord(machine_, tag, tags);
        Add(Severity::kError, leading + static_cast<int>(section.size() + open) + 1,
            "unknown tag " + tag + " selects nothing, so the header applies to every system" +
                DidYouMean(near),
            "unknown-tag");
    }
    section_ = section;
    accepted_ = accepted;
    if (!accepted) return;
    CheckCodePage();
    if (section == "[BEGIN]") {
        beginSeen_ = true;
        if (!beginLine_) beginLine_ = line_;
    }
    if (section == "[RUN]" && beginSeen_ && !runLine_) runLine_ = line_;
}

void Reading::OnEntry(const std::string& name, int number, const std::string& value, bool used) {
    value_ = value;
    report_.CountReading(line_);
    CheckCodePage();
    if (section_ == "[BEGIN]") {
        OnBegin(name, number, used);
    } else if (section_ == "[TEXT]") {
        OnText(name, number, used);
    } else if (section_ == "[BUTTON]") {
        OnButton(name, number, used);
    } else if (section_ == "[RUN]" || section_ == "[REBOOTED]") {
        OnChainMember(name, number, used);
    } else if (Contains(SectionNames(), section_)) {
        OnButtonSection(name, number, used);
    }
}

void Reading::CheckUnknownName(const std::string& name, const std::vector<std::string>& known) {
    std::string near = NearestWord(machine_, name, known);
    Add(Severity::kError, Leading() + 1,
        "unknown key " + name + " in " + section_ + " is ignored" + DidYouMean(near), "unknown-key");
}

bool Reading::CheckNumber(int number, int lowest, int highest, const char* what) {
    if (number >= lowest && number <= highest) return true;
    Add(Severity::kError, NumberColumn(),
        std::string(what) + " " + std::to_string(number) + " is outside " + std::to_string(lowest) +
            " to " + std::to_string(highest) + "; the entry is ignored",
        "out-of-range");
    return false;
}

void Reading::CheckMovedFields(const std::vector<const char*>& names) {
    // The fields as meant: every comma separates, so an empty field keeps
    // its place.
    std::vector<std::string> meant;
    std::size_t start = raw_.find('=') + 1;
    for (std::size_t at = start;;) {
        std::size_t end = raw_.find(',', at);
        meant.push_back(raw_.substr(at, end == std::string::npos ? std::string::npos : end - at));
        if (end == std::string::npos) break;
        at = end + 1;
    }
    std::size_t actual = 0;
    int movedMeant = -1, movedActual = -1;
    std::string movedText;
    bool seenEmpty = false;
    for (std::size_t i = 0; i < meant.size(); ++i) {
        if (meant[i].empty()) {
            seenEmpty = true;
            continue;
        }
        if (seenEmpty && i != actual) {
            movedMeant = static_cast<int>(i);
            movedActual = static_cast<int>(actual);
            movedText = Trimmed(meant[i]);
        }
        ++actual;
    }
    if (movedMeant < 0) return;
    std::size_t first = raw_.find(",,", start);
    if (first == std::string::npos) first = start;  // a comma right after "="
    // A list of pairs names its fields in turn.
    auto fieldName = [&](int index) {
        std::string number = "field " + std::to_string(index + 1);
        if (names.size() == 2) return std::string(names[index % 2]) + " (" + number + ")";
        return index < static_cast<int>(names.size())
                   ? std::string(names[index]) + " (" + number + ")"
                   : number + ", which is ignored";
    };
    Add(Severity::kError, static_cast<int>(first) + 1,
        "commas in a row count as one, so the fields after them move up: " + Quoted(movedText) +
            " is read as the " + fieldName(movedActual) + ", not the " + fieldName(movedMeant),
        "moved-fields");
    // The line as meant: a blank between the commas keeps a field empty.
    std::string meantLine = raw_.substr(Leading(), start - Leading());
    std::size_t last = meant.size();
    while (last > 0 && meant[last - 1].empty()) --last;
    for (std::size_t i = 0; i < meant.size(); ++i) {
        if (i) meantLine += ",";
        meantLine += (meant[i].empty() && i < last) ? " " : meant[i];
    }
    Add(Severity::kNote, static_cast<int>(first) + 1, "write a blank between the commas: " + meantLine,
        "moved-fields");
}

void Reading::CheckKeyword(const Field& field, const KeywordField& kind) {
    std::string word = UpperCaseToken(machine_, field.text);
    if (word.empty()) return;
    if (HasDigit(word)) {
        int number = ParseNumberOrKeyword(word);
        if (number < kind.lowest || number > kind.highest)
            Add(Severity::kWarning, field.column,
                std::string(kind.what) + " " + std::to_string(number) + " is not " +
                    std::to_string(kind.lowest) + " to " + std::to_string(kind.highest),
                "out-of-range");
        return;
    }
    if (Contains(kind.words, word)) return;
    std::string near = NearestWord(machine_, word, kind.words);
    if (Contains(AllKeywords(), word)) {
        Add(Severity::kWarning, field.column,
            word + " is no " + kind.what + "; it reads as " + std::to_string(ParseNumberOrKeyword(word)) +
                DidYouMean(near),
            "wrong-keyword");
        return;
    }
    Add(Severity::kError, field.column,
        "unknown keyword " + Quoted(Trimmed(field.text)) + " for the " + kind.what +
            " reads as 0" + DidYouMean(near),
        "unknown-keyword");
}

// A field the program reads as a plain number: a word there (a colour's
// name) reads as 0, which is as wrong as an unknown keyword.
bool Reading::CheckIsNumber(const Field& field, const std::string& what) {
    std::string word = Trimmed(field.text);
    std::size_t digit = word.empty() || (word[0] != '-' && word[0] != '+') ? 0 : 1;
    if (word.empty() || (digit < word.size() && word[digit] >= '0' && word[digit] <= '9')) return true;
    Add(Severity::kError, field.column,
        "unknown keyword " + Quoted(word) + " for the " + what + " reads as 0; it takes a number", "unknown-keyword");
    return false;
}

void Reading::CheckColour(const Field& field, const char* what, bool blankAllowed) {
    std::string word = Trimmed(field.text);
    if (word.empty() && blankAllowed) return;
    if (!CheckIsNumber(field, std::string(what) + " (0 to 15 of the colour table)")) return;
    int colour = ParseInteger(field.text);
    if (blankAllowed && colour == -1) return;
    if (colour < 0 || colour > 15)
        Add(Severity::kError, field.column,
            std::string(what) + " " + std::to_string(colour) + " is outside 0 to 15; it is ignored",
            "out-of-range");
}

void Reading::CheckFontNumber(const Field& field) {
    if (Trimmed(field.text).empty()) return;
    int font = ParseNumberOrKeyword(field.text);
    if (font < 0 || font > kLastSlot) {
        Add(Severity::kError, field.column,
            "font " + std::to_string(font) + " is outside 0 to " + kLastSlotText +
                "; the text takes the default font",
            "out-of-range");
    } else if (!model_.Font(font)) {
        Add(Severity::kWarning, field.column,
            "font " + std::to_string(font) + " is given by no FONT entry before this line; the text "
            "takes the default font",
            "missing-font");
    }
}

void Reading::CheckTextNumber(const Field& field, const char* what) {
    std::string word = Trimmed(field.text);
    if (word.empty()) return;
    if (!HasDigit(word)) {
        if (!Contains(AllKeywords(), UpperCase(machine_, word)))
            Add(Severity::kError, field.column,
                std::string(what) + " " + Quoted(word) + " is no text number; the button has none",
                "missing-text");
        return;
    }
    int number = ParseNumberOrKeyword(word);
    if (number == 0) return;
    if (number < 1 || number > kLastSlot) {
        Add(Severity::kError, field.column,
            std::string(what) + " text " + std::to_string(number) + " is outside 1 to " + kLastSlotText +
                "; it is ignored",
            "out-of-range");
    } else if (!model_.Text(number)) {
        Add(Severity::kError, field.column,
            std::string(what) + " names text " + std::to_string(number) +
                ", which no TEXT entry before this line gives (on " + system_.description + ")",
            "missing-text");
    }
}

void Reading::CheckFile(const std::string& windowsPath, const std::string& written, int column,
                        const char* what) {
    if (!DiscFolder::OnDisc(windowsPath)) return;  // elsewhere on the machine: not ours to check
    DiscFile file = disc_.Find(windowsPath);
    if (!file.found || file.directory) {
        Add(Severity::kError, column,
            std::string(what) + " " + Quoted(written) + " is not on the disc (looked for " +
                OnDiscPath(windowsPath) + ")",
            "missing-file");
    } else if (file.caseDiffers) {
        Add(Severity::kWarning, column,
            std::string(what) + " " + Quoted(written) + " is asked for as " +
                OnDiscPath(windowsPath) + " but the disc spells it \\" + file.discName +
                "; a disc image that keeps letter case may not find it",
            "name-case");
    }
}

void Reading::CheckPicture(const std::string& written, int column, bool button) {
    std::string path = ButtonBitmapKey(machine_, written);
    if (!DiscFolder::OnDisc(path)) return;
    PictureCheck picture = CheckPictureFile(disc_, path);
    std::string name = Trimmed(written);
    CheckFile(path, name, column, "picture");
    if (!picture.file.found || picture.file.directory) return;
    if (!picture.loads) {
        Add(Severity::kError, column,
            "picture " + Quoted(name) + " cannot be loaded: " + picture.refusal, "bad-picture");
    } else if (button && picture.width % 4 != 0) {
        Add(Severity::kWarning, column,
            "button picture " + Quoted(name) + " is " + std::to_string(picture.width) +
                " pixels wide, which is not four frames of equal width",
            "picture-frames");
    }
    if (picture.loads && !picture.olderWindows.empty())
        Add(Severity::kWarning, column,
            "picture " + Quoted(name) + " does not show on Windows 95, 98 and ME: " + picture.olderWindows +
                " (discscreen picture makes a bitmap every Windows shows)",
            "bad-picture");
}

void Reading::CheckCommand(const std::string& command, int column) {
    if (command.empty()) return;
    // As the program looks: a drive path among the arguments makes the whole
    // line count as absolute, and each leading part is resolved on its own.
    std::string file;
    std::size_t end = 0;
    if (FindLeadingFile(machine_, ResolveScriptPath(machine_, command), &file, &end)) {
        CheckFile(file, file.substr(3), column, "command file");
        return;
    }
    std::string leading = ResolveScriptPath(machine_, command.substr(0, command.find_first_of(" \t")));
    if (!DiscFolder::OnDisc(leading)) return;  // elsewhere on the machine: not ours to check
    Add(Severity::kError, column,
        "command " + Quoted(command) + " starts no file on the disc (looked for " +
            OnDiscPath(leading) + ")",
        "missing-file");
}

void Reading::OnBegin(const std::string& name, int number, bool used) {
    if (!Contains(BeginKeys(), name)) return CheckUnknownName(name, BeginKeys());
    const int valueColumn = static_cast<int>(raw_.find('=')) + 2;
    if (name == BeginKeyName(kBeginFont)) {
        if (!used) CheckNumber(number, 0, kLastSlot, "font number");
    } else if (name == BeginKeyName(kBeginIntroBitmap)) {
        CheckPicture(value_, valueColumn, false);
    } else if (name == BeginKeyName(kBeginIntroSound)) {
        IntroSound sound = SplitIntroSound(machine_, UpperCaseToken(machine_, value_));
        std::vector<std::string> pieces = SplitFields(value_);
        if (!pieces.empty())
            CheckFile(sound.file, Trimmed(pieces[0]), valueColumn, "sound");
    } else if (name == BeginKeyName(kBeginRunMultiple)) {
        CheckKeyword({value_, valueColumn}, YesNoField());
    } else if (name == BeginKeyName(kBeginTrapRebootButtons) ||
               name == BeginKeyName(kBeginAllowRebootButtons)) {
        for (const Field& field : Fields()) {
            std::string word = UpperCaseToken(machine_, field.text);
            if (word.empty()) continue;
            int slot = ParseNumberOrKeyword(word);
            if (!HasDigit(word) && !Contains(AllKeywords(), word)) {
                Add(Severity::kError, field.column,
                    "unknown keyword " + Quoted(word) + " in " + name + " counts as button 0",
                    "unknown-keyword");
            } else if (slot < 0 || slot > kLastSlot) {
                Add(Severity::kError, field.column,
                    "button " + std::to_string(slot) + " in " + name +
                        " is outside 0 to " + kLastSlotText + "; it is ignored",
                    "out-of-range");
                continue;
            }
            listedButtons_.push_back({slot, line_, field.column, name});
        }
    }
}

void Reading::OnText(const std::string& name, int number, bool used) {
    if (name != kTextKey) return CheckUnknownName(name, {kTextKey});
    if (!CheckNumber(number, 1, kLastSlot, "text number")) return;
    CheckMovedFields(kTextFields);
    if (!used) {
        auto first = textLines_.find(number);
        AddIfEveryReading(Severity::kWarning, NumberColumn(),
                          "text " + std::to_string(number) + " is given already" +
                              (first != textLines_.end() ? " on line " + std::to_string(first->second)
                                                         : std::string()) +
                              "; the first entry counts, so this one is ignored",
                          "first-counts");
        return;
    }
    textLines_[number] = line_;
    std::vector<Field> fields = Fields();
    if (Has(fields, kTextHighlightColour))
        CheckColour(fields[kTextHighlightColour], "highlight colour", false);
    if (Has(fields, kTextNormalColour)) {
        const Field& normal = fields[kTextNormalColour];
        std::string word = UpperCaseToken(machine_, normal.text);
        if (!word.empty() && !HasDigit(word)) {
            CheckKeyword(normal, NormalColourField());
        } else if (!word.empty() && ParseInteger(word) != -1 && ParseInteger(word) != -2) {
            CheckColour(normal, "normal colour", true);
        }
    }
    if (Has(fields, kTextHighlightBackground))
        CheckColour(fields[kTextHighlightBackground], "highlight background", true);
    if (Has(fields, kTextFont)) CheckFontNumber(fields[kTextFont]);
    for (int index = kTextX; index <= kTextHeight && Has(fields, index); ++index)
        CheckIsNumber(fields[index], std::string("text's ") + kTextFields[index]);
}

void Reading::OnButton(const std::string& name, int number, bool used) {
    if (name != kButtonKey) return CheckUnknownName(name, {kButtonKey});
    if (!CheckNumber(number, 1, kLastSlot, "button number") || !used) return;
    CheckMovedFields(kButtonFields);
    auto earlier = buttonLines_.find(number);
    if (earlier != buttonLines_.end()) {
        const int here = line_;
        line_ = earlier->second.first;
        AddIfEveryReading(Severity::kWarning, earlier->second.second,
                          "button " + std::to_string(number) + " is given again on line " + std::to_string(here) +
                              "; the last entry counts, so this button never shows",
                          "last-counts");
        line_ = here;
    }
    buttonLines_[number] = {line_, NumberColumn()};
    std::vector<Field> fields = Fields();
    for (int index = kButtonX; index <= kButtonHeight && Has(fields, index); ++index)
        CheckIsNumber(fields[index], std::string("button's ") + kButtonFields[index]);
    if (Has(fields, kButtonKind)) CheckKeyword(fields[kButtonKind], ButtonKindField());
    if (Has(fields, kButtonState)) CheckKeyword(fields[kButtonState], ButtonStateField());
    if (Has(fields, kButtonOption)) CheckKeyword(fields[kButtonOption], ButtonOptionField());
    if (Has(fields, kButtonPicture) && !Trimmed(fields[kButtonPicture].text).empty())
        CheckPicture(fields[kButtonPicture].text, fields[kButtonPicture].column, true);
    if (Has(fields, kButtonCaption)) CheckTextNumber(fields[kButtonCaption], "caption");
    if (Has(fields, kButtonHoverSound)) {
        const Field& hover = fields[kButtonHoverSound];
        std::string sound = Trimmed(hover.text);
        if (!sound.empty()) CheckFile(ResolveScriptPath(machine_, sound), sound, hover.column, "sound");
    }
    if (Has(fields, kButtonCommand))
        CheckCommand(Trimmed(fields[kButtonCommand].text), fields[kButtonCommand].column);
}

void Reading::OnChainMember(const std::string& name, int number, bool used) {
    if (name != kButtonKey) return CheckUnknownName(name, {kButtonKey});
    if (!CheckNumber(number, 1, kLastSlot, "button number")) return;
    if (!used) {
        Add(Severity::kWarning, NumberColumn(),
            "button " + std::to_string(number) + " is a shown button; this " + section_ +
                " entry is ignored",
            "shown-button");
        return;
    }
    std::vector<Field> fields = Fields();
    std::string command = fields.empty() ? std::string() : Trimmed(fields[0].text);
    if (command.empty()) return;
    if (section_ == "[RUN]") ++runMembers_;
    CheckCommand(command, fields[0].column);
    for (std::size_t i = 1; i < fields.size(); ++i) CheckKeyword(fields[i], ChainOptionField());
}

void Reading::OnButtonSection(const std::string& name, int number, bool used) {
    if (name != kButtonKey) return CheckUnknownName(name, {kButtonKey});
    if (!CheckNumber(number, 1, kLastSlot, "button number")) return;
    if (!used) {
        Add(Severity::kError, NumberColumn(),
            "button " + std::to_string(number) + " is given by no entry before this line (on " +
                system_.description + "); the entry is ignored",
            "no-button");
        return;
    }
    const int valueColumn = static_cast<int>(raw_.find('=')) + 2;
    if (section_ == "[EXTRATEXT]") {
        CheckTextNumber({value_, valueColumn}, "extra text");
    } else if (section_ == "[REFERENCE]") {
        CheckMovedFields(kReferenceFields);
        std::vector<Field> fields = Fields();
        for (std::size_t i = 0; i < fields.size(); i += 2) {
            int slot = ParseInteger(fields[i].text);
            if (slot < 1 || slot > kLastSlot)
                Add(Severity::kError, fields[i].column,
                    "button " + std::to_string(slot) + " is outside 1 to " + kLastSlotText +
                        "; its word is never added",
                    "out-of-range");
        }
    }
}

void Reading::Finish() {
    line_ = beginLine_ ? beginLine_ : 1;
    if (!beginSeen_) {
        Add(Severity::kError, 1,
            "no [BEGIN] header is read on " + system_.description + ", so nothing of the script is read",
            "no-begin", true);
        return;
    }
    if (Trimmed(model_.title).empty())
        Add(Severity::kWarning, 1,
            "no TITLE for " + system_.description + "; the window takes the program's name",
            "no-title", true);
    bool shown = host_.hasBackground;
    for (const auto& button : model_.buttons) shown = shown || (button && button->hasWindow);
    if (!shown && !model_.autoRun && !model_.resumed)
        Add(Severity::kError, 1,
            "no screen for " + system_.description + ": no background picture and no button",
            "no-screen", true);

    for (const ListedButton& listed : listedButtons_) {
        const ScreenItem* item = model_.Button(listed.slot);
        if (item && item->kind == ButtonKind::kCheckBox && !item->command.empty()) continue;
        line_ = listed.line;
        AddIfEveryReading(Severity::kError, listed.column,
                          "button " + std::to_string(listed.slot) + " in " + listed.key +
                              " is no chain member (a check box or a [RUN] entry with a command)",
                          "restart-list");
    }
    if (runLine_ && runMembers_ == 0) {
        line_ = runLine_;
        Add(model_.autoRun ? Severity::kError : Severity::kWarning, 1,
            std::string("[RUN] section has nothing to run") +
                (model_.autoRun ? ": the screen stays hidden and ends" : "") +
                "; it needs BUTTONn=COMMAND entries",
            "empty-run");
    }
    for (const auto& text : textLines_) {
        const TextItem* item = model_.Text(text.first);
        bool named = false;
        for (const auto& button : model_.buttons)
            named = named || (button && (button->caption == item || button->extraText == item));
        if (named) continue;
        line_ = text.second;
        AddIfEveryReading(Severity::kWarning, 1,
                          "text " + std::to_string(text.first) +
                              " is named by no button's caption or [EXTRATEXT]; it never shows",
                          "unused-text");
    }
}
