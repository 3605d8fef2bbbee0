#include "check/autorun_facts.h"

#include <cctype>

// Sources, named where a row uses them:
// [entries]  "Autorun.inf Entries", learn.microsoft.com/windows/win32/shell/autorun-cmds
//            (also printed in "Figuring out AUTORUN.INF Files", flylib.com/books/en/2.5.1.66/1/)
// [creating] "Creating an AutoRun-enabled Application", learn.microsoft.com/windows/win32/shell/autoplay-works
// [blog7]    "Improvements to AutoPlay", Engineering Windows 7 blog, 2009-04-27,
//            blogs.msdn.microsoft.com/e7/2009/04/27/improvements-to-autoplay/ (Windows 7: AutoRun
//            tasks only from optical media; the same for XP and Vista through update KB971029)
// [usb]      "Autorun.inf and The Windows Drive Icon & Label", everyusb.com/autorun (label= and
//            icon= still read from USB drives)
// [q78346]   "Windows: Maximum Valid Size for REG.DAT and .INI Files", Microsoft KB Q78346: what
//            lies past 64 KB of an INI file is ignored by the profile functions, which Windows 95,
//            98 and ME keep from 16-bit Windows (with Q230194, "Maximum String Lengths for .ini
//            File APIs on Windows 95/98", which gives their 32 KB string limit)
// [csdn]     "AutoRun.inf 命令(翻译MSDN)", blog.csdn.net/xuweii/article/details/821982: the MSDN
//            text translated (shellexecute= "version 5.0" of the shell: Windows ME and 2000) and a
//            test that saw label= read on XP, not on 2000
// [png]      "_WinAPI_SaveHICONToFile", autoitscript.com/autoit3/docs/libfunctions/: icons with PNG
//            compression work from Windows Vista on
// [alpha]    "32bit .ico support", sourceforge.net/p/jsmooth/feature-requests/55: 32-bit icons
//            came with Windows XP, PNG icons with Vista

namespace {

// [creating]: the shell looks for its processor's section first and, once it
// has one, reads no other, so each must stand alone. Alpha, MIPS and PowerPC
// ran Windows NT 4 at the latest; the 64-bit sections follow the same rule
// (the processor names of 64-bit Windows).
const AutorunSectionFact kSections[] = {
    {"autorun", true, "every Windows"},                                      // [entries], [creating]
    {"autorun.alpha", true, "Windows NT on Alpha processors"},               // [creating]
    {"autorun.mips", true, "Windows NT on MIPS processors"},                 // [creating]
    {"autorun.ppc", true, "Windows NT on PowerPC processors"},               // [creating]
    {"autorun.amd64", true, "64-bit Windows on x64 processors"},             // [creating]'s rule
    {"autorun.ia64", true, "64-bit Windows on Itanium processors"},          // [creating]'s rule
    {"deviceinstall", false, "Windows XP, when it looks for drivers"},        // [entries]
    {"content", false, "Windows Vista and later"},                           // [entries]
    {"exclusivecontentpaths", false, "Windows Vista and later"},             // [entries]
    {"ignorecontentpaths", false, "Windows Vista and later"},                // [entries]
};

const AutorunKeyFact kKeys[] = {
    {"*", "open", "Windows 95", false},                  // [entries], [blog7]
    {"*", "icon", "Windows 95", true},                   // [entries], [usb]
    {"*", "defaulticon", "Windows 95", true},            // [creating]
    {"*", "shell", "Windows 95", false},                 // [entries], [blog7]
    {"*", "shell\\*", "Windows 95", false},              // [entries]: a verb's menu text
    {"*", "shell\\*\\command", "Windows 95", false},     // [entries]
    {"*", "shellexecute", "Windows ME and 2000", false}, // [entries], [csdn]
    {"*", "label", "Windows XP", true},                  // [entries], [csdn], [usb]
    {"*", "useautoplay", "Windows XP", false},           // [entries]
    {"*", "action", "Windows XP SP2", false},            // [entries]
    {"*", "customevent", "Windows Vista", false},        // [entries]
    {"deviceinstall", "driverpath", "Windows XP", false},  // [entries]
    {"content", "musicfiles", "Windows Vista", true},    // [entries]
    {"content", "picturefiles", "Windows Vista", true},  // [entries]
    {"content", "videofiles", "Windows Vista", true},    // [entries]
};

std::string Lower(std::string text) {
    for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return text;
}

// "shell\print\command" as "shell\*\command"; a verb has no blanks ([entries]).
std::string KeyPattern(const std::string& key) {
    if (key.compare(0, 6, "shell\\") != 0 || key.size() == 6) return key;
    std::size_t slash = key.find('\\', 6);
    if (slash == std::string::npos) return "shell\\*";
    return "shell\\*" + key.substr(slash);
}

}  // namespace

// [entries], [blog7], [q78346], [csdn], [png], [alpha] as above.
const char kShellExecuteWindows[] = "Windows ME and 2000";
const char kPngIconWindows[] = "Windows Vista";
const char kAlphaIconWindows[] = "Windows XP";

const AutorunSectionFact* FindAutorunSection(const std::string& name) {
    std::string wanted = Lower(name);
    for (const AutorunSectionFact& section : kSections) {
        if (wanted == section.name) return &section;
    }
    return nullptr;
}

const AutorunKeyFact* FindAutorunKey(const std::string& section, const std::string& key) {
    const AutorunSectionFact* found = FindAutorunSection(section);
    if (!found) return nullptr;
    std::string pattern = KeyPattern(Lower(key));
    for (const AutorunKeyFact& fact : kKeys) {
        bool sectionMatches = fact.section[0] == '*' ? found->startsDisc : Lower(section) == fact.section;
        if (sectionMatches && pattern == fact.key) return &fact;
    }
    return nullptr;
}
