#include "reading/screen_reading.h"

#include <set>

#include "reading/code_page.h"
#include "script/screen_script.h"
#include "script/text_trim.h"

namespace {

struct Language {
    const char* tag;
    unsigned short id;
};

// A system language for every tag the reader chooses.
const Language kLanguages[] = {
    {"[ENG]", 0x0409}, {"[CHS]", 0x0804}, {"[CHT]", 0x0404}, {"[FRN]", 0x040C},
    {"[GER]", 0x0407}, {"[SWE]", 0x041D}, {"[SPA]", 0x0C0A}, {"[BRZ]", 0x0416},
    {"[JPN]", 0x0411}, {"[ITA]", 0x0410}, {"[THAI]", 0x041E}, {"[KOREAN]", 0x0412},
    {"[DUT]", 0x0413}, {"[DAN]", 0x0406}, {"[FIN]", 0x040B}, {"[NOR]", 0x0414},
    {"[POR]", 0x0816}, {"[DEFAULT]", 0x0408},
};

struct Version {
    unsigned short code;
    const char* name;
    OsVersionInfo info;
};

const Version kVersions[] = {
    {0, "later Windows (XP and after)", {2, 6, 1, 7601}},
    {1, "Windows 95", {1, 4, 0, 0x040003B6}},
    {2, "Windows 98", {1, 4, 10, 0x040A07CE}},
    {3, "Windows 98 SE", {1, 4, 10, 0x040A08AE}},
    {4, "Windows ME", {1, 4, 90, 0x045A0BB8}},
    {5, "Windows NT 4", {2, 4, 0, 1381}},
    {6, "Windows 2000", {2, 5, 0, 2195}},
};

// The selector tags of every header of the script, whatever system would
// read it: a reading stops at the [END] that its own system accepts.
std::set<std::string> TagsOfEveryHeader(Machine& machine, const std::string& scriptPath) {
    std::set<std::string> tags;
    std::string text;
    if (!ReadScriptText(machine, scriptPath, &text)) return tags;
    TextLineSource lines(text);
    std::string line, section, selector;
    while (lines.NextLine(&line)) {
        line = Trimmed(line);
        if (line.empty() || line[0] != '[' || !SplitHeader(machine, line, &section, &selector)) continue;
        for (int i = 1; ScreenScript::Tag(i); ++i) {
            if (selector.find(ScreenScript::Tag(i)) != std::string::npos) tags.insert(ScreenScript::Tag(i));
        }
    }
    return tags;
}

std::vector<const Language*> LanguagesToRead(const std::set<std::string>& tags, const Language** other) {
    std::vector<const Language*> languages;
    *other = nullptr;
    for (const Language& language : kLanguages) {
        if (tags.count(language.tag)) {
            languages.push_back(&language);
        } else if (!*other) {
            *other = &language;
        }
    }
    return languages;
}

std::vector<const Version*> VersionsToRead(const std::set<std::string>& tags) {
    std::vector<const Version*> versions = {&kVersions[0]};
    const Version* otherVersion = nullptr;
    for (int i = 1; i < kFirstLanguageTag; ++i) {
        if (tags.count(ScreenScript::Tag(i))) {
            versions.push_back(&kVersions[i]);
        } else if (!otherVersion) {
            otherVersion = &kVersions[i];
        }
    }
    if (versions.size() > 1 && otherVersion) versions.push_back(otherVersion);
    return versions;
}

}  // namespace

TargetSystem TargetSystemOf(const SystemLanguage& language, const WindowsSystem& windows) {
    TargetSystem system;
    system.description = std::string(language.code) + " on Windows " + windows.name;
    system.language = language.id;
    system.version = windows.info;
    system.windowsCode = windows.code;
    system.codePage = language.codePage;
    return system;
}

std::vector<TargetSystem> SystemsOfScript(const ScriptTarget& target) {
    DiscFolder disc(target.discFolder);
    DiscMachine machine(disc, target.programName);
    std::set<std::string> tags = TagsOfEveryHeader(machine, target.scriptPath);
    const Language* other = nullptr;
    std::vector<const Language*> languages = LanguagesToRead(tags, &other);
    const bool someLanguage = !languages.empty();
    if (other) languages.push_back(other);
    std::vector<const Version*> versions = VersionsToRead(tags);
    const bool someVersion = versions.size() > 1;

    std::vector<TargetSystem> systems;
    for (const Language* language : languages) {
        std::string who = !someLanguage ? "every system"
                          : language == other ? std::string("systems of other languages (") +
                                                    language->tag + ")"
                                              : std::string(language->tag) + " systems";
        for (const Version* version : versions) {
            TargetSystem system;
            system.description = who;
            if (someVersion) system.description += std::string(" on ") + version->name;
            system.language = language->id;
            system.version = version->info;
            system.windowsCode = version->code;
            system.codePage = CodePageOfTag(language->tag);
            systems.push_back(system);
        }
    }
    return systems;
}

ScreenReading::ScreenReading(const ScriptTarget& target, const TargetSystem& system)
    : disc(target.discFolder), machine(disc, target.programName), scriptPath_(target.scriptPath) {
    machine.language = system.language;
    machine.version = system.version;
    machine.codePage = target.codePage ? target.codePage : system.codePage;
    screen.programName = target.programName;
    screen.programDirectory = kDiscRoot;
    screen.scriptPath = target.scriptPath;
    screen.windowsVersion = system.windowsCode;
}

void ScreenReading::Read(ScriptHost& host, ScriptListener* listener) {
    ScreenScript reader(screen, host, machine);
    if (listener) reader.SetListener(listener);
    reader.Load(scriptPath_);
}

void ReadEverySystem(const ScriptTarget& target, ReadingObserver& observer) {
    for (const TargetSystem& system : SystemsOfScript(target)) {
        ScreenReading reading(target, system);
        CheckHost host(reading.disc, reading.machine);
        reading.Read(host, observer.BeforeReading(system, reading, host));
        observer.OnSystemRead({system.description, reading.screen, host, reading.machine, system.windowsCode});
    }
}
