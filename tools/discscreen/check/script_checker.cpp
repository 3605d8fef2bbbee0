#include "check/script_checker.h"

#include <algorithm>
#include <fstream>
#include <memory>

#include "check/autorun_section.h"
#include "check/system_checks.h"
#include "script/screen_script.h"

namespace {

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

// Checks each reading's lines as the reader takes them, then hands the
// reading on to the caller's observer.
class CheckingObserver : public ReadingObserver {
public:
    CheckingObserver(Report& report, ReadingObserver* next) : report_(report), next_(next) {}

    ScriptListener* BeforeReading(const TargetSystem& system, ScreenReading& reading, CheckHost& host) override {
        checks_ = std::make_unique<Reading>(report_, reading.disc, reading.machine, reading.screen, host,
                                            ReadingSystem{system.description, reading.machine.codePage});
        return checks_.get();
    }
    void OnSystemRead(const SystemReading& reading) override {
        checks_->Finish();
        if (next_) next_->OnSystemRead(reading);
    }

private:
    Report& report_;
    ReadingObserver* next_;
    std::unique_ptr<Reading> checks_;
};

}  // namespace

void CheckScript(const ScriptTarget& target, Report& report, ReadingObserver* observer) {
    CheckingObserver checking(report, observer);
    ReadEverySystem(target, checking);
    CheckAutorunSection(target.scriptPath, report);
}
