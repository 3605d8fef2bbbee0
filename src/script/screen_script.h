#pragma once
// The reader of the screen script: lines, section headers filtered by the
// Windows version and the system language, [BEGIN]/[END], and dispatch of
// every entry to the handler of its section.
#include <string>
#include <utility>

#include "script/entry_handlers.h"
#include "script/script_host.h"
#include "script/screen_model.h"
#include "script/script_listener.h"

class Machine;

// Lines of a script; false at the end of the text or on a read error.
class LineSource {
public:
    virtual ~LineSource() = default;
    virtual bool NextLine(std::string* line) = 0;
};

// The lines of a script's text: CR LF ends a line like LF; the last line
// needs no end.
class TextLineSource : public LineSource {
public:
    explicit TextLineSource(std::string text) : text_(std::move(text)) {}
    bool NextLine(std::string* line) override;

private:
    std::string text_;
    std::size_t used_ = 0;
};

// A script file larger than this is taken as one that cannot be read: no
// real script comes near it, and the whole file is held at once.
constexpr long kLargestScriptBytes = 4L << 20;

constexpr int kTagCount = 25;
constexpr int kFirstLanguageTag = 7;

const char* LanguageTagFor(unsigned short languageId);

// The text of a script file as the reader takes it (script/script_text.h);
// false when the file cannot be read.
bool ReadScriptText(Machine& machine, const std::string& path, std::string* text);
// A header line (trimmed, starting with "[") as the reader takes it: the
// section in upper case up to its "]", and the selector after it up to a
// "//" comment. False for a line without "]", which is no header.
bool SplitHeader(Machine& machine, const std::string& line, std::string* section,
                 std::string* selector);

class ScreenScript {
public:
    ScreenScript(ScreenModel& screen, ScriptHost& host, Machine& machine);
    void Load(const std::string& path);
    // Reads the lines without the single-instance check; Load ends with it.
    void ReadLines(LineSource& source);
    // A header split by SplitHeader.
    void BeginSection(const std::string& section, const std::string& selector);
    void DispatchEntry(const std::string& line);

    // Tells `listener` (not owned; null for none) what the reader does.
    void SetListener(ScriptListener* listener) { listener_ = listener; }
    // The names of the sections that have a handler, from index 0 ("[BEGIN]");
    // null past the last.
    static const char* SectionName(int index);
    // The Windows-version and language tags, 1 "[WIN95]" to 24 "[DEFAULT]";
    // null outside.
    static const char* Tag(int index);

    const char* LanguageTag() const { return languageTag_; }
    const std::string& CurrentSection() const { return currentSection_; }
    int RunMultiple() const { return runMultiple_; }

private:
    bool SelectorRejects(const std::string& selector, int first, int last, const char* own) const;
    using Handler = bool (EntryHandlers::*)(const std::string&, const std::string&, int);
    static Handler HandlerOf(const std::string& section);

    const char* tagTable_[kTagCount];
    const char* languageTag_;
    std::string currentSection_;
    ScreenModel& model_;
    ScriptHost& host_;
    Machine& machine_;
    int beginSeen_ = 0;
    int stop_ = 0;
    int runMultiple_ = 0;
    int skipEntries_ = 1;
    short windowsVersion_;
    ScriptListener* listener_ = nullptr;
    int lineNumber_ = 0;
    Handler currentHandler_ = nullptr;  // of the current section; null when none
    EntryHandlers handlers_;
};
