#include "script/screen_script.h"

#include <cstring>

#include "script/machine.h"
#include "script/numbers.h"
#include "script/script_text.h"
#include "script/text_trim.h"
#include "script/upper_case.h"

namespace {

constexpr const char* kTags[kTagCount] = {
    "",       "[WIN95]", "[WIN98]", "[WIN98SE]", "[WINME]", "[WINNT]", "[WIN2K]",
    "[ENG]",  "[CHS]",   "[CHT]",   "[FRN]",     "[GER]",   "[SWE]",   "[SPA]",
    "[BRZ]",  "[JPN]",   "[ITA]",   "[THAI]",    "[KOREAN]", "[DUT]",  "[DAN]",
    "[FIN]",  "[NOR]",   "[POR]",   "[DEFAULT]",
};
constexpr int kFirstVersionTag = 1;
constexpr int kLastVersionTag = 6;
constexpr int kLastLanguageTag = 24;

}  // namespace

const char* LanguageTagFor(unsigned short languageId) {
    unsigned primary = languageId & 0x3FF;
    unsigned sublanguage = languageId >> 10;
    switch (primary) {
        case 0x04: return sublanguage == 1 ? "[CHT]" : "[CHS]";
        case 0x06: return "[DAN]";
        case 0x07: return "[GER]";
        case 0x09: return "[ENG]";
        case 0x0A: return "[SPA]";
        case 0x0B: return "[FIN]";
        case 0x0C: return "[FRN]";
        case 0x10: return "[ITA]";
        case 0x11: return "[JPN]";
        case 0x12: return "[KOREAN]";
        case 0x13: return "[DUT]";
        case 0x14: return "[NOR]";
        case 0x16: return sublanguage == 1 ? "[BRZ]" : "[POR]";
        case 0x1D: return "[SWE]";
        case 0x1E: return "[THAI]";
        default: return "[DEFAULT]";
    }
}

bool TextLineSource::NextLine(std::string* line) {
    if (used_ >= text_.size()) return false;
    std::size_t end = text_.find('\n', used_);
    if (end == std::string::npos) {
        line->assign(text_, used_, std::string::npos);
        used_ = text_.size();
        return true;
    }
    line->assign(text_, used_, end - used_);
    used_ = end + 1;
    if (!line->empty() && line->back() == '\r') line->pop_back();
    return true;
}

namespace {

// The whole file. A read error keeps the lines before the one it cut; a
// file larger than any script makes none.
bool ReadScriptFile(Machine& machine, const std::string& path, std::string* bytes) {
    std::unique_ptr<InputFile> file = machine.OpenInputFile(path);
    if (!file) return false;
    // Room for the whole file at once; a size that cannot be told costs
    // only the growing.
    long size = file->Size();
    if (size > kLargestScriptBytes) return false;
    if (size > 0) bytes->reserve(static_cast<std::size_t>(size));
    char buffer[4096];
    long filled;
    while ((filled = file->Read(buffer, sizeof buffer)) > 0) {
        bytes->append(buffer, static_cast<std::size_t>(filled));
        if (bytes->size() > static_cast<std::size_t>(kLargestScriptBytes)) return false;
    }
    if (filled < 0) {
        std::size_t lastEnd = bytes->rfind('\n');
        bytes->erase(lastEnd == std::string::npos ? 0 : lastEnd + 1);
    }
    return true;
}

}  // namespace

ScreenScript::ScreenScript(ScreenModel& screen, ScriptHost& host, Machine& machine)
    : model_(screen), host_(host), machine_(machine), handlers_(screen, host, machine, runMultiple_) {
    currentSection_ = "";
    windowsVersion_ = static_cast<short>(screen.windowsVersion);
    if (windowsVersion_ < 0 || windowsVersion_ > kLastVersionTag) windowsVersion_ = 0;
    languageTag_ = LanguageTagFor(machine.SystemLanguage());
    for (int i = 0; i < kTagCount; ++i) tagTable_[i] = kTags[i];
}

bool ReadScriptText(Machine& machine, const std::string& path, std::string* text) {
    std::string bytes;
    if (!ReadScriptFile(machine, path, &bytes)) return false;
    *text = ScriptTextFromBytes(machine, std::move(bytes));
    return true;
}

bool SplitHeader(Machine& machine, const std::string& line, std::string* section,
                 std::string* selector) {
    std::string header = UpperCaseToken(machine, line);
    std::size_t close = header.find(']');
    if (close == std::string::npos) return false;
    section->assign(header, 0, close + 1);
    selector->assign(header, close + 1, header.find("//", close + 1) - close - 1);
    return true;
}

