#include "design/design_model.h"

#include <iconv.h>

#include <cstdint>
#include <map>

#include "reading/screen_reading.h"
#include "check/findings.h"
#include "check/read_budget.h"
#include "check/script_checker.h"
#include "script/screen_script.h"
#include "script/text_trim.h"
#include "design/entry_placement.h"
#include "design/script_rewrite.h"
#include "design/text_raster.h"

using nlohmann::json;

namespace {

bool Convert(const std::string& text, const std::string& from, const std::string& to, std::string* out) {
    iconv_t converter = iconv_open(to.c_str(), from.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) return false;
    std::string input = text;
    char* in = input.data();
    std::size_t inLeft = input.size();
    out->clear();
    bool ok = true;
    while (inLeft > 0) {
        char buffer[4096];
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        std::size_t done = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
        out->append(buffer, outPtr - buffer);
        if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
            ok = false;
            break;
        }
    }
    iconv_close(converter);
    return ok;
}

// The checker's window system, also keeping each font's description.
class DesignHost : public CheckHost {
public:
    using CheckHost::CheckHost;
    std::map<FontHandle, FontChanges> fonts;

    FontHandle CreateScriptFont(const FontChanges& changes) override {
        FontHandle font = CheckHost::CreateScriptFont(changes);
        fonts[font] = changes;
        return font;
    }

    // A text without a size is measured in the typeface Wine draws it in.
    int codePage = 1252;
    TextExtent MeasureText(FontHandle font, const std::string& text) override { return MeasureAt(font, text, 1); }

    // The extent in the font the program makes at the screen's scale.
    TextExtent MeasureAt(FontHandle font, const std::string& text, int scale) const {
        RasterFont raster;
        auto found = fonts.find(font);
        raster.systemFont = !font || found == fonts.end();
        if (!raster.systemFont) raster.changes = found->second;
        raster.scale = scale;
        return MeasureRasterText(raster, ToPageText(text, codePage));
    }
};

// The entries as the reader met them, with their lines and sections.
class EntryListener : public ScriptListener {
public:
    explicit EntryListener(int page) : codePage(page) {}
    const int codePage;  // of the reader's texts
    json entries = json::array();
    std::map<std::string, int> lastLineOfSection;  // accepted sections only

    void OnLine(int number, const std::string&) override { line_ = number; }
    void OnHeader(const std::string& section, const std::string& selector, bool accepted) override {
        section_ = section;
        selector_ = Trimmed(selector);
        tags_ = ReadTags(selector);
        accepted_ = accepted;
        if (accepted) lastLineOfSection[section] = line_;
    }
    void OnEntry(const std::string& name, int number, const std::string&, bool used) override {
        entries.push_back({{"line", line_}, {"section", ToPageText(section_, codePage)},
                           {"selector", ToPageText(selector_, codePage)}, {"name", ToPageText(name, codePage)},
                           {"number", number}, {"used", used}, {"tags", tags_}});
        if (accepted_) lastLineOfSection[section_] = line_;
    }

private:
    int line_ = 0;
    std::string section_;
    std::string selector_;
    std::string tags_;  // of the section's header, as ReadTags gives them
    bool accepted_ = false;
};

int TextSlot(const ScreenModel& screen, const TextItem* text) {
    for (int number = 0; number < kSlotCount; ++number) {
        if (text && screen.Text(number) == text) return number;
    }
    return -1;
}

// A file's path below the disc folder, with "/" between names.
std::string DiscRelative(const std::string& localPath, const std::string& discFolder, int codePage) {
    std::string prefix = discFolder + "/";
    return ToPageName(localPath.compare(0, prefix.size(), prefix) == 0 ? localPath.substr(prefix.size()) : localPath,
                      codePage);
}

json FontJson(const DesignHost& host, FontHandle font, int codePage) {
    auto found = host.fonts.find(font);
    if (found == host.fonts.end()) return nullptr;
    const FontChanges& changes = found->second;
    return {{"face", changes.hasFaceName ? ToPageText(changes.faceName, codePage) : ""},
            {"height", changes.hasHeight ? changes.height : 0},
            {"bold", changes.bold},
            {"italic", changes.italic},
            {"underline", changes.underline},
            {"strikeOut", changes.strikeOut}};
}

