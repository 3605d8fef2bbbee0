#pragma once
// A window system for unit tests of the entry handlers: fonts are numbered
// handles, text is measured at a fixed size per character, pictures come
// from a table set by the test, and every call is logged in order.
#include <cstdint>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "script/program_paths.h"
#include "script/script_host.h"
#include "script/screen_script.h"
#include "script/upper_case.h"

class FakeScriptHost : public ScriptHost {
public:
    explicit FakeScriptHost(Machine& machine) : machine_(machine) {}

    // Width and height of whole picture strips, by resolved name. A name
    // not listed behaves like an unreadable file: it still takes a cache
    // entry, which measures 0 by 0.
    std::map<std::string, TextExtent> pictures;
    int cacheSize = kSlotCount;
    bool fontsFail = false;
    std::set<int> windowsFail;  // slots whose window cannot be made
    int charWidth = 6;          // per byte of the measured run
    int lineHeight = 13;
    std::map<FontHandle, int> fontLineHeights;  // fonts whose lines are not lineHeight + 10

    std::vector<FontChanges> createdFonts;
    std::vector<FontHandle> deletedFonts;
    std::vector<std::string> measured;
    std::vector<std::string> backgrounds;
    std::vector<std::string> pictureRequests;
    std::vector<std::string> log;  // "create 3", "destroy 3", "focus 3"

    static FontHandle FontNumber(int n) { return reinterpret_cast<FontHandle>(std::uintptr_t(0x1000 + n)); }

    DibBitmap* Picture(const std::string& name) const {
        auto found = cache_.find(name);
        return found == cache_.end() ? nullptr : PictureAt(found->second);
    }

    FontHandle CreateScriptFont(const FontChanges& changes) override {
        if (fontsFail) return nullptr;
        createdFonts.push_back(changes);
        return FontNumber(static_cast<int>(createdFonts.size()));
    }
    void DeleteScriptFont(FontHandle font) override { deletedFonts.push_back(font); }
    TextExtent MeasureText(FontHandle font, const std::string& text) override {
        measured.push_back(text);
        TextExtent extent;
        extent.width = charWidth * static_cast<int>(text.size());
        auto own = fontLineHeights.find(font);
        extent.height = own != fontLineHeights.end() ? own->second : font ? lineHeight + 10 : lineHeight;
        return extent;
    }
    void SetBackgroundBitmap(const std::string& path) override { backgrounds.push_back(path); }
    // Like the screen's cache: keyed by the name trimmed, upper-cased and
    // resolved beside the program.
    DibBitmap* GetButtonBitmap(const std::string& written, int* frameWidth,
                               int* frameHeight) override {
        std::string name = ResolveScriptPath(machine_, UpperCaseToken(machine_, written));
        pictureRequests.push_back(name);
        auto found = cache_.find(name);
        if (found == cache_.end()) {
            int used = static_cast<int>(cache_.size());
            if (used >= cacheSize || used >= kSlotCount) return nullptr;
            found = cache_.emplace(name, static_cast<int>(cache_.size())).first;
        }
        auto size = pictures.find(name);
        *frameWidth = size == pictures.end() ? 0 : size->second.width / 4;
        *frameHeight = size == pictures.end() ? 0 : size->second.height;
        return PictureAt(found->second);
    }
    bool CreateButtonWindow(int slot) override {
        Log("create", slot);
        return !windowsFail.count(slot);
    }
    void DestroyButtonWindow(int slot) override { Log("destroy", slot); }
    void FocusButton(int slot) override { Log("focus", slot); }
    void CheckSingleInstance(int runMultiple) override { Log("instance", runMultiple); }

private:
    void Log(const char* what, int n) { log.push_back(std::string(what) + " " + std::to_string(n)); }
    DibBitmap* PictureAt(int index) const {
        return reinterpret_cast<DibBitmap*>(const_cast<char*>(&objects_[index]));
    }

    Machine& machine_;
    std::map<std::string, int> cache_;
    char objects_[kSlotCount] = {};
};

// Lines of a script held in a string.
class ScriptLines : public LineSource {
public:
    explicit ScriptLines(const std::string& text) : stream_(text) {}
    bool NextLine(std::string* line) override { return static_cast<bool>(std::getline(stream_, *line)); }

private:
    std::istringstream stream_;
};

// Reads a script body (the [BEGIN] header is added) into the screen.
inline void ReadScript(Machine& machine, ScreenModel& screen, ScriptHost& host,
                       const std::string& body) {
    ScreenScript reader(screen, host, machine);
    ScriptLines lines("[BEGIN]\n" + body);
    reader.ReadLines(lines);
}
