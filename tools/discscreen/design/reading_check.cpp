#include "design/reading_check.h"

#include "design/design_model.h"
#include "design/scratch_script.h"
#include "script/script_text.h"

namespace {

enum class LineKind { kOther, kHeader, kEntry };

struct LineRead {
    bool seen = false;
    LineKind kind = LineKind::kOther;
    std::string section;
    std::string name;
    int number = 0;
    std::string text;

    bool operator==(const LineRead& other) const {
        return seen == other.seen && kind == other.kind && section == other.section && name == other.name &&
               number == other.number && text == other.text;
    }
};

class LineListener : public ScriptListener {
public:
    std::vector<LineRead> lines;

    void OnLine(int number, const std::string& text) override {
        if (number < 1) return;
        if (lines.size() < static_cast<std::size_t>(number)) lines.resize(number);
        current_ = &lines[number - 1];
        current_->seen = true;
        current_->text = text;
        current_->section = section_;
    }
    void OnHeader(const std::string& section, const std::string&, bool) override {
        section_ = section;
        if (!current_) return;
        current_->kind = LineKind::kHeader;
        current_->section = section;
    }
    void OnEntry(const std::string& name, int number, const std::string&, bool) override {
        if (!current_) return;
        current_->kind = LineKind::kEntry;
        current_->name = name;
        current_->number = number;
    }

private:
    LineRead* current_ = nullptr;
    std::string section_;
};

std::vector<LineRead> ReadLines(const ReadBackCheck& check, const std::string& bytes, ScratchScript& scratch,
                                std::string* problem) {
    if (!scratch.Write(bytes, problem)) return {};
    ScriptTarget target = check.target;
    target.scriptPath = scratch.Path();
    ScreenReading reading(target, check.system);
    CheckHost host(reading.disc, reading.machine);
    LineListener listener;
    reading.Read(host, &listener);
    return listener.lines;
}

LineRead At(const std::vector<LineRead>& lines, int number) {
    return number >= 1 && number <= static_cast<int>(lines.size()) ? lines[number - 1] : LineRead{};
}

bool IsAscii(const std::string& bytes) {
    for (char ch : bytes) {
        if (static_cast<unsigned char>(ch) >= 0x80) return false;
    }
    return true;
}

std::string Where(int origin) {
    return origin > 0 ? "line " + std::to_string(origin) : "new entry " + std::to_string(-origin);
}

}  // namespace

std::string ReadBackProblem(const ReadBackCheck& check, ScratchScript& scratch) {
    if (!check.writtenAsUtf8 && IsUtf8Script(check.result) && !IsUtf8Script(check.base)) {
        return "the edited text would make the whole script read as UTF-8: write it in code page " +
               std::to_string(check.system.codePage) + " or ask for the script to become UTF-8";
    }
    if (check.writtenAsUtf8 && !IsUtf8Script(check.result) && !IsAscii(check.result)) {
        return "the edited script would no longer read as UTF-8";
    }
    std::string problem;
    std::vector<LineRead> before = ReadLines(check, check.base, scratch, &problem);
    if (!problem.empty()) return problem;
    std::vector<LineRead> after = ReadLines(check, check.result, scratch, &problem);
    if (!problem.empty()) return problem;
    std::vector<std::string> written = ScriptLineTexts(check.result);
    const bool utf8 = IsUtf8Script(check.result);
    // The machine of this system turns a UTF-8 line into its code page as
    // the reader does.
    ScreenReading decoding(check.target, check.system);

    for (std::size_t i = 0; i < check.origins.size(); ++i) {
        const int origin = check.origins[i];
        const int line = static_cast<int>(i) + 1;
        LineRead now = At(after, line);
        const bool edited = origin <= 0 || check.edits->fields.count(origin);
        if (!edited) {
            if (!(now == At(before, origin))) return Where(origin) + " would not read as before after this edit";
            continue;
        }
        const std::string& text = i < written.size() ? written[i] : std::string();
        if (text.find('\x1A') != std::string::npos) {
            return Where(origin) + " would hold a Ctrl-Z, where the reader stops reading";
        }
        if (!now.seen) return Where(origin) + " would not be read: the reader stops before it";
        std::string expected = utf8 ? ScriptTextFromBytes(decoding.machine, "\xEF\xBB\xBF" + text) : text;
        if (now.text != expected) return Where(origin) + " would not read back as written";
        // A new entry's header, or a new header alone, must read as one.
        const bool header = origin == 0 || (origin < 0 && check.edits->added.at(-origin - 1).text.empty());
        if (header) {
            if (now.kind != LineKind::kHeader) return "a new section header would not read as one";
        } else if (now.kind == LineKind::kHeader) {
            return Where(origin) + " would read as the section header '" + now.section + "'";
        } else if (origin > 0 && (now.kind != At(before, origin).kind || now.section != At(before, origin).section)) {
            return Where(origin) + " would no longer read as the entry it was";
        }
    }
    // Lines after the last one written (a reader that reads past the text)
    // cannot come from an edit; the base's unread lines past the end stay so.
    return "";
}