json ButtonsJson(const ScreenModel& screen, const DesignReading& reading) {
    json buttons = json::array();
    for (int number = 0; number < kSlotCount; ++number) {
        const ScreenItem* item = screen.Button(number);
        if (!item || !item->hasWindow) continue;
        const auto* picture = reinterpret_cast<const PictureCheck*>(item->picture);
        json button = {{"number", number},
                       {"kind", static_cast<int>(item->kind)},
                       {"state", item->state.load()},
                       {"option", item->option},
                       {"x", item->x}, {"y", item->y},
                       {"width", item->width}, {"height", item->height},
                       {"caption", TextSlot(screen, item->caption)},
                       {"extraText", TextSlot(screen, item->extraText)},
                       {"picture", nullptr},
                       {"window", {{"x", item->windowX}, {"y", item->windowY},
                                   {"width", item->windowWidth}, {"height", item->windowHeight}}}};
        if (picture && picture->loads) button["picture"] = DiscRelative(picture->file.localPath, reading.target.discFolder, reading.language->codePage);
        buttons.push_back(button);
    }
    return buttons;
}

// A text's size in the script's pixels. One the program measures is
// measured in the font it makes at the screen's scale, which need not be the
// scale's multiple of the plain measure: then it is a fraction.
json TextSize(const TextItem& text, const DesignHost& host, int scale) {
    if (!text.measured || scale == 1) return {{"width", text.width}, {"height", text.height}};
    const TextExtent extent = host.MeasureAt(text.font, text.text, scale);
    return {{"width", static_cast<double>(extent.width) / scale}, {"height", static_cast<double>(extent.height) / scale}};
}

json TextsJson(const ScreenModel& screen, const DesignHost& host, int codePage, int scale) {
    json texts = json::array();
    for (int number = 0; number < kSlotCount; ++number) {
        const TextItem* text = screen.Text(number);
        if (!text) continue;
        const json size = TextSize(*text, host, scale);
        texts.push_back({{"number", number},
                         {"x", text->x}, {"y", text->y},
                         {"width", size["width"]}, {"height", size["height"]},
                         {"measured", text->measured},
                         {"text", ToPageText(text->text, codePage)},
                         {"highlightColour", text->highlightColour},
                         {"normalColour", text->normalColour},
                         {"highlightBackground", text->highlightBackground},
                         {"font", FontJson(host, text->font, codePage)}});
    }
    return texts;
}

json FindingsJson(const ScriptTarget& target, const std::vector<int>& origins, int codePage, ReadBudget* budget) {
    Report report;
    CheckScript(target, report, budget);
    json findings = json::array();
    for (const Finding& finding : report.Sorted()) {
        if (!finding.file.empty()) continue;  // of Windows' AUTORUN.INF beside a renamed script
        int origin = finding.line >= 1 && finding.line <= static_cast<int>(origins.size())
                         ? origins[finding.line - 1] : finding.line;
        findings.push_back({{"line", finding.line}, {"origin", origin}, {"column", finding.column},
                            {"severity", finding.severity == Severity::kError     ? "error"
                                         : finding.severity == Severity::kWarning ? "warning"
                                                                                  : "note"},
                            {"message", ToPageText(finding.message, 1252)}, {"name", ToPageText(finding.name, codePage)}});
    }
    return findings;
}

json ReadFilesJson(const std::vector<ReadFile>& files) {
    json list = json::array();
    for (const ReadFile& file : files) list.push_back({{"name", ToPageName(file.name, 1252)}, {"bytes", file.bytes}});
    return list;
}

// Each group of systems that read the same files, in `check`'s words.
json ReadBudgetJson(const ReadBudget& budget) {
    json sets = json::array();
    for (const ReadSet& set : budget.Sets()) {
        std::string warning = ReadWarningText(set, kDefaultReadBudgetMs);
        sets.push_back({{"systems", ToPageText(set.systems, 1252)},
                        {"bytes", set.Bytes()},
                        {"seconds1x", set.SecondsAt(1)},
                        {"seconds4x", set.SecondsAt(4)},
                        {"largest", ReadFilesJson(LargestFiles(set, 3))},
                        {"note", ToPageName(ReadNoteText(set), 1252)},
                        {"warning", warning.empty() ? json(nullptr) : json(ToPageName(warning, 1252))}});
    }
    return {{"limitMs", kDefaultReadBudgetMs}, {"sets", sets}};
}

}  // namespace

