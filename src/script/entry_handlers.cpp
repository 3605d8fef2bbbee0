#include "script/entry_handlers.h"

#include "script/button_entry.h"
#include "script/line_breaks.h"
#include "script/numbers.h"
#include "script/program_paths.h"
#include "script/text_entry.h"
#include "script/text_trim.h"
#include "script/upper_case.h"

namespace {

bool IsEntrySlot(int number) { return number >= 1 && number < kSlotCount; }

// The names of the keys of [BEGIN], in the order of BeginKey.
constexpr const char* kBeginKeys[] = {
    "TITLE",          "FONT",       "INTROBITMAP", "RUNMULTIPLE", "INTROSOUND",
    "TRAPREBOOTMODE", "TRAPREBOOT", "FINALREBOOT", "ALLOWREBOOT", "TRAPREBOOTBUTTONS",
    "ALLOWREBOOTBUTTONS",
};
static_assert(sizeof kBeginKeys / sizeof kBeginKeys[0] == kBeginKeyCount, "one name for each key");

}  // namespace

const char* BeginKeyName(int index) {
    return index >= 0 && index < kBeginKeyCount ? kBeginKeys[index] : nullptr;
}

bool EntryHandlers::Begin(const std::string& name, const std::string& value, int number) {
    int key = 0;
    while (key < kBeginKeyCount && name != kBeginKeys[key]) ++key;
    switch (key) {
        case kBeginTitle: model_.title = Trimmed(value); break;
        case kBeginFont: return SetFont(number, value);
        case kBeginIntroBitmap:
            host_.SetBackgroundBitmap(ResolveScriptPath(machine_, UpperCaseToken(machine_, value)));
            break;
        case kBeginRunMultiple: runMultiple_ = UpperCaseToken(machine_, value) == "YES" ? 1 : 0; break;
        case kBeginIntroSound: model_.introSound = UpperCaseToken(machine_, value); break;
        case kBeginTrapRebootMode:
            model_.restartMode = UpperCaseToken(machine_, value) == "OK" ? 0 : 4;
            break;
        case kBeginTrapReboot: model_.trapMessage = DecodeLineBreaks(value); break;
        case kBeginFinalReboot: model_.finalRestartMessage = DecodeLineBreaks(value); break;
        case kBeginAllowReboot: model_.allowMessage = DecodeLineBreaks(value); break;
        case kBeginTrapRebootButtons: SetRestartPolicy(model_, value, kTrapRestart); break;
        case kBeginAllowRebootButtons: SetRestartPolicy(model_, value, kAllowRestart); break;
        default: return false;
    }
    return true;
}

bool EntryHandlers::SetFont(int number, const std::string& value) {
    if (!IsSlot(number)) return false;
    FontHandle font = host_.CreateScriptFont(ParseFontSpecification(machine_, value));
    if (!font) return false;  // the slot keeps what it had
    FontHandle previous = model_.fonts[number];
    model_.fonts[number] = font;
    if (!previous) return true;
    // Texts refer to the slot, so those read before this entry take the new
    // font rather than keep a handle that is about to be deleted, and a text
    // sized by its font is measured again.
    for (auto& text : model_.texts) {
        if (!text || text->font != previous) continue;
        text->font = font;
        if (text->measured) MeasureTextItem(text.get(), host_);
    }
    host_.DeleteScriptFont(previous);
    return true;
}

bool EntryHandlers::Text(const std::string& name, const std::string& value, int number) {
    if (name != kTextKey || !IsEntrySlot(number) || model_.texts[number]) return false;
    model_.texts[number] = ParseTextEntry(value, model_, host_);
    return true;
}

bool EntryHandlers::Button(const std::string& name, const std::string& value, int number) {
    if (name != kButtonKey || !IsEntrySlot(number)) return false;
    std::unique_ptr<ScreenItem>& slot = model_.buttons[number];
    if (!slot) slot.reset(new ScreenItem());
    ParseButtonForm(*slot, value, model_, host_);
    // For a slot whose window exists this moves and resizes that window.
    if (!host_.CreateButtonWindow(number)) {
        host_.DestroyButtonWindow(number);
        slot.reset();
        return false;
    }
    slot->hasWindow = true;
    if (slot->kind != ButtonKind::kCheckBox && slot->state.load() == kStateFocus)
        host_.FocusButton(number);
    return true;
}

bool EntryHandlers::ChainMember(const std::string& name, const std::string& value, int number) {
    if (name != kButtonKey || !IsEntrySlot(number)) return false;
    std::unique_ptr<ScreenItem>& slot = model_.buttons[number];
    // A shown button keeps its entry: turning it into a hidden chain member
    // would leave a window on the screen for a record it no longer draws.
    if (slot && slot->hasWindow) return false;
    if (!slot) slot.reset(new ScreenItem());
    ParseContinuationForm(*slot, value);
    return true;
}

bool EntryHandlers::Rebooted(const std::string& name, const std::string& value, int number) {
    model_.resumed = 1;
    return ChainMember(name, value, number);
}

bool EntryHandlers::Run(const std::string& name, const std::string& value, int number) {
    model_.autoRun = 1;
    return ChainMember(name, value, number);
}

ScreenItem* EntryHandlers::SectionTarget(const std::string& name, int number) const {
    if (name != kButtonKey) return nullptr;
    return model_.Button(number);
}

bool EntryHandlers::Reference(const std::string& name, const std::string& value, int number) {
    ScreenItem* item = SectionTarget(name, number);
    if (!item) return false;
    item->referenceList = value;
    return true;
}

bool EntryHandlers::IgnoreWaitProcess(const std::string& name, const std::string& value,
                                      int number) {
    ScreenItem* item = SectionTarget(name, number);
    if (!item) return false;
    item->ignoreList = ParseIgnoreList(value);
    return true;
}

bool EntryHandlers::InstallMessage(const std::string& name, const std::string& value, int number) {
    ScreenItem* item = SectionTarget(name, number);
    if (!item) return false;
    item->installMessage = DecodeLineBreaks(value);
    return true;
}

bool EntryHandlers::Message(const std::string& name, const std::string& value, int number) {
    ScreenItem* item = SectionTarget(name, number);
    if (!item) return false;
    item->failureMessage = DecodeLineBreaks(value);
    return true;
}

bool EntryHandlers::ExtraText(const std::string& name, const std::string& value, int number) {
    ScreenItem* item = SectionTarget(name, number);
    if (!item) return false;
    item->extraText = model_.Text(ParseNumberOrKeyword(value));
    return true;
}
