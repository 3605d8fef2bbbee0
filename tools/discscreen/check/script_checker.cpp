#include "check/script_checker.h"

#include <algorithm>
#include <fstream>
#include <set>
#include <vector>

#include "check/autorun_section.h"
#include "reading/check_host.h"
#include "reading/code_page.h"
#include "reading/disc_folder.h"
#include "check/system_checks.h"
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

// A byte-order mark that hides Windows' own [autorun] section from it.
void CheckAutorunSection(const std::string& scriptPath, Report& report) {
    // No more than the program reads of a script.
    std::string bytes(static_cast<std::size_t>(kLargestScriptBytes), '\0');
    std::ifstream in(scriptPath, std::ios::binary);
    in.read(&bytes[0], static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    std::size_t mark = MarkBeforeAutorun(bytes);
    if (mark == std::string::npos) return;
    Finding finding;
    finding.line = 1 + static_cast<int>(std::count(bytes.begin(), bytes.begin() + mark, '\n'));
    finding.severity = Severity::kWarning;
    finding.message = "[autorun] follows a byte-order mark, so Windows does not see the section and does "
                      "not start the screen when the disc is put in; put a line break after the mark";
    finding.name = "autorun-mark";
    report.Add(finding);
}

struct System {
    const Language* language;
    const Version* version;
    std::string description;
};

std::vector<System> SystemsToRead(const std::set<std::string>& tags) {
    std::vector<const Language*> languages;
    const Language* other = nullptr;
    for (const Language& language : kLanguages) {
        if (tags.count(language.tag)) {
            languages.push_back(&language);
        } else if (!other) {
            other = &language;
        }
    }
    const bool someLanguage = !languages.empty();
    if (other) languages.push_back(other);

    std::vector<const Version*> versions = {&kVersions[0]};
    const Version* otherVersion = nullptr;
    for (int i = 1; i < kFirstLanguageTag; ++i) {
        if (tags.count(ScreenScript::Tag(i))) {
            versions.push_back(&kVersions[i]);
        } else if (!otherVersion) {
            otherVersion = &kVersions[i];
        }
    }
    const bool someVersion = versions.size() > 1;
    if (someVersion && otherVersion) versions.push_back(otherVersion);

    std::vector<System> systems;
    for (const Language* language : languages) {
        std::string who = !someLanguage ? "every system"
                          : language == other ? std::string("systems of other languages (") +
                                                    language->tag + ")"
                                              : std::string(language->tag) + " systems";
        for (const Version* version : versions) {
            std::string description = who;
            if (someVersion) description += std::string(" on ") + version->name;
            systems.push_back({language, version, description});
        }
    }
    return systems;
}

}  // namespace

void CheckScript(const CheckTarget& target, Report& report, ReadingObserver* observer) {
    DiscFolder disc(target.discFolder);
    DiscMachine machine(disc, target.programName);
    for (const System& system : SystemsToRead(TagsOfEveryHeader(machine, target.scriptPath))) {
        machine.language = system.language->id;
        machine.version = system.version->info;
        machine.codePage = target.codePage ? target.codePage : CodePageOfTag(system.language->tag);
        ScreenModel screen;
        screen.programName = target.programName;
        screen.programDirectory = kDiscRoot;
        screen.scriptPath = target.scriptPath;
        screen.windowsVersion = system.version->code;
        CheckHost host(disc, machine);
        Reading reading(report, disc, machine, screen, host, {system.description, machine.codePage});
        ScreenScript reader(screen, host, machine);
        reader.SetListener(&reading);
        reader.Load(target.scriptPath);
        reading.Finish();
        if (observer)
            observer->OnSystemRead({system.description, screen, host, machine, system.version->code});
    }
    CheckAutorunSection(target.scriptPath, report);
}