bool IsUtf8Script(const std::string& bytes) {
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return true;
    std::string text = bytes.substr(0, bytes.find('\x1A'));
    bool multiByte = false;
    for (char ch : text) multiByte = multiByte || static_cast<unsigned char>(ch) >= 0x80;
    std::string wide;
    return multiByte && Convert(text, "UTF-8", "UTF-16LE", &wide);
}

std::string ToPageText(const std::string& text, int codePage) {
    std::string out;
    if (Convert(text, "CP" + std::to_string(codePage), "UTF-8", &out)) return out;
    for (char& ch : out = text) {
        if (static_cast<unsigned char>(ch) >= 0x80) ch = '?';
    }
    return out;
}

std::string ToPageName(const std::string& name, int codePage) {
    std::string wide;
    return Convert(name, "UTF-8", "UTF-16LE", &wide) ? name : ToPageText(name, codePage);
}

bool ToScriptText(const std::string& text, int codePage, std::string* out) {
    return Convert(text, "UTF-8", "CP" + std::to_string(codePage), out);
}

json ReadDesignModel(const DesignReading& reading) {
    const ScriptTarget& target = reading.target;
    ScreenReading screenReading(target, TargetSystemOf(*reading.language, *reading.windows));
    const DiscFolder& disc = screenReading.disc;
    const ScreenModel& screen = screenReading.screen;
    DesignHost host(screenReading.disc, screenReading.machine);
    const int codePage = reading.language->codePage;
    host.codePage = codePage;
    EntryListener listener(codePage);
    screenReading.Read(host, &listener);

    const bool utf8 = IsUtf8Script(reading.scriptBytes);
    std::vector<std::string> lines = ScriptLineTexts(reading.scriptBytes);
    for (json& entry : listener.entries) {
        int line = entry["line"];
        const std::string& text = lines.at(line - 1);
        json fields = json::array();
        for (const std::string& field : EntryFields(text)) fields.push_back(utf8 ? field : ToPageText(field, codePage));
        std::size_t equals = text.find('=');
        std::string value = equals == std::string::npos ? "" : text.substr(equals + 1);
        entry["fields"] = fields;
        entry["text"] = utf8 ? text : ToPageText(text, codePage);
        entry["value"] = utf8 ? value : ToPageText(value, codePage);
        entry["valueColumn"] = equals == std::string::npos ? 0 : static_cast<int>(equals) + 2;
        entry["origin"] = reading.lineOrigins.at(line - 1);
    }
    json sectionEnds = json::object();
    // A new entry goes after the section's last line of the script itself.
    for (const auto& [section, last] : listener.lastLineOfSection) {
        int line = last;
        while (line > 1 && reading.lineOrigins.at(line - 1) <= 0) --line;
        sectionEnds[section] = reading.lineOrigins.at(line - 1);
    }

    ReadBudget budget(disc, target.programName, target.scriptPath);
    budget.ShowScriptAs(reading.scriptName);
    json findings = FindingsJson(target, reading.lineOrigins, codePage, &budget);
    json model = {{"title", ToPageText(screen.title, codePage)},
                  {"background", nullptr},
                  {"width", host.backgroundWidth},
                  {"height", host.backgroundHeight},
                  {"buttons", ButtonsJson(screen, reading)},
                  {"texts", TextsJson(screen, host, codePage, reading.scale)},
                  {"entries", listener.entries},
                  {"sectionEnds", sectionEnds},
                  {"findings", findings},
                  {"readBudget", ReadBudgetJson(budget)},
                  {"utf8", utf8},
                  {"tags", {{"language", LanguageTagFor(reading.language->id)},
                            {"windows", reading.windows->code ? ScreenScript::Tag(reading.windows->code) : ""}}}};
    if (host.hasBackground) {
        DiscFile file = disc.Find(host.backgroundPath);
        model["background"] = DiscRelative(file.localPath, target.discFolder, codePage);
    }
    return model;
}