void ScreenScript::Load(const std::string& path) {
    std::string text;
    if (ReadScriptText(machine_, path, &text)) {
        TextLineSource source(std::move(text));
        ReadLines(source);
    }
    host_.CheckSingleInstance(runMultiple_);
}

void ScreenScript::ReadLines(LineSource& source) {
    std::string raw;
    while (!stop_ && source.NextLine(&raw)) {
        ++lineNumber_;
        if (listener_) listener_->OnLine(lineNumber_, raw);
        const char* text = raw.c_str();
        while (*text && IsTrimChar(*text)) ++text;
        if (!*text) continue;
        if (text != raw.c_str()) raw.erase(0, text - raw.c_str());
        const std::string& line = raw;
        if (line[0] == '[') {
            std::string section, selector;
            if (SplitHeader(machine_, line, &section, &selector)) BeginSection(section, selector);
        } else if (!skipEntries_) {
            DispatchEntry(line);
        }
    }
}

bool ScreenScript::SelectorRejects(const std::string& selector, int first, int last,
                                   const char* own) const {
    if (selector.find(own) != std::string::npos) return false;
    for (int i = first; i <= last; ++i) {
        if (selector.find(tagTable_[i]) != std::string::npos) return true;
    }
    return false;
}

void ScreenScript::BeginSection(const std::string& section, const std::string& selector) {
    skipEntries_ = 1;
    currentSection_ = section;
    currentHandler_ = HandlerOf(currentSection_);

    bool accepted =
        !SelectorRejects(selector, kFirstVersionTag, kLastVersionTag, tagTable_[windowsVersion_]) &&
        !SelectorRejects(selector, kFirstLanguageTag, kLastLanguageTag, languageTag_);
    if (listener_) listener_->OnHeader(currentSection_, selector, accepted);
    if (!accepted) return;

    if (currentSection_ == "[END]" && beginSeen_) stop_ = 1;
    if (currentSection_ == "[BEGIN]") beginSeen_ = 1;
    if (beginSeen_) skipEntries_ = 0;
}

void ScreenScript::DispatchEntry(const std::string& line) {
    std::size_t equals = line.find('=');
    std::string rawKey = (equals == std::string::npos) ? std::string() : line.substr(0, equals);
    std::string value = (equals == std::string::npos) ? std::string() : line.substr(equals + 1);

    std::size_t numberPos = std::string::npos;
    int number = ParseNumberOrKeyword(rawKey, &numberPos);
    std::string name = UpperCaseToken(machine_, numberPos == std::string::npos ? rawKey
                                                                     : rawKey.substr(0, numberPos));
    if (name.empty()) return;

    if (!currentHandler_) {
        if (listener_) listener_->OnEntry(name, number, value, false);
        skipEntries_ = 1;
        return;
    }
    bool used = (handlers_.*currentHandler_)(name, value, number);
    if (listener_) listener_->OnEntry(name, number, value, used);
}

namespace {

const struct {
    const char* section;
    bool (EntryHandlers::*handler)(const std::string&, const std::string&, int);
} kSections[] = {
    {"[BEGIN]", &EntryHandlers::Begin},
    {"[TEXT]", &EntryHandlers::Text},
    {"[BUTTON]", &EntryHandlers::Button},
    {"[REFERENCE]", &EntryHandlers::Reference},
    {"[IGNOREWAITPROCESS]", &EntryHandlers::IgnoreWaitProcess},
    {"[INSTALLMESSAGE]", &EntryHandlers::InstallMessage},
    {"[MESSAGE]", &EntryHandlers::Message},
    {"[EXTRATEXT]", &EntryHandlers::ExtraText},
    {"[REBOOTED]", &EntryHandlers::Rebooted},
    {"[RUN]", &EntryHandlers::Run},
};
constexpr int kSectionCount = sizeof kSections / sizeof kSections[0];

}  // namespace

ScreenScript::Handler ScreenScript::HandlerOf(const std::string& section) {
    for (const auto& entry : kSections) {
        if (section == entry.section) return entry.handler;
    }
    return nullptr;
}

const char* ScreenScript::SectionName(int index) {
    return index >= 0 && index < kSectionCount ? kSections[index].section : nullptr;
}

const char* ScreenScript::Tag(int index) {
    return index > 0 && index < kTagCount ? kTags[index] : nullptr;
}
